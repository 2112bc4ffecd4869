#pragma once

#include "core/editor/fieldsread.h"
#include "core/editor/pagesave.h"
#include "core/present/pollcontrol.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

// What the editor window tells the launcher when it has closed.
struct EditorOutcome
{
    bool saved = false;  // ended by one of the save buttons
    QString path;        // the caption: the page as it was saved (a new name after "名付けて保存")
    QString archiveName; // a daily report's archive name, set by this pass's save only
};

// What the edit launcher needs of the main window, the editor and the desktop.
// The main window implements it; tests give a fake.
class EditLauncherHost : public PollControl
{
public:
    virtual ~EditLauncherHost() = default;

    // The top folder level.
    virtual QString currentFolder() const = 0;
    virtual int currentIndex() const = 0;          // -1 without a current page
    virtual QString currentFileName() const = 0;   // the current page's entry
    virtual QStringList levelFileNames() const = 0;
    virtual QString dailyReportFolder() const = 0;

    // The busy state of the main window: the poll (PollControl) and the placeholder page.
    virtual void showPlaceholder(const QString &status) = 0;

    // The editor window, shown modally with the page's path and text; read is
    // what the file held when the text was read from it, for the save to tell
    // whether another computer wrote the page since.
    virtual EditorOutcome runEditor(const QString &path, const QString &content, const PageSnapshot &read) = 0;
    // An own page whose bytes are not valid UTF-8 is never opened in the editor
    // (it would be rewritten): the user is told before it goes to another program.
    virtual void tellUndecodablePage(const QString &path) = 0;
    // Keyword links: taken out of a page before editing, put back after.
    virtual QString removeLookLinks(const QString &text) { return text; }
    virtual QString restoreLookLinks(const QString &text) { return text; }

    // Other programs. The paint program runs with the main window taking no
    // input until it ends; false when it could not be started.
    virtual QString paintProgram() = 0;
    virtual bool runProgramAndWait(const QString &program, const QStringList &arguments) = 0;
    virtual QString spreadsheetProgram() = 0;
    virtual bool startProgram(const QString &program, const QStringList &arguments) = 0;
    virtual bool openWithShell(const QString &path) = 0;
    // Nothing opened a file handed to another program: the user is told why the
    // editor did not open it either.
    virtual void tellNotOpened(const QString &message) = 0;
    // The wait after handing a file to another program; the main window takes
    // no edit or command meanwhile.
    virtual void waitForOutsideProgram() = 0;

    // Copies through a temporary file, replacing the target.
    virtual bool copyFile(const QString &from, const QString &to) = 0;

    // After the editor: the level read again, the buttons rebuilt, the page
    // named baseName found and opened, the file count taken again.
    virtual void refreshAfterEditor(const QString &baseName) = 0;
    // After another program: the current page's title and button read again
    // and the page opened.
    virtual void refreshCurrentPage() = 0;
};

namespace EditLauncher {

// The copy kept before each edit: "_%" + the file's extension in its folder.
QString editBackupPath(const QString &path);

// How a file is edited.
enum class EditKind { Paint, Editor, Outside };
EditKind editKind(const QString &path, const QString &content);

// What the user is told when no program opens a file the editor did not take:
// why the editor did not (refusal), when it was a page kept out of it.
QString notOpenedMessage(const QString &path, FieldsRefusal refusal);

// A name for a new dated page: stamp (year, month, day, "-", day, month,
// seconds) + a number that counts the level's pages of the day, raised until
// no file of the folder has the name.
QString newDailyPageName(const QDateTime &now, const QStringList &levelNames, const QStringList &folderNames);

// The copies that file a saved daily report in the archive folder: the page
// and its note and sound under the archive name, and the pictures it names
// (plain names of its own folder only). Pairs of source and target.
struct Copy
{
    QString from;
    QString to;
};
QList<Copy> dailyArchiveCopies(const QString &pagePath, const QString &pageText, const QString &archiveFolder,
                               const QString &archiveName);

// Whether a saved page is a daily report that goes to the archive.
bool isDailyReportPage(const QString &pagePath);

// Edits one file. path empty: the current page; content empty: the file's text.
void EditPage(EditLauncherHost &host, QString path, QString content);

// Makes a new dated page's name and text and opens it in the editor; nothing
// is written until the editor saves.
void NewDailyPage(EditLauncherHost &host, const QDateTime &now);

} // namespace EditLauncher
