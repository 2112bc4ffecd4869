#include "ui/editor/editlaunchwiring.h"

#include "core/editor/editorstrings.h"
#include "ui/app/tform1.h"
#include "ui/editor/editlaunch.h"
#include "ui/editor/tform2.h"

#include <QAction>
#include <QBoxLayout>
#include <QFrame>
#include <QMenu>
#include <QStyle>
#include <QToolButton>

using namespace Qt::StringLiterals;
namespace S = EditorStrings;

std::unique_ptr<MainWindowEditHost> attachEditLauncher(TForm1 &form1, TForm2 &editor)
{
    auto launcher = std::make_unique<MainWindowEditHost>(form1.nav, form1, editor, form1.platform);
    MainWindowEditHost *host = launcher.get();
    TForm1 *main = &form1;
    host->refreshPageButton = [main](int index) { main->RefreshPageButton(index); };
    host->runCommand = [main](const QString &command) {
        if (main->TXTcommand)
            main->TXTcommand(command);
    };
    host->dailyReportDirectory = [main] { return main->DailyReportDir; };
    host->excelPath = [main] { return main->ExcelPath; };
    host->hidePictureView = [main] {
        if (main->Panel10)
            main->Panel10->hide();
    };
    // The search window lists the folder again after the editor read a page.
    editor.pageRead = [main] { main->SearchIndexKey = u"xxx"_s; };
    editor.platform = &form1.platform;
    if (form1.MaxWindowWidth > 0)
        editor.MaxWindowWidth = form1.MaxWindowWidth;

    // The edit button, first in the row above the page buttons.
    auto *edit = new QToolButton(form1.Panel6);
    edit->setObjectName(u"SpeedButton15"_s);
    edit->setToolTip(S::EditPageHint);
    edit->setIcon(edit->style()->standardIcon(QStyle::SP_FileDialogDetailedView));
    edit->setAutoRaise(true);
    if (auto *row = qobject_cast<QBoxLayout *>(form1.Panel6->layout()))
        row->insertWidget(0, edit);
    QObject::connect(edit, &QToolButton::clicked, &form1, [main, host] {
        // Leaves the drawing state's buttons, as any page opening does.
        if (main->SpeedButton8)
            main->SpeedButton8->hide();
        if (main->SpeedButton19)
            main->SpeedButton19->show();
        host->editCurrentPage();
    });

    // The new-page menu, before the program's end.
    auto *menu = new QMenu(S::NewPageMenu, form1.PopupMenu2);
    menu->setObjectName(u"NewPageMenu"_s);
    menu->setToolTip(S::NewPageMenuHint);
    menu->setToolTipsVisible(true);
    QAction *above = menu->addAction(S::NewPageAbove);
    above->setObjectName(u"N8"_s);
    QAction *below = menu->addAction(S::NewPageBelow);
    below->setObjectName(u"N2"_s);
    form1.PopupMenu2->insertMenu(form1.Exit1, menu);
    for (QAction *item : {above, below})
        QObject::connect(item, &QAction::triggered, &form1, [host] { host->newDailyPage(); });
    // Whether "上に作成" shows is the file menu's own rule (it needs a page above).
    return launcher;
}
