#pragma once

#include <QString>
#include <QStringList>

#include <functional>

// The desk copy: a folder with all its content copied into "【マイデスク】" on the
// user's desktop, replacing files of the same name.

// desktop + "/【マイデスク】/" + the folder's last name ("【マイデスク】" itself for a
// folder without a name, the root).
QString deskCopyTarget(const QString &desktop, const QString &source);

// True when target is source or lies inside it (the desktop inside the folder):
// such a copy would copy into itself without end.
bool copiesIntoItself(const QString &source, const QString &target);

// The files below source, without entering symbolic links (they are not copied).
QStringList filesToCopy(const QString &source);

// Copies every file below source to the same place below target, making the
// folders on the way; copy(from, to) replaces an existing file. progress(done,
// total) runs before each file and may return false to stop. Returns the files
// that could not be copied.
QStringList copyFolderContent(const QString &source, const QString &target,
                              const std::function<bool(const QString &, const QString &)> &copy,
                              const std::function<bool(int, int)> &progress = {});
