#include "core/tools/renamerecord.h"

#include "core/app/atomicfile.h"
#include "core/app/filerename.h"
#include "core/app/localprocess.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

// Fields end with NUL, which no name holds; the first tells what follows.
static const QString RecordName = u".kavuno-renaming"_s;
static const QString Magic = u"kavuno-renaming"_s;
static const QString Version = u"1"_s;
static const QString MoveEntry = u"M"_s;
static const QString PageEntry = u"P"_s;
// Where a record that is none goes.
static const QString AsidePrefix = u".kavuno-renaming-aside-"_s;
// No record of ours comes near this; a larger file is none.
constexpr qint64 RecordSizeLimit = qint64(64) << 20;

RenameRecord::RenameRecord(const QString &folder)
    : m_folder(folder)
{
}

RenameRecord::~RenameRecord()
{
    close();
}

QString RenameRecord::path(const QString &folder)
{
    return folder + u'/' + RecordName;
}

QByteArray RenameRecord::hashOf(const QByteArray &bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha1).toHex();
}

namespace {

// A name from the record that stays in the folder and is none of the rename's own.
bool plainName(const QString &name)
{
    return !name.isEmpty() && name != u"."_s && name != u".."_s && !name.contains(u'/') && !name.contains(u'\\')
           && !name.contains(QChar(0)) && !name.startsWith(RecordName);
}

// Reads the fields of a record: false when it is none.
class Reader
{
public:
    explicit Reader(const QByteArray &bytes)
    {
        const QList<QByteArray> parts = bytes.split('\0');
        // What follows the last NUL was being written when the program stopped.
        for (qsizetype i = 0; i + 1 < parts.size(); ++i)
            m_fields << QString::fromUtf8(parts.at(i));
    }
    bool atEnd() const { return m_at >= m_fields.size(); }
    qsizetype left() const { return m_fields.size() - m_at; }
    QString text() { return atEnd() ? QString() : m_fields.at(m_at++); }
    qint64 number(bool *ok)
    {
        bool read = false;
        const qint64 n = text().toLongLong(&read);
        *ok = *ok && read && n >= 0;
        return n;
    }

private:
    QStringList m_fields;
    qsizetype m_at = 0;
};

struct Parsed
{
    QString host;
    qint64 pid = 0;
    RenameRecordState state;
    // The last entry was a move: its group, item and the name before it.
    qsizetype lastGroup = -1;
    qsizetype lastItem = -1;
    QString lastBefore;
};

bool parse(const QByteArray &bytes, Parsed *out)
{
    Reader r(bytes);
    bool ok = r.text() == Magic && r.text() == Version;
    out->host = r.text();
    out->pid = r.number(&ok);
    out->state.companions = Companions::fromInt(int(r.number(&ok)));
    const qint64 groups = r.number(&ok);
    ok = ok && groups <= r.left();
    for (qint64 g = 0; ok && g < groups; ++g) {
        RenameGroup group;
        group.takenAlong = r.number(&ok) != 0;
        const qint64 items = r.number(&ok);
        ok = ok && items >= 1 && items * 3 <= r.left();
        for (qint64 i = 0; ok && i < items; ++i) {
            const int kind = int(r.number(&ok));
            const PageMove item{r.text(), r.text()};
            ok = ok && plainName(item.from) && plainName(item.to) && (i == 0) == (kind == 0);
            group.kinds << kind;
            group.items << item;
        }
        if (ok) {
            group.page = group.takenAlong ? PageMove{group.items.at(0).from, group.items.at(0).from} : group.items.at(0);
            out->state.groups << group;
            QStringList current;
            for (const PageMove &item : std::as_const(group.items))
                current << (group.takenAlong ? item.to : item.from);
            out->state.current << current;
        }
    }
    if (!ok)
        return false;
    // The steps, as far as they were written whole.
    while (r.left() >= 3) {
        const QString entry = r.text();
        if (entry == MoveEntry) {
            bool valid = true;
            const qint64 g = r.number(&valid);
            const qint64 i = r.number(&valid);
            const QString to = r.text();
            if (!valid || g >= out->state.groups.size() || i >= out->state.current.at(g).size() || !plainName(to))
                return false;
            out->lastGroup = g;
            out->lastItem = i;
            out->state.lastGroup = g;
            out->state.lastItem = i;
            out->lastBefore = out->state.current.at(g).at(i);
            out->state.current[g][i] = to;
            out->state.lastHash.clear();
        } else if (entry == PageEntry) {
            out->state.pages << r.text();
            out->state.lastHash = r.text().toLatin1();
            out->lastGroup = -1;
            out->state.lastGroup = -1;
            out->state.lastItem = -1;
        } else {
            return false;
        }
    }
    return true;
}

// lstat: what stands under a name, never following a link.
bool statName(const QString &path, struct stat *st)
{
    return ::lstat(QFile::encodeName(path).constData(), st) == 0;
}

bool exists(const QString &path)
{
    struct stat st;
    return statName(path, &st) || errno != ENOENT;
}

} // namespace

RenameRecord::Found RenameRecord::look(RenameRecordState *state, bool lockHeld) const
{
    const QString record = path(m_folder);
    struct stat st;
    if (!statName(record, &st))
        return Found::None;
    QByteArray bytes;
    bool readable = false;
    if (S_ISREG(st.st_mode) && st.st_size <= RecordSizeLimit) {
        const int fd = ::open(QFile::encodeName(record).constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        struct stat opened;
        if (fd >= 0 && ::fstat(fd, &opened) == 0 && S_ISREG(opened.st_mode) && opened.st_size <= RecordSizeLimit) {
            bytes.resize(opened.st_size);
            qint64 got = 0;
            for (ssize_t n = 0; got < bytes.size() && (n = ::read(fd, bytes.data() + got, size_t(bytes.size() - got))) > 0;)
                got += n;
            readable = got == bytes.size();
        }
        if (fd >= 0)
            ::close(fd);
    }
    Parsed parsed;
    if (!readable || !parse(bytes, &parsed)) {
        // Nothing of a rename to finish stands here: whatever it is goes aside, unopened.
        return moveAside(record) ? Found::None : Found::Running;
    }
    // A writer of this program's process space that ended is gone; any other
    // once the record is left unchanged long enough: a while longer than any
    // step takes for the holder of the folder's lock, much longer without it.
    const qint64 age = QDateTime::fromSecsSinceEpoch(st.st_mtim.tv_sec).secsTo(QDateTime::currentDateTime());
    const qint64 quiet = lockHeld ? FolderRenameLock::StaleAfterMs / 1000 : StaleSeconds;
    if (!RenameWriter::gone(parsed.host, parsed.pid) && qAbs(age) <= quiet)
        return Found::Running;
    // The last move may have been stopped before it was made.
    if (parsed.lastGroup >= 0) {
        const QString to = parsed.state.current.at(parsed.lastGroup).at(parsed.lastItem);
        if (exists(m_folder + u'/' + parsed.lastBefore) || !exists(m_folder + u'/' + to))
            parsed.state.current[parsed.lastGroup][parsed.lastItem] = parsed.lastBefore;
    }
    if (state)
        *state = parsed.state;
    return Found::Stopped;
}

bool RenameRecord::moveAside(const QString &path)
{
    // A random name: one is free however many names a peer made.
    const QString folder = path.left(path.lastIndexOf(u'/'));
    for (int attempt = 0; attempt < 8; ++attempt) {
        const QString aside = folder + u'/' + AsidePrefix + QString::number(QRandomGenerator::system()->generate64(), 16);
        if (renameWithoutReplace(path, aside))
            return true;
        struct stat st;
        if (!statName(aside, &st))
            return false; // the name is free: the folder itself refuses
    }
    return false;
}

bool RenameRecord::lockStillOurs()
{
    if (m_token.isEmpty())
        return true;
    if (!m_lost && FolderRenameLock::tokenHeldHere(m_folder) != m_token)
        m_lost = true;
    if (m_lost)
        m_problem = RenameBlock::Busy;
    return !m_lost;
}

bool RenameRecord::append(const QStringList &fields)
{
    // Each entry comes before its step: no step without the folder's lock.
    if (m_fd < 0 || !lockStillOurs())
        return false;
    QByteArray bytes;
    for (const QString &field : fields)
        bytes += field.toUtf8() + '\0';
    // One write: a stopped program leaves an entry whole or cut at its end.
    qint64 done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(m_fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            m_problem = renameBlockOf(n < 0 ? errno : EIO);
            return false;
        }
        done += n;
    }
    m_touched.start();
    if (m_tick)
        m_tick();
    return true;
}

void RenameRecord::keepAlive()
{
    if (m_fd < 0 || (m_touched.isValid() && m_touched.elapsed() < 1000))
        return;
    m_touched.start();
    ::futimens(m_fd, nullptr);
}

void RenameRecord::removeStaleTemporaries() const
{
    // "." + record name + "." + host and boot + "." + process + ".tmp", as the whole-file writer names them.
    const QString stem = u"."_s + RecordName + u"."_s;
    const QString ours = AtomicFile::temporaryPrefix(path(m_folder));
    const QDir dir(m_folder);
    for (const QString &name : dir.entryList({stem + u"*.tmp"_s}, QDir::Files | QDir::Hidden | QDir::System)) {
        if (!AtomicFile::isTemporaryName(name))
            continue;
        const QString rest = name.chopped(4);
        const qint64 pid = rest.mid(rest.lastIndexOf(u'.') + 1).toLongLong();
        struct stat st;
        if (!statName(dir.filePath(name), &st) || !S_ISREG(st.st_mode))
            continue;
        const qint64 age = QDateTime::fromSecsSinceEpoch(st.st_mtim.tv_sec).secsTo(QDateTime::currentDateTime());
        const bool gone = name.startsWith(ours) ? pid != QCoreApplication::applicationPid() && !isLocalProcessRunning(pid)
                                                : qAbs(age) > StaleSeconds;
        if (gone)
            QFile::remove(dir.filePath(name));
    }
}

bool RenameRecord::begin(Companions companions, const QList<RenameGroup> &groups)
{
    close();
    const qint64 pid = QCoreApplication::applicationPid();
    QStringList fields{Magic, Version, RenameWriter::tagOf(pid), QString::number(pid),
                       QString::number(companions.toInt()), QString::number(groups.size())};
    for (const RenameGroup &group : groups) {
        fields << QString::number(group.takenAlong ? 1 : 0) << QString::number(group.items.size());
        for (qsizetype i = 0; i < group.items.size(); ++i)
            fields << QString::number(group.kinds.value(i)) << group.items.at(i).from << group.items.at(i).to;
    }
    // The plan is written under a writer's temporary name and then given the
    // record's name, never replacing one: a record is whole from its start.
    // A program stopped before leaves a temporary the next writer removes.
    const QString record = path(m_folder);
    const QString temp = m_folder + u'/' + AtomicFile::temporaryPrefix(record)
                         + QString::number(QCoreApplication::applicationPid()) + u".tmp"_s;
    const QByteArray tempName = QFile::encodeName(temp);
    ::unlink(tempName.constData());
    if (open(::open(tempName.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644)) && append(fields)) {
        if (renameWithoutReplace(temp, record))
            return true;
        m_problem = errno == EEXIST ? RenameBlock::Busy : renameBlockOf(errno);
    }
    close();
    ::unlink(tempName.constData());
    return false;
}

bool RenameRecord::open(int fd)
{
    close();
    m_problem = fd < 0 ? renameBlockOf(errno) : RenameBlock::None;
    m_fd = fd;
    m_lost = false;
    m_touched.invalidate();
    m_token = FolderRenameLock::tokenHeldHere(m_folder);
    return m_fd >= 0;
}

bool RenameRecord::resume(const RenameRecordState &state)
{
    if (!open(::open(QFile::encodeName(path(m_folder)).constData(), O_WRONLY | O_APPEND | O_NOFOLLOW | O_CLOEXEC)))
        return false;
    struct stat st;
    if (::fstat(m_fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        close();
        m_problem = RenameBlock::Failed;
        return false;
    }
    // Its new writer shows itself at once: the last entry again, as it stands
    // now, which leaves what the record tells unchanged.
    if (state.lastGroup >= 0)
        return moving(state.lastGroup, state.lastItem, state.current.at(state.lastGroup).at(state.lastItem));
    if (!state.pages.isEmpty())
        return rewriting(state.pages.constLast(), state.lastHash);
    if (!state.current.isEmpty())
        return moving(0, 0, state.current.at(0).at(0));
    keepAlive();
    return true;
}

bool RenameRecord::moving(qsizetype group, qsizetype item, const QString &to)
{
    return append({MoveEntry, QString::number(group), QString::number(item), to});
}

bool RenameRecord::rewriting(const QString &page, const QByteArray &hash)
{
    return append({PageEntry, page, QString::fromLatin1(hash)});
}

void RenameRecord::finish()
{
    const bool ours = m_fd >= 0 && lockStillOurs();
    close();
    if (ours)
        QFile::remove(path(m_folder));
}

void RenameRecord::close()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}
