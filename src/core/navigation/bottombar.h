#pragma once

#include <QPoint>
#include <QString>

// The decisions of the main window's bottom bar, side-panel toggles, page-note
// button and file menu that need no window: positions, captions and which
// action a click takes. Widths and lefts are pixels.

namespace BarText {
inline const QString Back = QStringLiteral("BACK");
inline const QString Next = QStringLiteral("NEXT");
inline const QString FolderItemOpen = QStringLiteral("今のフォルダ「");
inline const QString FolderItemClose = QStringLiteral("]");
} // namespace BarText

// The arrows and the refresh button act on the level when the browser shows
// the level's current page (its position in the caption is 1 or more), else
// on the browser's own history.
bool showsLevelPage(int currentPagePos);
QString arrowCommand(bool forward);

// "3 / 12" for index 2 of 12 pages.
QString positionText(int index, int count);

struct BarWidths
{
    int kabeBASE = 0;
    int kabedown = 0;
    int kabeRight = 0;
    int hyoushi = 0;
    int Image6 = 0, Panel8 = 0, Panel7 = 0, Image7 = 0, Image10 = 0;
    int SpeedButton5 = 0, SpeedButton13 = 0, SpeedButton14 = 0, SpeedButton19 = 0, SpeedButton22 = 0;
    int SpeedButton6 = 0;
    int BitBtn1 = 0;
};

struct BarLefts
{
    int Image6 = 0, Panel8 = 0, Panel7 = 0, Image7 = 0, Image10 = 0;
    int SpeedButton5 = 0, SpeedButton13 = 0, SpeedButton14 = 0, SpeedButton19 = 0, SpeedButton8 = 0;
    int SpeedButton22 = 0, SpeedButton20 = 0;
    int BitBtn1 = 0;
    int SpeedButton6 = 0, SpeedButton10 = 0, SpeedButton7 = 0;
};

// The whole bar: the arrows and names centred on the bar, the tool buttons
// after them, the sound button left of the page-button column, the panel and
// note buttons 90 pixels from the right end.
BarLefts layoutBottomBar(const BarWidths &widths);

// The page-sound button's left (also placed by every panel toggle).
int soundButtonLeft(int kabeBaseWidth, int bitBtn1Width, int kabeRightWidth, int hyoushiWidth);

struct CornerLefts
{
    int SpeedButton6 = 0, SpeedButton10 = 0, SpeedButton7 = 0;
};
CornerLefts cornerButtonLefts(int barWidth, int speedButton6Width);

// The folder panel: open (200 wide) when closed, else closed (width 0).
struct LeftPanel
{
    int width = 0;
    bool SpeedButton9Visible = false; // "閉じる"
    bool SpeedButton2Visible = false; // "フォルダ"
};
LeftPanel toggleLeftPanel(int hyoushiWidth);
int folderButtonLeft(int speedButton11Width);

// The page-button column: opened 220 wide on the right when it is narrower
// than 2, else moved out of sight at 1 pixel; Tag 1 remembers that the user
// closed it.
struct RightColumn
{
    int Tag = 0;
    bool alignedRight = false;
    int width = 0;
    int left = 0; // only when not aligned
    bool SpeedButton6Visible = false;
    bool SpeedButton10Visible = false;
};
RightColumn toggleRightColumn(int kabeRightWidth, int kabeBaseWidth);

// The side panels open and close when the pointer enters their button. The
// button that replaces it appears on the same spot, under the pointer: it must
// not toggle back until the pointer has left that spot. Enter and leave events
// sent while the buttons are swapped say nothing about the pointer; the first
// leave after the swap does (whichever button of the spot it names).
class HoverToggle
{
public:
    // The pointer entered a toggle button; true when it is to toggle now.
    bool enter(const QString &button) const;
    void leave();
    // The toggle swaps the buttons, putting `button` under the pointer.
    void beginSwap(const QString &button);
    void endSwap();

private:
    QString m_justShown;
    bool m_swapping = false;
};

// The page-note button: a left click opens the closed note, any click closes
// the open one; a right click never opens it. Nothing without pages.
enum class NoteButtonAction { Nothing, Open, Close };
NoteButtonAction noteButtonAction(int pageCount, bool rightButton, bool noteWindowOpen);

// Showing the current page's note: the note already open closes, and so does
// an open note when the page has none; otherwise the note is loaded (the open
// one saved first).
enum class PageNoteStep { Nothing, CloseWindow, Load };
PageNoteStep pageNoteStep(const QString &boundNote, const QString &pageNote, bool noteWindowOpen);

// The file menu.
QString folderItemCaption(const QString &folderName);
bool showNewPageAbove(int pageCount);
QPoint fileMenuPosition(const QPoint &windowTopLeft, int windowHeight, int kabeBaseLeft);
