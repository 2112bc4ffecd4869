#include "core/editor/notetags.h"

#include "core/pages/markers.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {
const QString CrLf = u"\r\n"_s;

bool isLineBreak(QChar c)
{
    return c == u'\r' || c == u'\n';
}

// White space as HTML collapses it (an ideographic space is a character).
bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\f' || isLineBreak(c);
}

bool hasWhiteSpaceStyle(const MarkupTag &tag, const QString &text)
{
    for (const MarkupAttribute &attribute : tag.attributes) {
        if (attribute.name == u"style"_s && attribute.valueBegin >= 0
            && QStringView(text).sliced(attribute.valueBegin, attribute.valueEnd - attribute.valueBegin)
                   .contains(u"white-space", Qt::CaseInsensitive))
            return true;
    }
    return false;
}
} // namespace

bool isNamed(const MarkupTag &tag, QStringView name)
{
    return tag.name.compare(name, Qt::CaseInsensitive) == 0;
}

NoteTags::NoteTags(const QString &text)
    : m_text(text)
    , m_tags(markupTags(text))
{
}

qsizetype NoteTags::firstTagAt(qsizetype from) const
{
    return std::lower_bound(m_tags.cbegin(), m_tags.cend(), from,
                            [](const MarkupTag &tag, qsizetype at) { return tag.begin < at; })
        - m_tags.cbegin();
}

Span NoteTags::element(QStringView name, qsizetype from) const
{
    bool inParagraph = false;
    for (qsizetype i = firstTagAt(from); i < m_tags.size(); ++i) {
        const MarkupTag &tag = m_tags.at(i);
        if (!inParagraph && !tag.closing && isNamed(tag, name)) {
            const Span span = spanFrom(i);
            return endsAfterContent(span, name) ? span : Span();
        }
        if (isNamed(tag, u"P"))
            inParagraph = !tag.closing;
    }
    return {};
}

Span NoteTags::fieldParagraph(qsizetype from) const
{
    for (Span p = element(u"P", from); p.found(); p = element(u"P", p.end)) {
        if (!keepsWhiteSpace(p.begin, p.contentEnd))
            return p;
        if (p.end <= p.begin)
            break;
    }
    return {};
}

bool NoteTags::keepsWhiteSpace(qsizetype from, qsizetype to) const
{
    static const QStringList names = {u"SCRIPT"_s, u"STYLE"_s, u"PRE"_s, u"TEXTAREA"_s,
                                      u"LISTING"_s, u"XMP"_s, u"PLAINTEXT"_s};
    for (qsizetype i = firstTagAt(from); i < m_tags.size() && m_tags.at(i).begin < to; ++i) {
        const MarkupTag &tag = m_tags.at(i);
        if (tag.closing)
            continue;
        if (hasWhiteSpaceStyle(tag, m_text)
            || std::any_of(names.cbegin(), names.cend(), [&tag](const QString &name) { return isNamed(tag, name); }))
            return true;
    }
    return false;
}

Span NoteTags::spanFrom(qsizetype i) const
{
    const MarkupTag &open = m_tags.at(i);
    Span s{open.begin, open.end, m_text.size(), m_text.size(), false};
    // Only a table holds its own kind: a paragraph ends at the next "</P>".
    const bool nests = isNamed(open, u"TABLE");
    int depth = 0;
    for (qsizetype j = i + 1; j < m_tags.size(); ++j) {
        const MarkupTag &tag = m_tags.at(j);
        if (!isNamed(tag, open.name))
            continue;
        if (!tag.closing) {
            depth += nests ? 1 : 0;
            continue;
        }
        if (depth-- > 0)
            continue;
        s.contentEnd = tag.begin;
        s.end = tag.end;
        s.closed = true;
        break;
    }
    return s;
}

// Whether the end tag the builder writes after the element's content is read
// as one: an unclosed comment or script in the content would swallow it. An end
// tag read in the page is; without one the content runs to the end of the note,
// and the note is read once more with the end tag after it.
bool NoteTags::endsAfterContent(const Span &e, QStringView name) const
{
    if (e.closed)
        return true;
    const QString key = name.toString().toUpper();
    const auto known = m_endReadAtNoteEnd.constFind(key);
    if (known != m_endReadAtNoteEnd.cend())
        return *known;
    const QString probe = m_text + u"</" + key + u'>';
    const QList<MarkupTag> tags = markupTags(probe);
    const bool read = !tags.isEmpty() && tags.last().closing && isNamed(tags.last(), key)
                      && tags.last().end == probe.size();
    m_endReadAtNoteEnd.insert(key, read);
    return read;
}

QString pageTextToField(QStringView text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size();) {
        if (!isLineBreak(text.at(i))) {
            out += text.at(i++);
            continue;
        }
        qsizetype next = i;
        while (next < text.size() && isLineBreak(text.at(next)))
            ++next;
        const QStringView after = text.sliced(next);
        const bool blankBefore = out.isEmpty() || isBlank(out.back())
                                 || out.endsWith(Markers::LineBreakTag, Qt::CaseInsensitive);
        const bool blankAfter = after.isEmpty() || isBlank(after.front())
                                || after.startsWith(Markers::LineBreakTag, Qt::CaseInsensitive);
        if (!blankBefore && !blankAfter)
            out += u' ';
        i = next;
    }
    out.replace(Markers::LineBreakTag, CrLf);
    return out;
}
