#pragma once

#include <QByteArray>
#include <QString>

// The blank picture PAINT creates when its file is missing: 640 x 480 unless told,
// 24 bits per pixel, uncompressed BMP, white.
QByteArray blankBitmap(int width = 640, int height = 480);

// Writes the blank picture through a temporary file beside it; false when it
// could not be written.
bool writeBlankBitmap(const QString &fileName);
