// Presentation mode: the maximised main window behind the black frame, and the
// black screen that hides the page.
#include "ui/app/tform1.h"

#include "core/present/presentframe.h"
#include "ui/present/presentwiring.h"
#include "ui/present/tform11.h"

#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QScreen>
#include <QTimer>

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
            return (watched == &f || watched == f.kabeBASE) && surfacePress(static_cast<QWidget *>(watched),
                                                                              static_cast<QMouseEvent *>(event));
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
    // A press that a panel let through is not on the surface: only where no
    // child lies.
    bool surfacePress(QWidget *surface, QMouseEvent *event)
    {
        const QPoint at = event->position().toPoint();
        if (surface->childAt(at))
            return false;
        f.FormMouseDown(event->button(), surface->mapTo(&f, at));
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
    for (QObject *watched : {static_cast<QObject *>(&form1), static_cast<QObject *>(form1.kabeBASE),
                             static_cast<QObject *>(form1.Panel4), static_cast<QObject *>(form1.Image4)})
        watched->installEventFilter(events);
}
