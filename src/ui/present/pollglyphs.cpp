#include "ui/present/pollglyphs.h"

#include <QAbstractButton>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

static QPainterPath triangle(QPointF a, QPointF b, QPointF c)
{
    QPainterPath path(a);
    path.lineTo(b);
    path.lineTo(c);
    path.closeSubpath();
    return path;
}

QIcon pollGlyphIcon(PollGlyph glyph)
{
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    switch (glyph) {
    case PollGlyph::Image12: // stopped: a red square
        p.setBrush(QColor(0xd0, 0x30, 0x30));
        p.drawRoundedRect(QRectF(6, 6, 20, 20), 3, 3);
        break;
    case PollGlyph::Image14: // started: a green triangle
        p.setBrush(QColor(0x2e, 0x9e, 0x3e));
        p.drawPath(triangle({8, 5}, {27, 16}, {8, 27}));
        break;
    case PollGlyph::Image15: // unusable: an amber mark with "!"
        p.setBrush(QColor(0xe8, 0xa0, 0x10));
        p.drawEllipse(QRectF(3, 3, 26, 26));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(14.5, 8, 3, 11));
        p.drawEllipse(QRectF(14, 21, 4, 4));
        break;
    case PollGlyph::Image16: // running: a blue circling arrow
        p.setPen(QPen(QColor(0x20, 0x6c, 0xd0), 4, Qt::SolidLine, Qt::RoundCap));
        p.drawArc(QRectF(6, 6, 20, 20), 90 * 16, 270 * 16);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x20, 0x6c, 0xd0));
        p.drawPath(triangle({16, 1}, {23, 6}, {16, 11}));
        break;
    }
    return QIcon(pixmap);
}

void applyPollLook(QAbstractButton *button, const PollLook &look)
{
    // The same look again would repaint the window for nothing at every tick.
    const QString key = look.caption + QString::number(int(look.glyph));
    if (button->property("pollLook").toString() == key)
        return;
    button->setProperty("pollLook", key);
    button->setText(look.caption);
    button->setIcon(pollGlyphIcon(look.glyph));
    button->setIconSize(QSize(32, 32));
    // The picture sits right of the caption.
    button->setLayoutDirection(Qt::RightToLeft);
}
