// Copying and deleting the current page with its files, and removing the
// files no page of the folder links.
#include "ui/app/tform1.h"

#include "core/navigation/pathtext.h"
#include "core/pages/markers.h"
#include "core/pages/templates.h"
#include "core/tools/pagecopy.h"
#include "core/tools/toolstexts.h"
#include "core/tools/unlinkedfiles.h"
#include "platform/platform.h"
#include "ui/app/copydialog.h"
#include "ui/app/uitexts.h"
#include "ui/tools/tform3.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QFrame>
#include <QMessageBox>
#include <QPushButton>
#include <QUrl>
#include <QWebEngineView>

using namespace Qt::StringLiterals;
namespace T = ToolsTexts;

void TForm1::ShowProgressPage(const QString &status)
{
    Panel10->hide();
    const QString page = NEWHTMLSAVE(nav.CurDir, status);
    QCoreApplication::processEvents();
    WebBrowser1->setUrl(QUrl::fromLocalFile(page));
}

// One box for each link to a command: such a link names no file.
static std::function<void(const QString &, const QString &)> commandLinkBox(QWidget *window, const QString &title)
{
    return [window, title](const QString &file, const QString &name) {
        QMessageBox::information(window, title,
                                 file + T::CommandLinkIn + u'\n' + T::CommandLinkHref + name + T::CommandLinkNote);
    };
}

static QString chooseTarget(QWidget *window, const QString &source)
{
    QFileDialog dialog(window);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilters(T::CopyFilters.split(u";;"_s));
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setOption(QFileDialog::ReadOnly, false);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setDefaultSuffix(fileExtension(source).mid(1));
    keepOwnExtension(dialog);
    dialog.selectFile(source);
    return dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty() ? dialog.selectedFiles().first()
                                                                                   : QString();
}

// Copies the page and its files to target, then offers to take the originals
// away: only those now copied elsewhere and used by no other page of the folder.
static void copyPageTo(TForm1 &form, const QString &source, const QString &target, LinkResolver &resolver)
{
    const QString title = form.nav.ExeBaseName;
    const bool ownPage = form.nav.currentEntry().contains(T::OwnPageExtension);
    const PageCopyResult result = copyPageFiles(
        pageCopyPlan(source, target, ownPage, resolver),
        [&](const QString &to) {
            return QMessageBox::question(&form, title, T::AskOverwrite.arg(to)) == QMessageBox::Yes;
        },
        [&](const QString &from, const QString &to) { return form.platform.copyFile(from, to, true); });
    if (result.failed.contains(target))
        QMessageBox::warning(&form, title, UiTexts::CopyFailed.arg(target));
    if (!result.copied.contains(source))
        return;
    if (QMessageBox::question(&form, title, T::AskDeleteOriginal) != QMessageBox::Yes)
        return;
    LinkResolver fresh(form.nav.HomeDir, form.nav.CurDir);
    LinkWalker quiet(fresh);
    const QStringList used = filesToLeaveWith(quiet, source, form.nav.ExeBaseName);
    const QStringList kept = form.platform.moveToTrash(filesToRemoveAfterCopy(result, source, used));
    if (!kept.isEmpty())
        QMessageBox::warning(&form, title, UiTexts::RecycleFailed.arg(kept.join(u"」\n「"_s)));
}

void TForm1::CopyPage()
{
    if (nav.PBanSu() < 1 || nav.PBan() < 0)
        return;
    {
        PollPause pause(*this);
        ShowProgressPage(Markers::StatusCopying);
        const QString source = nav.entryPath(nav.PBan());
        SearchIndexKey = u"xxx"_s;
        LinkResolver resolver(nav.HomeDir, nav.CurDir);
        LinkWalker walker(resolver, commandLinkBox(this, nav.ExeBaseName));
        QStringList linked;
        if (!source.isEmpty())
            walker.collect(source, linked, true);
        const QString target = source.isEmpty() ? QString()
                               : SaveDialog2             ? SaveDialog2(source)
                                                         : chooseTarget(this, source);
        if (!target.isEmpty())
            copyPageTo(*this, source, target, resolver);
        nav.OpenFolderLevel(nav.CurDir, nav.PBan(), false);
        ReMake();
        PageClick(false, true);
    }
    HighlightCurrent = true;
}

// A page from the web, or a level of web addresses: nothing of it is ours to delete.
static bool mentionsWeb(const QString &text)
{
    return text.contains(u"http:"_s, Qt::CaseInsensitive) || text.contains(u"https:"_s, Qt::CaseInsensitive);
}

void TForm1::DeletePageMenu()
{
    DeletePageFiles();
}

// Shows the file tool with files and caption, the poll paused meanwhile; the
// files of unselected are listed but not chosen for the user.
static void showFileTool(TForm1 &form, const QString &caption, const QStringList &files,
                         const QStringList &unselected = {})
{
    if (!form.Form3)
        return;
    PollPause pause(form);
    form.Form3->setWindowTitle(caption);
    form.Form3->BitBtn1->show();
    form.Form3->HomeDir = form.nav.HomeDir;
    form.Form3->CurDir = form.nav.CurDir;
    form.Form3->setFiles(files, unselected);
    form.Form3->exec();
}

void TForm1::DeletePageFiles()
{
    if (nav.PBan() < 0 || mentionsWeb(Caption) || mentionsWeb(nav.currentEntry()))
        return;
    const QString source = nav.entryPath(nav.PBan());
    if (source.isEmpty())
        return;
    SearchIndexKey = u"xxx"_s;
    LinkResolver resolver(nav.HomeDir, nav.CurDir);
    LinkWalker walker(resolver, commandLinkBox(this, nav.ExeBaseName));
    QStringList files;
    walker.collect(source, files, true);
    if (!walker.unreadable.isEmpty()) {
        QMessageBox::warning(this, nav.ExeBaseName, T::PageUnreadable.arg(walker.unreadable.first()));
        return;
    }
    // What the folder's other pages use is listed, but left for the user to choose.
    LinkWalker quiet(resolver);
    showFileTool(*this, T::DeleteCaption, files, filesToLeaveWith(quiet, source, nav.ExeBaseName));
    // Re-reading the level also takes the new file count, which the poll compares.
    {
        PollPause pause(*this);
        nav.OpenFolderLevel(nav.CurDir, nav.PBan(), false);
        ReMake();
        PageClick(false, true);
    }
    HighlightCurrent = true;
}

void TForm1::RemoveUnlinkedFiles()
{
    if (nav.PBan() < 0)
        return;
    LinkResolver resolver(nav.HomeDir, nav.CurDir);
    LinkWalker walker(resolver, commandLinkBox(this, nav.ExeBaseName));
    const QStringList files = unlinkedFiles(walker, nav.CurDir, nav.ExeBaseName);
    // A page that could not be read may use any file: offer none.
    if (!walker.unreadable.isEmpty()) {
        QMessageBox::warning(this, nav.ExeBaseName, T::PageUnreadable.arg(walker.unreadable.first()));
        return;
    }
    if (files.isEmpty()) {
        QMessageBox::information(this, nav.ExeBaseName, T::NothingUnlinked);
        return;
    }
    SearchIndexKey = u"xxx"_s;
    showFileTool(*this, T::UnlinkedCaption, files);
    // The level is not read again: the next poll sees the changed file count.
    HighlightCurrent = true;
    ReMake();
    PageClick(false, true);
}
