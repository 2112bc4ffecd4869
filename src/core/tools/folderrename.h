#pragma once

#include "core/tools/renamelock.h"
#include "core/tools/renameplan.h"

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
    RenameBlock notStartedWhy = RenameBlock::None;
};

// Carries out moves (names in folder) with the companions of those kinds and
// rewrites the values of the data root's pages that name a moved file. A move
// whose page or companion is used by a page that cannot be rewritten is left
// out; its entry of moves.finalNames keeps the old name. root is the data root.
// The folder's rename lock is held, and a stopped rename settled, before.
// tick is called now and then while the rename works.
FolderRenameOutcome renameUsedFiles(const QString &folder, const QString &root, const QList<PageMove> &moves,
                                    Companions companions, const std::function<void()> &tick = {});

enum class SettleState {
    Settled, // nothing was left, or what was left is finished
    Busy,    // the record of a rename that may still run: nothing was touched
};
// Finishes the rename a stopped program left in folder: its moves from where
// each file is, then the pages not rewritten yet; then files left under hidden
// names get names the level shows. The folder's rename lock is held.
// pagesNotWritten gets the pages that could not be rewritten; why, what keeps
// a record from being finished (another's live lock or record, or a record
// that cannot be written).
SettleState settleStoppedRename(const QString &folder, const QString &root, QStringList *pagesNotWritten = nullptr,
                                const std::function<void()> &tick = {}, RenameBlock *why = nullptr);

struct OpeningSettle
{
    // Pages a finished rename could not rewrite.
    QStringList pagesNotWritten;
    // A rename recorded here goes on elsewhere: the folder shows names halfway.
    bool waiting = false;
    // What it waits for, in a few words.
    QString waitedFor;
};
// As a folder is opened: settles a stopped rename recorded there when no other
// PC renames in it right now.
OpeningSettle settleRenameOnOpening(const QString &folder, const QString &root);

// "What is waited for": the holder of the folder's lock, as the window says it
// (brief: in a few words).
QString waitedForText(const FolderRenameLock &lock, bool brief = false);
