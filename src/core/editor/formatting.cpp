#include "core/editor/formatting.h"

#include "core/editor/editorstrings.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace Formatting {

QString wrapMarkup(Markup markup, const QString &selection)
{
    // Opening and closing tag of each markup, in the order of the enum.
    static const std::pair<QString, QString> tags[] = {
        {u"<font color=\"#ff0000\">"_s, u"</font>"_s}, {u"<font color=\"#0000ff\">"_s, u"</font>"_s},
        {u"<u>"_s, u"</u>"_s},           {u"<strong>"_s, u"</strong>"_s},
        {u"<font size=\"+1\">"_s, u"</font>"_s},   {u"<sub>"_s, u"</sub>"_s},
        {u"<sup>"_s, u"</sup>"_s},
    };
    const auto &[open, close] = tags[int(markup)];
    return open + selection + close;
}

QString rubyMarkup(const QString &base, const QString &reading)
{
    return u"<ruby>"_s + base + u"<rt>"_s + reading + u"</ruby>"_s;
}

bool breaksTag(const QString &nameOrTarget)
{
    return nameOrTarget.contains(u'"') || nameOrTarget.contains(u'<') || nameOrTarget.contains(u'>');
}

Link linkFromTarget(const QString &target)
{
    Link link;
    if (target.isEmpty())
        return link;
    if (breaksTag(target)) {
        link.refused = true;
        return link;
    }
    QString address = target;
    QString name;
    if (target.contains(u"://"_s)) {
        // "http://intranet" cut at ":" would link to "http:".
        QString path = target;
        while (path.endsWith(u'/'))
            path.chop(1);
        name = path.sliced(path.lastIndexOf(u'/') + 1);
        if (name.isEmpty() || path.endsWith(u':'))
            name = target;
    } else {
        const qsizetype cut = std::max({target.lastIndexOf(u'\\'), target.lastIndexOf(u'/'), target.lastIndexOf(u':')});
        name = target.sliced(cut + 1);
        if (!name.contains(u'.') && cut >= 0)
            address = target.first(cut + 1);
    }
    link.html = u"<A href=\""_s + address + u"\">"_s + name + EditorStrings::LinkSuffix + u"</A>"_s;
    return link;
}

QString inlinePictureTag(const QString &name, int width, int height)
{
    return u"<img src=\""_s + name + u"\" width=\""_s + QString::number(width) + u"\""_s + u" height=\""_s
        + QString::number(height) + u"\" align=\"middle\">"_s;
}

StylePreview stylePreview(int style)
{
    const StyleColour white{StyleColour::Fixed, QColor(0xFF, 0xFF, 0xFF)};
    const StyleColour black{StyleColour::Fixed, QColor(0, 0, 0)};
    const StyleColour teal{StyleColour::Fixed, QColor(0x00, 0x80, 0x80)};
    const StyleColour sky{StyleColour::Fixed, QColor(0xA6, 0xCA, 0xF0)};
    const StyleColour face{StyleColour::ButtonFace, {}};
    switch (style) {
    case 1:
        return {{18, teal, white}, teal, {15, white, black}, {15, white, black}, 15, 15};
    case 2:
        return {{22, teal, white}, teal, {20, white, teal}, {20, white, black}, 20, 14};
    case 3:
        return {{22, sky, black}, white, {22, face, black}, {22, face, black}, 22, 18};
    case 4:
        return {{24, sky, black}, white, {22, face, black}, {22, face, black}, 22, 13};
    default:
        return {{18, white, black}, {StyleColour::ScrollBar, {}}, {15, white, black}, {14, white, black}, 10, 0};
    }
}

} // namespace Formatting
