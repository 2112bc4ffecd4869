#pragma once

#include <QString>

// Finds a file that a page names (a picture, a link target) in the page's folder:
// the exact name first, then a name that differs only in case. "\" in the name is a
// folder separator. Names that would leave the folder (absolute paths, "..") and web
// addresses are never found. Returns the full path, or "" when there is no such file.
QString findFileInFolder(const QString &folder, const QString &name);
