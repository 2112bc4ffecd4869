// Reordering, stripping and numbering the page files of the shown folder.
#include "ui/app/tform1.h"

#include "core/navigation/navigator.h"
#include "core/pages/markers.h"
#include "core/tools/folderrename.h"
#include "core/tools/ordernumbers.h"
#include "core/tools/ordertexts.h"
#include "core/tools/renamefinisher.h"
#include "core/tools/renamerecord.h"
#include "ui/tools/listmessage.h"
#include "ui/tools/ordertools.h"
#include "ui/tools/renameprogress.h"
#include "ui/tools/tform17.h"
#include "ui/tools/tform5.h"

#include <QEventLoop>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressDialog>
#include <QTimer>

#include <functional>
#include <optional>

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

// Takes the folder for a rename, waiting up to waitMs for its lock, once what
// a stopped rename left there is finished (pages it could not rewrite go to
// notWritten); why not otherwise.
static RenameBlock tryTakeFolder(TForm1 &form, FolderRenameLock &lock, QStringList &notWritten, int waitMs)
{
    if (!lock.acquire(waitMs))
        return lock.reason();
    RenameBlock why = RenameBlock::Busy;
    if (settleStoppedRename(form.nav.CurDir, form.nav.HomeDir, &notWritten, lock.ticker(), &why) == SettleState::Settled)
        return RenameBlock::None;
    lock.release();
    return why;
}

// Waits, saying what for, until the folder is taken; why not when the user
// stops waiting (Busy) or the folder cannot be written.
static RenameBlock waitForFolder(TForm1 &form, FolderRenameLock &lock, QStringList &notWritten)
{
    QProgressDialog waiting(T::WaitingForFolder.arg(waitedForText(lock)), T::StopWaiting, 0, 0, &form);
    waiting.setObjectName(u"WaitingForFolder"_s);
    waiting.setWindowTitle(form.nav.ExeBaseName);
    waiting.setWindowModality(Qt::WindowModal);
    waiting.setMinimumDuration(0);
    waiting.show();
    for (;;) {
        const RenameBlock why = tryTakeFolder(form, lock, notWritten, 200);
        if (why != RenameBlock::Busy || waiting.wasCanceled())
            return why;
        waiting.setLabelText(T::WaitingForFolder.arg(waitedForText(lock)));
        // A record another left moments ago is looked at again a little later.
        QEventLoop loop;
        QTimer::singleShot(300, &loop, &QEventLoop::quit);
        loop.exec();
        if (waiting.wasCanceled())
            return RenameBlock::Busy;
    }
}

// Takes the folder for a rename once what a stopped rename left there is
// finished: false while another renames in it and the user would rather not
// wait, or when the folder cannot be written (said).
static bool takeFolder(TForm1 &form, FolderRenameLock &lock, QStringList &notWritten)
{
    form.SearchIndexKey = u"xxx"_s;
    RenameBlock why = tryTakeFolder(form, lock, notWritten, FolderRenameLock::WaitMs);
    if (why == RenameBlock::Busy) {
        const QString busy = lock.heldByThisProgram() ? T::FolderBusyHere : T::FolderBusy;
        if (QMessageBox::question(&form, form.nav.ExeBaseName, busy + u"\n\n"_s + waitedForText(lock)) != QMessageBox::Yes)
            return false;
        why = waitForFolder(form, lock, notWritten);
    }
    if (why != RenameBlock::None && why != RenameBlock::Busy)
        QMessageBox::warning(&form, form.nav.ExeBaseName, blockText(why));
    return why == RenameBlock::None;
}

// The worker that finishes this window's renames in the rest of the data root.
static RenameFinisher &finisherOf(TForm1 &form)
{
    if (auto *finisher = form.findChild<RenameFinisher *>(QString(), Qt::FindDirectChildrenOnly))
        return *finisher;
    auto *finisher = new RenameFinisher(&form);
    auto *progress = new RenameProgress(*finisher, form.nav.ExeBaseName, &form, form.kabeBrowser);
    // Search listings read before the rest was rewritten are read again.
    QObject::connect(progress, &RenameProgress::ended, &form, [&form] { form.SearchIndexKey = u"xxx"_s; });
    return *finisher;
}

// Waits, the progress shown and the window painting, for the rename this
// window is finishing: its pages may name the files the next one moves.
static void waitForFinisher(TForm1 &form)
{
    RenameFinisher &finisher = finisherOf(form);
    if (!finisher.busy())
        return;
    QEventLoop loop;
    QObject::connect(&finisher, &RenameFinisher::finished, &loop, &QEventLoop::quit);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
}

// Renames as plan says, made once the folder is taken from the level shown
// (the entries the user chose from); none when the user gave up, or when the
// folder no longer lists them: then the level is read again and the user told.
// The folder's own pages are rewritten before this returns; those of the rest
// of the data root by the window's worker afterwards.
static std::optional<FolderRenameOutcome> renameInFolder(TForm1 &form, Companions companions,
                                                         const QStringList &shown,
                                                         const std::function<QList<PageMove>()> &plan)
{
    waitForFinisher(form);
    auto lock = std::make_unique<FolderRenameLock>(form.nav.CurDir);
    QStringList settled;
    if (!takeFolder(form, *lock, settled))
        return std::nullopt;
    // A rename before whose pages could not all be written: it goes first.
    const QString record = RenameRecord::path(form.nav.CurDir);
    if (QFileInfo::exists(record) || QFileInfo(record).isSymLink()) {
        lock.reset();
        showListMessage(&form, form.nav.ExeBaseName, T::RenameStillUnfinished, settled);
        return std::nullopt;
    }
    if (!levelMatchesFolder(shown, form.nav.CurDir, form.nav.ExeBaseName)) {
        lock.reset();
        reopenLevel(form, form.nav.PBan());
        showListMessage(&form, form.nav.ExeBaseName, T::LevelChanged, {});
        return std::nullopt;
    }
    auto rename = std::make_unique<FolderRename>(form.nav.CurDir, form.nav.HomeDir, companions);
    const QList<PageMove> moves = plan();
    FolderRenameOutcome outcome;
    // The folder's own pages may take a while on a network share: the window paints meanwhile.
    runAside([&] { outcome = rename->renameFolder(moves, false, lock->ticker()); });
    outcome.pagesNotWritten += settled;
    if (rename->restLeft())
        finisherOf(form).finish(std::move(rename), std::move(lock));
    return outcome;
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
    const std::optional<FolderRenameOutcome> renamed =
        renameInFolder(*this, ReorderCompanions, entries, [&] { return plan.moves; });
    if (!renamed)
        return;
    const FolderRenameOutcome &outcome = *renamed;
    // The moved page stays the current page, under whatever name it has now.
    const QString moved = entries.value(from >= 0 ? from : plan.current);
    QString movedNow = moved;
    for (qsizetype i = 0; i < plan.moves.size(); ++i) {
        if (plan.moves.at(i).from == moved)
            movedNow = outcome.moves.finalNames.at(i);
    }
    reopenLevel(*this, plan.current, movedNow);
    tellKept(*this, outcome);
}

void TForm1::RemoveOrderNumbers()
{
    if (!onFolderLevel(*this))
        return;
    const QStringList entries = nav.levels().top().MidashiF;
    if (QMessageBox::question(this, nav.ExeBaseName, T::AskStrip) != QMessageBox::Yes)
        return;
    const std::optional<FolderRenameOutcome> renamed = renameInFolder(*this, StripCompanions, entries, [&] {
        FolderNames names(FolderNames::list(nav.CurDir), StripCompanions);
        return planStrip(entries, names);
    });
    if (!renamed)
        return;
    const FolderRenameOutcome &outcome = *renamed;
    // The level is read again even then: it lists the names the files have now.
    reopenLevel(*this, nav.PBan());
    if (!outcome.moves.failed.isEmpty())
        showListMessage(this, nav.ExeBaseName, T::StripFailed.arg(QString()).trimmed(), outcome.moves.failed);
    tellKept(*this, outcome);
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
    const std::optional<FolderRenameOutcome> renamed = renameInFolder(*this, NumberedCompanions, entries, [&] {
        return planNumbered(entries, rename, FolderNames(FolderNames::list(nav.CurDir), NumberedCompanions));
    });
    if (!renamed)
        return;
    const FolderRenameOutcome &outcome = *renamed;
    reopenLevel(*this, nav.PBan());
    tellKept(*this, outcome);
}

void attachOrderTools(TForm1 &form1)
{
    TForm1 *main = &form1;
    form1.popupActions.ReorderPagesMenu = [main] { main->ReorderPagesMenu(); };
    form1.popupActions.RenamePagesNumbered = [main] { main->RenamePagesNumbered(); };
}
