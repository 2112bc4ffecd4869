#include "core/forms/sharedfilelock.h"

#include "core/app/apptexts.h"
#include "core/app/beneath.h"
#include "core/forms/formtexts.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QMutex>
#include <QRandomGenerator>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <stop_token>
#include <thread>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A lock file says a few lines; a larger file at its name is read only this far.
constexpr qsizetype LockSizeLimit = 4096;
// How often a waiter looks at the lock again.
constexpr int LookEveryMs = 50;
// Tries in a row after what stood at the name went away before one waits.
constexpr int QuickTries = 4;

// How each lock standing at a name was last seen, and since when by this
// program's own clock: the tries of one user's save are objects of their own.
struct Sightings
{
    struct Seen
    {
        QByteArray sample;
        QElapsedTimer since;
    };
    QMutex mutex;
    QHash<QString, Seen> seen;
};
Q_GLOBAL_STATIC(Sightings, sightings)

// How long the lock at path has stood as sample, as far as this program saw.
qint64 unchangedFor(const QString &path, const QByteArray &sample)
{
    QMutexLocker locker(&sightings->mutex);
    Sightings::Seen &seen = sightings->seen[path];
    if (seen.sample != sample || !seen.since.isValid()) {
        seen.sample = sample;
        seen.since.start();
    }
    return seen.since.elapsed();
}

void forget(const QString &path)
{
    QMutexLocker locker(&sightings->mutex);
    sightings->seen.remove(path);
}

// What stands at a name, looked at without following it and, when it is a
// plain file, read through a descriptor that cannot block.
struct Standing
{
    bool missing = false;
    int error = 0;
    mode_t mode = 0;
    QByteArray bytes;
    // The bytes with the file's size and stamp: a touch or a new lock changes it.
    QByteArray sample;

    bool regular() const { return S_ISREG(mode); }
};

Standing lookAt(int folder, const char *name)
{
    Standing s;
    struct stat st;
    if (::fstatat(folder, name, &st, AT_SYMLINK_NOFOLLOW) != 0) {
        s.missing = errno == ENOENT;
        s.error = s.missing ? 0 : errno;
        return s;
    }
    s.mode = st.st_mode;
    if (!s.regular())
        return s;
    const int fd = ::openat(folder, name, O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        s.missing = errno == ENOENT;
        s.error = s.missing ? 0 : errno;
        s.mode = errno == ELOOP ? S_IFLNK : 0;
        return s;
    }
    // Something else may have taken the name since the look.
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        s.mode = st.st_mode;
        ::close(fd);
        return s;
    }
    s.bytes.resize(qsizetype(std::min<qint64>(st.st_size, LockSizeLimit)));
    qsizetype got = 0;
    while (got < s.bytes.size()) {
        const ssize_t n = ::read(fd, s.bytes.data() + got, size_t(s.bytes.size() - got));
        if (n <= 0)
            break;
        got += n;
    }
    s.bytes.resize(got);
    ::close(fd);
    // No inode number: a network share may give a file another after a rename.
    s.sample = s.bytes + '\0' + QByteArray::number(qlonglong(st.st_size)) + ' '
               + QByteArray::number(qlonglong(st.st_mtim.tv_sec)) + '.'
               + QByteArray::number(qlonglong(st.st_mtim.tv_nsec));
    return s;
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

} // namespace

// Touches the held lock file on a thread of its own: the holder's thread may be
// inside a long write, where no timer of its runs. It touches no Qt object.
class SharedFileLock::Keeper
{
public:
    explicit Keeper(int fd)
        : m_thread([fd](std::stop_token stop) { run(fd, stop); })
    {
    }

private:
    static void run(int fd, std::stop_token stop)
    {
        std::mutex mutex;
        std::condition_variable_any wake;
        std::unique_lock lock(mutex);
        for (;;) {
            wake.wait_for(lock, stop, std::chrono::milliseconds(RefreshEveryMs), [] { return false; });
            if (stop.stop_requested())
                return;
            // The file this holder made, whatever a peer put at its name since.
            ::futimens(fd, nullptr);
        }
    }

    std::jthread m_thread; // asked to stop and joined when the keeper goes
};

SharedFileLock::SharedFileLock(const QString &file, int staleAfterMs)
    : m_file(file)
    , m_path(lockPathFor(file))
    , m_staleAfterMs(staleAfterMs)
{
}

SharedFileLock::~SharedFileLock()
{
    release();
}

bool SharedFileLock::acquire(int timeoutMs)
{
    release();
    m_holder = {};
    const QDeadlineTimer deadline(timeoutMs);
    // The folder is reached beneath the data root once; the lock's name is
    // looked at in it, never followed.
    m_folder = std::make_unique<Beneath::Parent>(m_path);
    if (!m_folder->isOpen()) {
        m_error = errno;
        m_state = State::Failed;
        return false;
    }
    for (int quick = 0;;) {
        m_state = tryOnce();
        if (m_state == State::Held) {
            forget(m_path);
            m_keeper = std::make_unique<Keeper>(m_fd);
            return true;
        }
        // What stood there went away: straight on, but a name that keeps
        // changing is waited on as a busy lock.
        if (m_state == State::Free && ++quick < QuickTries)
            continue;
        if (m_state == State::Free)
            m_state = State::Busy;
        if (m_state != State::Busy || deadline.hasExpired())
            return false;
        quick = 0;
        pause(int(std::clamp<qint64>(deadline.remainingTime(), 1, LookEveryMs)));
    }
}

SharedFileLock::State SharedFileLock::tryOnce()
{
    const State made = create();
    return made == State::Busy ? judgeStanding() : made;
}

SharedFileLock::State SharedFileLock::create()
{
    // O_EXCL opens nothing that stands: a link, a FIFO or a folder at the name fails here.
    constexpr int Flags = O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC;
    const int fd = ::openat(m_folder->fd(), m_folder->name(), Flags, 0666);
    if (fd < 0) {
        m_error = errno;
        return errno == EEXIST ? State::Busy : State::Failed;
    }
    // A few bytes: one write, or none (a full disk) and no lock.
    const QByteArray holder = LockHolder::thisProcess().bytes();
    const ssize_t written = ::write(fd, holder.constData(), size_t(holder.size()));
    if (written != ssize_t(holder.size())) {
        m_error = written < 0 ? errno : ENOSPC;
        ::close(fd);
        ::unlinkat(m_folder->fd(), m_folder->name(), 0);
        return State::Failed;
    }
    // As QLockFile holds it: a copy on this computer that judges it stale
    // cannot take it away while this one holds it.
    ::flock(fd, LOCK_EX | LOCK_NB);
    m_fd = fd;
    m_error = 0;
    return State::Held;
}

SharedFileLock::State SharedFileLock::judgeStanding()
{
    const Standing s = lookAt(m_folder->fd(), m_folder->name());
    if (s.missing) {
        forget(m_path);
        return State::Free;
    }
    if (s.error) {
        m_error = s.error;
        return State::Failed;
    }
    if (!s.regular()) {
        m_standingMode = s.mode;
        return State::NotALockFile;
    }
    m_holder = LockHolder::read(s.bytes);
    const bool stale = m_holder.gone() || unchangedFor(m_path, s.sample) >= m_staleAfterMs;
    return stale && breakStale(s.sample) ? State::Free : State::Busy;
}

bool SharedFileLock::breakStale(const QByteArray &seen)
{
    // Taken away under a name of this waiter's own, then looked at: another
    // waiter may have broken the same lock and made its own meanwhile, and that
    // one goes back.
    const QString aside = m_path + u'.' + QString::number(QRandomGenerator::system()->generate64(), 16)
                          + QStringLiteral(".stale");
    if (!Beneath::rename(m_path, aside))
        return lookAt(m_folder->fd(), m_folder->name()).missing;
    forget(m_path);
    const QByteArray asideName = QFile::encodeName(QFileInfo(aside).fileName());
    const Standing taken = lookAt(m_folder->fd(), asideName.constData());
    if (taken.regular() && taken.sample == seen) {
        ::unlinkat(m_folder->fd(), asideName.constData(), 0);
        return true;
    }
    if (!Beneath::rename(aside, m_path))
        ::unlinkat(m_folder->fd(), asideName.constData(), 0);
    return true;
}

void SharedFileLock::release()
{
    m_keeper.reset();
    if (m_fd >= 0) {
        // Only this holder's own file: a waiter may have broken it and made its
        // own. A share that numbers files by their names tells it by its stamp.
        struct stat mine, standing;
        if (::fstat(m_fd, &mine) == 0
            && ::fstatat(m_folder->fd(), m_folder->name(), &standing, AT_SYMLINK_NOFOLLOW) == 0
            && S_ISREG(standing.st_mode)
            && ((mine.st_dev == standing.st_dev && mine.st_ino == standing.st_ino)
                || (mine.st_size == standing.st_size && mine.st_mtim.tv_sec == standing.st_mtim.tv_sec
                    && mine.st_mtim.tv_nsec == standing.st_mtim.tv_nsec)))
            ::unlinkat(m_folder->fd(), m_folder->name(), 0);
        ::close(m_fd);
        m_fd = -1;
    }
    m_state = State::Free;
}

QString SharedFileLock::failureText() const
{
    if (m_state == State::NotALockFile)
        return FormTexts::LockNameTaken.arg(QFileInfo(m_path).fileName(), notAFileKind(m_standingMode));
    if (m_state != State::Failed)
        return {};
    if (m_error == EXDEV)
        return AppTexts::WriteOutOfRootRefused.arg(m_file);
    return QString::fromLocal8Bit(std::strerror(m_error));
}

QString SharedFileLock::lockPathFor(const QString &file)
{
    const QFileInfo info(file);
    return info.path() + u"/_" + info.fileName() + u".lock";
}

QString notAFileKind(unsigned mode)
{
    namespace T = FormTexts;
    switch (mode & S_IFMT) {
    case S_IFDIR:
        return T::KindFolder;
    case S_IFLNK:
        return T::KindLink;
    case S_IFIFO:
        return T::KindFifo;
    case S_IFCHR:
    case S_IFBLK:
        return T::KindDevice;
    case S_IFSOCK:
        return T::KindSocket;
    default:
        return T::KindOther;
    }
}
