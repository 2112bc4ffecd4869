#include "core/navigation/pageopening.h"

#include "core/app/smallfile.h"
#include "core/navigation/navigationtexts.h"
#include "core/navigation/pathtext.h"
#include "core/pages/picturefile.h"

#include <QFileInfo>
#include <QImageReader>

#include <cmath>

using namespace Qt::StringLiterals;

QString pageExtension(const QString &urlOrPath)
{
    const qsizetype separator =
        std::max({urlOrPath.lastIndexOf(u'/'), urlOrPath.lastIndexOf(u'\\'), urlOrPath.lastIndexOf(u':')});
    const qsizetype dot = urlOrPath.lastIndexOf(u'.');
    return dot > separator ? urlOrPath.mid(dot).toLower() : QString();
}

PageKind pageKindOf(const QString &urlOrPath)
{
    if (isWebAddress(urlOrPath))
        return PageKind::Browser;
    const QString x = pageExtension(urlOrPath);
    if (x == u".bmp"_s || x == u".jpeg"_s || x == u".jpg"_s)
        return PageKind::Picture;
    for (const QString &shown : {u".txt"_s, u".mht"_s, u".pdf"_s, u".htm"_s}) {
        if (x.contains(shown))
            return PageKind::Browser;
    }
    return PageKind::OpenPanel;
}

std::optional<qint64> oversizedPage(const QString &path)
{
    const QFileInfo info(path);
    if (!info.isFile() || info.size() <= PageSizeLimit)
        return std::nullopt;
    const QString x = pageExtension(path);
    if (x == u".pdf"_s || pageKindOf(path) == PageKind::Picture)
        return std::nullopt;
    return info.size();
}

QString noticeHtml(const QStringList &paragraphs)
{
    return u"<html><head><meta charset=\"utf-8\"></head><body><p>"_s + paragraphs.join(u"</p><p>"_s)
           + u"</p></body></html>"_s;
}

QString fileNoticeHtml(const QString &path, const QStringList &lines)
{
    QString name;
    for (const uint c : fileNameOf(path).toUcs4())
        name += u"&#"_s + QString::number(c) + u';';
    return noticeHtml(QStringList{name} + lines);
}

QString oversizedPageHtml(const QString &path, qint64 size)
{
    return fileNoticeHtml(path, {QString::number(size) + NavigationTexts::Bytes, NavigationTexts::PageTooLarge});
}

QString outsideRootPageHtml(const QString &path, const QString &root)
{
    if (staysInRoot(path, root))
        return {};
    return fileNoticeHtml(path, {NavigationTexts::PageOutsideRoot});
}

int CurrentPagePos(const QString &url, const QString &curDir, const QString &entry, bool hasCurrentPage,
                   const QString &shownAddress)
{
    if (!hasCurrentPage)
        return -1;
    const QString page = joinPath(curDir, entry);
    return int(CutNN(url, shownAddress).indexOf(page)) + 1;
}

int ClampToByte(double v)
{
    // The default rounding mode sends halves to the even neighbour.
    const double r = std::nearbyint(v);
    return r > 255 ? 255 : (r < 0 ? 0 : int(r));
}

QImage ResizeBitmapBilinear(const QImage &source, int w, int h)
{
    if (source.isNull() || w <= 0 || h <= 0)
        return {};
    const QImage s = source.convertToFormat(QImage::Format_RGB888);
    QImage d(w, h, QImage::Format_RGB888);
    // Either allocation can fail for a large picture: never write through a null image.
    if (s.isNull() || d.isNull())
        return {};
    const int sw = s.width();
    const int sh = s.height();
    const double xr = double(sw) / w;
    const double yr = double(sh) / h;
    for (int y = 0; y < h; ++y) {
        const double fy = y * yr;
        const int y0 = std::max(0, int(fy));
        const int y1 = y0 + 1 > sh - 1 ? y0 : y0 + 1;
        const double dy = fy - y0;
        const uchar *row0 = s.constScanLine(y0);
        const uchar *row1 = s.constScanLine(y1);
        uchar *out = d.scanLine(y);
        for (int x = 0; x < w; ++x) {
            const double fx = x * xr;
            const int x0 = std::max(0, int(fx));
            const int x1 = x0 + 1 > sw - 1 ? x0 : x0 + 1;
            const double dx = fx - x0;
            for (int c = 0; c < 3; ++c) {
                const double top = row0[3 * x0 + c] * (1 - dx) + row0[3 * x1 + c] * dx;
                const double bottom = row1[3 * x0 + c] * (1 - dx) + row1[3 * x1 + c] * dx;
                out[3 * x + c] = uchar(ClampToByte(top * (1 - dy) + bottom * dy));
            }
        }
    }
    return d;
}

namespace {
// Bounds of a scaled picture: the height a pixmap can take, and about 100 MB of pixels.
constexpr qint64 MaxShownHeight = 32767;
constexpr qint64 MaxShownPixels = qint64(1) << 25;
// Pictures whose header claims more pixels than this (256 MB at 4 bytes a pixel) are not decoded.
constexpr qint64 MaxDecodedPixels = qint64(1) << 26;
} // namespace

QSize pictureSizeAtWidth(const QSize &pictureSize, int width)
{
    const qint64 pw = pictureSize.width();
    const qint64 ph = pictureSize.height();
    if (pw <= 0 || ph <= 0 || width <= 0)
        return {};
    qint64 w = width;
    qint64 h = ph * w / pw;
    if (h > MaxShownHeight || w * h > MaxShownPixels) {
        // Narrower, so that both the height and the pixel count stay in bounds.
        const double byHeight = double(MaxShownHeight) / ph;
        const double byPixels = std::sqrt(double(MaxShownPixels) / double(pw * ph));
        w = qint64(pw * std::min(byHeight, byPixels));
        h = ph * w / pw;
    }
    if (w <= 0 || h <= 0)
        return {};
    return {int(w), int(h)};
}

QImage pictureForView(const QString &path, int width)
{
    QFile file;
    QImageReader reader;
    if (!openPictureReader(path, file, reader))
        return {};
    reader.setAutoTransform(true);
    const QSize claimed = reader.size();
    if (claimed.isValid() && qint64(claimed.width()) * claimed.height() > MaxDecodedPixels)
        return {};
    const QImage picture = reader.read();
    const QSize size = pictureSizeAtWidth(picture.size(), width);
    if (picture.isNull() || size.isEmpty())
        return {};
    return ResizeBitmapBilinear(picture, size.width(), size.height());
}
