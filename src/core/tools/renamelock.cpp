#include "core/tools/renamelock.h"

#include "core/app/atomicfile.h"
#include "core/app/beneath.h"
#include "core/app/localprocess.h"
#include "core/tools/renamerecord.h"
#include "core/tools/renamesteps.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDeadlineTimer>
#include <QFile>
#include <QMutex>
#include <QRandomGenerator>
#include <QSet>
#include <QSysInfo>
#include <QThread>

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <thread>

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

// Up to limit bytes of an open file.
QByteArray readUpTo(int fd, qint64 limit)
{
    QByteArray bytes(qsizetype(limit), Qt::Uninitialized);
    qsizetype got = 0;
    for (ssize_t n = 0; got < bytes.size() && (n = ::read(fd, bytes.data() + got, size_t(bytes.size() - got))) != 0;) {
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            break;
        got += n;
    }
    bytes.resize(got);
    return bytes;
}

// What stands under the lock's name, looked at without following a link and
// opened without blocking.
struct Standing
{
    bool missing = false;
    bool regular = false;
    int error = 0;
    QByteArray bytes;
    // The bytes with the file's identity and stamp: any change of the lock
    // changes it. Only ever compared with what this waiter saw before.
    QByteArray sample;
};

Standing readStanding(const QString &path)
{
    Standing s;
    struct stat st;
    if (!Beneath::stat(path, &st, false)) {
        s.missing = errno == ENOENT;
        s.error = errno;
        return s;
    }
    if (!S_ISREG(st.st_mode))
        return s;
    const int fd = Beneath::open(path, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) {
        s.missing = errno == ENOENT;
        s.error = errno;
        return s;
    }
    struct stat opened;
    if (::fstat(fd, &opened) == 0 && S_ISREG(opened.st_mode)) {
        s.regular = true;
        s.bytes = readUpTo(fd, std::min<qint64>(opened.st_size, LockSizeLimit));
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
// The time of its beat is not read: it is another PC's clock.
struct LockFields
{
    QByteArray token;
    QString name;
    QString writer;
    qint64 pid = 0;
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
    }
    return f;
}

// Whether the holder of a lock is gone for sure: a process of this PC's
// process space that has ended.
bool holderEnded(const LockFields &f)
{
    return !heldHere(f.token) && !f.writer.isEmpty() && RenameWriter::gone(f.writer, f.pid);
}

// The beat: a count that changes at each beat, and the holder's time, which
// older copies of the program read.
QByteArray beatLine(qint64 beats)
{
    return "beat " + QByteArray::number(beats).rightJustified(12, '0') + ' '
           + QByteArray::number(QDateTime::currentSecsSinceEpoch()).rightJustified(12, '0') + '\n';
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

// Changes the held lock every BeatMs from a thread of its own, whatever the
// rename's steps wait for meanwhile.
class FolderRenameLock::Beat
{
public:
    Beat(const QString &path, int fd, qint64 offset)
        : m_thread([this, path, fd, offset] { run(path, fd, offset); })
    {
    }
    ~Beat()
    {
        {
            const std::lock_guard<std::mutex> locker(m_mutex);
            m_stop = true;
        }
        m_wake.notify_all();
        m_thread.join();
    }

private:
    void run(const QString &path, int fd, qint64 offset)
    {
        std::unique_lock<std::mutex> locker(m_mutex);
        for (qint64 beats = 1; !m_wake.wait_for(locker, std::chrono::milliseconds(BeatMs), [this] { return m_stop; });
             ++beats) {
            locker.unlock();
            RenameSteps::before(u"beat"_s, path);
            // A lock taken away meanwhile is no longer under its name: the
            // beat changes a file nobody looks at.
            writeAllBytes(fd, beatLine(beats), offset);
            locker.lock();
        }
    }

    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_stop = false;
    std::thread m_thread;
};

bool writeAllBytes(int fd, const QByteArray &bytes, qint64 offset)
{
    qint64 done = 0;
    while (done < bytes.size()) {
        const char *from = bytes.constData() + done;
        const size_t size = size_t(bytes.size() - done);
        const ssize_t n = offset < 0 ? ::write(fd, from, size) : ::pwrite(fd, from, size, off_t(offset + done));
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

bool removeIfStillOurs(const QString &path, const QString &asideTag, const std::function<bool(int fd)> &ours)
{
    const QString aside = path + u'.' + asideTag + u".gone"_s;
    if (!Beneath::rename(path, aside, false))
        return false;
    const int fd = Beneath::open(aside, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY);
    const bool mine = fd >= 0 && ours(fd);
    if (fd >= 0)
        ::close(fd);
    if (mine)
        return Beneath::remove(aside);
    // Another's, made meanwhile: back under its name (unless yet another stands there).
    if (!Beneath::rename(aside, path, false))
        Beneath::remove(aside);
    return false;
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
        QThread::msleep(ulong(std::clamp<qint64>(deadline.remainingTime(), 1, LookEveryMs)));
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
        // A folder, a link, a FIFO or a device under the lock's name is no lock.
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
    if (s.sample != m_seen || !m_seenSince.isValid()) {
        m_seen = s.sample;
        m_seenSince.start();
    }
    const bool stale = holderEnded(f) || m_seenSince.elapsed() >= m_staleAfterMs;
    return stale && breakStale(s.bytes) ? Try::Again : Try::Blocked;
}

bool FolderRenameLock::create()
{
    // While a lock stands, no file of this waiter's is made.
    if (Beneath::exists(m_path)) {
        m_reason = RenameBlock::Busy;
        return false;
    }
    m_token = QByteArray::number(QRandomGenerator::system()->generate64(), 16)
              + QByteArray::number(QRandomGenerator::system()->generate64(), 16);
    // Written whole under a name of its own, then given the lock's name, never
    // replacing one: no waiter ever sees a lock half-written, not even one a
    // program stopped while it made it.
    const QString made = m_path + u'.' + QString::fromLatin1(m_token) + u".new"_s;
    const int temp = Beneath::open(made, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY, 0644);
    if (temp < 0) {
        m_reason = renameBlockOf(errno);
        return false;
    }
    const qint64 pid = QCoreApplication::applicationPid();
    const QByteArray head = Magic + "token " + m_token + "\nname " + shownName(QSysInfo::machineHostName()).toUtf8() + "\nwriter "
                            + RenameWriter::tagOf(pid).toUtf8() + "\npid " + QByteArray::number(pid) + '\n';
    const bool written = writeAllBytes(temp, head + beatLine(0), 0);
    const int writeError = errno;
    ::close(temp);
    if (!written || !Beneath::rename(made, m_path, false)) {
        // A share may answer a name another just made with a refusal of its own.
        const int why = written ? errno : writeError;
        Beneath::remove(made);
        m_reason = written && (why == EEXIST || Beneath::exists(m_path)) ? RenameBlock::Busy : renameBlockOf(why);
        return false;
    }
    // Beaten under the lock's own name: a share that gave it the name as a
    // second one keeps what it knows of each name apart.
    m_fd = Beneath::open(m_path, O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY);
    setHeld(m_token, true);
    // Where a share does not honour a rename without replace, the one whose token stands has it.
    if (m_fd < 0 || !holds()) {
        setHeld(m_token, false);
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = -1;
        m_reason = RenameBlock::Busy;
        return false;
    }
    m_beat = std::make_unique<Beat>(m_path, m_fd, head.size());
    m_seen.clear();
    m_seenSince.invalidate();
    return true;
}

bool FolderRenameLock::breakStale(const QByteArray &seen)
{
    // Taken away under a name of this waiter's own, then looked at: another
    // waiter may have broken the same lock and made its own meanwhile, and
    // that one goes back.
    m_seen.clear();
    m_seenSince.invalidate();
    const bool taken = removeIfStillOurs(m_path, QString::fromLatin1(m_token) + u".stale"_s, [&](int fd) {
        struct stat st;
        return ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && readUpTo(fd, LockSizeLimit) == seen;
    });
    return taken || readStanding(m_path).missing;
}

void FolderRenameLock::release()
{
    if (m_fd < 0)
        return;
    m_beat.reset();
    const QByteArray token = m_token;
    removeIfStillOurs(m_path, QString::fromLatin1(token), [&](int fd) {
        return parseLock(readUpTo(fd, LockSizeLimit)).token == token;
    });
    setHeld(m_token, false);
    ::close(m_fd);
    m_fd = -1;
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
    return s.regular && !holderEnded(parseLock(s.bytes));
}
