#pragma once

#include "core/pages/markupscan.h"

#include <QHash>
#include <QString>

// An element of the note: its start tag, its content and its end.
struct Span
{
    qsizetype begin = -1;     // the "<" of the start tag; -1 when not found
    qsizetype contentBegin = 0;
    qsizetype contentEnd = 0; // the end tag's "<", or the end of the note
    qsizetype end = 0;        // after the end tag's ">", or the end of the note
    bool closed = false;      // an end tag of its own was read
    bool found() const { return begin >= 0; }
};

bool isNamed(const MarkupTag &tag, QStringView name);

// The note's tags as a browser reads them, read once; each look-up costs what
// the part of the note it looks at does, so reading a note costs what its size does.
// A paragraph runs from its start tag to the next "</P>": what it holds is its
// own content, never a heading or table of the note. A table runs to its own
// end tag, tables inside it apart.
class NoteTags
{
public:
    explicit NoteTags(const QString &text);

    const QString &text() const { return m_text; }
    const QList<MarkupTag> &tags() const { return m_tags; }
    // The index of the first tag that begins at or after from.
    qsizetype firstTagAt(qsizetype from) const;

    // The first element name starting at or after from outside a paragraph,
    // when the end tag the builder writes after its content is read as one.
    Span element(QStringView name, qsizetype from) const;

    // The paragraphs from from on that a field can hold: one where white space
    // counts would not survive the field (see keepsWhiteSpace).
    Span fieldParagraph(qsizetype from) const;

    // Whether a tag beginning in from .. to makes white space count as written:
    // a script, a style, PRE, TEXTAREA and the like, or a white-space style.
    // A field reads a line break as a blank and writes its own as "<BR>".
    bool keepsWhiteSpace(qsizetype from, qsizetype to) const;

private:
    Span spanFrom(qsizetype i) const;
    bool endsAfterContent(const Span &e, QStringView name) const;

    const QString &m_text;
    QList<MarkupTag> m_tags;
    mutable QHash<QString, bool> m_endReadAtNoteEnd; // by element name
};

// The text of an element as its field shows it: a line break of the page's
// source is white space between words, as the browser shows it (one blank, none
// beside another blank, a "<BR>" or the ends); "<BR>" as written is the field's
// line break.
QString pageTextToField(QStringView text);
