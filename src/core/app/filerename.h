#pragma once

#include <QString>

// Gives a file or folder another name in the same file system, never replacing
// what already has that name, and never by copying: QFile::rename falls back to
// copy-and-remove where the file system refuses a no-replace rename (network
// shares), and a crash in between leaves the file twice. Where a share cannot
// refuse to replace in one call, the file takes its new name as a second name
// first (see Beneath::moveWithoutReplace). Both names are reached beneath the
// data root. False when to exists or the rename failed;
// nothing changed then.
bool renameWithoutReplace(const QString &from, const QString &to);
