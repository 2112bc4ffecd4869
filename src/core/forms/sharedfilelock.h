#pragma once

#include <QLockFile>
#include <QString>

#include <memory>

// A lock beside a file that several computers change at once (a page that takes
// posts, an answer CSV): neither appending nor a read-change-write is atomic
// between computers on a network share. The lock file is "_" + the file's name +
// ".lock" in the same folder, so no page list shows it.
// A lock is broken only when its holder is gone: on this computer when its
// process ended, from another when it has been left untouched StaleAfterMs. Its
// holder touches it every RefreshEveryMs for as long as it holds it, however long
// a write to a slow share takes, so a live holder's lock never goes stale; the
// margin between the two figures allows for computers whose clocks differ. How
// long a caller waits for the lock is its own, shorter figure.
class SharedFileLock
{
public:
    static constexpr int StaleAfterMs = 30000;
    static constexpr int RefreshEveryMs = 1000;

    explicit SharedFileLock(const QString &file);
    ~SharedFileLock();

    // Waits up to timeoutMs for the lock, processing events but no user input
    // meanwhile (never sleeping the thread). False when another holds it that long,
    // when the lock file cannot be made (permissionDenied() then tells), or at once
    // when something other than a lock file stands at its name (notALockFile()).
    bool acquire(int timeoutMs);
    bool permissionDenied() const;
    // A folder or a link at the lock's name: no copy can take the lock until it is
    // removed, so waiting does not help.
    bool notALockFile() const { return m_notALockFile; }

    static QString lockPathFor(const QString &file);
    // What to tell the user when notALockFile(): no waiting clears it.
    QString notALockFileText() const;

private:
    class Keeper;

    QLockFile m_lock;
    bool m_notALockFile = false;
    std::unique_ptr<Keeper> m_keeper; // while held; stops before the lock is removed
    // A folder of the data root that leads out of it takes no lock file.
    bool m_outside = false;
};
