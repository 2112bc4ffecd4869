#include "core/forms/sharedfilelock.h"

#include "core/app/rootpath.h"
#include "core/forms/formtexts.h"

#include <QDeadlineTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QTimer>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <stop_token>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>

// Touches the held lock file on a thread of its own: the holder's thread may be
// inside a long write, where no timer of its runs. It touches no Qt object.
class SharedFileLock::Keeper
{
public:
    explicit Keeper(const QString &lockPath)
        : m_thread([path = QFile::encodeName(lockPath)](std::stop_token stop) { run(path, stop); })
    {
    }

private:
    static void run(const QByteArray &path, std::stop_token stop)
    {
        std::mutex mutex;
        std::condition_variable_any wake;
        std::unique_lock lock(mutex);
        for (;;) {
            wake.wait_for(lock, stop, std::chrono::milliseconds(RefreshEveryMs), [] { return false; });
            if (stop.stop_requested())
                return;
            // The time of now; a link a peer put in its place is not followed.
            utimensat(AT_FDCWD, path.constData(), nullptr, AT_SYMLINK_NOFOLLOW);
        }
    }

    std::jthread m_thread; // asked to stop and joined when the keeper goes
};

namespace {
// Something at the lock's name that this program never makes there.
bool standsInPlaceOfALockFile(const QString &lockPath)
{
    const QFileInfo info(lockPath);
    return info.isSymLink() || (info.exists() && !info.isFile());
}
} // namespace

SharedFileLock::SharedFileLock(const QString &file)
    : m_lock(lockPathFor(file))
    , m_outside(leadsOutOfDataRoot(lockPathFor(file)))
{
    m_lock.setStaleLockTime(StaleAfterMs);
}

SharedFileLock::~SharedFileLock() = default;

bool SharedFileLock::acquire(int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    if (m_outside)
        return false;
    while (!m_lock.tryLock(0)) {
        m_notALockFile = standsInPlaceOfALockFile(m_lock.fileName());
        if (m_notALockFile || permissionDenied() || deadline.hasExpired())
            return false;
        // Short waits in a local loop: the window keeps painting, timers run.
        QEventLoop loop;
        QTimer::singleShot(qMin<qint64>(50, qMax<qint64>(1, deadline.remainingTime())), &loop, &QEventLoop::quit);
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    }
    m_keeper = std::make_unique<Keeper>(m_lock.fileName());
    return true;
}

bool SharedFileLock::permissionDenied() const
{
    return m_outside || m_lock.error() == QLockFile::PermissionError;
}

QString SharedFileLock::lockPathFor(const QString &file)
{
    const QFileInfo info(file);
    return info.path() + u"/_" + info.fileName() + u".lock";
}

QString SharedFileLock::notALockFileText() const
{
    return FormTexts::LockNameTaken.arg(QFileInfo(m_lock.fileName()).fileName());
}
