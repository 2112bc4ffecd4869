#include "ui/tools/renamerunner.h"

#include "core/tools/ordertexts.h"
#include "ui/app/tform1.h"
#include "ui/tools/listmessage.h"
#include "ui/tools/renameprogress.h"

#include <QDir>
#include <QMessageBox>
#include <QProgressDialog>

using namespace Qt::StringLiterals;
namespace T = OrderTexts;

QString folderForUser(const QString &folder, const QString &root)
{
    const QString inRoot = QDir(root).relativeFilePath(folder);
    return inRoot == u"."_s || inRoot.startsWith(u".."_s) ? QDir(folder).dirName() : inRoot;
}

RenameRunner &renameRunnerOf(TForm1 &form)
{
    if (auto *runner = form.findChild<RenameRunner *>(QString(), Qt::FindDirectChildrenOnly))
        return *runner;
    return *new RenameRunner(form);
}

RenameRunner::RenameRunner(TForm1 &form)
    : QObject(&form)
    , m_form(form)
    , m_worker(new RenameWorker(this))
{
    new RenameProgress(*m_worker, form.nav.HomeDir, &form, form.kabeBrowser);
    connect(m_worker, &RenameWorker::folderBusy, this, &RenameRunner::askToWait);
    connect(m_worker, &RenameWorker::waitingForFolder, this, &RenameRunner::showWaiting);
    connect(m_worker, &RenameWorker::folderDone, this, &RenameRunner::folderDone);
    connect(m_worker, &RenameWorker::restDone, this, [this](quint64, const FolderRenameOutcome &outcome) {
        restDone(outcome);
    });
    connect(m_worker, &RenameWorker::settled, this, &RenameRunner::settled);
    connect(m_worker, &RenameWorker::taskDone, this, [this](quint64 id) {
        const std::function<void()> then = m_then.take(id);
        if (then && !m_closing)
            then();
    });
    connect(&form, &TForm1::closingDown, this, &RenameRunner::closing);
    // Listings read before a rename ended in the rest of the data root are read again.
    connect(this, &RenameRunner::restEnded, &form, [&form] { form.SearchIndexKey = u"xxx"_s; });
}

void RenameRunner::rename(RenameRequest request, Done done)
{
    if (m_closing)
        return;
    m_done.insert(m_worker->rename(std::move(request)), std::move(done));
}

void RenameRunner::finishLeftIn(const QString &folder)
{
    if (!m_rereading && !m_closing)
        m_worker->settle(folder, m_form.nav.HomeDir, m_form.nav.ExeBaseName);
}

void RenameRunner::findLeft()
{
    if (!m_closing)
        m_worker->findLeft(m_form.nav.HomeDir, m_form.nav.ExeBaseName);
}

void RenameRunner::runTask(const QString &folder, std::function<void()> work, std::function<void()> then)
{
    if (!m_closing)
        m_then.insert(m_worker->run(folder, std::move(work)), std::move(then));
}

void RenameRunner::askToWait(quint64 id, const QString &waitedFor, bool heldHere)
{
    auto *ask = new QMessageBox(QMessageBox::Question, m_form.nav.ExeBaseName,
                                (heldHere ? T::FolderBusyHere : T::FolderBusy) + u"\n\n"_s + waitedFor,
                                QMessageBox::Yes | QMessageBox::No, &m_form);
    ask->setAttribute(Qt::WA_DeleteOnClose);
    connect(ask, &QMessageBox::finished, this, [this, id, waitedFor](int answer) {
        const bool wait = answer == QMessageBox::Yes;
        m_worker->answer(id, wait);
        if (wait)
            showWaiting(id, waitedFor);
    });
    ask->open();
}

void RenameRunner::showWaiting(quint64 id, const QString &waitedFor)
{
    if (!m_waiting || m_waitingFor != id) {
        delete m_waiting;
        m_waitingFor = id;
        m_waiting = new QProgressDialog(T::WaitingForFolder.arg(waitedFor), T::StopWaiting, 0, 0, &m_form);
        m_waiting->setObjectName(u"WaitingForFolder"_s);
        m_waiting->setWindowTitle(m_form.nav.ExeBaseName);
        m_waiting->setWindowModality(Qt::WindowModal);
        m_waiting->setMinimumDuration(0);
        connect(m_waiting, &QProgressDialog::canceled, this, [this, id] { m_worker->cancel(id); });
        m_waiting->show();
    }
    m_waiting->setLabelText(T::WaitingForFolder.arg(waitedFor));
}

void RenameRunner::folderDone(quint64 id, const RenameResult &result)
{
    if (m_waiting && m_waitingFor == id) {
        m_waiting->disconnect(this);
        m_waiting->deleteLater();
    }
    const Done done = m_done.take(id);
    if (done && !m_closing)
        done(result);
}

void RenameRunner::restDone(const FolderRenameOutcome &outcome)
{
    if (m_closing)
        return;
    emit restEnded();
    const QString &caption = m_form.nav.ExeBaseName;
    if (!outcome.pagesNotWritten.isEmpty())
        showListMessage(&m_form, caption, T::RenameUnfinished, outcome.pagesNotWritten);
    if (!outcome.pagesLeftNaming.isEmpty())
        showListMessage(&m_form, caption, T::PagesLeftNaming, outcome.pagesLeftNaming);
}

void RenameRunner::settled(const QString &folder, const OpeningSettle &result, const LevelListing &listing)
{
    Navigator &nav = m_form.nav;
    // A folder not shown tells when it is opened.
    if (m_closing || folder != nav.CurDir || nav.levels().isEmpty())
        return;
    const QString told = settleText(result);
    if (!told.isEmpty())
        m_form.ShowFlashMessage(told, 5000);
    const Level &level = nav.levels().top();
    if (result.waiting || !level.listsFolder || level.folder != folder)
        return;
    // The level lists the names the files have now; the page shown stays.
    const QString current = nav.currentEntry();
    m_rereading = true;
    nav.useListing(listing);
    nav.OpenFolderLevel(folder, nav.PBan(), false);
    m_rereading = false;
    const qsizetype at = nav.levels().top().MidashiF.indexOf(current);
    if (at >= 0)
        nav.PBanSave(int(at));
    m_form.ReMake();
    if (at < 0)
        m_form.PageClick(false, true);
}

void RenameRunner::closing()
{
    m_closing = true;
    const QList<RenameJob> jobs = m_worker->jobs();
    m_worker->stop();
    m_done.clear();
    m_then.clear();
    delete m_waiting;
    // What has begun to change a folder is finished at the next start; a
    // rename that has not is not made.
    QStringList left, notMade;
    for (qsizetype i = 0; i < jobs.size(); ++i) {
        const RenameJob &job = jobs.at(i);
        const QString folder = folderForUser(job.folder, m_form.nav.HomeDir);
        const bool begun = i == 0 && (job.stage == RenameJob::Folder || job.stage == RenameJob::Rest);
        if (job.kind == RenameJob::Settle || (job.kind != RenameJob::Find && begun))
            left << folder;
        else if (job.kind == RenameJob::Rename || job.kind == RenameJob::Task)
            notMade << folder;
    }
    if (left.isEmpty() && notMade.isEmpty())
        return;
    QStringList items = left;
    if (!left.isEmpty() && !notMade.isEmpty())
        items << QString() << T::RenamesNotMade;
    items += notMade;
    showListMessage(&m_form, m_form.nav.ExeBaseName, left.isEmpty() ? T::RenamesNotMade : T::RenameLeftAtClose,
                    items);
}
