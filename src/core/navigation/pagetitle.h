#pragma once

#include <QString>

// The title of a page that is no page of our own model: the file name without
// its extension and without everything up to and including its first "_"
// (1010_Lesson one.pdf gives "Lesson one").
QString fileNameTitle(const QString &entry);

// The title of a page when its folder is listed: the TITLE element of one of
// our own pages with "&lt;" and "&gt;" undone, else fileNameTitle. A page that
// is not valid UTF-8, has no byte-order mark and declares Shift_JIS is first
// converted to UTF-8 on disk (once, atomically).
QString listingTitle(const QString &path);

// The title of one page read again after it was edited: the TITLE element
// taken as it stands (an empty element gives an empty title), else
// fileNameTitle. Nothing is converted here.
QString reloadedTitle(const QString &path);

// What converting a legacy page did.
enum class PageConversion { NotNeeded, Converted, WriteFailed };

// Reads a page as text. A page that is neither valid UTF-8 nor marked by a
// byte-order mark, decodes as CP932 and declares Shift_JIS is rewritten as
// UTF-8 with a byte-order mark declaring "UTF-8"; the text returned is the
// converted one even when the write failed. An unreadable file gives an empty
// text.
QString readPageText(const QString &path, PageConversion *conversion = nullptr);

// The text of a page that readPageText() would convert (CP932 declaring
// Shift_JIS), as converted; empty for any other bytes. Nothing is written.
QString convertedShiftJisPage(const QByteArray &bytes);

// The title a page button takes again after its page changed: the TITLE
// element of one of our own pages as it stands, else fileNameTitle; for a
// file that is no page (or is gone) the stored title with "&lt;"/"&gt;" undone.
QString refreshedButtonTitle(const QString &path, const QString &storedTitle);
