#pragma once

#include "core/tools/folderrenamerun.h"
#include "core/tools/renamelock.h"
#include "core/tools/renameplan.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

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
