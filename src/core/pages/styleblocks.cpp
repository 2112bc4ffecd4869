#include "core/pages/styleblocks.h"

#include "core/pages/markers.h"

#include <QStringList>

using namespace Qt::StringLiterals;

namespace {
struct StyleValues
{
    const char16_t *h1Colour;
    const char16_t *h1Back;
    const char16_t *border;
    const char16_t *borderColour; // nullptr: no border-colour line
    const char16_t *h2Rule;
    const char16_t *h2Colour;
    const char16_t *size1;
    const char16_t *size2;
    const char16_t *size3;
};

const StyleValues Styles[4] = {
    {u"white;", u"#1faf9a;", u"none none none none;", nullptr, u"#1faf9a;", u"#1faf9a;", u"6mm", u"5mm", u"5mm"},
    {u"white;", u"#1faf9a;", u"none none none none;", nullptr, u"#1faf9a;", u"#1faf9a;", u"14mm", u"12mm", u"12mm"},
    {u"black;", u"#4ef8f3;", u"double double double double;", u"border-color :navy navy navy navy;", u"white;",
     u"black;", u"15mm", u"15mm", u"15mm"},
    {u"white;", u"#8c8cff;", u"outset outset outset outset;", u"border-color : white white white white;", u"white;",
     u"black;", u"16mm", u"14mm", u"14mm"},
};
} // namespace

QString BuildStyleBlock(int style)
{
    if (style < 1 || style > 4)
        return {};
    const StyleValues &v = Styles[style - 1];
    QStringList lines;
    lines << Markers::StyleInPrefix + QString::number(style) + u"-->"_s << u"<STYLE type=\"text/css\">"_s << u"<!--"_s;
    if (style == 3)
        lines << u"BODY{background : #eeffff} a:link{color : #990099} b:vlink{color : #990000}"_s;
    lines << u"H1{"_s << u"color : "_s + QString::fromUtf16(v.h1Colour)
          << u"background-color : "_s + QString::fromUtf16(v.h1Back)
          << u"font-size :"_s + QString::fromUtf16(v.size1) + u";"_s
          << u"border-style : "_s + QString::fromUtf16(v.border);
    if (v.borderColour)
        lines << QString::fromUtf16(v.borderColour);
    lines << u"padding-top : 10px;"_s << u"padding-left : 10px;"_s << u"padding-right : 10px;"_s
          << u"padding-bottom : 10px;"_s << u"}"_s << u"H2{"_s
          << u"font-size :"_s + QString::fromUtf16(v.size2) + u";border-style : none none inset none;"_s
          << u"border-bottom-color :  "_s + QString::fromUtf16(v.h2Rule) << u"color :  "_s + QString::fromUtf16(v.h2Colour)
          << u"}"_s << textRules(QString::fromUtf16(v.size3), u"P{"_s) << u"input, select, textarea {"_s << u"font-size: 90%;"_s << u"}"_s
          << u"-->"_s << u"</STYLE>"_s << Markers::StyleOut;
    return lines.join(u"\r\n"_s);
}

QString StyleBlock(int style)
{
    if (style != 1)
        return {};
    // The trailing blanks are part of the block as stored.
    static const QStringList lines = QStringList{
        Markers::StyleInPrefix + u"1-->"_s,
        u"<STYLE type=\"text/css\">"_s,
        u"<!--"_s,
        u"H1{"_s,
        u"font-size :6mm;"_s,
        u"}"_s,
        u"H2{"_s,
        u"font-size :5mm;"_s,
        u"line-height : 1.3em; "_s,
        u"} "_s,
    } + textRules(u"5mm"_s, u"P{ "_s)
      + QStringList{u"--> "_s, u"</STYLE>"_s, Markers::StyleOut};
    return lines.join(u"\r\n"_s) + u"\r\n"_s;
}

QStringList textRules(const QString &fontSize, const QString &paragraphOpen)
{
    const QString size = u"font-size :"_s + fontSize + u";"_s;
    return {paragraphOpen, u"color :  black;"_s, size, u"line-height : 1.3em;"_s, u"}"_s,
            u"TABLE{"_s,   u"color :  black;"_s, size, u"line-height : 1.3em;"_s, u"}"_s};
}
