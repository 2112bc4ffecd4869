#include "core/forms/sharedfilelock.h"

#include "core/app/rootpath.h"

#include <QDeadlineTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QTimer>

SharedFileLock::SharedFileLock(const QString &file)
    : m_lock(lockPathFor(file))
    , m_outside(leadsOutOfDataRoot(lockPathFor(file)))
{
    m_lock.setStaleLockTime(StaleAfterMs);
}

bool SharedFileLock::acquire(int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    if (m_outside)
        return false;
    while (!m_lock.tryLock(0)) {
        if (permissionDenied() || deadline.hasExpired())
            return false;
        // Short waits in a local loop: the window keeps painting, timers run.
        QEventLoop loop;
        QTimer::singleShot(qMin<qint64>(50, qMax<qint64>(1, deadline.remainingTime())), &loop, &QEventLoop::quit);
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    }
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
