#include "core/tools/renamerecord.h"

#include "core/app/atomicfile.h"
#include "core/app/beneath.h"
#include "core/tools/folderentries.h"

#include <QCoreApplication>
#include <QCryptographicHash>
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
// Version 1 (older copies) has no page field in a group, at least one item
// in each, and one hash to a page entry.
static const QString Version = u"2"_s;
static const QString OldVersion = u"1"_s;
static const QString MoveEntry = u"M"_s;
static const QString PageEntry = u"P"_s;
// Nothing above it is in doubt.
static const QString SettledEntry = u"S"_s;
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

// A name in the folder, or in one of the hidden folders files step aside into.
bool itemName(const QString &name)
{
    const qsizetype slash = name.indexOf(u'/');
    if (slash < 0)
        return plainName(name);
    return isRenameTempFolderName(name.left(slash)) && plainName(name.mid(slash + 1));
}

// Reads the fields of a record.
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
    // The last entry was a move: the name its item had before it.
    QString lastBefore;
};

bool companionKind(int kind)
{
    return std::any_of(std::cbegin(AllCompanions), std::cend(AllCompanions), [&](Companion c) { return int(c) == kind; });
}

bool parseGroup(Reader &r, bool old, RenameGroup *group)
{
    bool ok = true;
    group->takenAlong = r.number(&ok) != 0;
    if (!old)
        group->page = PageMove{r.text(), r.text()};
    const qint64 items = r.number(&ok);
    ok = ok && (old ? items >= 1 : items >= 0) && items * 3 <= r.left();
    for (qint64 i = 0; ok && i < items; ++i) {
        const int kind = int(r.number(&ok));
        const PageMove item{r.text(), r.text()};
        ok = ok && plainName(item.from) && plainName(item.to) && (i == 0 ? kind == 0 : companionKind(kind));
        group->kinds << kind;
        group->items << item;
    }
    if (!ok)
        return false;
    if (old)
        group->page = group->takenAlong ? PageMove{group->items.at(0).from, group->items.at(0).from} : group->items.at(0);
    return plainName(group->page.from) && plainName(group->page.to);
}

bool parse(const QByteArray &bytes, Parsed *out)
{
    Reader r(bytes);
    if (r.text() != Magic)
        return false;
    const QString version = r.text();
    const bool old = version == OldVersion;
    bool ok = old || version == Version;
    out->host = r.text();
    out->pid = r.number(&ok);
    RenameRecordState &state = out->state;
    state.companions = Companions::fromInt(int(r.number(&ok)));
    const qint64 groups = r.number(&ok);
    ok = ok && groups <= r.left();
    for (qint64 g = 0; ok && g < groups; ++g) {
        RenameGroup group;
        ok = parseGroup(r, old, &group);
        QStringList current;
        for (const PageMove &item : std::as_const(group.items))
            current << (group.takenAlong ? item.to : item.from);
        state.groups << group;
        state.current << current;
    }
    if (!ok)
        return false;
    // The steps, as far as they were written whole.
    while (!r.atEnd()) {
        const QString entry = r.text();
        if (entry == SettledEntry) {
            state.lastGroup = state.lastItem = -1;
            state.lastHash.clear();
            state.lastOldHash.clear();
        } else if (entry == MoveEntry) {
            if (r.left() < 3)
                break;
            bool valid = true;
            const qint64 g = r.number(&valid);
            const qint64 i = r.number(&valid);
            const QString to = r.text();
            if (!valid || g >= state.groups.size() || i >= state.current.at(g).size() || !itemName(to))
                return false;
            state.lastGroup = g;
            state.lastItem = i;
            out->lastBefore = state.current.at(g).at(i);
            state.current[g][i] = to;
            state.lastHash.clear();
            state.lastOldHash.clear();
        } else if (entry == PageEntry) {
            if (r.left() < (old ? 2 : 3))
                break;
            state.pages << r.text();
            state.lastOldHash = old ? QByteArray() : r.text().toLatin1();
            state.lastHash = r.text().toLatin1();
            state.lastGroup = state.lastItem = -1;
        } else {
            return false;
        }
    }
    return true;
}

QStringList header(qint64 pid, const RenameRecordState &state)
{
    QStringList fields{Magic, Version, RenameWriter::tagOf(pid), QString::number(pid),
                       QString::number(state.companions.toInt()), QString::number(state.groups.size())};
    for (const RenameGroup &group : state.groups) {
        fields << QString::number(group.takenAlong ? 1 : 0) << group.page.from << group.page.to
               << QString::number(group.items.size());
        for (qsizetype i = 0; i < group.items.size(); ++i)
            fields << QString::number(group.kinds.value(i)) << group.items.at(i).from << group.items.at(i).to;
    }
    return fields;
}

QByteArray joined(const QStringList &fields)
{
    QByteArray bytes;
    for (const QString &field : fields)
        bytes += field.toUtf8() + '\0';
    return bytes;
}

// All of an open regular file of at most limit bytes.
std::optional<QByteArray> readWhole(int fd, qint64 limit)
{
    struct stat st;
    if (fd < 0 || ::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size > limit)
        return std::nullopt;
    QByteArray bytes(qsizetype(st.st_size), Qt::Uninitialized);
    qint64 got = 0;
    for (ssize_t n = 0; got < bytes.size() && (n = ::read(fd, bytes.data() + got, size_t(bytes.size() - got))) != 0;) {
        if (n < 0 && errno != EINTR)
            return std::nullopt;
        got += std::max<ssize_t>(n, 0);
    }
    return bytes;
}

bool exists(const QString &path)
{
    return Beneath::exists(path) || errno != ENOENT;
}

} // namespace

QByteArray RenameRecord::encode(const RenameRecordState &state)
{
    QStringList fields = header(QCoreApplication::applicationPid(), state);
    for (qsizetype g = 0; g < state.groups.size() && g < state.current.size(); ++g) {
        const RenameGroup &group = state.groups.at(g);
        for (qsizetype i = 0; i < group.items.size() && i < state.current.at(g).size(); ++i) {
            const QString &first = group.takenAlong ? group.items.at(i).to : group.items.at(i).from;
            if (state.current.at(g).at(i) != first)
                fields << MoveEntry << QString::number(g) << QString::number(i) << state.current.at(g).at(i);
        }
    }
    fields << SettledEntry;
    for (qsizetype p = 0; p < state.pages.size(); ++p) {
        const bool doubt = p + 1 == state.pages.size() && !state.lastHash.isEmpty();
        fields << PageEntry << state.pages.at(p) << QString::fromLatin1(doubt ? state.lastOldHash : QByteArray())
               << QString::fromLatin1(doubt ? state.lastHash : QByteArray());
    }
    if (!state.pages.isEmpty() && state.lastHash.isEmpty())
        fields << SettledEntry;
    return joined(fields);
}

std::optional<RenameRecordState> RenameRecord::decode(const QByteArray &bytes)
{
    Parsed parsed;
    if (!parse(bytes, &parsed))
        return std::nullopt;
    return parsed.state;
}

RenameRecord::Found RenameRecord::look(RenameRecordState *state, bool lockHeld) const
{
    const QString record = path(m_folder);
    struct stat st;
    if (!Beneath::stat(record, &st, false))
        return Found::None;
    if (!lockHeld && FolderRenameLock::standsLive(m_folder))
        return Found::Running;
    std::optional<QByteArray> bytes;
    if (S_ISREG(st.st_mode) && st.st_size <= RecordSizeLimit) {
        const int fd = Beneath::open(record, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY);
        bytes = readWhole(fd, RecordSizeLimit);
        if (fd >= 0)
            ::close(fd);
    }
    Parsed parsed;
    if (!bytes || !parse(*bytes, &parsed)) {
        // Nothing of a rename to finish stands here: whatever it is goes aside, unopened.
        return moveAside(record) ? Found::None : Found::Running;
    }
    // The last move may have been stopped before it was made, or (on a share,
    // where a file takes its new name as a second one first) halfway.
    RenameRecordState &found = parsed.state;
    if (found.lastGroup >= 0) {
        const QString before = m_folder + u'/' + parsed.lastBefore;
        const QString to = m_folder + u'/' + found.current.at(found.lastGroup).at(found.lastItem);
        const bool atBefore = exists(before);
        if (atBefore && lockHeld && namesOneFile(before, to))
            Beneath::remove(before);
        else if (atBefore || !exists(to))
            found.current[found.lastGroup][found.lastItem] = parsed.lastBefore;
    }
    if (state)
        *state = found;
    return Found::Stopped;
}

bool RenameRecord::moveAside(const QString &path)
{
    // A random name: one is free however many names a peer made.
    const QString folder = path.left(path.lastIndexOf(u'/'));
    for (int attempt = 0; attempt < 8; ++attempt) {
        const QString aside = folder + u'/' + AsidePrefix + QString::number(QRandomGenerator::system()->generate64(), 16);
        if (Beneath::rename(path, aside, false))
            return true;
        if (!Beneath::exists(aside))
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
    // One write: a stopped program leaves an entry whole or cut at its end.
    const QByteArray bytes = joined(fields);
    if (!writeAllBytes(m_fd, bytes)) {
        m_problem = renameBlockOf(errno);
        return false;
    }
    m_written += bytes;
    if (m_tick)
        m_tick();
    return true;
}

void RenameRecord::removeStaleTemporaries() const
{
    // "." + record name + "." + host and boot + "." + process + ".tmp", as the
    // whole-file writer names them; each writer held the folder's lock.
    // So are the locks a stopped program was making (".new") and the lock's
    // and the record's names it took aside to remove (".gone").
    const QString stem = u"."_s + RecordName + u"."_s;
    for (const QString &name : folderEntries(m_folder)) {
        if (name.startsWith(stem)
            && (AtomicFile::isTemporaryName(name) || name.endsWith(u".gone"_s) || name.endsWith(u".new"_s)))
            Beneath::remove(m_folder + u'/' + name);
    }
}

bool RenameRecord::writeWhole(const QByteArray &bytes, bool replace)
{
    close();
    m_lost = false;
    m_token = FolderRenameLock::tokenHeldHere(m_folder);
    // Written under a writer's temporary name and then given the record's
    // name: a record is whole from its start. A program stopped before leaves
    // a temporary the next holder of the lock removes.
    const QString record = path(m_folder);
    const QString temp = m_folder + u'/' + AtomicFile::temporaryPrefix(record)
                         + QString::number(QCoreApplication::applicationPid()) + u".tmp"_s;
    Beneath::remove(temp);
    m_fd = Beneath::open(temp, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY, 0644);
    m_problem = m_fd < 0 ? renameBlockOf(errno) : RenameBlock::None;
    if (m_fd >= 0 && lockStillOurs()) {
        const bool written = writeAllBytes(m_fd, bytes);
        if (written && Beneath::rename(temp, record, replace)) {
            // Written on under the record's own name: a share that gave it the
            // name as a second one keeps what it knows of each name apart.
            close();
            m_fd = Beneath::open(record, O_WRONLY | O_APPEND | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY);
            m_written = bytes;
            if (m_fd >= 0)
                return true;
            m_problem = renameBlockOf(errno);
            return false;
        }
        m_problem = written && errno == EEXIST ? RenameBlock::Busy : renameBlockOf(errno);
    }
    close();
    Beneath::remove(temp);
    return false;
}

bool RenameRecord::begin(Companions companions, const QList<RenameGroup> &groups)
{
    RenameRecordState state;
    state.companions = companions;
    state.groups = groups;
    return writeWhole(joined(header(QCoreApplication::applicationPid(), state)), false);
}

bool RenameRecord::resume(const RenameRecordState &state)
{
    return writeWhole(encode(state), true);
}

bool RenameRecord::moving(qsizetype group, qsizetype item, const QString &to)
{
    return append({MoveEntry, QString::number(group), QString::number(item), to});
}

bool RenameRecord::rewriting(const QString &page, const QByteArray &oldHash, const QByteArray &hash)
{
    return append({PageEntry, page, QString::fromLatin1(oldHash), QString::fromLatin1(hash)});
}

void RenameRecord::finish()
{
    if (m_fd < 0 || !lockStillOurs()) {
        close();
        return;
    }
    // Only the record this writer wrote goes: never another's made meanwhile.
    removeIfStillOurs(path(m_folder), QString::fromLatin1(m_token) + u".done"_s,
                      [&](int fd) { return readWhole(fd, RecordSizeLimit) == m_written; });
    close();
}

void RenameRecord::close()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
    m_written.clear();
}
