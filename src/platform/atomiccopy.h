#pragma once

#include <QString>

// Copies a file through a temporary file beside the target and a rename, so that
// another reader never sees half a file. Keeps the source's modification time.
// An existing target is replaced only when overwrite is set. Copying a file onto
// itself does nothing and fails.
bool copyFileAtomically(const QString &from, const QString &to, bool overwrite);
