#pragma once

#include <QByteArray>
#include <QString>

// Pages on disk: UTF-8 with a byte-order mark, every line ended by CR LF.

// The lines of a text (split at CR LF, lone CR and lone LF), each ended by CR LF.
// A break at the very end adds no empty line; the empty text has no line.
QString normalizeLineBreaks(const QString &text);

// The exact bytes of a page: the byte-order mark and the normalised text in UTF-8.
QByteArray encodePage(const QString &text);

// Writes a page atomically (temporary file beside it, then rename), so that another
// running copy never reads half a page and a failed write leaves the old file.
bool writePageFile(const QString &path, const QString &text, QString *errorString = nullptr);

struct PageText
{
    enum Status {
        Ok,
        Unreadable,  // missing, a folder, or not readable
        Undecodable, // not valid in its encoding (UTF-8 unless said otherwise): never rewrite it
    };
    Status status = Unreadable;
    QString text;        // empty unless status is Ok
    bool hadBom = false; // the file began with the UTF-8 byte-order mark
    bool ok() const { return status == Ok; }
};

// Strict UTF-8: the mark is optional, and any invalid sequence is reported.
PageText decodePageUtf8(const QByteArray &bytes);

// The legacy code page (CP932); a UTF-8 byte-order mark, when present, decides instead.
PageText decodePageLegacy(const QByteArray &bytes);

PageText readPageFile(const QString &path);
