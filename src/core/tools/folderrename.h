#pragma once

#include "core/tools/renameplan.h"

#include <QString>
#include <QStringList>

// Renaming pages of a folder (reorder, strip, numbered names) so that the
// folder's pages still find the files they use: the pictures, documents,
// pages and sub-folders they name by their SRC, HREF and BACKGROUND values.
struct FolderRenameOutcome
{
    RenameOutcome moves;
    // Files that kept their names because a page that is no valid UTF-8 uses
    // them, and those pages.
    QStringList kept;
    QStringList keptFor;
    // Pages that use a renamed file but could not be rewritten.
    QStringList pagesNotWritten;
};

// Carries out moves (names in folder) with the companions of those kinds and
// rewrites the values of the folder's pages that name a moved file. A move
// whose page or companion is used by a page that cannot be rewritten is left
// out; its entry of moves.finalNames keeps the old name. root is the data root.
FolderRenameOutcome renameUsedFiles(const QString &folder, const QString &root, const QList<PageMove> &moves,
                                    Companions companions);
