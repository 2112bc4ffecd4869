#pragma once

#include <QList>
#include <QString>

// The tags of a page as a browser reads them, for finding places to change it.
struct MarkupTag
{
    qsizetype begin = 0; // the "<"
    qsizetype end = 0;   // just after the ">"
    QString name;        // as written
    bool closing = false;
};

// The start and end tags of text in order. Comments, declarations and the text
// inside SCRIPT, STYLE, TEXTAREA, TITLE and the like hold no tags; a ">" inside a
// quoted attribute value ends no tag. An unclosed comment, tag or such element
// ends the list: nothing after it is a tag.
QList<MarkupTag> markupTags(const QString &text);
