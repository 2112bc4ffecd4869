#include "core/pages/pagetext.h"

#include "core/pages/markers.h"

using namespace Qt::StringLiterals;

bool isOwnPage(const QString &text)
{
    return text.contains(Markers::OwnPageMark);
}

bool isPrintPage(const QString &text)
{
    return isOwnPage(text) && text.contains(Markers::PrintPageMark);
}

bool isEditablePage(const QString &text)
{
    return isOwnPage(text) && !text.contains(Markers::PrintPageMark);
}

bool isA4Page(const QString &text)
{
    return text.contains(Markers::A4Mark);
}

bool hasStyleMarker(const QString &text, int n)
{
    if (n < 1 || n > 4)
        return false;
    return text.contains(Markers::StyleInPrefix + QString::number(n) + u"-->"_s);
}

QString EscapeAngles(const QString &text)
{
    QString out = text;
    out.replace(u'<', u"&lt;"_s);
    out.replace(u'>', u"&gt;"_s);
    return out;
}

QString UnescapeAngles(const QString &text)
{
    QString out = text;
    out.replace(u"&lt;"_s, u"<"_s);
    out.replace(u"&gt;"_s, u">"_s);
    return out;
}
