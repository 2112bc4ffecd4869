#include "core/tools/renamelock.h"

#include "core/app/atomicfile.h"
#include "core/app/filerename.h"
#include "core/app/localprocess.h"
#include "core/tools/renamerecord.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QFile>
#include <QMutex>
#include <QRandomGenerator>
#include <QSet>
#include <QSysInfo>
#include <QThread>
#include <QTimer>

#include <algorithm>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

const QByteArray Magic = "kavuno-rename-lock\n";
// Nothing we write comes near this; a larger file is read only this far.
constexpr qint64 LockSizeLimit = 4096;
// How often a waiter looks at the lock again.
constexpr int LookEveryMs = 100;

// The tokens of the locks this program holds now.
struct HeldTokens
{
    QMutex mutex;
    QSet<QByteArray> tokens;
};
Q_GLOBAL_STATIC(HeldTokens, heldTokens)

bool heldHere(const QByteArray &token)
{
    if (token.isEmpty())
        return false;
    QMutexLocker locker(&heldTokens->mutex);
    return heldTokens->tokens.contains(token);
}

void setHeld(const QByteArray &token, bool held)
{
    QMutexLocker locker(&heldTokens->mutex);
    if (held)
        heldTokens->tokens.insert(token);
    else
        heldTokens->tokens.remove(token);
}

// What stands under the lock's name, read without following a link.
struct Standing
{
    bool missing = false;
    bool regular = false;
    int error = 0;
    QByteArray bytes;
    // The bytes with the file's identity and stamp: any change of the lock changes it.
    QByteArray sample;
    qint64 mtimeSecs = 0;
};

Standing readStanding(const QString &path)
{
    Standing s;
    const QByteArray name = QFile::encodeName(path);
    struct stat st;
    if (::lstat(name.constData(), &st) != 0) {
        s.missing = errno == ENOENT;
        s.error = errno;
        return s;
    }
    if (!S_ISREG(st.st_mode))
        return s;
    const int fd = ::open(name.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        s.missing = errno == ENOENT;
        s.error = errno;
        return s;
    }
    struct stat opened;
    if (::fstat(fd, &opened) == 0 && S_ISREG(opened.st_mode)) {
        s.regular = true;
        s.bytes.resize(qsizetype(std::min<qint64>(opened.st_size, LockSizeLimit)));
        qsizetype got = 0;
        for (ssize_t n = 0; got < s.bytes.size() && (n = ::read(fd, s.bytes.data() + got, size_t(s.bytes.size() - got))) > 0;)
            got += n;
        s.bytes.resize(got);
        s.mtimeSecs = opened.st_mtim.tv_sec;
        s.sample = s.bytes + '\0' + QByteArray::number(qulonglong(opened.st_ino)) + ' '
                   + QByteArray::number(qlonglong(opened.st_mtim.tv_sec)) + '.'
                   + QByteArray::number(qlonglong(opened.st_mtim.tv_nsec)) + ' '
                   + QByteArray::number(qlonglong(opened.st_size));
    }
    ::close(fd);
    return s;
}

// A host name another PC wrote, as the user may be shown it: letters, digits
// and the marks host names use, nothing a label would read as markup.
QString shownName(QString name)
{
    name.removeIf([](QChar c) { return !c.isLetterOrNumber() && c != u'-' && c != u'.' && c != u'_'; });
    return name.left(64);
}

// A lock's fields ("key value" lines); none for a file that is no lock of ours
// (a lock of an older program, or one whose writer stopped before writing it).
struct LockFields
{
    QByteArray token;
    QString name;
    QString writer;
    qint64 pid = 0;
    qint64 beatSecs = 0;
};

LockFields parseLock(const QByteArray &bytes)
{
    LockFields f;
    if (!bytes.startsWith(Magic))
        return f;
    for (const QByteArray &line : bytes.mid(Magic.size()).split('\n')) {
        const qsizetype blank = line.indexOf(' ');
        const QByteArray key = line.left(blank);
        const QByteArray value = blank < 0 ? QByteArray() : line.mid(blank + 1);
        if (key == "token")
            f.token = value;
        else if (key == "name")
            f.name = shownName(QString::fromUtf8(value));
        else if (key == "writer")
            f.writer = QString::fromUtf8(value);
        else if (key == "pid")
            f.pid = value.toLongLong();
        else if (key == "beat")
            f.beatSecs = value.mid(value.indexOf(' ') + 1).toLongLong();
    }
    return f;
}

// Whether the holder of a lock seen once is gone: a process of this program's
// process space that ended, a beat long ago, or a file that is no lock of
// ours left untouched as long.
bool abandonedAtSight(const Standing &s, const LockFields &f)
{
    const qint64 now = QDateTime::currentSecsSinceEpoch();
    if (heldHere(f.token))
        return false;
    if (!f.writer.isEmpty() && RenameWriter::gone(f.writer, f.pid))
        return true;
    const qint64 last = f.token.isEmpty() ? s.mtimeSecs : f.beatSecs;
    return last > 0 && now - last > FolderRenameLock::AbandonedSeconds;
}

QByteArray beatLine(qint64 beats)
{
    return "beat " + QByteArray::number(beats).rightJustified(12, '0') + ' '
           + QByteArray::number(QDateTime::currentSecsSinceEpoch()).rightJustified(12, '0') + '\n';
}

bool writeAll(int fd, const QByteArray &bytes, qint64 offset)
{
    qint64 done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::pwrite(fd, bytes.constData() + done, size_t(bytes.size() - done), off_t(offset + done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = EIO;
            return false;
        }
        done += n;
    }
    return true;
}

// A short pause: the window's thread keeps painting meanwhile, others sleep.
void pause(int ms)
{
    const QCoreApplication *app = QCoreApplication::instance();
    if (app && QThread::currentThread() == app->thread()) {
        QEventLoop loop;
        QTimer::singleShot(ms, &loop, &QEventLoop::quit);
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    } else {
        QThread::msleep(ulong(ms));
    }
}

QByteArray pidNamespace()
{
    static const QByteArray ns = [] {
        char link[128] = {};
        const ssize_t n = ::readlink("/proc/self/ns/pid", link, sizeof link - 1);
        return n > 0 ? QByteArray(link, n) : QByteArray();
    }();
    return ns;
}

// When process pid started, in ticks since boot; empty when unknown.
QByteArray startOf(qint64 pid)
{
    QFile stat(u"/proc/%1/stat"_s.arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return {};
    const QByteArray line = stat.read(4096);
    const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
    // Field 22 of the line; the list starts at field 3.
    return fields.value(19);
}

} // namespace

RenameBlock renameBlockOf(int error)
{
    switch (error) {
    case ENOSPC:
    case EDQUOT:
        return RenameBlock::DiskFull;
    case EACCES:
    case EPERM:
    case EROFS:
        return RenameBlock::NotAllowed;
    default:
        return RenameBlock::Failed;
    }
}

QString RenameWriter::tagOf(qint64 pid)
{
    return AtomicFile::thisHostTag() + u'#' + QString::fromLatin1(pidNamespace()) + u'#'
           + QString::fromLatin1(startOf(pid));
}

bool RenameWriter::gone(const QString &tag, qint64 pid)
{
    const QStringList parts = tag.split(u'#');
    if (parts.size() != 3 || parts.at(0) != AtomicFile::thisHostTag() || pidNamespace().isEmpty()
        || parts.at(1) != QString::fromLatin1(pidNamespace()))
        return false;
    if (pid == QCoreApplication::applicationPid())
        return true;
    if (!isLocalProcessRunning(pid))
        return true;
    const QByteArray started = startOf(pid);
    return !started.isEmpty() && !parts.at(2).isEmpty() && QString::fromLatin1(started) != parts.at(2);
}

FolderRenameLock::FolderRenameLock(const QString &folder)
    : m_path(lockPath(folder))
{
}

FolderRenameLock::~FolderRenameLock()
{
    release();
}

QString FolderRenameLock::lockPath(const QString &folder)
{
    return RenameRecord::path(folder) + u".lock"_s;
}

bool FolderRenameLock::acquire(int timeoutMs)
{
    release();
    const QDeadlineTimer deadline(timeoutMs);
    for (int again = 0;;) {
        const Try tried = tryOnce();
        if (tried == Try::Taken) {
            m_reason = RenameBlock::None;
            return true;
        }
        // What stood there went away: straight on, but a share that keeps
        // answering so is looked at as any lock.
        if (tried == Try::Again && ++again < 4)
            continue;
        if (m_reason != RenameBlock::Busy || deadline.hasExpired())
            return false;
        again = 0;
        pause(int(std::clamp<qint64>(deadline.remainingTime(), 1, LookEveryMs)));
    }
}

FolderRenameLock::Try FolderRenameLock::tryOnce()
{
    if (create())
        return Try::Taken;
    if (m_reason != RenameBlock::Busy)
        return Try::Blocked;
    const Standing s = readStanding(m_path);
    if (s.missing)
        return Try::Again;
    if (s.error) {
        m_reason = renameBlockOf(s.error);
        return Try::Blocked;
    }
    if (!s.regular) {
        // A folder, a link or a device under the lock's name is no lock.
        if (RenameRecord::moveAside(m_path))
            return Try::Again;
        m_reason = renameBlockOf(errno);
        return Try::Blocked;
    }
    const LockFields f = parseLock(s.bytes);
    m_reason = RenameBlock::Busy;
    m_holderName = f.name;
    m_holderHere = heldHere(f.token);
    if (m_holderHere)
        return Try::Blocked;
    if (s.sample != m_seen) {
        m_seen = s.sample;
        m_seenSince.start();
    }
    const bool stale = m_seenSince.elapsed() >= StaleAfterMs || abandonedAtSight(s, f);
    return stale && breakStale(s.bytes) ? Try::Again : Try::Blocked;
}

bool FolderRenameLock::create()
{
    const QByteArray name = QFile::encodeName(m_path);
    m_token = QByteArray::number(QRandomGenerator::system()->generate64(), 16)
              + QByteArray::number(QRandomGenerator::system()->generate64(), 16);
    const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (fd < 0) {
        m_reason = errno == EEXIST ? RenameBlock::Busy : renameBlockOf(errno);
        return false;
    }
    const qint64 pid = QCoreApplication::applicationPid();
    const QByteArray head = Magic + "token " + m_token + "\nname " + shownName(QSysInfo::machineHostName()).toUtf8() + "\nwriter "
                            + RenameWriter::tagOf(pid).toUtf8() + "\npid " + QByteArray::number(pid) + '\n';
    m_beats = 0;
    if (!writeAll(fd, head + beatLine(m_beats), 0)) {
        const int error = errno;
        ::close(fd);
        ::unlink(name.constData());
        m_reason = renameBlockOf(error);
        return false;
    }
    m_fd = fd;
    m_beatOffset = head.size();
    setHeld(m_token, true);
    // Where a share does not honour O_EXCL, the one whose token stands has it.
    if (!holds()) {
        setHeld(m_token, false);
        ::close(m_fd);
        m_fd = -1;
        m_reason = RenameBlock::Busy;
        return false;
    }
    m_touched.start();
    m_seen.clear();
    return true;
}

bool FolderRenameLock::breakStale(const QByteArray &seen)
{
    // Taken away under a name of this holder's own, then looked at: another
    // waiter may have broken the same lock and made its own meanwhile, and
    // that one goes back.
    const QString aside = m_path + u'.' + QString::fromLatin1(m_token) + u".stale"_s;
    if (!renameWithoutReplace(m_path, aside))
        return readStanding(m_path).missing;
    const Standing taken = readStanding(aside);
    m_seen.clear();
    if (taken.regular && taken.bytes == seen) {
        QFile::remove(aside);
        return true;
    }
    if (!renameWithoutReplace(aside, m_path))
        QFile::remove(aside);
    return true;
}

void FolderRenameLock::release()
{
    if (m_fd < 0)
        return;
    if (holds())
        ::unlink(QFile::encodeName(m_path).constData());
    setHeld(m_token, false);
    ::close(m_fd);
    m_fd = -1;
}

void FolderRenameLock::keepAlive()
{
    if (m_fd < 0 || m_touched.elapsed() < 1000)
        return;
    m_touched.start();
    writeAll(m_fd, beatLine(++m_beats), m_beatOffset);
}

bool FolderRenameLock::holds() const
{
    if (m_fd < 0)
        return false;
    for (int look = 0; look < 2; ++look) {
        const Standing s = readStanding(m_path);
        if (s.regular)
            return parseLock(s.bytes).token == m_token;
        // A waiter that took a live lock away by mistake puts it back at once.
        if (!s.missing || look > 0)
            return false;
        QThread::msleep(20);
    }
    return false;
}

QByteArray FolderRenameLock::tokenHeldHere(const QString &folder)
{
    const Standing s = readStanding(lockPath(folder));
    const QByteArray token = s.regular ? parseLock(s.bytes).token : QByteArray();
    return heldHere(token) ? token : QByteArray();
}

bool FolderRenameLock::standsLive(const QString &folder)
{
    const Standing s = readStanding(lockPath(folder));
    return s.regular && !abandonedAtSight(s, parseLock(s.bytes));
}
