#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

// Presentation mode: a black frame covers the screen around the page area of
// the maximised main window; clicks on the frame turn the pages.

enum class FrameClick {
    Nothing,
    RemoveOverlay, // the blank screen goes, nothing else happens
    CloseFrame,
    BlankScreen,
    Back,
    Next,
    Top,
};

// What a press on the frame at pos does; overlayShown while the blank screen is
// up; pban and pbanSu are the current page and the page count of the level.
// The first page does not wrap back to the last.
FrameClick frameClick(QPoint pos, QSize frame, bool rightButton, bool overlayShown, int pban, int pbanSu);

// The page turn of a left press on the main window's own surface: the lower
// half goes on (to the top after the last page), the upper half back.
FrameClick surfaceTurn(int y, int windowHeight, int pban, int pbanSu);

// The command of a page turn; empty for the other clicks.
QString frameCommand(FrameClick click);

// The main window's panels, as the hole in the frame needs them.
struct FramePanels
{
    QPoint base;        // the base panel's top-left in the frame's coordinates
    QRect page;         // the page area within the base panel
    int leftPanelWidth = 0;
    int buttonColumnWidth = 0;
    int bottomBarHeight = 0;
};

// The hole over the page area, the button column and the bottom bar, all of
// them whole.
QRect frameHole(const FramePanels &panels);

// Where the small picture of the blank screen sits: centred, 35 above the bottom.
QPoint overlayPicturePos(QSize overlay, QSize picture);
