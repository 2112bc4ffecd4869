#include "ui/present/drawingevents.h"

#include "ui/app/tform1.h"

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollArea>
#include <QToolButton>

using namespace Qt::StringLiterals;

DrawingEvents::DrawingEvents(TForm1 &form)
    : QObject(&form)
    , f(form)
{
    setObjectName(u"drawingEvents"_s);
    qApp->installEventFilter(this);
}

bool DrawingEvents::inPageColumn(QObject *watched) const
{
    if (!watched->isWidgetType())
        return false;
    const QWidget *viewport = f.ScrollBox1->viewport();
    const auto *w = static_cast<const QWidget *>(watched);
    return w == viewport || viewport->isAncestorOf(w);
}

bool DrawingEvents::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonRelease && type != QEvent::MouseMove)
        return false;
    const auto *mouse = static_cast<QMouseEvent *>(event);
    const QPoint pos = mouse->position().toPoint();
    if (watched == f.Image11) {
        if (type == QEvent::MouseMove)
            f.Image11MouseMove(pos, mouse->buttons() & Qt::LeftButton);
        else if (type == QEvent::MouseButtonPress && mouse->button() == Qt::RightButton)
            f.Image11MouseDown(pos, mouse->globalPosition().toPoint());
        else if (type == QEvent::MouseButtonPress && mouse->button() == Qt::LeftButton)
            f.LastPenPoint = pos;
        return false;
    }
    if (type == QEvent::MouseButtonPress && watched == f.SpeedButton19) {
        f.StartDrawing(mouse->button() == Qt::LeftButton ? 1 : 0);
        return true;
    }
    if (type == QEvent::MouseButtonPress && watched == f.SpeedButton8) {
        f.SpeedButton8MouseDown(mouse->button() == Qt::RightButton);
        return true;
    }
    if (type == QEvent::MouseButtonRelease && watched == f.BitBtn1) {
        // Whatever button was pressed elsewhere before: this release decides.
        f.hSAISEIMouseUp(mouse->button() == Qt::RightButton);
        return false;
    }
    if (type == QEvent::MouseButtonPress && watched == f.Image1 && mouse->button() == Qt::LeftButton) {
        f.Image1Click(f.Image1->mapTo(f.kabe, pos));
        return true;
    }
    if (type == QEvent::MouseButtonPress && mouse->button() == Qt::LeftButton && inPageColumn(watched))
        f.wipeCapture();
    return false;
}
