#pragma once

#include <QDate>
#include <QSize>
#include <QString>
#include <QStringList>

#include <functional>

// The main window's size on a usable screen area: the whole width, but 1265
// from 1280 on; the whole height, but at most 742.
QSize mainWindowSize(const QSize &usable);

// The program's file as QCoreApplication::applicationFilePath() gives it, known
// before the application object exists; empty where it cannot be known then.
QString programFileBeforeApp();

// The flash message shows its text only from 1500 ms on; shorter ones only
// run the timer (the batch mode's end uses 1499).
constexpr int FlashTextMinimumMs = 1500;
inline bool flashShowsText(int ms) { return ms >= FlashTextMinimumMs; }

// Today's daily report to restore: the archive page in archiveDir whose name
// holds today's date (the last in name order) and the page of folder it goes
// over (the last "..._日報.html", else "日報.html"). Empty source: nothing to restore.
struct DailyReportRestore
{
    QString source;
    QString target;
};
DailyReportRestore dailyReportRestoreFor(const QString &folder, const QString &archiveDir, const QDate &today);

// Copies a file (from, to, overwrite); the platform's copy goes through a
// temporary file beside the target and refuses to copy a file onto itself.
using FileCopier = std::function<bool(const QString &, const QString &, bool)>;

// Copies the archive over the page and then its note and sound companions,
// each only when the archive copy is newer than what is there, so that posts
// made after the archive are never lost. Returns the targets written.
QStringList restoreDailyReport(const DailyReportRestore &restore, const FileCopier &copy);

// Copies the files into folder through the copier, replacing same-named ones
// (the command line's batch import); a file that already is that target, or
// that cannot be copied, is skipped. Returns the targets written.
QStringList importFiles(const QStringList &files, const QString &folder, const FileCopier &copy);

// The file menu's import of files into folder, by what their names find there.
// A file that already is its target is in neither list.
struct ImportPlan
{
    QString folder;
    QStringList fresh;     // files whose name is free in folder
    QStringList replacing; // files whose name another file of folder has
    QStringList replaced;  // those files of folder, one per replacing file
};
ImportPlan planImport(const QStringList &files, const QString &folder);

// Moves files to the trash; returns those it could not move.
using FileTrasher = std::function<QStringList(const QStringList &)>;

struct ImportResult
{
    QStringList written;
    QStringList keptInPlace; // files of folder the trash could not move: not replaced
};

// Copies the fresh files; with replace, the files of folder that others
// replace go to the trash first and the others take their place. Nothing is
// deleted outright or copied over: a file the trash kept stays as it was.
ImportResult importPlanned(const ImportPlan &plan, bool replace, const FileCopier &copy, const FileTrasher &trash);

// Creates each folder one level deep; failures are ignored. Returns false when
// the last one does not exist afterwards.
bool createFolders(const QStringList &folders);
