#pragma once

#include <QImage>
#include <QString>
#include <QStringList>

#include <optional>

// How a page is shown.
enum class PageKind {
    Browser,   // web addresses, pages, text, PDF: the main browser
    Picture,   // bitmap and JPEG pictures: the picture view
    OpenPanel, // anything else: offered to open with its program or to copy
};

// The lower-cased extension of an address or path: the text from the last "."
// after the last separator ("/", "\" or ":"); empty when there is none.
QString pageExtension(const QString &urlOrPath);

// The kind of a page from its address or path. A web address is always shown
// in the browser; a type the browser would only download goes to the open panel.
PageKind pageKindOf(const QString &urlOrPath);

// The size of the local file at path when a browser must not be given it: a
// page (any file but a PDF or a picture, which the browser shows however large)
// over PageSizeLimit. Empty optional otherwise.
std::optional<qint64> oversizedPage(const QString &path);
// The document shown in place of such a page: its name and size. No character
// of the name reaches the document's address as itself.
QString oversizedPageHtml(const QString &path, qint64 size);

// A small document of the paragraphs given, shown in place of a page.
QString noticeHtml(const QStringList &paragraphs);
// The same, led by the name of the file at path; every character of the name is
// a reference, so that a name holding "$", ".wav" or "<" stays text.
QString fileNoticeHtml(const QString &path, const QStringList &lines);

// The document shown in place of a local page whose real path (every link in
// it followed) lies outside root: a link a peer made to another user's file.
// Empty when the page lies in root and may be shown.
QString outsideRootPageHtml(const QString &path, const QString &root);

// Where the current page's path (curDir + entry) starts inside the local path
// of url, counted from 1; 0 when it is not there; -1 without a current page.
int CurrentPagePos(const QString &url, const QString &curDir, const QString &entry, bool hasCurrentPage,
                   const QString &shownAddress = QString());

// The nearest integer to v, a half going to the even neighbour, kept to 0..255.
int ClampToByte(double v);

// source scaled to w x h by bilinear interpolation of each colour; the far edge
// repeats the last pixel. A null source or an empty size gives a null image.
QImage ResizeBitmapBilinear(const QImage &source, int w, int h);

// The size a picture of pictureSize takes at the width of a view width pixels
// wide, keeping its aspect ratio; empty when the picture has no width. A very
// tall picture is made narrower so that the scaled picture stays allocatable
// (empty when nothing of it would be left).
QSize pictureSizeAtWidth(const QSize &pictureSize, int width);

// The picture file at path decoded and scaled for a view width pixels wide; a
// null image when it cannot be decoded, is too large to decode, or cannot be
// scaled (the caller offers it on the open panel).
QImage pictureForView(const QString &path, int width);
