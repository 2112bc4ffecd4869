#pragma once

#include "core/tools/renamelock.h"
#include "core/tools/renameplan.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

// The record of a rename under way, ".kavuno-renaming" in its folder: the
// whole plan, written before the first move, then each move and each page
// rewrite just before it is made. A rename that a stopped program left (or
// one whose holder lost the folder's lock) is finished from it by whoever
// holds the folder's lock next: moves go on from where each file is, and a
// page already rewritten is not rewritten again (rewriting is not idempotent
// where names rotate). Whoever goes on with a record writes it anew, whole,
// in place of the one it read, so that what a former holder still writes
// lands in a file no one reads.

// What a record says.
struct RenameRecordState
{
    Companions companions;
    QList<RenameGroup> groups;
    // Where each item of each group is now: a name in the folder, or a name
    // in a rename's hidden folder ("<that folder>/<name>").
    QList<QStringList> current;
    // The pages rewritten (paths relative to the data root). The last one is
    // in doubt when lastHash is set: it may have been stopped before its
    // write, which is then to give bytes of lastHash from bytes of lastOldHash
    // (lastOldHash is empty in records of older copies of the program).
    QStringList pages;
    QByteArray lastHash;
    QByteArray lastOldHash;
    // The item the last entry moved (-1 when the last entry was a page or none).
    qsizetype lastGroup = -1;
    qsizetype lastItem = -1;
    bool operator==(const RenameRecordState &) const = default;
};

class RenameRecord
{
public:
    explicit RenameRecord(const QString &folder);
    ~RenameRecord();
    RenameRecord(const RenameRecord &) = delete;
    RenameRecord &operator=(const RenameRecord &) = delete;

    static QString path(const QString &folder);

    enum class Found {
        None,    // no record (anything else under its name was moved aside)
        Stopped, // a record to finish: state tells
        Running, // a record whose writer may still work (another holds the lock)
    };
    // Looks at what stands under the record's name. Only a regular file that
    // holds a record is read, never through a link; a folder, a link or a file
    // that is no record is moved aside to a hidden name. Whoever holds the
    // folder's lock (lockHeld) finishes any record: every writer holds the
    // lock while it writes and stops at its next step once the lock is not its
    // own, and every step it may still send late is safe to arrive late.
    // Without the lock, a record is Running while a lock stands live beside it.
    Found look(RenameRecordState *state, bool lockHeld = false) const;

    // Moves whatever stands at path (in the record's folder) aside to a hidden
    // name that is free; false when the folder refuses.
    static bool moveAside(const QString &path);

    // Removes what writers of the record left under their temporary names,
    // locks they were making and the lock's and the record's names they took
    // aside to remove: with the folder's lock held, every one is a stopped
    // writer's.
    void removeStaleTemporaries() const;

    // Begins the record of a plan; false when it cannot be made (problem() tells why).
    bool begin(Companions companions, const QList<RenameGroup> &groups);
    // Goes on with the record look found: writes it anew, whole, in place of
    // the one read (what a former writer still appends goes to the old file).
    bool resume(const RenameRecordState &state);
    // Why begin() or resume() failed, or why a step was refused.
    RenameBlock problem() const { return m_problem; }
    // Item item of group group is about to be named to.
    bool moving(qsizetype group, qsizetype item, const QString &to);
    // A page (relative to the data root) is about to get bytes whose hash is
    // hash, in place of bytes whose hash is oldHash.
    bool rewriting(const QString &page, const QByteArray &oldHash, const QByteArray &hash);
    // The rename is whole: the record goes (kept when the folder's lock was
    // lost: then the record standing is another's).
    void finish();
    // The folder's lock was lost: no step is written any more.
    bool lost() const { return m_lost; }

    // Called at each write.
    void setTick(const std::function<void()> &tick) { m_tick = tick; }

    // The hash rewriting() takes.
    static QByteArray hashOf(const QByteArray &bytes);

    // The codec: a record that says state (its plan, where each item is, the
    // pages rewritten) and nothing in doubt but its last page; and what a
    // record's bytes say (none when they are no record).
    static QByteArray encode(const RenameRecordState &state);
    static std::optional<RenameRecordState> decode(const QByteArray &bytes);

private:
    bool append(const QStringList &fields);
    bool writeWhole(const QByteArray &bytes, bool replace);
    bool lockStillOurs();
    void close();

    QString m_folder;
    int m_fd = -1;
    // What this writer wrote into the record so far: its record is told from
    // another's by its bytes, on any file system.
    QByteArray m_written;
    // The token of the folder's lock this program held when the record was
    // begun or resumed; every step proves it still stands.
    QByteArray m_token;
    bool m_lost = false;
    RenameBlock m_problem = RenameBlock::None;
    std::function<void()> m_tick;
};
