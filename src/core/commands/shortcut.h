#pragma once

#include <QString>
#include <QStringList>

// The command line of a desktop entry (a ".desktop" shortcut) started on file: its
// Exec= line split into words, the file put where the line has %f, %F, %u or %U
// (after the other words when it has none), the other field codes dropped.
// Empty when the entry has no Exec= line.
QStringList desktopEntryCommand(const QString &entryText, const QString &file);
