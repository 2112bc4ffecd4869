// The bottom bar, the two side-panel toggles and the file menu of the main window.
#include "ui/app/tform1.h"

#include "core/navigation/bottombar.h"
#include "core/navigation/pathtext.h"
#include "platform/platform.h"
#include "ui/bar/bartexts.h"
#include "ui/bar/barstate.h"
#include "ui/bar/holdofftimer.h"
#include "ui/editor/tform12.h"

#include <QAction>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QToolButton>
#include <QWebEngineHistory>
#include <QWebEngineView>

using namespace Qt::StringLiterals;

namespace {
constexpr int BarTop = 2;

QWidget *barChild(const TForm1 &f, const QString &name)
{
    return f.kabedown->findChild<QWidget *>(name, Qt::FindDirectChildrenOnly);
}

int widthOf(const TForm1 &f, const QString &name)
{
    const QWidget *w = barChild(f, name);
    return w ? w->width() : 0;
}

void moveTo(const TForm1 &f, const QString &name, int left)
{
    if (QWidget *w = barChild(f, name))
        w->move(left, BarTop);
}

} // namespace

void TForm1::buildBar()
{
    bar = new BarState(*this);
    Timer4 = new HoldOffTimer(this);

    Image6->setToolTip(BarUiText::BackHint);
    Image7->setToolTip(BarUiText::ForwardHint);
    Image10->setToolTip(BarUiText::RefreshHint);
    // The folder-panel buttons say what they do; they share one place.
    SpeedButton2->setText(BarUiText::FolderPanelOpen);
    SpeedButton9->setText(BarUiText::FolderPanelClose);
    int folderButtonWidth = 0;
    for (QToolButton *b : {SpeedButton2, SpeedButton9}) {
        b->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        b->setMinimumSize(0, 0);
        folderButtonWidth = std::max(folderButtonWidth, b->sizeHint().width());
    }
    for (QToolButton *b : {SpeedButton2, SpeedButton9})
        b->setFixedSize(folderButtonWidth, 30);
    SpeedButton10->setToolTip(BarUiText::ColumnOpenHint);
    SpeedButton6->setToolTip(BarUiText::ColumnCloseHint);
    SpeedButton7->setToolTip(BarUiText::NoteHint);
    Panel8->resize(260, 30);
    Panel7->resize(90, 30);
    Panel7->setAlignment(Qt::AlignCenter);
    SpeedButton12->resize(130, 30);

    for (QWidget *w : {static_cast<QWidget *>(SpeedButton2), static_cast<QWidget *>(SpeedButton9),
                       static_cast<QWidget *>(SpeedButton6), static_cast<QWidget *>(SpeedButton10),
                       static_cast<QWidget *>(SpeedButton7), static_cast<QWidget *>(kabeRight)})
        w->installEventFilter(bar);
    connect(Image6, &QToolButton::clicked, this, &TForm1::Image6Click);
    connect(Image7, &QToolButton::clicked, this, &TForm1::Image7Click);
    connect(Image10, &QToolButton::clicked, this, &TForm1::Image10Click);
    connect(SpeedButton11, &QToolButton::clicked, this, &TForm1::SpeedButton11Click);
    // A load cut short by the next navigation completes no document.
    connect(WebBrowser1, &QWebEngineView::loadFinished, this, [this](bool ok) {
        if (ok)
            WebBrowser1DocumentComplete();
    });
    connect(WebBrowser2, &QWebEngineView::loadFinished, this, &TForm1::WebBrowser2DocumentComplete);

    ShowPageNote = [this] { LoadPageNote(); };
    // Closing the note window writes its note.
    connect(this, &TForm1::closingDown, this, [this] {
        if (Form12 && Form12->Tag > 0)
            Form12->close();
    });

    kabedownResize();
}

void TForm1::kabedownResize()
{
    BarWidths w;
    w.kabeBASE = kabeBASE->width();
    w.kabedown = kabedown->width();
    w.kabeRight = kabeRight->maximumWidth();
    w.hyoushi = hyoushi->maximumWidth();
    w.Image6 = Image6->width();
    w.Panel8 = Panel8->width();
    w.Panel7 = Panel7->width();
    w.Image7 = Image7->width();
    w.Image10 = Image10->width();
    w.SpeedButton5 = widthOf(*this, u"SpeedButton5"_s);
    w.SpeedButton13 = widthOf(*this, u"SpeedButton13"_s);
    w.SpeedButton14 = widthOf(*this, u"SpeedButton14"_s);
    w.SpeedButton19 = SpeedButton19->width();
    w.SpeedButton22 = widthOf(*this, u"SpeedButton22"_s);
    w.SpeedButton6 = SpeedButton6->width();
    w.BitBtn1 = BitBtn1->width();
    const BarLefts l = layoutBottomBar(w);

    SpeedButton11->move(2, BarTop);
    const int folderLeft = folderButtonLeft(SpeedButton11->width());
    SpeedButton2->move(folderLeft, BarTop);
    SpeedButton9->move(folderLeft, BarTop);
    // The poll switch keeps the room between the panel buttons and the arrows.
    SpeedButton12->move(folderLeft + SpeedButton2->width() + 8, BarTop);
    Image6->move(l.Image6, BarTop);
    Panel8->move(l.Panel8, BarTop);
    Panel7->move(l.Panel7, BarTop);
    Image7->move(l.Image7, BarTop);
    Image10->move(l.Image10, BarTop);
    moveTo(*this, u"SpeedButton5"_s, l.SpeedButton5);
    moveTo(*this, u"SpeedButton13"_s, l.SpeedButton13);
    moveTo(*this, u"SpeedButton14"_s, l.SpeedButton14);
    SpeedButton19->move(l.SpeedButton19, BarTop);
    SpeedButton8->move(l.SpeedButton8, BarTop);
    moveTo(*this, u"SpeedButton22"_s, l.SpeedButton22);
    moveTo(*this, u"SpeedButton20"_s, l.SpeedButton20);
    BitBtn1->move(l.BitBtn1, BitBtn1->y());
    SpeedButton6->move(l.SpeedButton6, BarTop);
    SpeedButton10->move(l.SpeedButton10, BarTop);
    SpeedButton7->move(l.SpeedButton7, BarTop);
}

void TForm1::kabeRightResize()
{
    BitBtn1->move(soundButtonLeft(kabeBASE->width(), BitBtn1->width(), kabeRight->maximumWidth(),
                                  hyoushi->maximumWidth()),
                  BitBtn1->y());
}

static void placeCornerButtons(TForm1 &f)
{
    f.kabeRightResize();
    const CornerLefts corner = cornerButtonLefts(f.kabeBASE->width(), f.SpeedButton6->width());
    f.SpeedButton6->move(corner.SpeedButton6, BarTop);
    f.SpeedButton10->move(corner.SpeedButton10, BarTop);
    f.SpeedButton7->move(corner.SpeedButton7, BarTop);
}

static void arrowClick(TForm1 &f, bool forward)
{
    if (showsLevelPage(f.CurrentPagePos(f.Caption))) {
        if (f.TXTcommand)
            f.TXTcommand(arrowCommand(forward));
        return;
    }
    QWebEngineHistory *history = f.WebBrowser1->history();
    if (forward ? !history->canGoForward() : !history->canGoBack())
        return f.platform.beep();
    forward ? f.WebBrowser1->forward() : f.WebBrowser1->back();
}

void TForm1::Image6Click()
{
    arrowClick(*this, false);
}

void TForm1::Image7Click()
{
    arrowClick(*this, true);
}

void TForm1::Image10Click()
{
    if (showsLevelPage(CurrentPagePos(Caption)))
        PageClick(false, true);
    else
        WebBrowser1->reload();
}

void TForm1::Panel11MouseEnter()
{
    const LeftPanel panel = toggleLeftPanel(hyoushi->maximumWidth());
    hyoushi->setFixedWidth(panel.width);
    // Showing the replacement sends it the pointer's enter.
    bar->hover.beginSwap(panel.SpeedButton9Visible ? SpeedButton9->objectName() : SpeedButton2->objectName());
    SpeedButton9->setVisible(panel.SpeedButton9Visible);
    SpeedButton2->setVisible(panel.SpeedButton2Visible);
    bar->hover.endSwap();
    const int folderLeft = folderButtonLeft(SpeedButton11->width());
    SpeedButton2->move(folderLeft, BarTop);
    SpeedButton9->move(folderLeft, BarTop);
    placeCornerButtons(*this);
    PageClick(false, true);
}

void TForm1::Panel12MouseEnter()
{
    const RightColumn column = toggleRightColumn(kabeRight->maximumWidth(), kabeBASE->width());
    kabeRight->setProperty("Tag", column.Tag);
    kabeRight->setFixedWidth(column.width);
    bar->hover.beginSwap(column.SpeedButton6Visible ? SpeedButton6->objectName() : SpeedButton10->objectName());
    SpeedButton6->setVisible(column.SpeedButton6Visible);
    SpeedButton10->setVisible(column.SpeedButton10Visible);
    bar->hover.endSwap();
    SpeedButton7->show();
    placeCornerButtons(*this);
    PageClick(false, true);
}

void TForm1::SpeedButton11Click()
{
    N1->setText(folderItemCaption(LastFolderName(nav.CurDir + u'/')));
    if (auto *above = PopupMenu2->findChild<QAction *>(u"N8"_s))
        above->setVisible(showNewPageAbove(nav.PBanSu()));
    const QRect frame = frameGeometry();
    PopupMenu2->popup(fileMenuPosition(frame.topLeft(), frame.height(), kabeBASE->x()));
}
