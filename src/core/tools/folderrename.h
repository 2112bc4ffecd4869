#pragma once

#include "core/tools/renameplan.h"

#include <QElapsedTimer>
#include <QLockFile>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

// Renaming pages of a folder (reorder, strip, numbered names) so that the
// pages of the data root still find the files they use: the pictures,
// documents, pages and sub-folders they name by their SRC, HREF and
// BACKGROUND values. The whole plan is recorded before the first move and the
// record kept until the last page is rewritten: a rename that a stopped
// program left is finished by the next rename or the next opening of the folder.
struct FolderRenameOutcome
{
    RenameOutcome moves;
    // Files that kept their names because a page that is no valid UTF-8 uses
    // them, and those pages.
    QStringList kept;
    QStringList keptFor;
    // Pages that use a renamed file but could not be rewritten.
    QStringList pagesNotWritten;
    // The record could not be made: nothing was renamed.
    bool notStarted = false;
};

// Carries out moves (names in folder) with the companions of those kinds and
// rewrites the values of the data root's pages that name a moved file. A move
// whose page or companion is used by a page that cannot be rewritten is left
// out; its entry of moves.finalNames keeps the old name. root is the data root.
// The folder's rename lock is held, and a stopped rename settled, before.
// tick is called now and then while the rename works.
FolderRenameOutcome renameUsedFiles(const QString &folder, const QString &root, const QList<PageMove> &moves,
                                    Companions companions, const std::function<void()> &tick = {});

// One PC at a time changes the names in a folder: a lock beside its record,
// hidden like it (".kavuno-renaming.lock"), so that no list offers it.
class FolderRenameLock
{
public:
    // How long a rename waits for the lock before it asks whether to wait on.
    static constexpr int WaitMs = 3000;
    // A lock of another PC unchanged this long is abandoned: its holder touches it every second.
    static constexpr int StaleAfterMs = 10000;

    explicit FolderRenameLock(const QString &folder);

    // Waits up to timeoutMs, processing events meanwhile; false while another holds it.
    bool acquire(int timeoutMs);
    void release() { m_lock.reset(); }
    // Shows other PCs that the holder still works (at most once a second):
    // a lock left unchanged for a few seconds is taken as abandoned.
    void keepAlive();
    std::function<void()> ticker()
    {
        return [this] { keepAlive(); };
    }

private:
    QString m_path;
    std::optional<QLockFile> m_lock;
    QElapsedTimer m_touched;
};

enum class SettleState {
    Settled, // nothing was left, or what was left is finished
    Busy,    // the record of a rename that may still run: nothing was touched
};
// Finishes the rename a stopped program left in folder: its moves from where
// each file is, then the pages not rewritten yet; then files left under hidden
// names get names the level shows. The folder's rename lock is held.
// pagesNotWritten gets the pages that could not be rewritten.
SettleState settleStoppedRename(const QString &folder, const QString &root, QStringList *pagesNotWritten = nullptr,
                                const std::function<void()> &tick = {});

// As a folder is opened: settles a stopped rename recorded there when no other
// PC renames in it right now. Returns the pages that could not be rewritten.
QStringList settleRenameOnOpening(const QString &folder, const QString &root);
