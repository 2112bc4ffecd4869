#pragma once

#include <QString>

// Moves a file or folder into the user's trash (the freedesktop trash: the
// home trash, or the trash at the top of the share it lies on), so that it can
// be restored. A file of the data root is taken from its folder opened beneath
// the root: a folder a peer swapped for a link trashes nothing out of the root.
// False, and the file kept, when it cannot be trashed.
bool moveIntoTrash(const QString &path);
