#pragma once

#include <QList>
#include <QString>

// The tags and text of a page as a browser reads them (an HTML5 parser), for
// finding places to change it. Offsets are indices into the page's QString.

// An attribute of a start tag as written.
struct MarkupAttribute
{
    QString name;              // in lower case, as the browser reads it
    qsizetype valueBegin = -1; // the value's first character, inside its quotes; -1 without a value
    qsizetype valueEnd = -1;   // just after its last character
    QChar quote;               // the quote around the value; null for a value without one
};

struct MarkupTag
{
    qsizetype begin = 0; // the "<"
    qsizetype end = 0;   // just after the ">"
    QString name;        // as written
    bool closing = false;
    QList<MarkupAttribute> attributes; // of a start tag; a repeated name counts once, as in the browser
};

// A run of character data (references as written) between tags and comments.
struct MarkupText
{
    enum Place {
        Running = 0,
        InLink = 1,     // inside an A element
        InRawText = 2,  // SCRIPT, STYLE, TEXTAREA, TITLE and the like: their text holds no tags
        InForeign = 4,  // SVG or MathML
        InSelect = 8,   // a choice list
        InTemplate = 16 // never shown
    };
    qsizetype begin = 0;
    qsizetype end = 0;
    int place = Running; // Place flags
};

struct Markup
{
    QList<MarkupTag> tags;   // start and end tags in text order
    QList<MarkupText> texts; // in text order
    // False when part of the page is not read: after a NOSCRIPT start tag (the
    // browser runs scripts and reads up to its end tag as text, the parser does
    // not), and all of a page that is over budget.
    bool complete = true;
    // True when none of the page is read (no tags, no texts, not complete): it
    // holds more than MarkupTagLimit "<", or reading it as a browser does would
    // take more memory or work than a page of its length is given (nesting deeper
    // than MarkupDepthLimit, unclosed formatting tags copied into many later
    // blocks, a tag with thousands of attributes). A caller places nothing in such
    // a page and says so.
    bool overBudget = false;
};

inline constexpr qsizetype MarkupTagLimit = 25000;
// Elements nested deeper than this (as the browser nests them, its copies of
// unclosed formatting tags included) make a page over budget. Old editors nest
// deeply: a FONT tag left open in each paragraph nests every paragraph in the one
// before it.
inline constexpr int MarkupDepthLimit = 4096;

// Whether text holds more "<" than a page is read for: readMarkup() reads none of it.
inline bool exceedsMarkupLimit(const QString &text)
{
    return text.count(u'<') > MarkupTagLimit;
}

// throughNoscript reads on after a NOSCRIPT start tag as a browser that runs no
// scripts does, taking its content for markup: for finding what a page may name,
// never for placing text.
Markup readMarkup(const QString &text, bool throughNoscript = false);

// The start and end tags of text in order, each as written in the page.
// Comments, declarations, the text inside SCRIPT, STYLE, TEXTAREA, TITLE and the
// like, and unclosed tags hold no tags; a tag the browser leaves out (a stray end
// tag, a second BODY) is not listed. The list ends where readMarkup() stops.
QList<MarkupTag> markupTags(const QString &text);
