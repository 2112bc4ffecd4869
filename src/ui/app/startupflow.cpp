// Start-up, the flash message, importing files and close-down of the main window.
#include "ui/app/tform1.h"

#include "core/app/apptexts.h"
#include "core/app/startup.h"
#include "core/navigation/pathtext.h"
#include "platform/platform.h"
#include "ui/app/uitexts.h"
#include "ui/bar/holdofftimer.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDate>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLayout>
#include <QMessageBox>
#include <QScreen>
#include <QTimer>
#include <QToolButton>
#include <QWebEngineView>

#include <cstdlib>
#include <memory>

using namespace Qt::StringLiterals;

void TForm1::FormShow(const QStringList &fileArguments)
{
    ResumeDir = nav.HomeDir + u'/' + AppTexts::ResumeFolderName;
    DailyReportDir = nav.HomeDir + u'/' + AppTexts::DailyReportFolderName;
    createFolders({nav.ExeDir, nav.HomeDir, ResumeDir, DailyReportDir});
    SpeedButton17->setToolTip(nav.ExeBaseName + AppTexts::BackToSuffix);
    setImportCaption();
    showFolderInTree(nav.CurDir);
    pausePoll();
    move(0, 0);
    SearchIndexKey = u"xxx"_s;
    BatchMode = false;
    if (fileArguments.isEmpty())
        NormalStart();
    else
        BatchStart(fileArguments);
}

void TForm1::NormalStart()
{
    hyoushi->setFixedWidth(0);
    SpeedButton9->hide();
    SpeedButton2->show();
    restoreDailyReport();
    lookUpSpreadsheetLater();
    applyWindowSize();
    ArrangeMainPanels();
    FormShowICHI();
    resumePoll();
}

// The look-up runs a helper program of the desktop; the first page is shown
// without waiting for it.
void TForm1::lookUpSpreadsheetLater()
{
    auto connection = std::make_shared<QMetaObject::Connection>();
    *connection = connect(WebBrowser1, &QWebEngineView::loadFinished, this, [this, connection] {
        disconnect(*connection);
        QTimer::singleShot(0, this, [this] { ExcelPath = platform.spreadsheetProgram(); });
    });
}

void TForm1::restoreDailyReport()
{
    const DailyReportRestore restore = dailyReportRestoreFor(nav.CurDir, DailyReportDir, QDate::currentDate());
    const QStringList written =
        ::restoreDailyReport(restore, [this](const QString &from, const QString &to, bool overwrite) {
            return platform.copyFile(from, to, overwrite);
        });
    if (!written.isEmpty())
        nav.forgetPrefetch();
}

void TForm1::applyWindowSize()
{
    const QSize usable = screen() ? screen()->availableGeometry().size() : QSize(1280, 800);
    const QSize size = mainWindowSize(usable);
    MaxWindowWidth = WindowWidth = size.width();
    WindowHeight = size.height();
    resize(WindowWidth, WindowHeight);
}

void TForm1::FormShowICHI()
{
    resize(WindowWidth, WindowHeight);
    // Lay the panels out now: the buttons share the column's height.
    if (kabeBASE->layout())
        kabeBASE->layout()->activate();
    if (!nav.OpenFolderLevel(nav.HomeDir, 0, true)) {
        auto *box = new QMessageBox(QMessageBox::Warning, nav.ExeBaseName,
                                    AppTexts::DataRootUnusable.arg(nav.HomeDir), QMessageBox::Ok, this);
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->open();
        // The main window is mapped after this; the message must stay above it.
        QTimer::singleShot(0, box, [box] {
            box->raise();
            box->activateWindow();
        });
    }
    BuildPageButtons();
    BrowserOnly = false;
    move(0, 0);
    ShowBrowserOnly(false);
    PageClick(false, true);
}

void TForm1::BatchStart(const QStringList &fileArguments)
{
    resize(0, 0);
    nav.forgetPrefetch();
    ListBox1 = fileArguments;
    BatchMode = true;
    ImportListedFiles(nav.CurDir, true);
    // A batch run opens no level and shows no window, so the poll (which
    // could open both) stays paused until the end.
    pausePoll();
    QCoreApplication::processEvents();
    platform.beep();
    ShowFlashMessage(AppTexts::EndText, 1499);
}

void TForm1::ShowFlashMessage(const QString &text, int ms)
{
    if (flashShowsText(ms)) {
        Pmathu->setText(text);
        placeFlashPanel();
        Pmathub->show();
        Pmathu->show();
        Pmathu->repaint();
    }
    Timer1->setInterval(ms);
    Timer1->start();
}

void TForm1::Timer1Timer()
{
    Timer1->stop();
    Pmathu->clear();
    Pmathu->hide();
    Pmathub->hide();
    if (BatchMode) {
        setCaption(AppTexts::EndText);
        ListBox1.clear();
        close();
    }
}

void TForm1::ImportListedFiles(const QString &folder, bool doCopy)
{
    if (ListBox1.isEmpty())
        return;
    PollPause pause(*this);
    if (doCopy) {
        createFolders({nav.ExeDir, nav.HomeDir, folder});
        importFiles(ListBox1, folder, [this](const QString &from, const QString &to, bool overwrite) {
            return platform.copyFile(from, to, overwrite);
        });
    }
}

void TForm1::Paste2Click()
{
    importChosenFiles(QFileDialog::getOpenFileNames(this, UiTexts::ImportDialogTitle, nav.CurDir));
}

void TForm1::setImportCaption()
{
    Paste2->setText(AppTexts::ImportCaptionStart + LastFolderName(nav.CurDir + u'/') + AppTexts::ImportCaptionEnd);
}

static QString fileNamesOf(const QStringList &paths)
{
    QStringList names;
    for (const QString &path : paths)
        names << QFileInfo(path).fileName();
    return names.join(u"」\n「"_s);
}

void TForm1::importChosenFiles(const QStringList &files)
{
    // A cancelled dialog imports nothing, not the files of an earlier import.
    if (!files.isEmpty()) {
        ListBox1 = files;
        PollPause pause(*this);
        createFolders({nav.ExeDir, nav.HomeDir, nav.CurDir});
        const ImportPlan plan = planImport(ListBox1, nav.CurDir);
        bool replace = false;
        if (!plan.replaced.isEmpty()) {
            QMessageBox ask(QMessageBox::Question, nav.ExeBaseName,
                            AppTexts::ImportReplaceQuestion.arg(fileNamesOf(plan.replaced)),
                            QMessageBox::Yes | QMessageBox::No, this);
            ask.setObjectName(u"importReplaceQuestion"_s);
            ask.setDefaultButton(QMessageBox::No);
            replace = ask.exec() == QMessageBox::Yes;
        }
        const ImportResult result = importPlanned(
            plan, replace,
            [this](const QString &from, const QString &to, bool overwrite) {
                return platform.copyFile(from, to, overwrite);
            },
            [this](const QStringList &paths) { return platform.moveToTrash(paths); });
        if (!result.keptInPlace.isEmpty())
            QMessageBox::warning(this, nav.ExeBaseName, UiTexts::RecycleFailed.arg(fileNamesOf(result.keptInPlace)));
    }
    nav.OpenFolderLevel(nav.CurDir, nav.PBan(), false);
    ReMake();
    PageClick();
}

void TForm1::ExitApp()
{
    QCoreApplication::processEvents();
    setCaption(AppTexts::EndText);
    showNormal();
    close();
    QCoreApplication::processEvents();
}

// Stops what runs; the page note saves itself. Never refuses the close.
bool TForm1::FormCloseQuery()
{
    try {
        emit closingDown();
        for (QWebEngineView *view : {WebBrowser1, WebBrowser2, WebBrowser3})
            view->stop();
        Timer1->stop();
        pausePoll();
        Timer5->stop();
        // A wait for the tick (the viewer opening) ends with the program, not with a tick that never comes.
        if (Timer4) {
            Timer4->stop();
            Timer4->Tag = 0;
        }
    } catch (...) {
        // Ends only this copy of the program; the others on the share go on.
        std::_Exit(EXIT_FAILURE);
    }
    return true;
}

void TForm1::closeEvent(QCloseEvent *event)
{
    FormCloseQuery();
    event->accept();
    QCoreApplication::processEvents();
    platform.beep();
    emit closedDown();
}
