#include "core/editor/editlauncher.h"

#include "core/app/beneath.h"
#include "core/editor/editorstrings.h"
#include "core/editor/fieldsread.h"
#include "core/navigation/pathtext.h"
#include "core/pages/markers.h"
#include "core/pages/pagefile.h"
#include "core/pages/pagetext.h"
#include "core/pages/picturefile.h"
#include "core/pages/templates.h"
#include "core/present/pollcontrol.h"
#include "core/search/lookpage.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace EditLauncher {

static QString folderOf(const QString &path)
{
    const qsizetype slash = path.lastIndexOf(u'/');
    return slash < 0 ? QString() : path.left(slash);
}

QString editBackupPath(const QString &path)
{
    const QString folder = folderOf(path);
    return (folder.isEmpty() ? QString() : folder + u'/') + u"_%"_s + fileExtension(path);
}

static bool isPicture(const QString &path)
{
    const QString extension = fileExtension(path).toLower();
    return extension == u".bmp"_s || extension == u".jpeg"_s || extension == u".jpg"_s;
}

// How a file is edited, and why a page goes outside when it would hold the window
// in the fields (refused: what its file read already found).
struct EditChoice
{
    EditKind kind;
    FieldsRefusal refusal = FieldsRefusal::None;
};

static EditChoice chooseEdit(const QString &path, const QString &content, FieldsRefusal refused)
{
    if (isPicture(path))
        return {EditKind::Paint};
    if (refused != FieldsRefusal::None)
        return {EditKind::Outside, refused};
    if (!isEditablePage(content))
        return {EditKind::Outside};
    const FieldsRefusal refusal = refusalForFields(content);
    return {refusal == FieldsRefusal::None ? EditKind::Editor : EditKind::Outside, refusal};
}

EditKind editKind(const QString &path, const QString &content)
{
    return chooseEdit(path, content, FieldsRefusal::None).kind;
}

QString notOpenedMessage(const QString &path, FieldsRefusal refusal)
{
    const QString name = fileNameOf(path);
    return refusal == FieldsRefusal::None ? EditorStrings::NoProgramFor.arg(name)
                                          : EditorStrings::NotOpenedBecause.arg(name, refusalReason(refusal));
}

QString newDailyPageName(const QDateTime &now, const QStringList &levelNames, const QStringList &folderNames)
{
    const QString stamp = now.toString(u"yyyyMMdd'-'ddMMss"_s);
    const QString day = now.toString(u"yyyyMMdd"_s);
    int n = 1;
    for (const QString &name : levelNames) {
        if (name.contains(day))
            ++n;
    }
    QSet<QString> taken;
    for (const QString &name : folderNames)
        taken.insert(name.toCaseFolded());
    QString name = stamp + QString::number(n) + u".html"_s;
    while (taken.contains(name.toCaseFolded()))
        name = stamp + QString::number(++n) + u".html"_s;
    return name;
}

bool isDailyReportPage(const QString &pagePath)
{
    const QString name = fileNameOf(pagePath);
    return name.contains(Markers::DailyReportWord) && name.contains(u".html"_s);
}

// The values of attr="..." in text, in order.
static QStringList quotedValuesAfter(const QString &text, const QString &attr)
{
    QStringList values;
    qsizetype at = 0;
    while ((at = text.indexOf(attr, at)) >= 0) {
        at += attr.size();
        const qsizetype open = text.indexOf(u'"', at);
        if (open < 0)
            break;
        const qsizetype close = text.indexOf(u'"', open + 1);
        if (close < 0)
            break;
        values << text.mid(open + 1, close - open - 1);
        at = close + 1;
    }
    return values;
}

// A plain file name of the page's own folder: no folder part, no "..", no
// drive or web address. Only such pictures are filed with a daily report.
static bool isPlainFileName(const QString &name)
{
    return !name.isEmpty() && name != u"."_s && name != u".."_s && !name.contains(u'/') && !name.contains(u'\\')
           && !name.contains(u':');
}

QList<Copy> dailyArchiveCopies(const QString &pagePath, const QString &pageText, const QString &archiveFolder,
                               const QString &archiveName)
{
    QList<Copy> copies;
    const QString target = archiveFolder + u'/' + archiveName;
    const QString base = pathWithoutExtension(pagePath);
    copies << Copy{pagePath, target + u".html"_s} << Copy{base + u".%xt"_s, target + u".%xt"_s}
           << Copy{base + u".wav"_s, target + u".wav"_s};

    const QString folder = folderOf(pagePath);
    QStringList pictures;
    const QStringList backgrounds = quotedValuesAfter(pageText, u"background="_s);
    if (!backgrounds.isEmpty())
        pictures << backgrounds.first();
    pictures << quotedValuesAfter(pageText, u"src="_s);
    QSet<QString> seen;
    for (const QString &name : std::as_const(pictures)) {
        const QString found = isPlainFileName(name) ? findFileInFolder(folder, name) : QString();
        if (found.isEmpty() || seen.contains(name))
            continue;
        seen.insert(name);
        copies << Copy{found, archiveFolder + u'/' + name};
    }
    return copies;
}


static void editInPaintProgram(EditLauncherHost &host, const QString &path)
{
    const QString program = host.paintProgram();
    if (program.isEmpty())
        host.openWithShell(path);
    else
        host.runProgramAndWait(program, {path});
}

// How long the links wait for a post another computer is writing into the page.
static constexpr int LookLinksLockTimeoutMs = 3000;

// Returns the name of the page to find again in the re-read level.
static QString editInEditor(EditLauncherHost &host, const QString &path, QString content, const PageSnapshot &read)
{
    const bool hadLookLinks = content.contains(u"$LOOK"_s);
    if (hadLookLinks)
        content = host.removeLookLinks(content);
    const EditorOutcome outcome = host.runEditor(path, content, read);
    const QString pagePath = outcome.path.isEmpty() ? path : outcome.path;

    // Only a page saved in this pass has an archive name of its own.
    if (outcome.saved && !outcome.archiveName.isEmpty() && isDailyReportPage(pagePath)) {
        const PageText page = readPageFile(pagePath);
        const QList<Copy> copies = dailyArchiveCopies(pagePath, page.ok() ? page.text : QString(),
                                                      host.dailyReportFolder(), outcome.archiveName);
        for (const Copy &copy : copies) {
            if (QFileInfo(copy.from).isFile())
                host.copyFile(copy.from, copy.to);
        }
    }
    // A page closed without saving still has its links on disk: it is not rewritten.
    // Under the page's lock, as a post is written: a post another computer makes
    // meanwhile is not written over.
    if (hadLookLinks && outcome.saved && !outcome.path.isEmpty())
        rewriteLookLinks(pagePath, [&host](const QString &text) { return host.restoreLookLinks(text); },
                         LookLinksLockTimeoutMs);
    return pathWithoutExtension(fileNameOf(pagePath));
}

// refusal: why a page was kept out of the editor, said when nothing opens it.
static void editOutside(EditLauncherHost &host, const QString &path, FieldsRefusal refusal)
{
    host.showPlaceholder(Markers::StatusEditingOutside);
    const QString spreadsheet = host.spreadsheetProgram();
    // Without a spreadsheet program the file opens with its own program.
    const bool started = (path.contains(u".htm"_s) || path.contains(u".mht"_s)) && !spreadsheet.isEmpty()
                             ? host.startProgram(spreadsheet, {path})
                             : host.openWithShell(path);
    if (started)
        host.waitForOutsideProgram();
    else
        host.tellNotOpened(notOpenedMessage(path, refusal));
    host.refreshCurrentPage();
}

void EditPage(EditLauncherHost &host, QString path, QString content)
{
    if (path.contains(u"http:"_s) || path.contains(u"https:"_s) || host.currentIndex() < 0)
        return;
    // An empty level has no current page to name.
    if (path.isEmpty() && host.currentFileName().isEmpty())
        return;
    EditKind kind;
    QString editedName; // the page to find again in the re-read level
    {
        // The poll runs again before the page is shown anew, whichever way the edit ends.
        PollPause pause(host);
        host.showPlaceholder(Markers::StatusEditPreparing);
        if (path.isEmpty())
            path = host.currentFolder() + u'/' + host.currentFileName();
        // A FIFO or a device under a page's name is no page: no editor or program
        // is started on it, and the page is shown again.
        struct stat st;
        const bool exists = Beneath::stat(path, &st);
        if (exists && !S_ISREG(st.st_mode)) {
            host.refreshCurrentPage();
            return;
        }

        if (exists)
            host.copyFile(path, editBackupPath(path));
        // The page is read once: the fields and the save's check come from the same
        // bytes, so a post written meanwhile is found on saving. A page that would
        // hold the window in the fields opens with its own program instead.
        PageSnapshot read;
        FieldsRefusal refused = FieldsRefusal::None;
        if (content.isEmpty()) {
            const PageForFields file = readPageForFields(path);
            read = file.read;
            content = file.page.ok() ? file.page.text : QString();
            // Only a page may be too large for the editor: other files never go there.
            if (file.tooLarge && path.contains(u".htm"_s))
                refused = FieldsRefusal::TooLarge;
            // The document type line is plain ASCII: an own page shows it whatever its encoding.
            if (file.page.status == PageText::Undecodable && read.bytes.contains(Markers::OwnPageMark.toLatin1()))
                host.tellUndecodablePage(path);
        } else {
            read = takePageSnapshot(path); // a new page: what stands under its name now
        }
        const EditChoice choice = chooseEdit(path, content, refused);
        kind = choice.kind;
        switch (kind) {
        case EditKind::Paint:
            editInPaintProgram(host, path);
            break;
        case EditKind::Editor:
            editedName = editInEditor(host, path, content, read);
            break;
        case EditKind::Outside:
            editOutside(host, path, choice.refusal);
            break;
        }
    }

    // A file edited outside was shown again while the poll still waited.
    if (kind == EditKind::Editor)
        host.refreshAfterEditor(editedName);
    else if (kind == EditKind::Paint)
        host.refreshCurrentPage();
}

void NewDailyPage(EditLauncherHost &host, const QDateTime &now)
{
    const QString folder = host.currentFolder();
    const QStringList folderNames = QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::Dirs | QDir::NoDotAndDotDot);
    const QString name = newDailyPageName(now, host.levelFileNames(), folderNames);
    EditPage(host, folder + u'/' + name, newPageText(now.date()));
}

} // namespace EditLauncher
