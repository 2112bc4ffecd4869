#include "core/present/drawing.h"

#include "core/app/wholefile.h"
#include "core/navigation/pathtext.h"
#include "core/present/mediatexts.h"

#include <QBuffer>
#include <QImageWriter>

using namespace Qt::StringLiterals;

QString DrawingPath(const QString &pagePath)
{
    if (pagePath.isEmpty())
        return QString();
    const QString name = fileNameOf(pagePath);
    const QString folder = pagePath.left(pagePath.size() - name.size());
    const QString base = pathWithoutExtension(name.mid(name.indexOf(u'_') + 1));
    return folder + MediaText::drawingPrefix + base + MediaText::drawingExtension;
}

QString drawingFileFor(const QString &curPagePath, const QString &curPageUrl, const QString &shownAddress)
{
    if (isWebAddress(curPageUrl) || isWebAddress(shownAddress))
        return QString();
    return DrawingPath(curPagePath);
}

QString proposedDrawingName(const QString &curPagePath)
{
    return pathWithoutExtension(curPagePath.mid(curPagePath.indexOf(u'%') + 1)) + MediaText::drawingExtension;
}

QColor penColour(int index)
{
    switch (PenColour(index)) {
    case PenColour::Red:
        return QColor(255, 0, 0);
    case PenColour::Blue:
        return QColor(0, 0, 255);
    case PenColour::Yellow:
        return QColor(255, 255, 0);
    case PenColour::White:
        return QColor(255, 255, 255);
    case PenColour::Black:
        break;
    }
    return QColor(0, 0, 0);
}

QString penCaption(int index)
{
    static const QString captions[PenColourCount] = {MediaText::redPen, MediaText::bluePen, MediaText::yellowPen,
                                                     MediaText::whitePen, MediaText::blackPen};
    return captions[qBound(0, index, PenColourCount - 1)];
}

QString eraseCaption(int index)
{
    static const QString captions[PenColourCount] = {MediaText::eraseRed, MediaText::eraseBlue,
                                                     MediaText::eraseYellow, MediaText::eraseWhite,
                                                     MediaText::eraseBlack};
    return captions[qBound(0, index, PenColourCount - 1)];
}

int ClampByte(int value)
{
    return value < 0 ? 0 : value > 255 ? 255 : value;
}

bool matchesPenColour(int index, int r, int g, int b)
{
    switch (PenColour(index)) {
    case PenColour::Red:
        return r > 230 && g < 200 && b < 200;
    case PenColour::Blue:
        return r < 200 && g < 200 && b > 230;
    case PenColour::Yellow:
        return r > 100 && g > 100 && b < 100;
    case PenColour::White:
        return r > 240 && g > 240 && b > 240;
    case PenColour::Black:
        return r < 10 && g < 10 && b < 10;
    }
    return false;
}

QImage eraseColour(const QImage &image, int index)
{
    QImage out = image.convertToFormat(QImage::Format_RGB888);
    for (int y = 0; y < out.height(); ++y) {
        uchar *p = out.scanLine(y);
        uchar fill[3] = {255, 255, 255};
        for (int x = 0; x < out.width(); ++x, p += 3) {
            if (matchesPenColour(index, p[0], p[1], p[2])) {
                std::copy(fill, fill + 3, p);
            } else {
                for (int c = 0; c < 3; ++c)
                    fill[c] = uchar(ClampByte(p[c]));
            }
        }
    }
    return out;
}

QRect zoomSourceRect(int x0, int y0, int width, int height)
{
    const QPoint topLeft(x0 / 2, y0 / 2);
    const QPoint bottomRight(width - (width - x0) / 2, height - (height - y0) / 2);
    return QRect(topLeft, QSize(bottomRight.x() - topLeft.x(), bottomRight.y() - topLeft.y()));
}

PictureSaveChoice pictureSaveChoice(const QString &chosenName)
{
    PictureSaveChoice choice;
    const QString extension = fileExtension(chosenName).toLower();
    choice.fileName = chosenName;
    if (extension.isEmpty()) {
        choice.fileName += MediaText::drawingExtension;
        choice.format = PictureSaveChoice::Bmp;
    } else if (extension == u".bmp"_s) {
        choice.format = PictureSaveChoice::Bmp;
    } else if (extension == u".jpg"_s || extension == u".jpeg"_s) {
        choice.format = PictureSaveChoice::Jpeg;
    }
    return choice;
}

bool savePicture(const QImage &image, const QString &fileName, PictureSaveChoice::Format format, int jpegQuality,
                 QString *errorString)
{
    if (format == PictureSaveChoice::Refused || image.isNull()) {
        if (errorString)
            *errorString = QString();
        return false;
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format == PictureSaveChoice::Jpeg ? "jpeg" : "bmp");
    if (format == PictureSaveChoice::Jpeg)
        writer.setQuality(jpegQuality);
    // A bitmap keeps 24 bits, as the drawing file always had.
    const QImage picture = format == PictureSaveChoice::Bmp ? image.convertToFormat(QImage::Format_RGB888) : image;
    if (!writer.write(picture)) {
        if (errorString)
            *errorString = writer.errorString();
        return false;
    }
    return writeWholeFile(fileName, bytes, errorString);
}
