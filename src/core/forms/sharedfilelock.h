#pragma once

#include "core/forms/lockholder.h"

#include <QString>

#include <memory>

namespace Beneath {
class Parent;
}

// A lock beside a file that several computers change at once (a page that takes
// posts, an answer CSV): neither appending nor a read-change-write is atomic
// between computers on a network share. The lock file is "_" + the file's name +
// ".lock" in the same folder, so no page list shows it; it says who holds it as
// QLockFile writes it, so that older copies of the program honour it.
// What stands at the lock's name is looked at before anything opens it, and
// nothing there is followed or waited on: a folder, a link, a FIFO, a device or
// a socket is named for what it is.
// A lock is broken only when its holder is gone: on this computer when its
// process ended, from another when this program has seen it unchanged for
// StaleAfterMs by its own clock (never by the stamp another computer's clock
// wrote). Its holder touches it every RefreshEveryMs for as long as it holds it,
// however long a write to a slow share takes, so a live holder's lock never goes
// stale. How long a caller waits for the lock is its own, shorter figure; what
// it saw is remembered, so that later tries go on judging the same lock.
class SharedFileLock
{
public:
    static constexpr int StaleAfterMs = 30000;
    static constexpr int RefreshEveryMs = 1000;

    explicit SharedFileLock(const QString &file, int staleAfterMs = StaleAfterMs);
    ~SharedFileLock();
    SharedFileLock(const SharedFileLock &) = delete;
    SharedFileLock &operator=(const SharedFileLock &) = delete;

    // Waits up to timeoutMs for the lock, processing events but no user input
    // meanwhile on the window's thread (never blocking it). False when another
    // holds it that long (busy()), at once when something other than a lock file
    // stands at its name (notALockFile()) or when the lock file cannot be made
    // (failureText()).
    bool acquire(int timeoutMs);

    bool busy() const { return m_state == State::Busy; }
    // The computer that holds the lock (its host name); empty when its lock names none.
    QString holderName() const { return m_holder.shownHost(); }
    // No copy can take the lock until what stands there is removed: waiting does not help.
    bool notALockFile() const { return m_state == State::NotALockFile; }
    // Why the lock was not taken, unless it is busy: what stands at which name
    // (notALockFile()), or why the lock file could not be made.
    QString failureText() const;

    static QString lockPathFor(const QString &file);

private:
    enum class State { Free, Held, Busy, NotALockFile, Failed };
    class Keeper;

    // One look at the lock's name: takes the lock or tells why not.
    State tryOnce();
    State create();
    State judgeStanding();
    bool breakStale(const QByteArray &seen);
    void release();

    QString m_file;
    QString m_path;
    int m_staleAfterMs;
    std::unique_ptr<Beneath::Parent> m_folder;
    State m_state = State::Free;
    int m_error = 0;
    unsigned m_standingMode = 0; // what stands at the name when notALockFile()
    LockHolder m_holder;
    int m_fd = -1; // the lock file while held
    std::unique_ptr<Keeper> m_keeper; // while held; stops before the lock is removed
};

// What the user is told stands at a name where a plain file belongs (a stat
// mode): a folder, a link, a FIFO, a device, a socket.
QString notAFileKind(unsigned mode);
