#include "core/pages/markupscan.h"

using namespace Qt::StringLiterals;

namespace {
bool isAsciiLetter(QChar c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u'\f';
}

// Elements whose content is text up to their own end tag (NOSCRIPT too: the
// browser runs scripts).
bool holdsRawText(const QString &name)
{
    for (const QString &raw : {u"SCRIPT"_s, u"STYLE"_s, u"TEXTAREA"_s, u"TITLE"_s, u"XMP"_s, u"IFRAME"_s,
                               u"NOEMBED"_s, u"NOFRAMES"_s, u"NOSCRIPT"_s, u"PLAINTEXT"_s}) {
        if (name.compare(raw, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

// The position after the ">" closing the tag whose name ends at from; -1 without one.
qsizetype tagEnd(const QString &text, qsizetype from)
{
    QChar quote;
    QChar lastMark; // the last character outside blanks and values
    for (qsizetype k = from; k < text.size(); ++k) {
        const QChar c = text.at(k);
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
        } else if ((c == u'"' || c == u'\'') && lastMark == u'=') {
            quote = c;
        } else if (c == u'>') {
            return k + 1;
        } else if (!isBlank(c)) {
            lastMark = c;
        }
    }
    return -1;
}
} // namespace

QList<MarkupTag> markupTags(const QString &text)
{
    QList<MarkupTag> tags;
    qsizetype pos = 0;
    while (true) {
        const qsizetype lt = text.indexOf(u'<', pos);
        if (lt < 0 || lt + 1 >= text.size())
            break;
        if (QStringView(text).sliced(lt).startsWith(u"<!--")) {
            const qsizetype close = text.indexOf(u"-->"_s, lt + 4);
            if (close < 0)
                break;
            pos = close + 3;
            continue;
        }
        qsizetype at = lt + 1;
        const bool closing = text.at(at) == u'/';
        if (closing)
            ++at;
        if (at < text.size() && (text.at(at) == u'!' || text.at(at) == u'?')) {
            const qsizetype gt = text.indexOf(u'>', at);
            if (gt < 0)
                break;
            pos = gt + 1;
            continue;
        }
        if (at >= text.size() || !isAsciiLetter(text.at(at))) {
            pos = lt + 1; // a "<" of the running text
            continue;
        }
        qsizetype nameEnd = at;
        while (nameEnd < text.size() && !isBlank(text.at(nameEnd)) && text.at(nameEnd) != u'>'
               && text.at(nameEnd) != u'/')
            ++nameEnd;
        const qsizetype end = tagEnd(text, nameEnd);
        if (end < 0)
            break;
        MarkupTag tag{lt, end, text.mid(at, nameEnd - at), closing};
        pos = end;
        if (!closing && holdsRawText(tag.name)) {
            const qsizetype close = text.indexOf(u"</"_s + tag.name, pos, Qt::CaseInsensitive);
            tags.append(std::move(tag));
            if (close < 0)
                break;
            pos = close;
            continue;
        }
        tags.append(std::move(tag));
    }
    return tags;
}
