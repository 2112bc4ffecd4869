#include "ui/forms/formswiring.h"

#include "core/forms/formtexts.h"
#include "core/tools/foldertexts.h"
#include "ui/app/tform1.h"
#include "ui/commands/linkcommands.h"
#include "ui/forms/tform10.h"
#include "ui/forms/tform16.h"
#include "ui/forms/tform18.h"

#include <QAction>
#include <QFrame>
#include <QToolButton>

namespace {
// The windows stand at the main window's corner, as wide as the page area (less
// lessWidth) and as high as the window less 35.
QRect besidePages(const TForm1 &form1, int lessWidth)
{
    return {form1.geometry().topLeft(),
            QSize(qMax(320, form1.width() - form1.kabeRight->width() - lessWidth), qMax(240, form1.height() - 35))};
}
} // namespace

void attachForms(TForm1 &form1, TForm16 &form16, TForm18 &form18, TForm10 &form10)
{
    form1.Form16 = &form16;
    form1.Form10 = &form10;
    form1.SpeedButton16->setToolTip(FormTexts::PostButtonHint);
    QObject::connect(form1.SpeedButton16, &QToolButton::clicked, &form1, &TForm1::SpeedButton16Click);
    form1.popupActions.PostToPage = [&form1] { form1.PostToPage(); };
    form1.N3->setToolTip(FolderTexts::MenuHint);
    QObject::connect(form1.N3, &QAction::triggered, &form1, &TForm1::N3Click);
    form1.SpeedButton1->setToolTip(FolderTexts::DeskCopyHint);
    QObject::connect(form1.SpeedButton1, &QToolButton::clicked, &form1, &TForm1::SpeedButton1Click);

    form10.ExeDir = form1.nav.ExeDir;
    form10.ExeBaseName = form1.nav.ExeBaseName;
    form10.HomeDir = form1.nav.HomeDir;
    form10.placement = [&form1] { return besidePages(form1, 100); };
    form18.placement = [&form1] { return besidePages(form1, 0); };
    if (auto *commands = form1.findChild<LinkCommands *>())
        commands->interpreter().setAnswerSheet(&form18);
}
