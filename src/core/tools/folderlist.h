#pragma once

#include <QString>
#include <QStringList>

#include <functional>

// The folder-name list: one folder a line, relative to the program's folder with
// "\" (or "/") between levels; lines holding "//" are comments.

// The program's folder + "_folder.txt".
QString folderListPath(const QString &exeDir);

// The folder lines of a list: each trimmed of blanks and control characters,
// without empty and comment lines.
QStringList folderListLines(const QString &text);

struct FolderListResult
{
    int created = 0;
    QStringList refused; // lines that would leave the data root
};

// Creates every listed folder below exeDir, one level at a time; existing folders
// are passed over. A first level naming the data root as a Windows copy names it
// (exeBaseName, in any case) means homeDir. Lines that are absolute, hold "..",
// pass through a symbolic link or lie outside the data root are refused.
FolderListResult createListedFolders(const QString &text, const QString &exeDir, const QString &exeBaseName,
                                     const QString &homeDir);

// Every folder below exeDir, depth first, sub-folders in name order, each relative
// to exeDir with "\" between levels; hidden folders and symbolic links are not
// entered. between runs after each folder (the window keeps painting).
QStringList existingFolderNames(const QString &exeDir, const std::function<void()> &between = {});
