#include "platform/programrunner.h"

#include "core/app/smallfile.h"
#include "core/commands/shortcut.h"
#include "platform/platform.h"

#include <QFile>
#include <QFileInfo>

using namespace Qt::StringLiterals;

bool runProgram(Platform &platform, const QString &program, const QStringList &arguments, bool wait)
{
    const QFileInfo file(program);
    if (!file.isFile())
        return false;
    if (!file.isExecutable())
        return platform.openWithShell(program);
    return platform.startProgram(program, arguments, wait);
}

bool launchShortcut(Platform &platform, const QString &shortcut, const QString &file)
{
    if (!shortcut.endsWith(u".desktop"_s, Qt::CaseInsensitive))
        return platform.openWithShell(shortcut);
    const std::optional<QByteArray> entry = readTextFile(shortcut);
    if (!entry)
        return false;
    const QStringList command = desktopEntryCommand(QString::fromUtf8(*entry), file);
    if (command.isEmpty())
        return false;
    return platform.startProgram(command.first(), command.mid(1), false);
}
