#pragma once

#include <QByteArray>
#include <QSize>
#include <QString>

#include <optional>

// A picture in a browser is decoded whole, and the browser's process holds
// several times that while it draws: a small file of 20000 x 20000 pixels takes
// gigabytes on every PC that shows it. The browser is told to decode no picture
// into more than BrowserDecodedImageMb (it then decodes a JPEG smaller; PNG and
// GIF it decodes whole all the same), and no local picture whose header claims
// more than MaxBrowserPicturePixels reaches it. The bound lets a camera's 50
// million pixels through, as the picture view does.
constexpr int BrowserDecodedImageMb = 256;
constexpr qint64 MaxBrowserPicturePixels = (qint64(BrowserDecodedImageMb) << 20) / 4;

// The browser's flags (QTWEBENGINE_CHROMIUM_FLAGS) with the decoding bound
// added; flags the user set stay, a bound of the user's own included.
QByteArray browserFlagsWithPictureBound(const QByteArray &userFlags);

// The pixel size the header of the picture file at path claims, when above
// MaxBrowserPicturePixels; read by content, never decoded. Nothing for a
// smaller picture, a file that is no picture, or no regular file (a FIFO would
// wait for a writer for ever).
std::optional<QSize> oversizedPicture(const QString &path);

// Whether the browser shows a file of this name as a picture of its own.
bool isBrowserPictureName(const QString &path);
// An SVG picture: the browser draws it as a document, without bound (nested
// <use> elements multiply), so it is not shown by itself.
bool isVectorPictureName(const QString &path);

// The document shown in place of such a picture: its name, then its size when
// known, and why. No character of the name reaches the document as itself.
QString pictureNotShownHtml(const QString &path, const std::optional<QSize> &size);

// What a browser shows in place of the local file at path when it must not be
// given it: a page too large, an SVG by itself, a picture too large. Nothing
// when the file may be shown.
std::optional<QString> documentInPlaceOf(const QString &path);

// The document a pane shows after its browser process ended.
QString rendererEndedHtml();
