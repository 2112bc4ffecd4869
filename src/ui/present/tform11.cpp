#include "ui/present/tform11.h"

#include "core/present/presentframe.h"
#include "ui/app/tform1.h"
#include "ui/present/presentwiring.h"

#include <QCloseEvent>
#include <QFrame>
#include <QMouseEvent>
#include <QRegion>

using namespace Qt::StringLiterals;

TForm11::TForm11(TForm1 &main)
    : QWidget(&main, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
    , m_main(main)
{
    setObjectName(u"Form11"_s);
    setCursor(Qt::PointingHandCursor);
    setAutoFillBackground(true);
    QPalette black = palette();
    black.setColor(QPalette::Window, Qt::black);
    setPalette(black);
}

QRect TForm11::hole() const
{
    // Where the panels really are on the screen: the main window's frame and
    // title bar are whatever the desktop gives it.
    FramePanels panels;
    panels.base = mapFromGlobal(m_main.kabeBASE->mapToGlobal(QPoint(0, 0)));
    panels.page = m_main.kabe->geometry();
    panels.leftPanelWidth = m_main.hyoushiup->width();
    panels.buttonColumnWidth = m_main.kabeRight->width();
    panels.bottomBarHeight = m_main.kabedown->height();
    return frameHole(panels);
}

void TForm11::FormResize()
{
    setMask(QRegion(rect()) - QRegion(hole()));
}

void TForm11::FormMouseDown(Qt::MouseButton button, const QPoint &pos)
{
    const bool overlayShown = m_main.Panel4->property("Tag").toInt() >= 1;
    const FrameClick click = frameClick(pos, size(), button == Qt::RightButton, overlayShown, m_main.nav.PBan(),
                                        m_main.nav.PBanSu());
    if (click == FrameClick::CloseFrame)
        close();
    else
        applyFrameClick(m_main, click);
}

void TForm11::FormClose()
{
    resize(10, 10);
}

void TForm11::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    FormResize();
}

void TForm11::moveEvent(QMoveEvent *event)
{
    QWidget::moveEvent(event);
    // The hole is in the frame's own coordinates: a frame the desktop moved
    // (to clear its panels) needs it again.
    FormResize();
}

void TForm11::mousePressEvent(QMouseEvent *event)
{
    FormMouseDown(event->button(), event->position().toPoint());
}

void TForm11::closeEvent(QCloseEvent *event)
{
    QWidget::closeEvent(event);
    FormClose();
}
