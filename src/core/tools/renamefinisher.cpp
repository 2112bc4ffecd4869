#include "core/tools/renamefinisher.h"

#include "core/tools/folderrename.h"

#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QMutexLocker>
#include <QThread>
#include <QTimer>

namespace {
// Ends the reading of the pages when the worker is asked to stop.
struct FinishingStopped
{
};
} // namespace

void runAside(const std::function<void()> &work)
{
    QEventLoop loop;
    QThread *thread = QThread::create(work);
    QObject::connect(thread, &QThread::finished, &loop, &QEventLoop::quit);
    thread->start();
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    thread->wait();
    delete thread;
}

RenameFinisher::RenameFinisher(QObject *parent)
    : QObject(parent)
{
}

RenameFinisher::~RenameFinisher()
{
    if (m_thread) {
        // Most of what is left is done in a moment; a larger rest stays in the record.
        if (!m_thread->wait(QDeadlineTimer(CloseWaitMs))) {
            stop();
            m_thread->wait();
        }
        delete m_thread;
    }
    // A rename not started yet keeps its record for the next opening; its lock goes.
    if (m_lock)
        m_lock->release();
}

void RenameFinisher::finish(std::unique_ptr<FolderRename> rename, std::unique_ptr<FolderRenameLock> lock)
{
    Q_ASSERT(!busy());
    m_rename = std::move(rename);
    m_lock = std::move(lock);
    m_stop.store(false);
    m_pages.store(0);
    // The window shows the folder first.
    QTimer::singleShot(0, this, &RenameFinisher::start);
}

QString RenameFinisher::folder() const
{
    return m_rename ? m_rename->folder() : QString();
}

bool RenameFinisher::wait(int ms)
{
    return !m_thread || m_thread->wait(QDeadlineTimer(ms));
}

FolderRenameOutcome RenameFinisher::outcome() const
{
    const QMutexLocker locker(&m_mutex);
    return m_outcome;
}

void RenameFinisher::start()
{
    if (!m_rename || m_thread)
        return;
    m_thread = QThread::create([this] { run(); });
    connect(m_thread, &QThread::finished, this, &RenameFinisher::ended);
    m_thread->start();
}

void RenameFinisher::run()
{
    QElapsedTimer told;
    told.start();
    const auto tick = [&] {
        if (m_stop.load())
            throw FinishingStopped{};
        m_lock->keepAlive();
        const qint64 pages = ++m_pages;
        if (told.elapsed() >= 200) {
            told.restart();
            emit progress(pages);
        }
    };
    FolderRenameOutcome outcome;
    try {
        outcome = m_rename->finishRest(tick, [this] { return m_stop.load(); });
    } catch (const FinishingStopped &) {
        // Asked to stop: what is left stays in the record for the next opening.
        outcome.recordKept = true;
    }
    m_lock->release();
    const QMutexLocker locker(&m_mutex);
    m_outcome = outcome;
}

void RenameFinisher::ended()
{
    m_thread->deleteLater();
    m_thread = nullptr;
    m_rename.reset();
    m_lock.reset();
    emit finished();
}
