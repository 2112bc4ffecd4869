#pragma once

#include <QList>
#include <QRect>
#include <QSize>
#include <QString>

// Pixel arithmetic of the editor window, kept apart from the widgets so that
// every rule can be checked without a window.
namespace EditorGeometry {

// The table grid below the framed text: 13 rows, 77 cells, in field order
// (Memo3, Memo6 .. Memo81). Eight rows of eight columns, four rows of three
// (two narrow, one wide) and one full row that takes what is left at the bottom.
inline constexpr int GridCellCount = 77;
QList<QRect> gridCellRects(int width, int height);

// Heights of the heading area. Lines are display lines, wrapped ones included.
int headingMemoHeight(int lines);    // H1 memo
int subheadingMemoHeight(int lines); // H2 memo
// Height of the heading area after the framed-text memo changed.
int headingAreaAfterFramedText(int framedTextLines, int headingPanelHeight);
// Height of the heading area when the window is shown.
int headingAreaOnShow(int headingLines, int subheadingLines, int framedTextLines, int barHeight);

// Left edge that centres an inner width in an outer one; negative when the
// inner is wider (integer division towards zero).
int centredLeft(int outerWidth, int innerWidth);

// Picture layouts of the body area (the layout flag of the picture column).
enum ImageLayout { NoImageLayout = 0, ImageCentred = 1, ImageLeft = 2, ImageRight = 3 };

struct ImageFrameInput
{
    int mode = ImageCentred;   // ImageCentred, ImageLeft or ImageRight
    bool sizeFixed = false;    // GX/GY hold the size to keep
    int fixedWidth = 0;        // GX as a number (0 when it is not one)
    int fixedHeight = 0;       // GY as a number
    bool picturePresent = false;
    QSize currentFrame;        // the frame as it stands
    int columnWidth = 0;       // the picture column's width as it stands
    int maxWindowWidth = 1265; // upper end of the width scroll bar
};

struct ImageFrameResult
{
    QRect frame;           // the picture frame inside the column
    int columnWidth = 0;   // side layouts: the column takes the frame's width
    int columnHeight = -1; // centred layout: the column takes the frame's height; -1 = unchanged
    int gx = 0;
    int gy = 0;
    double aspect = 0.0;   // height / width, 0 for a frame without width
    int scrollMinimum = 16;
    int scrollMaximum = 16;
    int scrollPosition = 16;
};

// The frame that shows a picture of the wanted size: the same size, but never
// more than 8192 pixels a side nor 4 million pixels (16 MB to paint), its
// aspect kept. The size written into the page stays the wanted one.
QSize previewFrame(QSize wanted);

// Sizes the picture frame for a layout (the editor's LayoutImagePanel).
ImageFrameResult layoutImagePanel(const ImageFrameInput &input);

// Leading digits of a size field ("300", "300px" give 300); 0 when there are none.
int sizeFieldValue(const QString &text);

} // namespace EditorGeometry
