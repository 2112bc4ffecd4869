#include "core/editor/tagattr.h"

using namespace Qt::StringLiterals;

namespace {
bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n';
}

struct Attribute
{
    qsizetype at = -1;     // where the name starts; -1 when absent
    qsizetype value = -1;  // where its value starts, after "=" and any blanks around it
};

// "name=" as an attribute of head (the tag up to its ">"): after a blank and outside
// quoted values, without regard to case; blanks may stand around the "=".
Attribute findAttribute(QStringView head, QStringView name)
{
    QChar quote;
    for (qsizetype i = 0; i < head.size(); ++i) {
        const QChar c = head.at(i);
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
            continue;
        }
        if (c == u'"' || c == u'\'') {
            quote = c;
            continue;
        }
        if (i == 0 || !isBlank(head.at(i - 1)) || !head.sliced(i).startsWith(name, Qt::CaseInsensitive))
            continue;
        qsizetype k = i + name.size();
        while (k < head.size() && isBlank(head.at(k)))
            ++k;
        if (k >= head.size() || head.at(k) != u'=')
            continue;
        ++k;
        while (k < head.size() && isBlank(head.at(k)))
            ++k;
        return {i, k};
    }
    return {};
}

QString trimmedRight(QStringView text)
{
    qsizetype end = text.size();
    while (end > 0 && text.at(end - 1) == u' ')
        --end;
    return text.first(end).toString();
}
} // namespace

QString SetTagAttr(const QString &tag, const QString &attr)
{
    const qsizetype g = tag.indexOf(u'>');
    if (g < 0)
        return {};
    const QStringView head = QStringView(tag).first(g);
    const QString fromG = tag.sliced(g);

    if (attr.isEmpty()) {
        const qsizetype align = findAttribute(head, u"align").at;
        return trimmedRight(align >= 0 ? head.first(align) : head) + fromG;
    }

    const qsizetype eq = attr.indexOf(u'=');
    const QString name = eq >= 0 ? attr.first(eq) : attr;
    const QString value = eq >= 0 ? attr.sliced(eq + 1) : QString();
    const bool remove = value == u"\"\""_s;

    const Attribute found = findAttribute(head, name);
    const qsizetype at = found.at;
    if (at < 0) {
        if (remove)
            return trimmedRight(head) + u' ' + fromG;
        return trimmedRight(head) + u' ' + name + u'=' + value + fromG;
    }
    // The old value runs through its closing quote, or, unquoted, to the next blank.
    const qsizetype valueStart = found.value;
    qsizetype valueEnd = g;
    if (valueStart < g && tag.at(valueStart) == u'"') {
        const qsizetype close = tag.indexOf(u'"', valueStart + 1);
        valueEnd = (close >= 0 && close < g) ? close + 1 : g;
    } else {
        for (qsizetype i = valueStart; i < g; ++i) {
            if (isBlank(tag.at(i))) {
                valueEnd = i;
                break;
            }
        }
    }
    if (remove)
        return tag.first(at) + tag.sliced(valueEnd);
    return tag.first(at) + name + u'=' + value + tag.sliced(valueEnd);
}

QString ExtractSrc(const QString &tag)
{
    const qsizetype at = tag.indexOf(u"src="_s, 0, Qt::CaseInsensitive);
    if (at < 0)
        return {};
    const qsizetype start = at + 5;
    const qsizetype end = tag.indexOf(u'"', start);
    if (end < 0)
        return {};
    return tag.sliced(start, end - start);
}
