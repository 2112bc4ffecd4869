#include "ui/tools/pagetoolswiring.h"

#include "core/pages/markers.h"
#include "core/tools/toolstexts.h"
#include "ui/app/tform1.h"
#include "ui/commands/linkcommands.h"
#include "ui/editor/editlaunch.h"
#include "ui/tools/tform3.h"

#include <QBoxLayout>
#include <QStyle>
#include <QToolButton>

using namespace Qt::StringLiterals;

void attachPageTools(TForm1 &form1, TForm3 &fileTool, MainWindowEditHost &editor)
{
    TForm1 *main = &form1;
    form1.Form3 = &fileTool;
    fileTool.showPlaceholder = [main] { main->ShowProgressPage(Markers::StatusChecking); };
    form1.showPagePopup = [main](const QPoint &at) { main->PopupPageMenu(at); };

    // The edit-menu button, in the row above the page buttons before the post button.
    auto *button = new QToolButton(form1.Panel6);
    button->setObjectName(u"SpeedButton18"_s);
    button->setToolTip(ToolsTexts::EditMenuHint);
    button->setIcon(button->style()->standardIcon(QStyle::SP_ToolBarVerticalExtensionButton));
    button->setAutoRaise(true);
    if (auto *row = qobject_cast<QBoxLayout *>(form1.Panel6->layout()))
        row->insertWidget(row->indexOf(form1.SpeedButton16), button);
    form1.SpeedButton18 = button;
    QObject::connect(button, &QToolButton::clicked, &form1, [main] { main->SpeedButton18Click(); });

    PagePopupActions &actions = form1.popupActions;
    MainWindowEditHost *edit = &editor;
    actions.OpenCurrentForEdit = [edit] { edit->editCurrentPage(); };
    actions.CopyPage = [main] { main->CopyPage(); };
    actions.DeletePageMenu = [main] { main->DeletePageMenu(); };
    actions.RemoveUnlinkedFiles = [main] { main->RemoveUnlinkedFiles(); };
    actions.OpenFolderHelp = [main] { main->OpenFolderHelp(); };
    if (LinkCommands *links = form1.findChild<LinkCommands *>())
        actions.F10Click = [links](const QString &shortcut) { links->F10Click(shortcut); };
}
