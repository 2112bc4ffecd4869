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

// The same for a file just opened as fd, by name in folder (AT_FDCWD: name is
// a path): judged by what was opened, so a link swapped in after a look at the
// name is caught as well. With folder an open folder, the file is the data
// root's when that folder lies in it.
bool openedOutOfDataRoot(int fd, int folder, const char *name);

// Opens name in folder (AT_FDCWD: name is a path) as openat does, beneath the
// data root's descriptor for a file of the root (see beneath.h): a step out of
// the root fails (EXDEV).
int openInDataRoot(int folder, const char *name, int flags);

// Whether a folder entry seen as a symbolic link (d_type DT_LNK) leads out of
// the data root: listings follow only links, so a folder of 10,000 plain pages
// costs nothing more.
bool linkLeadsOutOfDataRoot(int folder, const char *name);
