#pragma once

#include "core/navigation/levelprefetch.h"
#include "core/tools/folderrename.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

// A rename the window asks for, made from the level it shows.
struct RenameRequest
{
    QString folder;
    QString root;
    Companions companions;
    // The level's entries the plan is made from, listed with the program's
    // base name: a folder that lists otherwise now is not renamed.
    QStringList shown;
    QString exeBaseName;
    // Makes the moves once the folder is taken (on the worker's thread).
    std::function<QList<PageMove>()> plan;
};

// How the folder's own part of a rename ended.
enum class RenameEnd {
    Renamed,         // outcome tells what became of each file
    GaveUp,          // the user would not wait for another holder, or stopped the rename before it began
    Blocked,         // the folder cannot take the lock or the record: why tells
    StillUnfinished, // a rename before could not be finished: pages tells which pages keep it
    LevelChanged,    // the folder no longer lists the pages the plan was made from
};

struct RenameResult
{
    RenameEnd end = RenameEnd::GaveUp;
    RenameBlock why = RenameBlock::None;
    FolderRenameOutcome outcome;
    QStringList pages;
    // The folder's level as it lists now (renamed, or found changed), read on
    // the worker's thread for the window to show.
    LevelListing level;
};

// What the worker does or is to do.
struct RenameJob
{
    enum Kind { Rename, Settle, Find, Task };
    enum Stage {
        Queued,  // waits for the one before
        Asking,  // another holds the folder: the user is asked whether to wait
        Waiting, // waits for the other holder
        Folder,  // the folder's own files and pages (or a stopped rename finished)
        Rest,    // the pages of the rest of the data root
    };
    quint64 id = 0;
    Kind kind = Rename;
    Stage stage = Queued;
    QString folder;
    // Pages read and written so far in the rest of the data root.
    qint64 pages = 0;
};

// The program's one rename worker: every step of every rename runs on its
// thread, one after the other, never on the window's. It renames the files of
// a folder and rewrites its pages, then those of the rest of the data root;
// it finishes what a closed or killed program left (found as a folder is
// opened, or by a walk of the data root at start); a rename asked for while
// another runs waits behind it, since its pages may name the files the next
// one moves. What it needs to know (wait for another PC?) and what it did
// come as signals, on the thread that made it.
class RenameWorker : public QObject
{
    Q_OBJECT
public:
    explicit RenameWorker(QObject *parent = nullptr);
    // Stops, then waits up to CloseWaitMs for the step under way; one that
    // hangs longer (a stalled share) ends with the program, as a kill would.
    ~RenameWorker() override;

    static constexpr int CloseWaitMs = 10000;

    // Queues a rename; its id. Every rename gets folderDone once, then restDone
    // when the rest of the data root was to be rewritten.
    quint64 rename(RenameRequest request);
    // Finishes what a stopped rename left in folder, unless the worker has
    // that folder in hand already; settled tells, with the level as it then
    // lists (pages of the program exeBaseName left out).
    void settle(const QString &folder, const QString &root, const QString &exeBaseName);
    // Walks root for records left by stopped renames and settles each.
    void findLeft(const QString &root, const QString &exeBaseName);
    // Runs work, a rename in folder that keeps no record (the file tool's
    // pictures), in turn with the others; taskDone(id) tells its end.
    quint64 run(const QString &folder, std::function<void()> work);

    // The answer to folderBusy: wait for the other holder, or give up.
    void answer(quint64 id, bool wait);
    // Gives up a rename that has not begun to change the folder: queued, or
    // asking or waiting for the folder. A rename under way goes on.
    void cancel(quint64 id);
    // As the program closes: nothing more starts, and what runs ends at its
    // next step; its record stays for the next start.
    void stop();

    // Whether a job is queued or running, or its end not told yet.
    bool busy() const;
    // The job under way first, then those queued.
    QList<RenameJob> jobs() const;

    // Called on the worker's thread at every step of a job (tests hold the worker there).
    void setStepHook(std::function<void(const RenameJob &)> hook);

signals:
    // jobs() changed: a job queued, began a stage, ended, or read more pages.
    void jobsChanged();
    // Another holds the folder of rename id: answer() is awaited.
    void folderBusy(quint64 id, const QString &waitedFor, bool heldByThisProgram);
    // Rename id waits for the folder; what for, as it changes.
    void waitingForFolder(quint64 id, const QString &waitedFor);
    void folderDone(quint64 id, const RenameResult &result);
    void restDone(quint64 id, const FolderRenameOutcome &outcome);
    void settled(const QString &folder, const OpeningSettle &result, const LevelListing &level);
    void taskDone(quint64 id);
    // Nothing queued or running any more.
    void idle();

private:
    struct Shared;
    void jobEnded();

    std::shared_ptr<Shared> m_shared;
};

// What the window says about a settled folder (empty: nothing to say).
QString settleText(const OpeningSettle &settled);
