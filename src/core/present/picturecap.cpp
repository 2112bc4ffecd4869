#include "core/present/picturecap.h"

#include "core/navigation/pageopening.h"
#include "core/navigation/pathtext.h"
#include "core/pages/picturefile.h"
#include "core/present/presentstrings.h"

#include <QFileInfo>
#include <QImageReader>

using namespace Qt::StringLiterals;

namespace {

QString extensionOf(const QString &path)
{
    return fileExtension(path).toLower();
}

} // namespace

QByteArray browserFlagsWithPictureBound(const QByteArray &userFlags)
{
    const QByteArray name = "--max-decoded-image-size-mb";
    if (userFlags.contains(name))
        return userFlags;
    const QByteArray bound = name + '=' + QByteArray::number(BrowserDecodedImageMb);
    const QByteArray flags = userFlags.trimmed();
    return flags.isEmpty() ? bound : flags + ' ' + bound;
}

std::optional<QSize> oversizedPicture(const QString &path)
{
    QFile file;
    QImageReader reader;
    if (!openPictureReader(path, file, reader))
        return std::nullopt;
    reader.setDecideFormatFromContent(true);
    const QSize size = reader.size();
    if (!size.isValid() || qint64(size.width()) * size.height() <= MaxBrowserPicturePixels)
        return std::nullopt;
    return size;
}

bool isBrowserPictureName(const QString &path)
{
    static const QStringList pictures{u".png"_s,  u".apng"_s, u".gif"_s, u".jpg"_s, u".jpeg"_s, u".jpe"_s,
                                      u".jfif"_s, u".pjpeg"_s, u".pjp"_s, u".bmp"_s, u".webp"_s, u".ico"_s,
                                      u".cur"_s,  u".avif"_s, u".xbm"_s};
    return pictures.contains(extensionOf(path));
}

bool isVectorPictureName(const QString &path)
{
    const QString x = extensionOf(path);
    return x == u".svg"_s || x == u".svgz"_s;
}

QString pictureNotShownHtml(const QString &path, const std::optional<QSize> &size)
{
    if (!size)
        return fileNoticeHtml(path, {PresentText::vectorPictureNotShown});
    const QString pixels = QString::number(size->width()) + u" × "_s + QString::number(size->height());
    return fileNoticeHtml(path, {pixels + PresentText::pixels, PresentText::pictureTooLarge});
}

std::optional<QString> documentInPlaceOf(const QString &path)
{
    if (const std::optional<qint64> size = oversizedPage(path))
        return oversizedPageHtml(path, *size);
    if (!QFileInfo(path).isFile())
        return std::nullopt;
    if (isVectorPictureName(path))
        return pictureNotShownHtml(path, std::nullopt);
    if (!isBrowserPictureName(path))
        return std::nullopt;
    if (const std::optional<QSize> size = oversizedPicture(path))
        return pictureNotShownHtml(path, size);
    return std::nullopt;
}

QString rendererEndedHtml()
{
    return noticeHtml({PresentText::rendererEnded});
}
