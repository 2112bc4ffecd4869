#include "platform/linuxplatform.h"

#include "core/app/beneath.h"
#include "core/app/rootpath.h"
#include "platform/atomiccopy.h"
#include "platform/trash.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QUrl>

using namespace Qt::StringLiterals;

void LinuxPlatform::beep()
{
    QApplication::beep();
}

// Whether the desktop has a program for a local file, by its type or a broader
// one (a CSV file opens with the text editor). xdg-open runs detached, so its
// own "no method available" never comes back to us. When xdg-mime cannot
// answer, xdg-open is left to try.
bool desktopHasProgramFor(const QString &path)
{
    if (QStandardPaths::findExecutable(u"xdg-mime"_s).isEmpty())
        return true;
    const QMimeType type = QMimeDatabase().mimeTypeForFile(path);
    const QStringList names = QStringList{type.name()} + type.allAncestors();
    for (const QString &name : names) {
        QProcess query;
        query.start(u"xdg-mime"_s, {u"query"_s, u"default"_s, name});
        if (!query.waitForFinished(3000) || query.exitStatus() != QProcess::NormalExit || query.exitCode() != 0)
            return true;
        if (!query.readAllStandardOutput().trimmed().isEmpty())
            return true;
    }
    return false;
}

bool LinuxPlatform::openWithShell(const QString &pathOrUrl)
{
    // No other program is handed a file or folder of the data root that leads out of it.
    const QUrl url(pathOrUrl);
    if (leadsOutOfDataRoot(url.isLocalFile() ? url.toLocalFile() : pathOrUrl))
        return false;
    if (pathOrUrl.contains(u"://"))
        return QDesktopServices::openUrl(QUrl(pathOrUrl));
    if (!desktopHasProgramFor(pathOrUrl))
        return false;
    return QDesktopServices::openUrl(QUrl::fromLocalFile(pathOrUrl));
}

QStringList LinuxPlatform::moveToTrash(const QStringList &paths)
{
    // Without the user's data folder Qt puts the trash beside the working
    // folder ("files", "info") instead of refusing: give it its home trash.
    QDir().mkpath(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation));
    QStringList kept;
    for (const QString &path : paths) {
        if (!Beneath::exists(path))
            continue;
        if (!moveIntoTrash(path))
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
