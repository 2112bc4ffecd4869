#pragma once

#include <QString>
#include <QStringList>

class Platform;

// Starts a program file for a page: a file with the execute bit runs directly with
// the arguments; any other file opens with the program the desktop associates
// with it (the arguments cannot be passed on then). With wait, returns when the
// program has ended, turning a local event loop meanwhile (the caller disables
// its window, so input made meanwhile is dropped). False when nothing started.
bool runProgram(Platform &platform, const QString &program, const QStringList &arguments, bool wait);

// Starts a shortcut of the page folder on file: a ".desktop" entry runs its
// Exec= line with the file; any other shortcut opens with the desktop's program
// (the file cannot be passed on then). Does not wait.
bool launchShortcut(Platform &platform, const QString &shortcut, const QString &file);
