#pragma once

#include <QByteArray>
#include <QString>

// The encoding a page is rewritten in: the one its bytes decode in and encode
// back from identically, so that a rewrite changes what it means to change and
// no other byte. UTF-8 (its byte-order mark kept as it was), CP932 whatever the
// page's label says, or EUC-JP. A page that round-trips in none is never
// rewritten.
struct PageEncoding
{
    enum Kind { None, Utf8, Cp932, EucJp };
    Kind kind = None;
    bool bom = false;
    // The page's text, decoded (empty for None).
    QString text;
    bool rewritable() const { return kind != None; }
};

// The encoding the page's bytes round-trip in: a legacy code page where its
// META declares one and the bytes round-trip in one, else UTF-8, else a
// legacy code page. Of CP932 and EUC-JP, where both do, the one whose
// reading holds fewer half-width katakana (EUC-JP bytes read as CP932 are
// full of them).
PageEncoding pageEncodingOf(const QByteArray &bytes);

// text in the page's encoding, with its mark when it had one; empty and ok
// false when a character of it has no place in that encoding.
QByteArray encodeForPage(const PageEncoding &encoding, const QString &text, bool *ok);

// Whether name can be written into a page of that encoding as it stands.
bool encodableIn(const PageEncoding &encoding, const QString &name);

// The page's text for finding the names it holds, whether or not it can be
// rewritten: a page no encoding reads still shows its ASCII names.
QString pageTextForNames(const QByteArray &bytes, const PageEncoding &encoding);
