#pragma once

#include "platform/platform.h"

class LinuxPlatform : public Platform
{
public:
    void beep() override;
    bool openWithShell(const QString &pathOrUrl) override;
    QStringList moveToTrash(const QStringList &paths) override;
    bool copyFile(const QString &from, const QString &to, bool overwrite) override;
    QString desktopFolder() override;
    QString spreadsheetProgram() override;
    QString paintProgram() override;
    bool startProgram(const QString &program, const QStringList &arguments, bool wait) override;
};

// Whether the desktop names a program for a local file (xdg-mime); true when
// it cannot tell.
bool desktopHasProgramFor(const QString &path);
