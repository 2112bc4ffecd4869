#pragma once

#include <QString>
#include <QStringList>

class QWidget;

// What the program needs of the desktop it runs on: the shell, other programs,
// the trash, copies that never leave a half-written file. Windows get one
// Platform object; tests give them a fake.
class Platform
{
public:
    virtual ~Platform() = default;

    virtual void beep() = 0;

    // Opens a file, folder or address with the program the desktop associates with it.
    // False when it could not be started or the desktop has no program for it.
    virtual bool openWithShell(const QString &pathOrUrl) = 0;

    // Moves files to the desktop's trash. A file that could not be moved stays
    // where it is and is named in the result.
    virtual QStringList moveToTrash(const QStringList &paths) = 0;

    // Copies through a temporary file beside the target and a rename, keeping the
    // source's modification time. Replaces an existing target only when asked to.
    virtual bool copyFile(const QString &from, const QString &to, bool overwrite) = 0;

    virtual QString desktopFolder() = 0;

    // The spreadsheet program to edit print pages with; empty when there is none.
    virtual QString spreadsheetProgram() = 0;

    // The paint program for pictures; empty when there is none.
    virtual QString paintProgram() = 0;

    // Starts a program. With wait set, returns when it has ended, keeping the
    // user interface painted but taking no input meanwhile (the caller disables
    // its window). Returns false when the program could not be started.
    virtual bool startProgram(const QString &program, const QStringList &arguments, bool wait) = 0;
};

// The real desktop: freedesktop trash, xdg-open, QProcess.
Platform &systemPlatform();
