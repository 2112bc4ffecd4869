#pragma once
// Writes a small uncompressed AVI (24-bit frames, bottom-up rows) for player tests.
#include <QByteArray>
#include <QFile>
#include <QString>
#include <QtEndian>

inline QByteArray aviLe32(quint32 v) { QByteArray b(4, 0); qToLittleEndian(v, b.data()); return b; }
inline QByteArray aviLe16(quint16 v) { QByteArray b(2, 0); qToLittleEndian(v, b.data()); return b; }
inline QByteArray aviChunk(const char *id, const QByteArray &data)
{
    QByteArray out = QByteArray(id, 4) + aviLe32(quint32(data.size())) + data;
    if (data.size() % 2)
        out += '\0';
    return out;
}
inline QByteArray aviList(const char *type, const QByteArray &data)
{
    return aviChunk("LIST", QByteArray(type, 4) + data);
}

inline bool writeTinyAvi(const QString &path, int width, int height, int frames, int fps)
{
    const int stride = (width * 3 + 3) & ~3;
    const quint32 frameSize = quint32(stride * height);
    QByteArray avih = aviLe32(1000000 / fps) + aviLe32(frameSize * fps) + aviLe32(0) + aviLe32(0x10)
        + aviLe32(frames) + aviLe32(0) + aviLe32(1) + aviLe32(frameSize) + aviLe32(width) + aviLe32(height)
        + QByteArray(16, 0);
    QByteArray strh = QByteArray("vids", 4) + QByteArray("DIB ", 4) + aviLe32(0) + aviLe16(0) + aviLe16(0)
        + aviLe32(0) + aviLe32(1) + aviLe32(fps) + aviLe32(0) + aviLe32(frames) + aviLe32(frameSize)
        + aviLe32(0xFFFFFFFF) + aviLe32(0) + aviLe16(0) + aviLe16(0) + aviLe16(width) + aviLe16(height);
    QByteArray strf = aviLe32(40) + aviLe32(width) + aviLe32(height) + aviLe16(1) + aviLe16(24) + aviLe32(0)
        + aviLe32(frameSize) + aviLe32(0) + aviLe32(0) + aviLe32(0) + aviLe32(0);
    QByteArray hdrl = aviChunk("avih", avih) + aviList("strl", aviChunk("strh", strh) + aviChunk("strf", strf));
    QByteArray movi;
    QByteArray idx;
    for (int f = 0; f < frames; ++f) {
        QByteArray pixels(frameSize, char(0));
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                char *p = pixels.data() + y * stride + x * 3;
                p[0] = char(f * 255 / qMax(1, frames - 1));
                p[1] = char(x * 255 / qMax(1, width - 1));
                p[2] = char(y * 255 / qMax(1, height - 1));
            }
        idx += QByteArray("00db", 4) + aviLe32(0x10) + aviLe32(quint32(4 + movi.size())) + aviLe32(frameSize);
        movi += aviChunk("00db", pixels);
    }
    const QByteArray body = QByteArray("AVI ", 4) + aviList("hdrl", hdrl) + aviList("movi", movi)
        + aviChunk("idx1", idx);
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(aviChunk("RIFF", body)) > 0;
}
