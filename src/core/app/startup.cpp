#include "core/app/startup.h"

#include "core/app/apptexts.h"
#include "core/app/beneath.h"
#include "core/navigation/pagelist.h"
#include "core/navigation/pathtext.h"

#include <QDir>
#include <QFileInfo>

using namespace Qt::StringLiterals;
using namespace AppTexts;

QSize mainWindowSize(const QSize &usable)
{
    return {usable.width() < 1280 ? usable.width() : 1265, usable.height() < 743 ? usable.height() : 742};
}

QString programFileBeforeApp()
{
    // The application object asks the same link; elsewhere it needs its arguments.
    return QFileInfo(u"/proc/self/exe"_s).canonicalFilePath();
}

static QString lastContaining(const QStringList &names, const QString &part)
{
    for (auto it = names.crbegin(); it != names.crend(); ++it) {
        if (it->contains(part))
            return *it;
    }
    return {};
}

DailyReportRestore dailyReportRestoreFor(const QString &folder, const QString &archiveDir, const QDate &today)
{
    DailyReportRestore restore;
    const QString archived = lastContaining(listPlainFiles(archiveDir, {u"*.html"_s}), today.toString(DailyReportDateFormat));
    if (archived.isEmpty())
        return restore;
    restore.source = joinPath(archiveDir, archived);
    const QString page = lastContaining(listPlainFiles(folder, {u"*.htm*"_s}), DailyReportEnding);
    restore.target = joinPath(folder, page.isEmpty() ? DailyReportPage : page);
    return restore;
}

static bool copyWhenNewer(const QString &from, const QString &to, const FileCopier &copy)
{
    const QFileInfo source(from);
    const QFileInfo target(to);
    if (!source.isFile())
        return false;
    if (target.exists() && source.lastModified() <= target.lastModified())
        return false;
    return copy(from, to, true);
}

QStringList restoreDailyReport(const DailyReportRestore &restore, const FileCopier &copy)
{
    QStringList written;
    if (restore.source.isEmpty())
        return written;
    for (const QString &extension : {QString(), NoteExtension, SoundExtension}) {
        const QString from = extension.isEmpty() ? restore.source : pathWithoutExtension(restore.source) + extension;
        const QString to = extension.isEmpty() ? restore.target : pathWithoutExtension(restore.target) + extension;
        if (copyWhenNewer(from, to, copy))
            written << to;
    }
    return written;
}

static QString importTarget(const QString &file, const QString &folder)
{
    return joinPath(folder, QFileInfo(file).fileName());
}

static bool isItself(const QString &file, const QString &target)
{
    return QFileInfo(file).canonicalFilePath() == QFileInfo(target).canonicalFilePath();
}

QStringList importFiles(const QStringList &files, const QString &folder, const FileCopier &copy)
{
    QStringList written;
    for (const QString &file : files) {
        const QString target = importTarget(file, folder);
        if (isItself(file, target))
            continue;
        if (copy(file, target, true))
            written << target;
    }
    return written;
}

ImportPlan planImport(const QStringList &files, const QString &folder)
{
    ImportPlan plan;
    plan.folder = folder;
    for (const QString &file : files) {
        const QString target = importTarget(file, folder);
        const QFileInfo there(target);
        if (isItself(file, target))
            continue;
        // A folder of that name is never replaced: the copy onto it fails.
        if (there.exists() && !there.isDir()) {
            plan.replacing << file;
            plan.replaced << target;
        } else {
            plan.fresh << file;
        }
    }
    return plan;
}

ImportResult importPlanned(const ImportPlan &plan, bool replace, const FileCopier &copy, const FileTrasher &trash)
{
    ImportResult result;
    QStringList files = plan.fresh;
    if (replace && !plan.replaced.isEmpty()) {
        result.keptInPlace = trash(plan.replaced);
        for (qsizetype i = 0; i < plan.replaced.size(); ++i) {
            if (!result.keptInPlace.contains(plan.replaced.at(i)))
                files << plan.replacing.at(i);
        }
    }
    for (const QString &file : std::as_const(files)) {
        // Never over a file: one that came meanwhile stays.
        const QString target = importTarget(file, plan.folder);
        if (copy(file, target, false))
            result.written << target;
    }
    return result;
}

bool createFolders(const QStringList &folders)
{
    for (const QString &folder : folders)
        Beneath::makeFolder(folder);
    return !folders.isEmpty() && Beneath::isFolder(folders.last());
}
