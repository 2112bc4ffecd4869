#pragma once

#include <QString>

// Sets, replaces or removes one attribute in the first tag of a text.
// attr "name=value" (value with its double quotes) sets or replaces the attribute;
// "name=\"\"" removes it; an empty attr cuts the tag from its align attribute to
// its ">". Only attribute names count: a file name holding "width" or "align"
// inside a quoted value is never taken for one. A text without ">" gives "".
QString SetTagAttr(const QString &tag, const QString &attr);

// The value of the first src attribute (case of the value kept), "" without one.
QString ExtractSrc(const QString &tag);
