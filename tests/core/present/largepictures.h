#pragma once

// Picture files whose headers claim many pixels, made small: the tests read
// their sizes, and a browser must never decode them.

#include <QByteArray>
#include <QImage>
#include <QImageWriter>
#include <QString>

#include "core/navigation/testfiles.h"

// A one-bit PNG of side x side pixels, all black: a few KB on disk.
inline bool writeLargePng(const QString &path, int side)
{
    QImage mono(side, side, QImage::Format_Mono);
    mono.fill(0);
    QImageWriter writer(path, "png");
    return writer.write(mono);
}

// A GIF of side x side pixels whose data codes a single pixel.
inline QByteArray largeGif(int side)
{
    const auto le16 = [](int v) -> QByteArray { return QByteArray(1, char(v & 0xff)) + char((v >> 8) & 0xff); };
    QByteArray g = "GIF89a" + le16(side) + le16(side) + char(0x80) + char(0) + char(0);
    g += QByteArray("\x00\x00\x00\xff\xff\xff", 6);
    g += ',' + le16(0) + le16(0) + le16(side) + le16(side) + char(0);
    // Least code size 2; the codes 4 (clear), 0 and 5 (end), three bits each.
    const unsigned bits = 4u | (5u << 6);
    g += char(2) + QByteArray(1, char(2)) + char(bits & 0xff) + char(bits >> 8) + char(0) + ';';
    return g;
}

// A picture of a kind: "large" (a PNG over the browsers' bound), "small" (a
// 10 x 10 PNG), "gif" (a GIF over the bound), "svg".
inline bool writePicture(const QString &path, const QString &kind)
{
    if (kind == QLatin1String("large"))
        return writeLargePng(path, 8200);
    if (kind == QLatin1String("small"))
        return writeLargePng(path, 10);
    if (kind == QLatin1String("gif"))
        return writeFixture(path, largeGif(20000));
    return writeFixture(path, "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"10\" height=\"10\"/>");
}
