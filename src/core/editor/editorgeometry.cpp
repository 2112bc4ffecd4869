#include "core/editor/editorgeometry.h"

#include <algorithm>
#include <cmath>

namespace EditorGeometry {

QList<QRect> gridCellRects(int width, int height)
{
    const int h = height / 14;
    const int a = width / 8;
    const int b = width / 10;
    QList<QRect> cells;
    cells.reserve(GridCellCount);
    for (int row = 0; row < 8; ++row) {
        const int top = row * h;
        cells << QRect(0, top, a, h) << QRect(a, top, a, h);
        for (int column = 0; column < 5; ++column)
            cells << QRect(2 * a + column * b, top, b, h);
        const int left = 2 * a + 5 * b;
        cells << QRect(left, top, std::max(0, width - left), h);
    }
    for (int row = 8; row < 12; ++row) {
        const int top = row * h;
        cells << QRect(0, top, a, h) << QRect(a, top, a, h)
              << QRect(2 * a, top, std::max(0, width - 2 * a), h);
    }
    cells << QRect(0, 12 * h, width, std::max(0, height - 12 * h));
    return cells;
}

int headingMemoHeight(int lines)
{
    return lines * 29 + 30;
}

int subheadingMemoHeight(int lines)
{
    return lines * 22 + 25;
}

int headingAreaAfterFramedText(int framedTextLines, int headingPanelHeight)
{
    return framedTextLines * 21 + 40 + headingPanelHeight;
}

int headingAreaOnShow(int headingLines, int subheadingLines, int framedTextLines, int barHeight)
{
    return 29 * headingLines + 22 * subheadingLines + 21 * framedTextLines + barHeight + 95;
}

int centredLeft(int outerWidth, int innerWidth)
{
    return (outerWidth - innerWidth) / 2;
}

QSize previewFrame(QSize wanted)
{
    constexpr double MaxSide = 8192;
    constexpr double MaxPixels = 4 << 20;
    const double w = wanted.width();
    const double h = wanted.height();
    if (w <= 0 || h <= 0)
        return wanted;
    const double scale = std::min({1.0, MaxSide / w, MaxSide / h, std::sqrt(MaxPixels / (w * h))});
    if (scale >= 1.0)
        return wanted;
    return {std::max(1, int(w * scale)), std::max(1, int(h * scale))};
}

ImageFrameResult layoutImagePanel(const ImageFrameInput &input)
{
    ImageFrameResult result;
    QSize frame = input.currentFrame;
    if (input.sizeFixed)
        frame = QSize(input.fixedWidth, input.fixedHeight);

    const bool side = input.mode == ImageLeft || input.mode == ImageRight;
    result.columnWidth = input.columnWidth;
    if (!input.picturePresent)
        frame = side ? QSize(280, 340) : QSize(600, 400);
    const QSize shown = previewFrame(frame);
    if (side) {
        result.frame = QRect(QPoint(0, 0), shown);
        result.columnWidth = shown.width();
    } else {
        result.frame = QRect(QPoint(centredLeft(input.columnWidth, shown.width()), 0), shown);
        result.columnHeight = shown.height();
    }

    result.gx = frame.width();
    result.gy = frame.height();
    result.aspect = result.gx != 0 ? double(result.gy) / double(result.gx) : 0.0;
    result.scrollMinimum = 16;
    result.scrollMaximum = std::max(16, input.maxWindowWidth);
    result.scrollPosition = std::clamp(result.gx, result.scrollMinimum, result.scrollMaximum);
    return result;
}

int sizeFieldValue(const QString &text)
{
    const QString trimmed = text.trimmed();
    qsizetype end = 0;
    while (end < trimmed.size() && end < 9 && trimmed.at(end).isDigit() && trimmed.at(end).unicode() < 128)
        ++end;
    return end == 0 ? 0 : trimmed.left(end).toInt();
}

} // namespace EditorGeometry
