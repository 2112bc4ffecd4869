#pragma once

#include "core/tools/folderrenamerun.h"
#include "core/tools/renamelock.h"
#include "core/tools/renameplan.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

enum class SettleState {
    Settled, // nothing was left, or what was left is finished (or kept for pages not written)
    Busy,    // another holds the folder's lock, or the record cannot be written: nothing was touched
};
// Finishes the rename a stopped program (or a holder that lost the folder's
// lock) left in folder: its moves from where each file is, then the pages
// not rewritten yet; then files left under hidden names get names the level
// shows. The folder's rename lock is held, or taken here without waiting.
// pagesNotWritten gets the pages that could not be rewritten; why, what keeps
// a record from being finished (another's lock, or a record that cannot be
// written). Finishing a record twice, or on two PCs one after the other,
// gives what finishing it once gives.
SettleState settleStoppedRename(const QString &folder, const QString &root, QStringList *pagesNotWritten = nullptr,
                                const std::function<void()> &tick = {}, RenameBlock *why = nullptr);

// The same, telling all it found.
struct SettleOutcome
{
    SettleState state = SettleState::Settled;
    RenameBlock why = RenameBlock::None;
    // A record was found and finished whole.
    bool finished = false;
    // The record stays: pages could not be rewritten yet.
    bool recordKept = false;
    QStringList pagesNotWritten;
    // Those pages with each moved file they name (old path -> new path).
    QList<PageNamesFile> notWrittenNames;
};
SettleOutcome settleRecordedRename(const QString &folder, const QString &root, const std::function<void()> &tick = {});

struct OpeningSettle
{
    // Pages a finished rename could not rewrite.
    QStringList pagesNotWritten;
    // Those pages with each moved file they name.
    QList<PageNamesFile> notWrittenNames;
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
