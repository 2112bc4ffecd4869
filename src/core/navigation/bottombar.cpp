#include "core/navigation/bottombar.h"

using namespace Qt::StringLiterals;

bool showsLevelPage(int currentPagePos)
{
    return currentPagePos >= 1;
}

QString arrowCommand(bool forward)
{
    return forward ? BarText::Next : BarText::Back;
}

QString positionText(int index, int count)
{
    return u"%1 / %2"_s.arg(index + 1).arg(count);
}

BarLefts layoutBottomBar(const BarWidths &w)
{
    BarLefts l;
    // C++ division truncates toward zero, as the layout expects.
    const int centre = (w.kabeBASE - w.Panel8 - w.Panel7) / 2;
    l.Image6 = centre - w.Image6 - 5;
    l.Panel8 = l.Image6 + w.Image6;
    l.Panel7 = l.Panel8 + w.Panel8;
    l.Image7 = l.Panel7 + w.Panel7;
    l.Image10 = l.Image7 + w.Image7;
    l.SpeedButton5 = l.Image10 + w.Image10 + 20;
    l.SpeedButton13 = l.SpeedButton5 + w.SpeedButton5 + 2;
    l.SpeedButton14 = l.SpeedButton13 + w.SpeedButton13 + 2;
    // The drawing buttons share one place; only one of them is shown.
    l.SpeedButton19 = l.SpeedButton14 + w.SpeedButton14 + 2;
    l.SpeedButton8 = l.SpeedButton19;
    l.SpeedButton22 = l.SpeedButton19 + w.SpeedButton19 + 2;
    l.SpeedButton20 = l.SpeedButton22 + w.SpeedButton22 + 2;
    l.BitBtn1 = soundButtonLeft(w.kabeBASE, w.BitBtn1, w.kabeRight, w.hyoushi);
    const CornerLefts corner = cornerButtonLefts(w.kabedown, w.SpeedButton6);
    l.SpeedButton6 = corner.SpeedButton6;
    l.SpeedButton10 = corner.SpeedButton10;
    l.SpeedButton7 = corner.SpeedButton7;
    return l;
}

int soundButtonLeft(int kabeBaseWidth, int bitBtn1Width, int kabeRightWidth, int hyoushiWidth)
{
    return kabeBaseWidth - bitBtn1Width - 12 - kabeRightWidth - hyoushiWidth;
}

CornerLefts cornerButtonLefts(int barWidth, int speedButton6Width)
{
    CornerLefts l;
    l.SpeedButton6 = barWidth - 90;
    l.SpeedButton10 = l.SpeedButton6;
    l.SpeedButton7 = l.SpeedButton6 + speedButton6Width + 4;
    return l;
}

LeftPanel toggleLeftPanel(int hyoushiWidth)
{
    LeftPanel p;
    const bool open = hyoushiWidth <= 0;
    p.width = open ? 200 : 0;
    p.SpeedButton9Visible = open;
    p.SpeedButton2Visible = !open;
    return p;
}

int folderButtonLeft(int speedButton11Width)
{
    return speedButton11Width + 6;
}

RightColumn toggleRightColumn(int kabeRightWidth, int kabeBaseWidth)
{
    RightColumn c;
    if (kabeRightWidth < 2) {
        c.Tag = 0;
        c.alignedRight = true;
        c.width = 220;
        c.SpeedButton6Visible = true;
    } else {
        c.Tag = 1;
        c.width = 1;
        c.left = kabeBaseWidth;
        c.SpeedButton10Visible = true;
    }
    return c;
}

bool HoverToggle::enter(const QString &button) const
{
    return !m_swapping && button != m_justShown;
}

void HoverToggle::leave()
{
    if (!m_swapping)
        m_justShown.clear();
}

void HoverToggle::beginSwap(const QString &button)
{
    m_justShown = button;
    m_swapping = true;
}

void HoverToggle::endSwap()
{
    m_swapping = false;
}

NoteButtonAction noteButtonAction(int pageCount, bool rightButton, bool noteWindowOpen)
{
    if (pageCount < 1)
        return NoteButtonAction::Nothing;
    if (noteWindowOpen)
        return NoteButtonAction::Close;
    return rightButton ? NoteButtonAction::Nothing : NoteButtonAction::Open;
}

PageNoteStep pageNoteStep(const QString &boundNote, const QString &pageNote, bool noteWindowOpen)
{
    // A page without a note of its own (a web folder) does not leave the open
    // window showing the previous page's note, to be typed into by mistake.
    if (pageNote.isEmpty())
        return noteWindowOpen ? PageNoteStep::CloseWindow : PageNoteStep::Nothing;
    if (noteWindowOpen && boundNote == pageNote)
        return PageNoteStep::CloseWindow;
    // A closed window reads the note afresh: a colleague may have changed it.
    return PageNoteStep::Load;
}

QString folderItemCaption(const QString &folderName)
{
    return BarText::FolderItemOpen + folderName + BarText::FolderItemClose;
}

bool showNewPageAbove(int pageCount)
{
    return pageCount >= 1;
}

QPoint fileMenuPosition(const QPoint &windowTopLeft, int windowHeight, int kabeBaseLeft)
{
    return {windowTopLeft.x() + 10 + kabeBaseLeft, windowTopLeft.y() + windowHeight - 230};
}
