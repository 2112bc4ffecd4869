#pragma once

#include "core/tools/folderrenamerun.h"

#include <QObject>
#include <QMutex>
#include <QString>

#include <atomic>
#include <memory>

#include <functional>

class FolderRenameLock;
class QThread;

// Runs work on a thread of its own while the calling thread's event loop runs
// with user input held back: a window goes on painting, its timers run.
void runAside(const std::function<void()> &work);

// Finishes a rename's rewrites of the pages of the rest of the data root on a
// thread of its own, once the folder itself is renamed and shown. The worker
// holds the folder's rename lock (keeps it alive, releases it at the end) and
// writes each page into the record before it writes it, so that a program
// stopped meanwhile leaves a record the next opening of the folder finishes.
// One rename at a time: a rename (in any folder) waits for the one before,
// whose pages it may name. Used from the thread that made it.
class RenameFinisher : public QObject
{
    Q_OBJECT
public:
    explicit RenameFinisher(QObject *parent = nullptr);
    // Waits up to CloseWaitMs for the worker to end, then asks it to stop
    // before its next page and waits for that: what is left stays recorded.
    ~RenameFinisher() override;

    static constexpr int CloseWaitMs = 2000;

    // Starts finishing rename (rename->restLeft()) with lock held, as soon as
    // the event loop runs again. Nothing may be running.
    void finish(std::unique_ptr<FolderRename> rename, std::unique_ptr<FolderRenameLock> lock);
    // Whether a rename is being finished (or about to be).
    bool busy() const { return m_rename != nullptr; }
    // The folder of the rename being finished.
    QString folder() const;
    // The pages read so far.
    qint64 pagesRead() const { return m_pages.load(); }
    // Asks the worker to end before its next page or folder.
    void stop() { m_stop.store(true); }
    // Waits up to ms for the worker (no events are processed): whether it has ended.
    bool wait(int ms);
    // What the last finishing gave (after finished()).
    FolderRenameOutcome outcome() const;

signals:
    // Now and then while the pages are read and written.
    void progress(qint64 pagesRead);
    void finished();

private:
    void start();
    void run();
    void ended();

    std::unique_ptr<FolderRename> m_rename;
    std::unique_ptr<FolderRenameLock> m_lock;
    QThread *m_thread = nullptr;
    std::atomic<bool> m_stop{false};
    std::atomic<qint64> m_pages{0};
    mutable QMutex m_mutex;
    FolderRenameOutcome m_outcome;
};
