#include "core/tools/renameworker.h"

#include "core/app/beneath.h"
#include "core/tools/ordernumbers.h"
#include "core/tools/ordertexts.h"
#include "core/tools/renamerecord.h"
#include "core/tools/renamerecordwalk.h"

#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QMutex>
#include <QMutexLocker>
#include <QWaitCondition>

#include <atomic>
#include <optional>
#include <thread>

namespace {

// Ends a job at its next step as the program closes.
struct WorkStopped
{
};

// How often a waiting rename looks at the folder's lock again, and how long each look waits.
constexpr int LookAgainMs = 300;
constexpr int LookMs = 200;
// How often the pages read are told.
constexpr int TellPagesMs = 200;

struct Job
{
    RenameJob state;
    RenameRequest request;
    std::shared_ptr<RenameRecordWalk> walk;
    std::function<void()> task;
};

} // namespace

// What the worker's thread and the object share. The thread keeps it alive:
// an object destroyed while a step hangs leaves it to the thread.
struct RenameWorker::Shared
{
    QMutex mutex;
    QWaitCondition wake;  // a job, an answer, a cancel or the stop for the thread
    QWaitCondition ended; // the thread has ended
    QList<Job> queue;
    std::optional<Job> current;
    std::optional<bool> answer;
    bool cancelCurrent = false;
    // The job under way has begun to change its folder: it can no longer be given up.
    bool changing = false;
    bool threadEnded = false;
    // Jobs handed in whose end the owner has not been told yet.
    int open = 0;
    quint64 nextId = 1;
    std::atomic<bool> stopping{false};
    std::atomic<qint64> pages{0};
    RenameWorker *owner = nullptr;
    std::function<void(const RenameJob &)> stepHook;

    // Runs tell on the owner's thread, unless the owner is gone by then.
    void post(std::function<void(RenameWorker &)> tell)
    {
        const QMutexLocker locker(&mutex);
        if (RenameWorker *to = owner)
            QMetaObject::invokeMethod(to, [to, tell = std::move(tell)] { tell(*to); }, Qt::QueuedConnection);
    }
    void changed()
    {
        post([](RenameWorker &w) { emit w.jobsChanged(); });
    }
    // Whether a job for folder is queued or under way (the mutex held).
    bool has(RenameJob::Kind kind, const QString &folder) const
    {
        if (current && current->state.kind == kind && current->state.folder == folder)
            return true;
        return std::any_of(queue.cbegin(), queue.cend(), [&](const Job &job) {
            return job.state.kind == kind && job.state.folder == folder;
        });
    }
    // Queues job; its id.
    quint64 enqueue(Job job)
    {
        quint64 id = 0;
        {
            const QMutexLocker locker(&mutex);
            id = job.state.id = nextId++;
            ++open;
            queue.append(std::move(job));
            wake.wakeAll();
        }
        changed();
        return id;
    }

    // The tick of a step that holds lock: the program may be closing, the lock beats.
    std::function<void()> ticking(FolderRenameLock &lock)
    {
        return [this, &lock] {
            step();
            lock.keepAlive();
        };
    }
    // Whether the user gave up the job under way; otherwise, with begin, it can no longer be.
    bool givenUp(bool begin = false)
    {
        const QMutexLocker locker(&mutex);
        if (cancelCurrent || stopping.load())
            return true;
        changing = begin;
        return false;
    }

    void run();
    void runJob(Job &job);
    void runRename(Job &job);
    void runSettle(Job &job);
    void runFind(Job &job);
    void setStage(RenameJob::Stage stage);
    void step();
    RenameBlock take(FolderRenameLock &lock, QStringList &settled, int waitMs);
    bool waitForFolder(FolderRenameLock &lock, QStringList &settled, RenameBlock &why);
};

void RenameWorker::Shared::setStage(RenameJob::Stage stage)
{
    {
        const QMutexLocker locker(&mutex);
        current->state.stage = stage;
        current->state.pages = 0;
    }
    pages.store(0);
    changed();
}

// A step of the job under way: the program may be closing.
void RenameWorker::Shared::step()
{
    if (stopping.load())
        throw WorkStopped{};
    std::function<void(const RenameJob &)> hook;
    RenameJob state;
    {
        const QMutexLocker locker(&mutex);
        hook = stepHook;
        if (hook)
            state = current->state;
    }
    if (hook)
        hook(state);
}

void RenameWorker::Shared::run()
{
    for (;;) {
        Job job;
        {
            QMutexLocker locker(&mutex);
            while (queue.isEmpty() && !stopping.load())
                wake.wait(&mutex);
            if (stopping.load())
                break;
            job = queue.takeFirst();
            current = job;
            answer.reset();
            cancelCurrent = false;
            changing = false;
        }
        changed();
        try {
            runJob(job);
        } catch (const WorkStopped &) {
            // What is left stays in the record for the next start.
        }
        {
            const QMutexLocker locker(&mutex);
            current.reset();
        }
        post([](RenameWorker &w) { w.jobEnded(); });
    }
    const QMutexLocker locker(&mutex);
    threadEnded = true;
    ended.wakeAll();
}

void RenameWorker::Shared::runJob(Job &job)
{
    switch (job.state.kind) {
    case RenameJob::Rename:
        return runRename(job);
    case RenameJob::Settle:
        return runSettle(job);
    case RenameJob::Find:
        return runFind(job);
    case RenameJob::Task: {
        setStage(RenameJob::Folder);
        step();
        job.task();
        const quint64 id = job.state.id;
        post([id](RenameWorker &w) { emit w.taskDone(id); });
        return;
    }
    }
}

// Takes the folder's lock, waiting up to waitMs, and finishes what a stopped
// rename left there (its unwritten pages go to settled); why not otherwise.
RenameBlock RenameWorker::Shared::take(FolderRenameLock &lock, QStringList &settled, int waitMs)
{
    if (!lock.acquire(waitMs))
        return lock.reason();
    RenameBlock why = RenameBlock::Busy;
    if (settleStoppedRename(current->state.folder, current->request.root, &settled, ticking(lock), &why)
        == SettleState::Settled)
        return RenameBlock::None;
    lock.release();
    return why;
}

// Waits, as the user chose, until the folder is taken: false when the user
// stops waiting or the program closes; why tells what ended the wait.
bool RenameWorker::Shared::waitForFolder(FolderRenameLock &lock, QStringList &settled, RenameBlock &why)
{
    const quint64 id = current->state.id;
    QString told;
    for (;;) {
        if (givenUp())
            return false;
        why = take(lock, settled, LookMs);
        if (why != RenameBlock::Busy)
            return true;
        const QString waitedFor = waitedForText(lock);
        if (waitedFor != told) {
            told = waitedFor;
            post([id, waitedFor](RenameWorker &w) { emit w.waitingForFolder(id, waitedFor); });
        }
        QMutexLocker locker(&mutex);
        if (!cancelCurrent && !stopping.load())
            wake.wait(&mutex, LookAgainMs);
    }
}

void RenameWorker::Shared::runRename(Job &job)
{
    const quint64 id = job.state.id;
    const RenameRequest &request = job.request;
    RenameResult result;
    const auto done = [&] {
        post([id, result](RenameWorker &w) { emit w.folderDone(id, result); });
    };
    FolderRenameLock lock(request.folder);
    QStringList settled;
    setStage(RenameJob::Folder);
    RenameBlock why = take(lock, settled, FolderRenameLock::WaitMs);
    if (why == RenameBlock::Busy && !givenUp()) {
        setStage(RenameJob::Asking);
        const QString waitedFor = waitedForText(lock);
        const bool here = lock.heldByThisProgram();
        post([id, waitedFor, here](RenameWorker &w) { emit w.folderBusy(id, waitedFor, here); });
        bool wait = false;
        {
            QMutexLocker locker(&mutex);
            while (!answer && !cancelCurrent && !stopping.load())
                wake.wait(&mutex);
            wait = answer.value_or(false) && !cancelCurrent;
        }
        if (!wait)
            return done();
        setStage(RenameJob::Waiting);
        if (!waitForFolder(lock, settled, why))
            return done();
    }
    if (why != RenameBlock::None) {
        result.end = why == RenameBlock::Busy ? RenameEnd::GaveUp : RenameEnd::Blocked;
        result.why = why;
        return done();
    }
    setStage(RenameJob::Folder);
    // A rename before whose pages could not all be written: it goes first.
    if (Beneath::exists(RenameRecord::path(request.folder))) {
        lock.release();
        result.end = RenameEnd::StillUnfinished;
        result.pages = settled;
        return done();
    }
    if (!levelMatchesFolder(request.shown, request.folder, request.exeBaseName)) {
        lock.release();
        result.end = RenameEnd::LevelChanged;
        result.level = readLevelListing(request.folder, request.exeBaseName);
        return done();
    }
    const std::function<void()> tick = ticking(lock);
    FolderRename rename(request.folder, request.root, request.companions);
    const QList<PageMove> moves = request.plan();
    if (givenUp(true))
        return done();
    result.end = RenameEnd::Renamed;
    result.outcome = rename.renameFolder(moves, false, tick);
    result.outcome.pagesNotWritten += settled;
    result.level = readLevelListing(request.folder, request.exeBaseName);
    done();
    if (!rename.restLeft())
        return;
    setStage(RenameJob::Rest);
    QElapsedTimer told;
    told.start();
    qint64 read = 0;
    const auto tickRest = [&] {
        tick();
        pages.store(++read);
        if (told.elapsed() >= TellPagesMs) {
            told.restart();
            changed();
        }
    };
    const FolderRenameOutcome rest = rename.finishRest(tickRest, [this] { return stopping.load(); });
    if (stopping.load())
        return;
    post([id, rest](RenameWorker &w) { emit w.restDone(id, rest); });
}

void RenameWorker::Shared::runSettle(Job &job)
{
    const QString &folder = job.state.folder;
    // Most records are gone by the time their turn comes.
    if (!Beneath::exists(RenameRecord::path(folder)))
        return;
    setStage(RenameJob::Folder);
    FolderRenameLock lock(folder);
    OpeningSettle settle;
    RenameBlock why = lock.acquire(0) ? RenameBlock::None : lock.reason();
    if (why == RenameBlock::None) {
        settleStoppedRename(folder, job.request.root, &settle.pagesNotWritten, ticking(lock), &why);
    }
    if (why == RenameBlock::Busy && !lock.heldByThisProgram()) {
        settle.waiting = true;
        settle.waitedFor = waitedForText(lock, true);
    }
    lock.release();
    const LevelListing level = settle.waiting ? LevelListing() : readLevelListing(folder, job.request.exeBaseName);
    post([folder, settle, level](RenameWorker &w) { emit w.settled(folder, settle, level); });
}

void RenameWorker::Shared::runFind(Job &job)
{
    RenameRecordWalk &walk = *job.walk;
    for (bool more = true; more;) {
        step();
        more = walk.step();
        const QMutexLocker locker(&mutex);
        for (const QString &folder : walk.takeFound()) {
            if (has(RenameJob::Settle, folder))
                continue;
            Job settle;
            settle.state.id = nextId++;
            settle.state.kind = RenameJob::Settle;
            settle.state.folder = folder;
            settle.request.root = job.request.root;
            settle.request.exeBaseName = job.request.exeBaseName;
            ++open;
            queue.append(std::move(settle));
        }
        // A rename asked for meanwhile goes first: the walk goes on after it.
        const bool renameWaits = std::any_of(queue.cbegin(), queue.cend(), [](const Job &queued) {
            return queued.state.kind == RenameJob::Rename;
        });
        if (more && renameWaits) {
            ++open;
            queue.append(job);
            return;
        }
    }
}

RenameWorker::RenameWorker(QObject *parent)
    : QObject(parent)
    , m_shared(std::make_shared<Shared>())
{
    m_shared->owner = this;
    std::thread([shared = m_shared] { shared->run(); }).detach();
}

RenameWorker::~RenameWorker()
{
    stop();
    Shared &s = *m_shared;
    QMutexLocker locker(&s.mutex);
    s.owner = nullptr;
    const QDeadlineTimer deadline(CloseWaitMs);
    while (!s.threadEnded && s.ended.wait(&s.mutex, deadline)) {
    }
}

quint64 RenameWorker::rename(RenameRequest request)
{
    Job job;
    job.state.kind = RenameJob::Rename;
    job.state.folder = request.folder;
    job.request = std::move(request);
    return m_shared->enqueue(std::move(job));
}

void RenameWorker::settle(const QString &folder, const QString &root, const QString &exeBaseName)
{
    {
        const QMutexLocker locker(&m_shared->mutex);
        if (m_shared->has(RenameJob::Settle, folder) || m_shared->has(RenameJob::Rename, folder))
            return;
    }
    Job job;
    job.state.kind = RenameJob::Settle;
    job.state.folder = folder;
    job.request.root = root;
    job.request.exeBaseName = exeBaseName;
    m_shared->enqueue(std::move(job));
}

void RenameWorker::findLeft(const QString &root, const QString &exeBaseName)
{
    Job job;
    job.state.kind = RenameJob::Find;
    job.state.folder = root;
    job.request.root = root;
    job.request.exeBaseName = exeBaseName;
    job.walk = std::make_shared<RenameRecordWalk>(root);
    m_shared->enqueue(std::move(job));
}

quint64 RenameWorker::run(const QString &folder, std::function<void()> work)
{
    Job job;
    job.state.kind = RenameJob::Task;
    job.state.folder = folder;
    job.task = std::move(work);
    return m_shared->enqueue(std::move(job));
}

void RenameWorker::answer(quint64 id, bool wait)
{
    const QMutexLocker locker(&m_shared->mutex);
    if (m_shared->current && m_shared->current->state.id == id) {
        m_shared->answer = wait;
        m_shared->wake.wakeAll();
    }
}

void RenameWorker::cancel(quint64 id)
{
    {
        const QMutexLocker locker(&m_shared->mutex);
        const std::optional<Job> &current = m_shared->current;
        if (current && current->state.id == id) {
            if (!m_shared->changing) {
                m_shared->cancelCurrent = true;
                m_shared->wake.wakeAll();
            }
            return;
        }
        const auto at = std::find_if(m_shared->queue.begin(), m_shared->queue.end(),
                                     [id](const Job &job) { return job.state.id == id; });
        if (at == m_shared->queue.end() || at->state.kind != RenameJob::Rename)
            return;
        m_shared->queue.erase(at);
    }
    // As the thread would have ended it.
    m_shared->post([id](RenameWorker &w) {
        emit w.folderDone(id, RenameResult{});
        w.jobEnded();
    });
}

void RenameWorker::stop()
{
    QList<Job> dropped;
    {
        const QMutexLocker locker(&m_shared->mutex);
        m_shared->stopping.store(true);
        dropped = std::exchange(m_shared->queue, {});
        m_shared->open -= int(dropped.size());
        m_shared->wake.wakeAll();
    }
    // Told as the rest is, queued: stop() may run as the worker is destroyed.
    if (!dropped.isEmpty())
        m_shared->changed();
}

bool RenameWorker::busy() const
{
    const QMutexLocker locker(&m_shared->mutex);
    return m_shared->open > 0;
}

QList<RenameJob> RenameWorker::jobs() const
{
    const QMutexLocker locker(&m_shared->mutex);
    QList<RenameJob> jobs;
    if (m_shared->current) {
        jobs << m_shared->current->state;
        if (jobs.constFirst().stage == RenameJob::Rest)
            jobs.first().pages = m_shared->pages.load();
    }
    for (const Job &job : std::as_const(m_shared->queue))
        jobs << job.state;
    return jobs;
}

void RenameWorker::setStepHook(std::function<void(const RenameJob &)> hook)
{
    const QMutexLocker locker(&m_shared->mutex);
    m_shared->stepHook = std::move(hook);
}

void RenameWorker::jobEnded()
{
    bool nowIdle = false;
    {
        const QMutexLocker locker(&m_shared->mutex);
        nowIdle = --m_shared->open <= 0;
    }
    emit jobsChanged();
    if (nowIdle)
        emit idle();
}

QString settleText(const OpeningSettle &settled)
{
    if (!settled.pagesNotWritten.isEmpty())
        return OrderTexts::PagesNotWritten.arg(settled.pagesNotWritten.join(u'\n'));
    if (settled.waiting)
        return OrderTexts::FolderHalfRenamed.arg(settled.waitedFor);
    return {};
}
