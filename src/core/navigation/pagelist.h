#pragma once

#include <QString>
#include <QStringList>

// The plain files of a folder (no folders, no hidden files, no names starting
// with ".", no names that are not valid UTF-8 and so could not be opened by
// the name the program makes of them), matching any of the wildcard patterns (all files when empty),
// sorted by name without regard to case. ok is false when the folder cannot
// be listed; the list is then empty.
QStringList listPlainFiles(const QString &folder, const QStringList &patterns = {}, bool *ok = nullptr);

// True when the extension (from the last ".") begins with a letter a-z or A-Z:
// only such files can be pages.
bool hasPageExtension(const QString &fileName);

// The files of a folder that can be pages, in name order; their count is what
// the update poll compares.
QStringList listPageFiles(const QString &folder, bool *ok = nullptr);

// How many files of a folder can be pages: listPageFiles' count, without
// sorting or keeping the names.
int countPageFiles(const QString &folder, bool *ok = nullptr);

// The page list of a level from the names listPageFiles gave: the names holding
// "index" (without "_") first, then the others that do not begin with "_",
// leaving out names with "$" in their extension and the page named like the
// program file (exeBaseName).
QStringList pageListOrder(const QStringList &names, const QString &exeBaseName);
