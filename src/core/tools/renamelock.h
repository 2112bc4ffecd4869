#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QString>

#include <functional>

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
// make, and read back before every change; it keeps the lock visibly alive
// (a beat rewritten in place) while it works. Host names, machine ids and
// file locks do not tell PCs apart: cloned PCs share the first two, and
// network shares do not carry the last.
// One thread at a time uses one lock object; any thread may.
class FolderRenameLock
{
public:
    // How long a rename waits for the lock before it asks whether to wait on.
    static constexpr int WaitMs = 3000;
    // A lock seen unchanged this long is abandoned: its holder beats every
    // second while it works, and no step of a rename holds it without a beat
    // this long.
    static constexpr int StaleAfterMs = 10000;
    // A lock whose holder's last beat says it is this old is abandoned at first
    // sight (the clocks of two PCs may be a minute apart).
    static constexpr qint64 AbandonedSeconds = 120;

    explicit FolderRenameLock(const QString &folder);
    ~FolderRenameLock();
    FolderRenameLock(const FolderRenameLock &) = delete;
    FolderRenameLock &operator=(const FolderRenameLock &) = delete;

    static QString lockPath(const QString &folder);

    // Waits up to timeoutMs for the lock (on the window's thread processing
    // events meanwhile); false, with reason(), while it cannot be taken.
    bool acquire(int timeoutMs);
    void release();
    // Shows others that the holder still works (at most once a second).
    void keepAlive();
    std::function<void()> ticker()
    {
        return [this] { keepAlive(); };
    }
    // Whether the lock file is still this holder's.
    bool holds() const;

    RenameBlock reason() const { return m_reason; }
    // The PC whose lock blocks (its host name); empty when the lock tells none.
    QString holderName() const { return m_holderName; }
    // The blocking lock is held in this very program (another of its tasks).
    bool heldByThisProgram() const { return m_holderHere; }

    // The token of the lock standing in folder when a holder in this program
    // has it; empty otherwise.
    static QByteArray tokenHeldHere(const QString &folder);
    // Whether a lock stands in folder whose holder may still work, judged at one look.
    static bool standsLive(const QString &folder);

private:
    enum class Try { Taken, Again, Blocked };
    Try tryOnce();
    bool create();
    bool breakStale(const QByteArray &seen);

    QString m_path;
    QByteArray m_token;
    int m_fd = -1;
    qint64 m_beatOffset = 0;
    qint64 m_beats = 0;
    QElapsedTimer m_touched;
    // The lock that stands there as last seen, and for how long unchanged.
    QByteArray m_seen;
    QElapsedTimer m_seenSince;
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
