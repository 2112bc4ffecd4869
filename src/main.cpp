#include "core/app/apptexts.h"
#include "core/app/rootpath.h"
#include "core/app/startup.h"
#include "core/navigation/levelprefetch.h"
#include "core/navigation/navigator.h"
#include "platform/platform.h"
#include "ui/app/afterfirstpage.h"
#include "ui/app/browserflags.h"
#include "ui/app/tform1.h"
#include "ui/app/tform7.h"
#include "ui/app/tform8.h"
#include "ui/app/tform9.h"
#include "ui/commands/linkcommands.h"
#include "ui/editor/editlaunch.h"
#include "ui/editor/editlaunchwiring.h"
#include "ui/editor/tform12.h"
#include "ui/editor/tform15.h"
#include "ui/editor/tform2.h"
#include "ui/forms/formswiring.h"
#include "ui/forms/tform10.h"
#include "ui/forms/tform16.h"
#include "ui/forms/tform18.h"
#include "ui/present/tform14.h"
#include "ui/tools/ordertools.h"
#include "ui/tools/tform17.h"
#include "ui/tools/tform5.h"
// media player and page sound
#include "platform/mediabackend.h"
#include "ui/present/mediawiring.h"
#include "ui/present/tform6.h"
#include "ui/tools/pagetoolswiring.h"
#include "ui/tools/tform3.h"
#include "ui/search/searchwiring.h"
#include "ui/search/tform4.h"
// presentation mode and printing
#include "ui/present/presentwiring.h"
#include "ui/present/tform11.h"

#include <QApplication>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <memory>

int main(int argc, char *argv[])
{
    // The browser shares its graphics context with the windows.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    // Before anything of the media framework is made.
    chooseMediaBackend();
    boundBrowserPictures();
    // The first level is read while the application and its windows are made
    // (the environment is set by now).
    std::unique_ptr<LevelPrefetch> readAhead;
    if (const QString programFile = programFileBeforeApp(); argc < 2 && !programFile.isEmpty()) {
        // Known before the first file of it is read.
        setDataRoot(dataRootFor(programFile));
        readAhead =
            std::make_unique<LevelPrefetch>(dataRootFor(programFile), QFileInfo(programFile).completeBaseName());
    }
    QApplication app(argc, argv);
    // Qt's own texts (the Yes/No/Cancel of questions, file dialogs) in Japanese like the rest.
    QTranslator qtTexts;
    if (qtTexts.load(QLocale(QLocale::Japanese, QLocale::Japan), QStringLiteral("qtbase"), QStringLiteral("_"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&qtTexts);
    // Every argument is a file to copy into the data root.
    const QStringList files = app.arguments().mid(1);

    auto splash = std::make_unique<TForm8>();
    if (files.isEmpty()) {
        splash->show();
        splash->repaint();
    }
    QApplication::setApplicationName(AppTexts::ApplicationTitle);

    // The main window is visible from its creation: its first level and first
    // page are open before any other window exists.
    TForm1 Form1(systemPlatform(), QCoreApplication::applicationFilePath(), std::move(readAhead));
    // Link commands see every navigation, the first page's too.
    new LinkCommands(Form1);
    QObject::connect(&Form1, &TForm1::closedDown, &app, &QCoreApplication::quit, Qt::QueuedConnection);
    if (files.isEmpty())
        Form1.show();
    Form1.FormShow(files);

    // The other windows, hidden, in this order:
    TForm2 Form2(&Form1);
    const auto editLauncher = attachEditLauncher(Form1, Form2);
    // The page menu and its folder tools.
    TForm3 Form3(Form1.platform, &Form1);
    attachPageTools(Form1, Form3, *editLauncher);
    // The order dialog, the media player, the unused name and folder windows.
    TForm5 Form5(&Form1);
    TForm6 Form6(&Form1);
    attachMediaPlayer(Form1, Form6);
    TForm7 Form7(&Form1);
    TForm9 Form9(&Form1);
    // The full-screen frame of the presentation mode, and printing.
    TForm11 Form11(Form1);
    attachPresentationMode(Form1, Form11);
    attachPrinting(Form1);
    TForm12 Form12(&Form1);
    Form1.Form12 = &Form12;
    TForm14 Form14(&Form1);
    Form1.setPresentationViewer(&Form14);
    // The windows below are reached only by input or a page's command: they are
    // made just after the first page has loaded, or at the first such need,
    // and the splash goes with them.
    std::unique_ptr<TForm15> Form15;
    std::unique_ptr<TForm4> Form4;
    std::unique_ptr<SearchWindowLookup> keywordLookup;
    std::unique_ptr<TForm17> Form17;
    std::unique_ptr<TForm10> Form10;
    std::unique_ptr<TForm16> Form16;
    std::unique_ptr<TForm18> Form18;
    auto makeLaterWindows = [&] {
        // The titles the start left for later, now that the first page is shown.
        Form1.nav.readRemainingTitles();
        Form15 = std::make_unique<TForm15>(&Form1);
        Form2.Form15 = Form15.get(); // editor: the link button asks through it
        // search: the search window, the LOOK command and the keyword links
        Form4 = std::make_unique<TForm4>(Form1);
        keywordLookup = attachSearchWindow(Form1, *Form4, editLauncher.get());
        // the numbered rename
        Form17 = std::make_unique<TForm17>(Form1.platform, &Form1);
        attachOrderTools(Form1);
        // forms: the post window, the answer sheet and the folder-name list
        Form10 = std::make_unique<TForm10>(&Form1);
        Form16 = std::make_unique<TForm16>(&Form1);
        Form18 = std::make_unique<TForm18>(&Form1);
        attachForms(Form1, *Form16, *Form18, *Form10);
        splash.reset();
    };
    if (files.isEmpty())
        new AfterFirstPage(Form1, makeLaterWindows);
    else
        makeLaterWindows();

    return app.exec();
}
