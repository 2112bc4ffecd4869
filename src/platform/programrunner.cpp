#include "platform/programrunner.h"

#include "platform/platform.h"

#include <QEventLoop>
#include <QFileInfo>
#include <QProcess>

bool runProgram(Platform &platform, const QString &program, const QStringList &arguments, bool wait)
{
    const QFileInfo file(program);
    if (!file.isFile())
        return false;
    if (!file.isExecutable())
        return platform.openWithShell(program);
    if (!wait)
        return QProcess::startDetached(program, arguments);

    QProcess process;
    QEventLoop loop;
    bool started = true;
    QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
    QObject::connect(&process, &QProcess::errorOccurred, &loop, [&](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart) {
            started = false;
            loop.quit();
        }
    });
    process.start(program, arguments);
    if (started && process.state() != QProcess::NotRunning)
        loop.exec();
    return started;
}
