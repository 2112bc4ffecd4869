#include "platform/linuxplatform.h"

#include "platform/atomiccopy.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QUrl>

using namespace Qt::StringLiterals;

void LinuxPlatform::beep()
{
    QApplication::beep();
}

bool LinuxPlatform::openWithShell(const QString &pathOrUrl)
{
    const QUrl url = pathOrUrl.contains(u"://") ? QUrl(pathOrUrl) : QUrl::fromLocalFile(pathOrUrl);
    return QDesktopServices::openUrl(url);
}

QStringList LinuxPlatform::moveToTrash(const QStringList &paths)
{
    // Without the user's data folder Qt puts the trash beside the working
    // folder ("files", "info") instead of refusing: give it its home trash.
    QDir().mkpath(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation));
    QStringList kept;
    for (const QString &path : paths) {
        if (!QFileInfo::exists(path))
            continue;
        if (!QFile::moveToTrash(path))
            kept << path;
    }
    return kept;
}

bool LinuxPlatform::copyFile(const QString &from, const QString &to, bool overwrite)
{
    return copyFileAtomically(from, to, overwrite);
}

QString LinuxPlatform::desktopFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
}

// The program behind a .desktop file's Exec= line, without its field codes.
static QString desktopEntryProgram(const QString &desktopId)
{
    const QStringList dirs = QStandardPaths::standardLocations(QStandardPaths::ApplicationsLocation);
    for (const QString &dir : dirs) {
        QFile file(dir + u'/' + desktopId);
        if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
            continue;
        while (!file.atEnd()) {
            const QString line = QString::fromUtf8(file.readLine()).trimmed();
            if (!line.startsWith(u"Exec="))
                continue;
            const QStringList words = QProcess::splitCommand(line.mid(5));
            if (words.isEmpty())
                return {};
            return QStandardPaths::findExecutable(words.first()).isEmpty() ? words.first()
                                                                           : QStandardPaths::findExecutable(words.first());
        }
    }
    return {};
}

QString LinuxPlatform::spreadsheetProgram()
{
    QProcess query;
    query.start(u"xdg-mime"_s, {u"query"_s, u"default"_s, u"application/vnd.ms-excel"_s});
    if (query.waitForFinished(3000)) {
        const QString id = QString::fromUtf8(query.readAllStandardOutput()).trimmed();
        if (!id.isEmpty()) {
            const QString program = desktopEntryProgram(id);
            if (!program.isEmpty())
                return program;
        }
    }
    for (const QString &name : {u"localc"_s, u"libreoffice"_s, u"gnumeric"_s}) {
        const QString found = QStandardPaths::findExecutable(name);
        if (!found.isEmpty())
            return found;
    }
    return {};
}

QString LinuxPlatform::paintProgram()
{
    for (const QString &name : {u"kolourpaint"_s, u"pinta"_s, u"mtpaint"_s, u"drawing"_s, u"gimp"_s}) {
        const QString found = QStandardPaths::findExecutable(name);
        if (!found.isEmpty())
            return found;
    }
    return {};
}

bool LinuxPlatform::startProgram(const QString &program, const QStringList &arguments, bool wait)
{
    if (!wait)
        return QProcess::startDetached(program, arguments);

    QProcess process;
    QEventLoop loop;
    QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
    QObject::connect(&process, &QProcess::errorOccurred, &loop, [&loop](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            loop.quit();
    });
    process.start(program, arguments);
    if (process.state() == QProcess::NotRunning && process.error() == QProcess::FailedToStart)
        return false;
    if (process.state() != QProcess::NotRunning)
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    return process.error() != QProcess::FailedToStart;
}

Platform &systemPlatform()
{
    static LinuxPlatform platform;
    return platform;
}
