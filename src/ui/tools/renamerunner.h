#pragma once

#include "core/tools/renameworker.h"

#include <QHash>
#include <QObject>
#include <QPointer>

#include <functional>

class QProgressDialog;
class TForm1;

// The main window's side of the program's rename worker: hands it the renames
// the window asks for and the half-renamed folders it opens, asks the user
// what the worker needs to know (wait for another PC?), shows how far it is,
// and says at close what is left. The window never waits for a step.
class RenameRunner : public QObject
{
    Q_OBJECT
public:
    explicit RenameRunner(TForm1 &form);

    using Done = std::function<void(const RenameResult &)>;
    // Queues a rename; done runs on the window's thread once the folder's own
    // part has ended (not after a close).
    void rename(RenameRequest request, Done done);
    // Has what a stopped rename left in folder finished; the level shown is
    // read again after.
    void finishLeftIn(const QString &folder);
    // Finishes, in the background, what stopped renames left anywhere in the data root.
    void findLeft();
    // Runs work (a rename in folder that keeps no record) in turn with the
    // renames; then runs on the window's thread after it (not after a close).
    void runTask(const QString &folder, std::function<void()> work, std::function<void()> then);

    RenameWorker &worker() { return *m_worker; }

signals:
    // A rename ended in the rest of the data root: listings read before are stale.
    void restEnded();

private:
    void askToWait(quint64 id, const QString &waitedFor, bool heldHere);
    void showWaiting(quint64 id, const QString &waitedFor);
    void folderDone(quint64 id, const RenameResult &result);
    void restDone(const FolderRenameOutcome &outcome);
    void settled(const QString &folder, const OpeningSettle &result, const LevelListing &listing);
    void closing();

    TForm1 &m_form;
    RenameWorker *m_worker;
    QHash<quint64, Done> m_done;
    QHash<quint64, std::function<void()>> m_then;
    QPointer<QProgressDialog> m_waiting;
    quint64 m_waitingFor = 0;
    // The level is being read again after a settle: its record is not handed on again.
    bool m_rereading = false;
    bool m_closing = false;
};

// The main window's runner, made at the first use.
RenameRunner &renameRunnerOf(TForm1 &form);

// A folder of the data root as the user is told of it: its path in the root.
QString folderForUser(const QString &folder, const QString &root);
