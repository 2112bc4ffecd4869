#include "ui/app/tform8.h"

#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QStyle>

using namespace Qt::StringLiterals;

TForm8::TForm8(QWidget *parent)
    : QWidget(parent, Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::SplashScreen)
{
    setObjectName(u"Form8"_s);
    setAutoFillBackground(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, Qt::black);
    setPalette(colours);
    Image2 = new QLabel(this);
    Image2->setObjectName(u"Image2"_s);
    Image2->setGeometry(8, 8, 105, 137);
    Image2->setScaledContents(true);
    Image2->setPixmap(style()->standardIcon(QStyle::SP_DesktopIcon).pixmap(105, 137));
    setWindowState(Qt::WindowMaximized);
}

// The outline of the text "." at the top left, in the window's font.
QRegion TForm8::textRegion() const
{
    QPainterPath path;
    path.addText(0, fontMetrics().ascent(), font(), u"."_s);
    return QRegion(path.toFillPolygon().toPolygon());
}

void TForm8::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    // Borderless, so the frame part of the region is empty: only the mark stays.
    setMask(textRegion());
}

void TForm8::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setClipRegion(textRegion());
    painter.fillRect(rect(), Qt::red);
}
