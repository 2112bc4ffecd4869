// Presentation mode: the maximised main window behind the black frame, and the
// black screen that hides the page.
#include "ui/app/tform1.h"

#include "core/present/presentframe.h"
#include "ui/present/presentwiring.h"
#include "ui/present/tform11.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSlider>
#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QScreen>
#include <QScrollArea>
#include <QTimer>
#include <QWebEngineView>

using namespace Qt::StringLiterals;

static void hideOverlay(TForm1 &f)
{
    f.Panel4->setGeometry(f.rect());
    f.Panel4->hide();
    f.Panel4->setProperty("Tag", 0);
}

static void blacken(QWidget *panel)
{
    QPalette black = panel->palette();
    black.setColor(QPalette::Window, Qt::black);
    panel->setPalette(black);
}

void applyFrameClick(TForm1 &f, FrameClick click)
{
    switch (click) {
    case FrameClick::RemoveOverlay:
        hideOverlay(f);
        return;
    case FrameClick::BlankScreen:
        f.Panel4->setGeometry(f.rect());
        blacken(f.Panel4);
        f.Panel4->show();
        f.Panel4->raise();
        f.Panel4->setProperty("Tag", 1);
        return;
    default:
        break;
    }
    const QString command = frameCommand(click);
    if (!command.isEmpty() && f.TXTcommand)
        f.TXTcommand(command);
}

void TForm1::N4Click()
{
    if (!Form11)
        return;
    hideOverlay(*this);
    PresentationMode = true;
    // The base panel already fills the window.
    showMaximized();
    Form11->Tag = 0;
    Timer2->start(1000);
}

void TForm1::Timer2Timer()
{
    Timer2->stop();
    blacken(Panel4);
    if (!Form11 || Form11->Tag != 0)
        return;
    Form11->Tag = 1;
    // Also where no window manager maximises it.
    if (QScreen *display = screen())
        Form11->setGeometry(display->availableGeometry());
    Form11->showMaximized();
    Form11->raise();
}

void TForm1::FormMouseDown(Qt::MouseButton button, const QPoint &pos)
{
    if (button == Qt::RightButton) {
        showNormal();
        FormTag = 0;
        PresentationMode = false;
        return;
    }
    showMaximized();
    if (Form11)
        Form11->Tag = 0;
    Timer2->start(1000);
    FormTag = 1;
    hideOverlay(*this);
    applyFrameClick(*this, surfaceTurn(pos.y(), frameGeometry().height(), nav.PBan(), nav.PBanSu()));
}

void TForm1::Panel4MouseUp()
{
    Panel4->hide();
    Panel4->setProperty("Tag", 0);
    FormTag = 0;
    if (Form11)
        Form11->Tag = 0;
}

void TForm1::Panel4Resize()
{
    Image4->move(overlayPicturePos(Panel4->size(), Image4->size()));
}

namespace {
// The black screen's clicks and size, and presses on the window's own surface.
class PresentationEvents : public QObject
{
public:
    explicit PresentationEvents(TForm1 &form)
        : QObject(&form)
        , f(form)
    {
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        switch (event->type()) {
        case QEvent::MouseButtonRelease:
            if (watched == f.Panel4 || watched == f.Image4)
                f.Panel4MouseUp();
            break;
        case QEvent::MouseButtonPress:
            // A press no control took comes up to the window itself.
            return watched == &f && surfacePress(static_cast<QMouseEvent *>(event));
        case QEvent::Resize:
            if (watched == f.Panel4)
                f.Panel4Resize();
            else if (watched == &f && f.Panel4->isVisible())
                f.Panel4->setGeometry(f.rect());
            break;
        default:
            break;
        }
        return false;
    }

private:
    bool surfacePress(QMouseEvent *event)
    {
        const QPoint at = event->position().toPoint();
        if (!f.PresentationMode || !onBareSurface(at))
            return false;
        f.FormMouseDown(event->button(), at);
        return true;
    }

    // Whether the widget at pos is a surface without an action of its own.
    // Controls that take a press keep it, but a disabled one lets it through,
    // and the drawing, the picture view, the page column and the black screen
    // act on presses they let through.
    bool onBareSurface(const QPoint &pos) const
    {
        for (QWidget *w = f.childAt(pos); w && w != &f; w = w->parentWidget()) {
            if (w == f.Panel10 || w == f.ScrollBox1 || w == f.Panel4 || w == f.Image1)
                return false;
            if (qobject_cast<QAbstractButton *>(w) || qobject_cast<QAbstractItemView *>(w)
                || qobject_cast<QWebEngineView *>(w) || qobject_cast<QAbstractSlider *>(w)
                || qobject_cast<QLineEdit *>(w) || qobject_cast<QAbstractScrollArea *>(w))
                return false;
        }
        return true;
    }

    TForm1 &f;
};
} // namespace

void attachPresentationMode(TForm1 &form1, TForm11 &frame)
{
    form1.Form11 = &frame;
    form1.Panel4 = new QFrame(&form1);
    form1.Panel4->setObjectName(u"Panel4"_s);
    form1.Panel4->setAutoFillBackground(true);
    form1.Panel4->setProperty("Tag", 0);
    form1.Panel4->hide();
    form1.Image4 = new QLabel(form1.Panel4);
    form1.Image4->setObjectName(u"Image4"_s);
    form1.Image4->setFixedSize(32, 32);
    form1.Image4->setCursor(Qt::DragMoveCursor);
    form1.Timer2 = new QTimer(&form1);
    form1.Timer2->setObjectName(u"Timer2"_s);
    QObject::connect(form1.Timer2, &QTimer::timeout, &form1, &TForm1::Timer2Timer);

    auto *events = new PresentationEvents(form1);
    for (QObject *watched : {static_cast<QObject *>(&form1), static_cast<QObject *>(form1.Panel4),
                             static_cast<QObject *>(form1.Image4)})
        watched->installEventFilter(events);
}
