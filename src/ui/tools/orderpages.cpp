// Reordering, stripping and numbering the page files of the shown folder.
#include "ui/app/tform1.h"

#include "core/navigation/navigator.h"
#include "core/pages/markers.h"
#include "core/tools/folderrename.h"
#include "core/tools/ordernumbers.h"
#include "core/tools/ordertexts.h"
#include "ui/tools/listmessage.h"
#include "ui/tools/ordertools.h"
#include "ui/tools/renamerunner.h"
#include "ui/tools/tform17.h"
#include "ui/tools/tform5.h"

#include <QLineEdit>
#include <QMessageBox>

#include <functional>

using namespace Qt::StringLiterals;
namespace T = OrderTexts;

// The dialog created at start-up, or one made now (a window without them).
template<class Dialog, class... Args>
static Dialog &dialogOf(TForm1 &form, Args &...args)
{
    if (auto *dialog = form.findChild<Dialog *>(QString(), Qt::FindDirectChildrenOnly))
        return *dialog;
    return *new Dialog(args..., &form);
}

// Renaming works on the folder's own page list only: the entries of search
// results and keyword links are paths into other folders. False (and said so)
// elsewhere; false without a page.
static bool onFolderLevel(TForm1 &form)
{
    if (form.nav.PBan() < 0 || form.nav.PBanSu() < 1)
        return false;
    const Level &level = form.nav.levels().top();
    if (level.listsFolder && level.folder == form.nav.CurDir)
        return true;
    QMessageBox::information(&form, form.nav.ExeBaseName, T::NotAFolderLevel);
    return false;
}

// Reads the level again and opens its page at index, or the page named current.
static void reopenLevel(TForm1 &form, int index, const QString &current = {})
{
    form.nav.OpenFolderLevel(form.nav.CurDir, index, false);
    const qsizetype at = current.isEmpty() ? -1 : form.nav.levels().top().MidashiF.indexOf(current);
    if (at >= 0)
        form.nav.PBanSave(int(at));
    form.HighlightCurrent = true;
    form.ReMake();
    form.PageClick(false, true);
}

// Why a rename could not start, as the user is told.
static QString blockText(RenameBlock why)
{
    switch (why) {
    case RenameBlock::DiskFull:
        return T::RenameDiskFull;
    case RenameBlock::NotAllowed:
        return T::RenameNotAllowed;
    default:
        return T::RecordNotWritten;
    }
}

// Whether the level shown still lists folder: the user may have gone on
// while its rename ran.
static bool showsFolder(TForm1 &form, const QString &folder)
{
    return !form.nav.levels().isEmpty() && form.nav.CurDir == folder && form.nav.levels().top().listsFolder
           && form.nav.levels().top().folder == folder;
}

// Has the worker rename in the shown folder as plan says, made once the folder
// is taken from the level shown (the entries the user chose from). renamed
// runs once the folder's own files and pages are renamed, while the pages of
// the rest of the data root are still being rewritten; when the rename could
// not be made the user is told instead (and the level read again when the
// folder no longer lists the entries).
static void renameInFolder(TForm1 &form, Companions companions, const QStringList &shown,
                           std::function<QList<PageMove>()> plan,
                           std::function<void(const FolderRenameOutcome &)> renamed)
{
    form.SearchIndexKey = u"xxx"_s;
    const QString folder = form.nav.CurDir;
    RenameRequest request{folder, form.nav.HomeDir, companions, shown, form.nav.ExeBaseName, std::move(plan)};
    renameRunnerOf(form).rename(std::move(request), [&form, folder, renamed](const RenameResult &result) {
        const QString &caption = form.nav.ExeBaseName;
        // The worker read the folder's new level: the window shows it without reading.
        if ((result.end == RenameEnd::Renamed || result.end == RenameEnd::LevelChanged) && showsFolder(form, folder))
            form.nav.useListing(result.level);
        switch (result.end) {
        case RenameEnd::Renamed:
            renamed(result.outcome);
            break;
        case RenameEnd::GaveUp:
            break;
        case RenameEnd::Blocked:
            QMessageBox::warning(&form, caption, blockText(result.why));
            break;
        case RenameEnd::StillUnfinished:
            showListMessage(&form, caption, T::RenameStillUnfinished, result.pages);
            break;
        case RenameEnd::LevelChanged:
            if (showsFolder(form, folder))
                reopenLevel(form, form.nav.PBan());
            showListMessage(&form, caption, T::LevelChanged, {});
            break;
        }
    });
}

// Says which files kept their names for a page's sake, and which pages could not be fixed.
static void tellKept(TForm1 &form, const FolderRenameOutcome &outcome)
{
    if (outcome.notStarted)
        QMessageBox::warning(&form, form.nav.ExeBaseName, blockText(outcome.notStartedWhy));
    if (!outcome.kept.isEmpty())
        showListMessage(&form, form.nav.ExeBaseName, T::FilesKept,
                        outcome.kept + QStringList{QString(), T::FilesKeptFor} + outcome.keptFor);
    if (!outcome.pagesNotWritten.isEmpty())
        showListMessage(&form, form.nav.ExeBaseName,
                        outcome.recordKept ? T::RenameUnfinished : T::PagesNotWritten.arg(QString()).trimmed(),
                        outcome.pagesNotWritten);
}

// Why the numbered names cannot be made, said; false then.
static bool numberedNamesFit(TForm1 &form, const QStringList &entries, const NumberedRename &rename)
{
    QString problem;
    switch (numberedNameProblem(entries, rename)) {
    case NumberedNameProblem::None:
        return true;
    case NumberedNameProblem::Hidden:
        problem = T::HiddenName;
        break;
    case NumberedNameProblem::Refused:
        problem = T::RefusedName;
        break;
    case NumberedNameProblem::TooLong:
        problem = T::NameTooLong;
        break;
    }
    QMessageBox::warning(&form, form.nav.ExeBaseName, problem.arg(rename.name));
    return false;
}

void TForm1::ReorderPagesMenu()
{
    if (!onFolderLevel(*this))
        return;
    ShowProgressPage(Markers::StatusReordering);
    ReorderPages(nav.PBan(), -1);
}

void TForm1::ReorderPages(int from, int to)
{
    if (!onFolderLevel(*this))
        return;
    const QStringList entries = nav.levels().top().MidashiF;
    if (to < 0) {
        TForm5 &form5 = dialogOf<TForm5>(*this);
        form5.setPositions(int(entries.size()), nav.PBan());
        int result = 0;
        {
            PollPause pause(*this);
            result = form5.exec();
        }
        if (result != QDialog::Accepted) {
            if (form5.Tag == 1)
                RemoveOrderNumbers();
            return;
        }
        to = form5.Memo1->text().toInt() - 1;
    }
    const ReorderPlan plan = planReorder(entries, from, to);
    // The moved page stays the current page, under whatever name it has now.
    const QString moved = entries.value(from >= 0 ? from : plan.current);
    const QString folder = nav.CurDir;
    renameInFolder(*this, ReorderCompanions, entries, [moves = plan.moves] { return moves; },
                   [this, plan, moved, folder](const FolderRenameOutcome &outcome) {
                       QString movedNow = moved;
                       for (qsizetype i = 0; i < plan.moves.size(); ++i) {
                           if (plan.moves.at(i).from == moved)
                               movedNow = outcome.moves.finalNames.value(i, moved);
                       }
                       if (showsFolder(*this, folder))
                           reopenLevel(*this, plan.current, movedNow);
                       tellKept(*this, outcome);
                   });
}

void TForm1::RemoveOrderNumbers()
{
    if (!onFolderLevel(*this))
        return;
    const QStringList entries = nav.levels().top().MidashiF;
    if (QMessageBox::question(this, nav.ExeBaseName, T::AskStrip) != QMessageBox::Yes)
        return;
    const QString folder = nav.CurDir;
    const auto plan = [entries, folder] {
        FolderNames names(FolderNames::list(folder), StripCompanions);
        return planStrip(entries, names);
    };
    renameInFolder(*this, StripCompanions, entries, plan, [this, folder](const FolderRenameOutcome &outcome) {
        // The level is read again even then: it lists the names the files have now.
        if (showsFolder(*this, folder))
            reopenLevel(*this, nav.PBan());
        if (!outcome.moves.failed.isEmpty())
            showListMessage(this, nav.ExeBaseName, T::StripFailed.arg(QString()).trimmed(), outcome.moves.failed);
        tellKept(*this, outcome);
    });
}

void TForm1::RenamePagesNumbered()
{
    if (!onFolderLevel(*this))
        return;
    ShowProgressPage(Markers::StatusReordering);
    TForm17 &form17 = dialogOf<TForm17>(*this, platform);
    form17.Edit5->setText(QString::number(nav.PBan() + 1));
    form17.Edit6->setText(QString::number(nav.PBanSu()));
    form17.exec();
    if (form17.SpeedButton1Tag != 1)
        return;
    // The poll runs meanwhile and may have read the level again.
    const QStringList entries = nav.levels().top().MidashiF;
    const NumberedRename rename = form17.rename();
    if (!numberedNamesFit(*this, entries, rename))
        return;
    const QString folder = nav.CurDir;
    const auto plan = [entries, rename, folder] {
        return planNumbered(entries, rename, FolderNames(FolderNames::list(folder), NumberedCompanions));
    };
    renameInFolder(*this, NumberedCompanions, entries, plan, [this, folder](const FolderRenameOutcome &outcome) {
        if (showsFolder(*this, folder))
            reopenLevel(*this, nav.PBan());
        tellKept(*this, outcome);
    });
}

void attachOrderTools(TForm1 &form1)
{
    TForm1 *main = &form1;
    form1.popupActions.ReorderPagesMenu = [main] { main->ReorderPagesMenu(); };
    form1.popupActions.RenamePagesNumbered = [main] { main->RenamePagesNumbered(); };
    form1.FinishLeftRename = [main](const QString &folder) { renameRunnerOf(*main).finishLeftIn(folder); };
    // What renames stopped by a close or a kill left anywhere is finished now,
    // in the background; a batch run ends before it could.
    if (!form1.BatchMode)
        renameRunnerOf(form1).findLeft();
}
