#pragma once

#include "platform/atomiccopy.h"
#include "platform/platform.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>

// Records what the windows ask of the desktop; copies for real.
class FakePlatform : public Platform
{
public:
    int beeps = 0;
    QStringList opened;
    QString spreadsheet = QStringLiteral("/usr/bin/fake-calc");

    void beep() override { ++beeps; }
    bool openSucceeds = true;
    bool openWithShell(const QString &pathOrUrl) override
    {
        opened << pathOrUrl;
        return openSucceeds;
    }
    QStringList moveToTrash(const QStringList &paths) override { return paths; }
    bool copyFile(const QString &from, const QString &to, bool overwrite) override
    {
        return copyFileAtomically(from, to, overwrite);
    }
    QString desktop = QDir::tempPath();
    QString desktopFolder() override { return desktop; }
    QString spreadsheetProgram() override { return spreadsheet; }
    QString paintProgram() override { return {}; }
    bool startProgram(const QString &, const QStringList &, bool) override { return false; }
};

// Copies the sample web text into folder (created).
inline bool copyExamples(const QString &folder)
{
    const QDir examples(QStringLiteral(KAVUNO_EXAMPLES));
    QDirIterator it(examples.path(), QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    if (!QDir().mkpath(folder))
        return false;
    while (it.hasNext()) {
        const QString from = it.next();
        const QString to = folder + QLatin1Char('/') + examples.relativeFilePath(from);
        if (it.fileInfo().isDir() ? !QDir().mkpath(to) : !QFile::copy(from, to))
            return false;
    }
    return true;
}
