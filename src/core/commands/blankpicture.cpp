#include "core/commands/blankpicture.h"

#include "core/app/wholefile.h"

#include <QtEndian>

namespace {

constexpr int Width = 640;
constexpr int Height = 480;
constexpr int HeaderSize = 54;
constexpr int PixelBytes = Width * Height * 3; // rows of 1920 bytes need no padding

void put16(QByteArray &bytes, int at, quint16 value)
{
    qToLittleEndian(value, bytes.data() + at);
}

void put32(QByteArray &bytes, int at, quint32 value)
{
    qToLittleEndian(value, bytes.data() + at);
}

} // namespace

QByteArray blankBitmap()
{
    QByteArray bytes(HeaderSize + PixelBytes, '\xFF');
    bytes[0] = 'B';
    bytes[1] = 'M';
    put32(bytes, 2, HeaderSize + PixelBytes);
    put32(bytes, 6, 0);
    put32(bytes, 10, HeaderSize);
    put32(bytes, 14, 40);
    put32(bytes, 18, Width);
    put32(bytes, 22, Height);
    put16(bytes, 26, 1);
    put16(bytes, 28, 24);
    put32(bytes, 30, 0);
    put32(bytes, 34, PixelBytes);
    put32(bytes, 38, 3780); // 96 dots per inch
    put32(bytes, 42, 3780);
    put32(bytes, 46, 0);
    put32(bytes, 50, 0);
    return bytes;
}

bool writeBlankBitmap(const QString &fileName)
{
    return writeWholeFile(fileName, blankBitmap());
}
