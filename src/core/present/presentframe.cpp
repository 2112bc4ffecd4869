#include "core/present/presentframe.h"

using namespace Qt::StringLiterals;

static FrameClick turnOn(int pban, int pbanSu)
{
    return pban >= pbanSu - 1 ? FrameClick::Top : FrameClick::Next;
}

static FrameClick turnBack(int pban)
{
    return pban > 0 ? FrameClick::Back : FrameClick::Nothing;
}

FrameClick frameClick(QPoint pos, QSize frame, bool rightButton, bool overlayShown, int pban, int pbanSu)
{
    if (overlayShown)
        return FrameClick::RemoveOverlay;
    if (rightButton)
        return FrameClick::CloseFrame;
    if (pos.y() < 20)
        return FrameClick::BlankScreen;
    if (pos.x() <= frame.width() / 2)
        return turnBack(pban);
    return pos.y() >= frame.height() / 2 ? turnOn(pban, pbanSu) : turnBack(pban);
}

FrameClick surfaceTurn(int y, int windowHeight, int pban, int pbanSu)
{
    return y > windowHeight / 2 ? turnOn(pban, pbanSu) : turnBack(pban);
}

QString frameCommand(FrameClick click)
{
    switch (click) {
    case FrameClick::Back: return u"BACK"_s;
    case FrameClick::Next: return u"NEXT"_s;
    case FrameClick::Top: return u"TOP"_s;
    default: return {};
    }
}

QRect frameHole(const FramePanels &p)
{
    // A margin of 2 to the left and 4 above; on the right and at the bottom the
    // hole ends with the button column and the bar, which the frame must not cover.
    const int left = p.base.x() + p.page.left() - 2 - p.leftPanelWidth;
    const int top = p.base.y() - 4;
    const int right = p.base.x() + p.page.left() + p.page.width() + p.buttonColumnWidth;
    const int bottom = p.base.y() + p.page.top() + p.page.height() + p.bottomBarHeight;
    return QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
}

QPoint overlayPicturePos(QSize overlay, QSize picture)
{
    // Integer division truncates toward zero, also for a picture wider than the panel.
    return QPoint((overlay.width() - picture.width()) / 2, overlay.height() - picture.height() - 35);
}
