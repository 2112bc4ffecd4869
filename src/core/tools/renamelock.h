#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QString>

#include <functional>
#include <memory>

// Why the names of a folder could not be changed.
enum class RenameBlock {
    None,
    Busy,       // another holder of the folder's lock may still work
    DiskFull,   // no space (or no quota) left for the lock or the record
    NotAllowed, // this user may not write there
    Failed,     // any other failure to write
};
// The reason a failed write of the lock or the record gives (errno).
RenameBlock renameBlockOf(int error);

// One PC at a time changes the names in a folder: a lock beside its record,
// hidden like it (".kavuno-renaming.lock"). Its holder proves itself by a
// random token no other PC has, written into a lock file that only it could
// make, and read back before every change. While it is held, a thread of the
// lock's own changes it every second (a beat), so that a step stalled on a
// share does not stop it. Host names, machine ids and file locks do not tell
// PCs apart: cloned PCs share the first two, and network shares do not carry
// the last.
// A waiter judges a lock abandoned only by what it sees itself: the lock left
// unchanged for the stale time on its own monotonic clock, or (on this PC)
// its holder's process ended. No clock of another PC is ever compared with
// this one's. Every step of a rename is safe to arrive late, so that a holder
// stalled past the stale time does no harm when it wakes.
// One thread at a time uses one lock object; any thread may, and no call
// processes events: a wait is a plain wait of the calling thread.
class FolderRenameLock
{
public:
    // How long a rename waits for the lock before it asks whether to wait on.
    static constexpr int WaitMs = 3000;
    // How often the holder's beat changes the lock.
    static constexpr int BeatMs = 1000;
    // A lock a waiter has seen unchanged this long is abandoned: thirty beats
    // missed in a row.
    static constexpr int StaleAfterMs = 30000;

    explicit FolderRenameLock(const QString &folder);
    ~FolderRenameLock();
    FolderRenameLock(const FolderRenameLock &) = delete;
    FolderRenameLock &operator=(const FolderRenameLock &) = delete;

    static QString lockPath(const QString &folder);

    // Waits up to timeoutMs for the lock (a plain wait of the calling thread);
    // false, with reason(), while it cannot be taken. What a waiter saw of the
    // lock counts on over further calls on the same object.
    bool acquire(int timeoutMs);
    void release();
    // The beat runs by itself: nothing for a caller to do. Kept for callers
    // that tick it.
    void keepAlive() {}
    std::function<void()> ticker()
    {
        return {};
    }
    // Whether the lock file is still this holder's.
    bool holds() const;

    RenameBlock reason() const { return m_reason; }
    // The PC whose lock blocks (its host name); empty when the lock tells none.
    QString holderName() const { return m_holderName; }
    // The blocking lock is held in this very program (another of its tasks).
    bool heldByThisProgram() const { return m_holderHere; }

    // How long this waiter watches an unchanged lock before it breaks it.
    void setStaleAfter(int ms) { m_staleAfterMs = ms; }

    // The token of the lock standing in folder when a holder in this program
    // has it; empty otherwise.
    static QByteArray tokenHeldHere(const QString &folder);
    // Whether a lock stands in folder whose holder may still work, judged at
    // one look: any lock but one of this PC whose process ended.
    static bool standsLive(const QString &folder);

private:
    enum class Try { Taken, Again, Blocked };
    class Beat;
    Try tryOnce();
    bool create();
    bool breakStale(const QByteArray &seen);

    QString m_path;
    QByteArray m_token;
    int m_fd = -1;
    std::unique_ptr<Beat> m_beat;
    // The lock that stands there as last seen, and for how long unchanged.
    QByteArray m_seen;
    QElapsedTimer m_seenSince;
    int m_staleAfterMs = StaleAfterMs;
    RenameBlock m_reason = RenameBlock::None;
    QString m_holderName;
    bool m_holderHere = false;
};

// Who writes: this host and boot, its process space, a process and its start.
// A writer is gone when all but the last match this program's and that process
// has ended or is another one now; anything else may still run.
namespace RenameWriter {
QString tagOf(qint64 pid);
bool gone(const QString &tag, qint64 pid);
} // namespace RenameWriter

// Writes all of bytes to fd at offset (at -1: where the file stands), however
// many writes the system takes; false (errno set) when one fails.
bool writeAllBytes(int fd, const QByteArray &bytes, qint64 offset = -1);

// Removes the file at path when it is still ours (ours is asked about it
// opened): it is taken aside under a name of asideTag's first and looked at
// there, so that another's that came meanwhile is never removed but put back.
// False when nothing of ours was there.
bool removeIfStillOurs(const QString &path, const QString &asideTag, const std::function<bool(int fd)> &ours);
