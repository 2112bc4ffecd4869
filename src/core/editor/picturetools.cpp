#include "core/editor/picturetools.h"

#include "core/commands/blankpicture.h"
#include "core/editor/editorgeometry.h"
#include "core/pages/markers.h"
#include "core/pages/picturefile.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QImageWriter>

#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;

namespace PictureTools {

namespace {
bool turnsSideways(const QImageReader &reader)
{
    return reader.transformation() & QImageIOHandler::TransformationRotate90;
}

// The stored size of an opened picture and whether it shows turned a quarter.
QSize shownSize(const QImageReader &reader)
{
    const QSize stored = reader.size();
    if (stored.width() <= 0 || stored.height() <= 0)
        return {};
    return turnsSideways(reader) ? stored.transposed() : stored;
}
} // namespace

QSize measure(const QString &path)
{
    QFile file;
    QImageReader reader;
    if (!openPictureReader(path, file, reader))
        return {};
    return shownSize(reader);
}

QImage previewImage(const QString &path)
{
    QFile file;
    QImageReader reader;
    if (!openPictureReader(path, file, reader))
        return {};
    reader.setAutoTransform(true);
    const QSize shown = shownSize(reader);
    const QSize bounded = EditorGeometry::previewFrame(shown);
    // The reader scales the stored picture before it turns it. A JPEG decodes
    // straight at the smaller size; other types are scaled after decoding.
    if (shown.isValid() && bounded != shown)
        reader.setScaledSize(turnsSideways(reader) ? bounded.transposed() : bounded);
    return reader.read();
}

bool decodes(const QString &path)
{
    // Decoded as the preview decodes it: a huge JPEG is not unpacked whole.
    return !previewImage(path).isNull();
}

int heightForWidth(int width, double aspect)
{
    if (!(aspect > 0) || !std::isfinite(aspect))
        return 0;
    return int(std::nearbyint(width * aspect)); // the default rounding takes halves to even
}

QString companionName(const QString &fileName)
{
    qsizetype start = 0;
    while (start < fileName.size() && fileName.at(start) == u'_')
        ++start;
    return u'_' + fileName.sliced(start);
}

QString headerWithPicture(const QString &headerBlock, const QString &name)
{
    const qsizetype out = headerBlock.indexOf(Markers::HeddaOut);
    if (out < 0 && name.isEmpty())
        return headerBlock;
    const QString tail = out < 0 ? Markers::HeddaOut : headerBlock.sliced(out);
    if (name.isEmpty())
        return Markers::HeddaIn + tail;
    return Markers::HeddaIn + u"<P align=\"center\" ><IMG src=\""_s + name + u"\" border=\"0\"></P>"_s + tail;
}

std::optional<QString> headEndWithBackground(const QString &headEnd, const QString &name)
{
    const qsizetype body = headEnd.lastIndexOf(u"<BODY"_s, -1, Qt::CaseInsensitive);
    if (body < 0)
        return std::nullopt;
    const qsizetype close = headEnd.indexOf(u'>', body);
    if (close < 0)
        return std::nullopt;
    const QString tag = name.isEmpty() ? Markers::BodyStart : u"<BODY background=\""_s + name + u"\">"_s;
    return headEnd.first(body) + tag + headEnd.sliced(close + 1);
}

QString linkTargetFor(const QString &folder, const QString &chosen)
{
    const QString prefix = folder.endsWith(u'/') ? folder : folder + u'/';
    return chosen.startsWith(prefix) ? chosen.sliced(prefix.size()) : chosen;
}

CopyNeed copyNeed(const QString &source, const QString &target)
{
    const QFileInfo to(target);
    if (!to.exists())
        return CopyNeed::Copy;
    const QString canonicalSource = QFileInfo(source).canonicalFilePath();
    if (!canonicalSource.isEmpty() && canonicalSource == to.canonicalFilePath())
        return CopyNeed::AlreadyThere;
    return CopyNeed::ReplaceOther;
}

QByteArray blankPicture(const QString &fileName, QSize size)
{
    const QString extension = QFileInfo(fileName).suffix().toLower();
    const int width = std::clamp(size.width(), 1, 10000);
    const int height = std::clamp(size.height(), 1, 10000);
    if (extension == u"bmp"_s)
        return blankBitmap(width, height);
    if (extension != u"jpg"_s)
        return {};
    QImage image(width, height, QImage::Format_RGB888);
    if (image.isNull())
        return {};
    image.fill(Qt::white);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(90);
    return writer.write(image) ? buffer.data() : QByteArray();
}

} // namespace PictureTools
