#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

#include <optional>

// Rules of the editor's picture buttons that need no window: sizes, the names
// of copied pictures, and the edits of the header and the BODY tag.
namespace PictureTools {

// The size of a picture file as a browser shows it, turned by its EXIF
// orientation (a phone's portrait photo is stored lying on its side); invalid
// when it is missing or no picture this program can read. Only the header is
// read. Every size the editor takes of a picture is taken here.
QSize measure(const QString &path);

// The picture as a browser shows it (turned), decoded no larger than the
// editor's preview frame can show (EditorGeometry::previewFrame); null when it
// does not decode.
QImage previewImage(const QString &path);

// Whether the picture decodes as the preview decodes it (a file cut short on
// the share does not).
bool decodes(const QString &path);

// The height that keeps a picture's aspect at a new width, to the nearest whole
// pixel with halves to even; 0 for an aspect that is no positive number.
int heightForWidth(int width, double aspect);

// Header and background pictures are companion files: "_" + the name without
// its own leading "_" ("__top.png" gives "_top.png").
QString companionName(const QString &fileName);

// The header block with the picture paragraph of name between its markers;
// an empty name takes the picture out. A page without header block gets both
// markers around the picture, and keeps no block when the picture is taken out.
QString headerWithPicture(const QString &headerBlock, const QString &name);

// The text ending in the BODY start tag with that tag replaced by one naming the
// background picture (an empty name: "<BODY>" without attributes). Nothing when
// the text holds no BODY start tag.
std::optional<QString> headEndWithBackground(const QString &headEnd, const QString &name);

// A link target chosen for the picture: relative to the page folder when it lies
// inside it, else the path as chosen.
QString linkTargetFor(const QString &folder, const QString &chosen);

// What copying a chosen picture into the page folder takes.
enum class CopyNeed { AlreadyThere, Copy, ReplaceOther };
CopyNeed copyNeed(const QString &source, const QString &target);

// A white picture of the size for the file's type: a 24-bit bitmap for ".bmp",
// a JPEG of quality 90 for ".jpg" (either case); nothing for other types.
QByteArray blankPicture(const QString &fileName, QSize size);

} // namespace PictureTools
