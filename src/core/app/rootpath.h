#pragma once

#include <QString>

// Where the data root ends. Another PC may make any name of the shared data root
// a symbolic link to a file or folder elsewhere (another user's files, the
// system): whatever is opened under the root is judged by its real path here,
// every link followed, so that nothing is listed, entered, read, written or shown
// out of it.

// True when path, every symbolic link in it followed, lies in root or is root.
// A path that does not exist yet is judged by its nearest existing folder.
bool staysInRoot(const QString &path, const QString &root);

// The data root of this run, set once the program knows it. The real path is
// kept, so that each check costs one look at the path judged. Empty: none.
void setDataRoot(const QString &root);
QString dataRoot();

// True when path is named in the data root (as written, or by the root's real
// path) and its real path lies out of it. A path named elsewhere (the desktop,
// a temporary folder) is not the data root's, and is not judged here.
bool leadsOutOfDataRoot(const QString &path);

// Opens name in folder (AT_FDCWD: name is a path) as openat does, beneath the
// data root's descriptor for a file of the root (see beneath.h): a step out of
// the root fails (EXDEV).
int openInDataRoot(int folder, const char *name, int flags);

