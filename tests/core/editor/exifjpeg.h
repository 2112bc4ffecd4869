#pragma once

// A JPEG as a phone writes it: the pixels as the sensor took them and an EXIF
// orientation that tells a viewer how to turn them. Qt writes no EXIF, so the
// APP1 segment is put together here.
#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageWriter>

inline QByteArray jpegWithOrientation(int storedWidth, int storedHeight, quint16 orientation)
{
    QImage pixels(storedWidth, storedHeight, QImage::Format_RGB32);
    pixels.fill(Qt::darkGreen);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    if (!writer.write(pixels))
        return {};
    // TIFF header (big-endian, first directory at 8), one entry: 0x0112 SHORT 1 value, no next directory.
    QByteArray tiff("MM\x00\x2a\x00\x00\x00\x08\x00\x01\x01\x12\x00\x03\x00\x00\x00\x01", 18);
    tiff += char(orientation >> 8);
    tiff += char(orientation & 0xff);
    tiff += QByteArray(2, '\0');
    tiff += QByteArray(4, '\0');
    const QByteArray payload = QByteArray("Exif\0\0", 6) + tiff;
    const int length = int(payload.size()) + 2;
    QByteArray app1("\xff\xe1", 2);
    app1 += char(length >> 8);
    app1 += char(length & 0xff);
    app1 += payload;
    QByteArray jpeg = buffer.data();
    jpeg.insert(2, app1); // right after the start-of-image marker
    return jpeg;
}
