#pragma once

#include <QColor>
#include <QImage>
#include <QRect>
#include <QString>

// Drawing on a capture of the page: the drawing file beside a page, the pens,
// erasing one colour, and saving pictures under a name the user chose.

// The drawing file of a page: its folder + "_%" + its file name without
// everything up to and including the first "_", with ".bmp"
// (0120_map.html draws into _%map.bmp). Empty for an empty path.
QString DrawingPath(const QString &pagePath);

// The drawing file of the open page, or empty when the open document is a web
// page: the local page path is then another page's.
QString drawingFileFor(const QString &curPagePath, const QString &curPageUrl, const QString &shownAddress);

// The name the drawing's save dialog proposes: the page path without
// everything up to and including its first "%", with ".bmp".
QString proposedDrawingName(const QString &curPagePath);

enum class PenColour { Red = 0, Blue, Yellow, White, Black };
inline constexpr int PenColourCount = 5;
inline constexpr int StandardPenWidth = 5;
inline constexpr int ThickPenWidth = 20;

QColor penColour(int index);
QString penCaption(int index);
// The caption of the erase item once a pen was chosen.
QString eraseCaption(int index);

int ClampByte(int value);
// Whether a pixel counts as the colour of the pen index for erasing.
bool matchesPenColour(int index, int r, int g, int b);

// Erases the pen's colour line by line: a matching pixel takes the colour of
// the last pixel before it that did not match (white at the line's start).
QImage eraseColour(const QImage &image, int index);

// The part of a W x H capture that a click at (x0, y0) zooms into, doubling
// the magnification around the clicked point.
QRect zoomSourceRect(int x0, int y0, int width, int height);

// How a picture is saved under a name from the save dialog: a name without an
// extension gets ".bmp"; ".bmp", ".jpg" and ".jpeg" in any case are taken;
// any other extension is refused.
struct PictureSaveChoice
{
    enum Format { Bmp, Jpeg, Refused } format = Refused;
    QString fileName;
};
PictureSaveChoice pictureSaveChoice(const QString &chosenName);

// Writes the picture whole (temporary file and rename) as BMP or as JPEG of
// the given quality. False with the reason in errorString when it was not written.
bool savePicture(const QImage &image, const QString &fileName, PictureSaveChoice::Format format, int jpegQuality,
                 QString *errorString = nullptr);
