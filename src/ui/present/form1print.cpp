// Printing: worksheets with a name field, the thumbnail summary of a level and
// single pages, each through the print preview of a browser.
#include "ui/app/tform1.h"

#include "core/editor/pagenote.h"
#include "core/navigation/pathtext.h"
#include "core/pages/pagefile.h"
#include "core/pages/picturefile.h"
#include "core/present/printfolder.h"
#include "core/present/printpages.h"
#include "core/present/printtexts.h"
#include "core/tools/linkwalk.h"
#include "platform/platform.h"
#include "ui/bar/barstate.h"
#include "ui/bar/holdofftimer.h"
#include "ui/present/presentwiring.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFrame>
#include <QMessageBox>
#include <QPageLayout>
#include <QPaintEngine>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QSignalBlocker>
#include <QSysInfo>
#include <QTimer>
#include <QUrl>
#include <QWebEnginePage>
#include <QWebEngineView>

#include <memory>

using namespace Qt::StringLiterals;

// A page that never finishes loading (a web page out of reach) is captured as it is then.
static constexpr int LoadWaitLimitMs = 20000;

static void loadPrintPage(TForm1 &f, const QString &name)
{
    f.WebBrowser3Tag = 1;
    f.PrintPageRetried = false;
    f.PrintPageUrl = QUrl::fromLocalFile(f.PrintDir + u'/' + name);
    f.WebBrowser3->setFixedHeight(0);
    f.WebBrowser3->setUrl(f.PrintPageUrl);
}

// Says why nothing prints, without holding up what called.
static void sayCannotPrint(TForm1 &f, const QString &name, const QString &text)
{
    auto *box = new QMessageBox(QMessageBox::Warning, PrintText::PrintTitle, text, QMessageBox::Ok, &f);
    box->setObjectName(name);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}

// Writes a print page; one that cannot be written is said, for the page
// printed before would come out instead.
static bool writePrintPage(TForm1 &f, const QString &name, const QString &text)
{
    const QString path = f.PrintDir + u'/' + name;
    QString error;
    if (writePageFile(path, text, &error))
        return true;
    sayCannotPrint(f, u"cannotWriteSheet"_s, PrintText::CannotWriteSheet.arg(path + u'\n' + error));
    return false;
}

bool TForm1::BuildTestPage(int mode)
{
    if (nav.PBanSu() <= 0 || nav.PBan() < 0)
        return false;
    QDir().mkpath(PrintDir);
    const QString page = nav.entryPath(nav.PBan());
    // Older pages are in the legacy code page: read as the page copy reads them.
    const PageText read = pageTextForLinks(page, false);
    if (!read.ok()) {
        // An empty sheet would print as if it were the page.
        sayCannotPrint(*this, u"cannotReadPage"_s,
                       PrintText::CannotReadPage.arg(page.isEmpty() ? nav.currentEntry() : page));
        return false;
    }
    const QString sheet = testPageText(read.text, mode);
    // The pictures lie beside the page; the sheet names them relative to itself.
    const QString pageFolder = page.isEmpty() ? nav.CurDir : ExtractDirPart(page).chopped(1);
    for (const QString &name : sourceNames(sheet)) {
        if (!isPlainRelativeName(name))
            continue;
        const QString picture = findFileInFolder(pageFolder, name);
        if (picture.isEmpty())
            continue;
        // A picture in a sub-folder goes into the same sub-folder here.
        const QString copy = joinPath(PrintDir, name);
        QDir().mkpath(ExtractDirPart(copy));
        platform.copyFile(picture, copy, true);
    }
    return writePrintPage(*this, PrintText::TestPageName, sheet);
}

void TForm1::PrintWithNameField()
{
    if (BuildTestPage(BlankAnswers))
        loadPrintPage(*this, PrintText::TestPageName);
}

void TForm1::PrintWithNameFieldRed()
{
    if (BuildTestPage(RedAnswers))
        loadPrintPage(*this, PrintText::TestPageName);
}

void TForm1::WebBrowser3DocumentComplete(bool ok)
{
    if (WebBrowser3Tag == 0)
        return;
    // A print folder on a share may not answer at once.
    if (!ok && !PrintPageRetried) {
        PrintPageRetried = true;
        WebBrowser3->setUrl(PrintPageUrl);
        return;
    }
    WebBrowser3Tag = 0;
    if (!ok) {
        sayCannotPrint(*this, u"printPageNotLoaded"_s, PrintText::PrintPageNotLoaded.arg(PrintPageUrl.toLocalFile()));
        return;
    }
    if (PrintPreview)
        PrintPreview(WebBrowser3);
}

void TForm1::N6Click()
{
    if (PrintPreview)
        PrintPreview(WebBrowser1);
}

// Opens page index of the walked level and waits until it has loaded and
// painted. False when the walk has to end: the level went away meanwhile, or
// the program is ending.
static bool showForCapture(TForm1 &f, int index, const QString &folder, int count)
{
    f.nav.PBanSave(index);
    QEventLoop loaded;
    bool done = false;
    QObject::connect(f.WebBrowser1->page(), &QWebEnginePage::loadFinished, &loaded, [&] {
        done = true;
        loaded.quit();
    });
    f.PageClick(false, true);
    f.Timer4->Tag = qMax(1, count - 1);
    if (f.nav.CurDir != folder || f.nav.PBanSu() != count || f.nav.PBan() != index)
        return false;
    // Pictures and the open panel load nothing into the browser.
    const bool inBrowser = !f.Panel10->isVisible() && !f.Panel1->isVisible();
    if (inBrowser && !done) {
        QTimer::singleShot(LoadWaitLimitMs, &loaded, &QEventLoop::quit);
        // A program on its way out runs no nested loop any more.
        if (loaded.exec() != 0)
            return false;
    }
    // A capture right at the load is blank: the page paints during the tick.
    f.Timer4->waitOneTick();
    return true;
}

void TForm1::PrintResume()
{
    if (nav.PBan() < 0 || WalkingPages)
        return;
    WalkingPages = true;
    PollPause pause(*this);
    Panel12MouseEnter();
    // The column was toggled from the menu, not under the pointer: the first
    // visit of the pointer to the column button toggles it back.
    if (bar)
        bar->hover.leave();
    QDir().mkpath(PrintDir);
    Timer4->setInterval(2000);
    const int count = nav.PBanSu();
    const QString folder = nav.CurDir;
    WebBrowser3Tag = 1;
    const int remembered = nav.PBan();
    QList<ResumeRow> rows;
    const QStringList thumbnails = thumbnailNames(nav.entries());
    {
        // The walk shows pages only: link pages stay as they are, no page
        // sound plays, no command runs after a load.
        const QSignalBlocker quiet(WebBrowser1);
        for (int i = 0; i < count; ++i) {
            const QString entry = nav.entry(i);
            const QString path = nav.entryPath(i);
            // A web address has neither a file nor a note.
            const PageText page = path.isEmpty() ? PageText() : pageTextForLinks(path, false);
            const PageText note =
                path.isEmpty() ? PageText() : readPageFile(pathWithoutExtension(path) + NoteText::PageNoteExtension);
            const QString &thumbnail = thumbnails.at(i);
            if (!showForCapture(*this, i, folder, count))
                break;
            rows << ResumeRow{thumbnail, resumeTitle(page.ok() ? page.text : QString(), entry),
                              resumeNote(note.ok() ? note.text : QString())};
            CaptureToImage1(PrintDir + u'/' + thumbnail);
        }
    }
    Timer4->stop();
    WalkingPages = false;
    if (rows.isEmpty()) {
        QMessageBox::information(this, QString(), PrintText::NothingToJoin + u'\n' + PrintText::MakeCheckedTags);
        return;
    }
    LastLoadedUrl.clear();
    nav.PBanSave(remembered);
    PageClick(false, true);
    if (writePrintPage(*this, PrintText::ResumePageName, resumePageText(rows, ResumeTableWidth)))
        loadPrintPage(*this, PrintText::ResumePageName);
    nav.OpenFolderLevel(nav.CurDir, nav.PBan(), false);
    ReMake();
    PageClick(false, true);
}

// Paper is printed as pictures of the pages, at what a school printer needs;
// the preview holds every page as such a picture, at what a screen needs.
static constexpr int PaperDpi = 300;
static constexpr int PreviewDpi = 150;

// Where the dialog's printer draws: its preview, a PDF file, or paper.
enum class PrintTarget { Preview, PdfFile, Paper };

static PrintTarget printTarget(QPrinter &printer)
{
    if (printer.paintEngine()->type() == QPaintEngine::Picture)
        return PrintTarget::Preview;
    if (printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty())
        return PrintTarget::PdfFile;
    return PrintTarget::Paper;
}

// Prints the loaded page of view into target and waits until it is done.
static void printView(QWebEngineView *view, QPrinter *target)
{
    QEventLoop loop;
    if (printTarget(*target) == PrintTarget::PdfFile) {
        // The browser's own PDF keeps the text as text. Its page has the
        // sheet's margins, and a page wider than the sheet is scaled to it.
        QPageLayout layout = target->pageLayout();
        layout.setMode(QPageLayout::StandardMode);
        QObject::connect(view->page(), &QWebEnginePage::pdfPrintingFinished, &loop, &QEventLoop::quit);
        view->page()->printToPdf(target->outputFileName(), layout, target->pageRanges());
    } else {
        target->setResolution(printTarget(*target) == PrintTarget::Preview ? PreviewDpi : PaperDpi);
        QObject::connect(view, &QWebEngineView::printFinished, &loop, &QEventLoop::quit);
        view->print(target);
    }
    loop.exec();
}

// The print preview of a loaded browser: the browser prints into the preview's
// printer, asynchronously, while the preview waits.
static void openPrintPreview(QWidget *parent, QWebEngineView *view)
{
    QPrinter printer(QPrinter::PrinterResolution);
    // The browser lays its page out on the printer's sheet and draws the picture
    // of it from the sheet's corner: with margins around it, the picture would
    // run off the sheet's right edge.
    printer.setFullPage(true);
    QPrintPreviewDialog dialog(&printer, parent);
    bool printing = false;
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, view, [view, &printing](QPrinter *target) {
        // The browser prints one document at a time.
        if (printing)
            return;
        printing = true;
        printView(view, target);
        printing = false;
    });
    dialog.exec();
}

namespace {
// Keeps this copy's print folder while the main window lives.
class PrintFolderKeeper : public QObject
{
public:
    PrintFolderKeeper(QObject *parent, const QString &resumeDir)
        : QObject(parent)
        , folder(resumeDir, printFolderName(QSysInfo::machineHostName(), QCoreApplication::applicationPid()))
    {
        removeStalePrintFolders(resumeDir, QSysInfo::machineHostName());
    }
    PrintFolder folder;
};
} // namespace

void attachPrinting(TForm1 &form1)
{
    TForm1 *main = &form1;
    form1.PrintDir = (new PrintFolderKeeper(&form1, form1.ResumeDir))->folder.path();
    form1.PrintPreview = [main](QWebEngineView *view) { openPrintPreview(main, view); };
    QObject::connect(form1.WebBrowser3, &QWebEngineView::loadFinished, &form1, [main](bool ok) {
        // The preview waits until the load's own processing is over.
        QTimer::singleShot(0, main, [main, ok] { main->WebBrowser3DocumentComplete(ok); });
    });
    PagePopupActions &actions = form1.popupActions;
    actions.PrintWithNameField = [main] { main->PrintWithNameField(); };
    actions.PrintWithNameFieldRed = [main] { main->PrintWithNameFieldRed(); };
    actions.PrintResume = [main] { main->PrintResume(); };
    actions.N6Click = [main] { main->N6Click(); };
}
