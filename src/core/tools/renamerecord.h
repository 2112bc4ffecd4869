#pragma once

#include "core/tools/renamelock.h"
#include "core/tools/renameplan.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

// The record of a rename under way, ".kavuno-renaming" in its folder: the
// whole plan, written before the first move, then each move and each page
// rewrite just before it is made. A rename that a stopped program left is
// finished from it by the next rename in that folder or the next opening of
// it: moves go on from where each file is, and a page already rewritten is
// not rewritten again (rewriting is not idempotent where names rotate).

// What a record says.
struct RenameRecordState
{
    Companions companions;
    QList<RenameGroup> groups;
    // Where each item of each group is now.
    QList<QStringList> current;
    // The pages rewritten (paths relative to the data root); the last one may
    // have been stopped before its write: it is done when it holds lastHash.
    QStringList pages;
    QByteArray lastHash;
    // The item the last entry moved (-1 when the last entry was a page or none).
    qsizetype lastGroup = -1;
    qsizetype lastItem = -1;
};

class RenameRecord
{
public:
    // An unchanged record older than this has no writer: every step of a rename writes to it.
    static constexpr qint64 StaleSeconds = 120;

    explicit RenameRecord(const QString &folder);
    ~RenameRecord();
    RenameRecord(const RenameRecord &) = delete;
    RenameRecord &operator=(const RenameRecord &) = delete;

    static QString path(const QString &folder);

    enum class Found {
        None,    // no record (anything else under its name was moved aside)
        Stopped, // the record of a rename whose program is gone: state tells
        Running, // a rename that may still run (another PC, another program here)
    };
    // Looks at what stands under the record's name. Only a regular file that
    // holds a record is read, never through a link; a folder, a link or a file
    // that is no record is moved aside to a hidden name. Whoever holds the
    // folder's lock (lockHeld) finishes a record left unchanged for the lock's
    // stale time: every writer holds the lock while it writes, and stops at its
    // next step once the lock is not its own.
    Found look(RenameRecordState *state, bool lockHeld = false) const;

    // Moves whatever stands at path (in the record's folder) aside to a hidden
    // name that is free; false when the folder refuses.
    static bool moveAside(const QString &path);

    // Removes what writers of the record that are gone left under their
    // temporary names (this machine's when their process ended, any other's
    // once it is older than StaleSeconds).
    void removeStaleTemporaries() const;

    // Begins the record of a plan; false when it cannot be made (problem() tells why).
    bool begin(Companions companions, const QList<RenameGroup> &groups);
    // Goes on with the record look found, and says so in it at once.
    bool resume(const RenameRecordState &state);
    // Why begin() or resume() failed, or why a step was refused.
    RenameBlock problem() const { return m_problem; }
    // Shows that its writer still works, while no step is written (at most once a second).
    void keepAlive();
    // Item item of group group is about to be named to.
    bool moving(qsizetype group, qsizetype item, const QString &to);
    // A page (relative to the data root) is about to get bytes whose hash is hash.
    bool rewriting(const QString &page, const QByteArray &hash);
    // The rename is whole: the record goes (kept when the folder's lock was lost).
    void finish();

    // Called at each write (the rename's lock is kept alive with it).
    void setTick(const std::function<void()> &tick) { m_tick = tick; }

    // The hash rewriting() takes.
    static QByteArray hashOf(const QByteArray &bytes);

private:
    bool append(const QStringList &fields);
    bool open(int fd);
    bool lockStillOurs();
    void close();

    QString m_folder;
    int m_fd = -1;
    // The token of the folder's lock this program held when the record was
    // begun or resumed; every step proves it still stands.
    QByteArray m_token;
    bool m_lost = false;
    RenameBlock m_problem = RenameBlock::None;
    QElapsedTimer m_touched;
    std::function<void()> m_tick;
};
