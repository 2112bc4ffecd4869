#pragma once

#include "core/app/rootpath.h"

#include <QString>

// Finds a file that a page names (a picture, a link target) in the page's folder:
// the exact name first, then a name that differs only in case. "\" in the name is a
// folder separator. Names that would leave the folder (absolute paths, "..") and web
// addresses are never found. Returns the full path, or "" when there is no such file.
QString findFileInFolder(const QString &folder, const QString &name);

// A file, or with folder set a folder, below root that path names in another
// case (a link or marker written on Windows: "SUB\PAGE.HTML" for
// sub/page.html): each step is the exact name first, else one that differs
// only in case. "" when path does not lie below root or names nothing there.
QString findPathInRoot(const QString &root, const QString &path, bool folder = false);

class QFile;
class QImageReader;

// Opens a picture for reading: a file of the data root beneath it, and only a
// regular file (a FIFO would wait for a writer for ever). The reader reads
// file, deciding the format from its content. False when it cannot be opened.
bool openPictureReader(const QString &path, QFile &file, QImageReader &reader);
