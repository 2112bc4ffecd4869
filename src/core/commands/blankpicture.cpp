#include "core/commands/blankpicture.h"

#include "core/app/wholefile.h"

#include <QtEndian>

namespace {

constexpr int HeaderSize = 54;

void put16(QByteArray &bytes, int at, quint16 value)
{
    qToLittleEndian(value, bytes.data() + at);
}

void put32(QByteArray &bytes, int at, quint32 value)
{
    qToLittleEndian(value, bytes.data() + at);
}

} // namespace

QByteArray blankBitmap(int width, int height)
{
    const int rowBytes = (width * 3 + 3) / 4 * 4; // rows are padded to four bytes
    const int pixelBytes = rowBytes * height;
    QByteArray bytes(HeaderSize + pixelBytes, '\xFF');
    bytes[0] = 'B';
    bytes[1] = 'M';
    put32(bytes, 2, HeaderSize + pixelBytes);
    put32(bytes, 6, 0);
    put32(bytes, 10, HeaderSize);
    put32(bytes, 14, 40);
    put32(bytes, 18, width);
    put32(bytes, 22, height);
    put16(bytes, 26, 1);
    put16(bytes, 28, 24);
    put32(bytes, 30, 0);
    put32(bytes, 34, pixelBytes);
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
