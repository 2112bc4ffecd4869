#include "core/pages/markupscan.h"

#include "core/pages/boundedparse.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace {

// The UTF-8 of a text that the parser reads, and the way back from its byte
// offsets to the text's UTF-16 indices.
class Utf8Text
{
public:
    explicit Utf8Text(QStringView text)
        : m_text(text)
    {
        m_bytes.reserve(text.size() * 3);
        for (qsizetype i = 0; i < text.size();) {
            if (i >= qsizetype(m_marks.size()) * Step)
                m_marks.push_back({i, m_bytes.size()});
            const char16_t c = text.at(i).unicode();
            char32_t code = c;
            qsizetype units = 1;
            if (QChar::isHighSurrogate(c) && i + 1 < text.size() && QChar::isLowSurrogate(text.at(i + 1).unicode())) {
                code = QChar::surrogateToUcs4(c, text.at(i + 1).unicode());
                units = 2;
            } else if (QChar::isSurrogate(c)) {
                code = QChar::ReplacementCharacter; // as the page would be written
            }
            append(code);
            i += units;
        }
    }

    const QByteArray &bytes() const { return m_bytes; }

    // The index of the character that begins at byte offset, or of the one
    // holding it; the text's size at its end.
    qsizetype indexOf(qsizetype offset) const
    {
        if (offset >= m_bytes.size())
            return m_text.size();
        auto mark = std::upper_bound(m_marks.cbegin(), m_marks.cend(), offset,
                                     [](qsizetype at, const Mark &m) { return at < m.byte; });
        --mark; // the first mark is at byte 0
        qsizetype index = mark->index;
        qsizetype byte = mark->byte;
        while (index < m_text.size()) {
            const qsizetype units = unitsAt(index);
            const qsizetype next = byte + byteLength(index, units);
            if (next > offset)
                break;
            index += units;
            byte = next;
        }
        return index;
    }

private:
    struct Mark
    {
        qsizetype index;
        qsizetype byte;
    };
    static constexpr qsizetype Step = 64;

    void append(char32_t code)
    {
        if (code < 0x80) {
            m_bytes.append(char(code));
        } else if (code < 0x800) {
            m_bytes.append(char(0xC0 | (code >> 6)));
            m_bytes.append(char(0x80 | (code & 0x3F)));
        } else if (code < 0x10000) {
            m_bytes.append(char(0xE0 | (code >> 12)));
            m_bytes.append(char(0x80 | ((code >> 6) & 0x3F)));
            m_bytes.append(char(0x80 | (code & 0x3F)));
        } else {
            m_bytes.append(char(0xF0 | (code >> 18)));
            m_bytes.append(char(0x80 | ((code >> 12) & 0x3F)));
            m_bytes.append(char(0x80 | ((code >> 6) & 0x3F)));
            m_bytes.append(char(0x80 | (code & 0x3F)));
        }
    }

    qsizetype unitsAt(qsizetype index) const
    {
        return QChar::isHighSurrogate(m_text.at(index).unicode()) && index + 1 < m_text.size()
                       && QChar::isLowSurrogate(m_text.at(index + 1).unicode())
                   ? 2
                   : 1;
    }

    qsizetype byteLength(qsizetype index, qsizetype units) const
    {
        if (units == 2)
            return 4;
        const char16_t c = m_text.at(index).unicode();
        return c < 0x80 ? 1 : c < 0x800 ? 2 : 3;
    }

    QStringView m_text;
    QByteArray m_bytes;
    std::vector<Mark> m_marks;
};

bool isNameEnd(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\f' || c == u'/' || c == u'>';
}

int ownPlace(const GumboElement &element)
{
    if (element.tag_namespace != GUMBO_NAMESPACE_HTML)
        return MarkupText::InForeign;
    switch (element.tag) {
    case GUMBO_TAG_A:
        return MarkupText::InLink;
    case GUMBO_TAG_SCRIPT:
    case GUMBO_TAG_STYLE:
    case GUMBO_TAG_TEXTAREA:
    case GUMBO_TAG_TITLE:
    case GUMBO_TAG_XMP:
    case GUMBO_TAG_IFRAME:
    case GUMBO_TAG_NOEMBED:
    case GUMBO_TAG_NOFRAMES:
    case GUMBO_TAG_NOSCRIPT:
    case GUMBO_TAG_PLAINTEXT:
        return MarkupText::InRawText;
    case GUMBO_TAG_SELECT:
        return MarkupText::InSelect;
    case GUMBO_TAG_TEMPLATE:
        return MarkupText::InTemplate;
    default:
        return MarkupText::Running;
    }
}

Markup unread()
{
    Markup markup;
    markup.complete = false;
    markup.overBudget = true;
    return markup;
}

// Walks the parser's tree and gathers what stands in the source: tags without
// source text (implied by the parser) and copies it makes of formatting tags
// are left out.
class MarkupReader
{
public:
    MarkupReader(const QString &text, qsizetype skip, bool throughNoscript)
        : m_text(text)
        , m_skip(skip)
        , m_throughNoscript(throughNoscript)
        , m_utf8(QStringView(text).sliced(skip))
    {
    }

    Markup read()
    {
        Markup markup;
        {
            const BoundedParse parse(m_utf8.bytes());
            if (!parse.document())
                return unread();
            walk(parse.document());
        }
        std::sort(m_tags.begin(), m_tags.end(), [](const MarkupTag &a, const MarkupTag &b) { return a.begin < b.begin; });
        for (MarkupTag &tag : m_tags) {
            if (m_noscript >= 0 && tag.begin > m_noscript)
                break;
            if (markup.tags.isEmpty() || markup.tags.constLast().begin != tag.begin)
                markup.tags.append(std::move(tag));
        }
        std::sort(m_texts.begin(), m_texts.end(), [](const MarkupText &a, const MarkupText &b) { return a.begin < b.begin; });
        for (const MarkupText &run : std::as_const(m_texts)) {
            if (m_noscript >= 0 && run.end > m_noscript)
                break;
            markup.texts.append(run);
        }
        markup.complete = m_noscript < 0;
        return markup;
    }

private:
    qsizetype byteOf(const char *data) const { return data - m_utf8.bytes().constData(); }
    qsizetype indexOf(qsizetype byte) const { return m_skip + m_utf8.indexOf(byte); }

    // The byte range of a piece of the source; false for one that is not in it.
    bool sourceRange(const GumboStringPiece &piece, qsizetype *from, qsizetype *to) const
    {
        const char *begin = m_utf8.bytes().constData();
        if (piece.data == nullptr || piece.length == 0 || piece.data < begin
            || piece.data + piece.length > begin + m_utf8.bytes().size())
            return false;
        *from = byteOf(piece.data);
        *to = *from + qsizetype(piece.length);
        return true;
    }

    void addTag(const GumboElement &element, const GumboStringPiece &piece)
    {
        qsizetype from = 0, to = 0;
        if (!sourceRange(piece, &from, &to) || piece.length < 2 || piece.data[0] != '<' || piece.data[piece.length - 1] != '>')
            return;
        MarkupTag tag;
        tag.begin = indexOf(from);
        tag.end = indexOf(to);
        tag.closing = piece.data[1] == '/';
        const qsizetype nameBegin = tag.begin + (tag.closing ? 2 : 1);
        qsizetype nameEnd = nameBegin;
        while (nameEnd < tag.end && !isNameEnd(m_text.at(nameEnd)))
            ++nameEnd;
        tag.name = m_text.sliced(nameBegin, nameEnd - nameBegin);
        if (!tag.closing)
            addAttributes(element, from, to, &tag);
        if (!m_throughNoscript && !tag.closing && element.tag == GUMBO_TAG_NOSCRIPT && element.tag_namespace == GUMBO_NAMESPACE_HTML
            && (m_noscript < 0 || tag.begin < m_noscript))
            m_noscript = tag.begin;
        m_tags.append(std::move(tag));
    }

    // The attributes written in the tag at bytes from..to (the browser adds those
    // of a second HTML or BODY tag to the first: they stay out).
    void addAttributes(const GumboElement &element, qsizetype from, qsizetype to, MarkupTag *tag) const
    {
        for (unsigned i = 0; i < element.attributes.length; ++i) {
            const auto *attribute = static_cast<const GumboAttribute *>(element.attributes.data[i]);
            qsizetype nameFrom = 0, nameTo = 0;
            if (!sourceRange(attribute->original_name, &nameFrom, &nameTo) || nameFrom < from || nameTo > to)
                continue;
            MarkupAttribute out;
            out.name = QString::fromUtf8(attribute->name);
            const GumboStringPiece &value = attribute->original_value;
            qsizetype valueFrom = 0, valueTo = 0;
            if (sourceRange(value, &valueFrom, &valueTo) && valueFrom >= nameTo && valueTo <= to) {
                const char first = value.data[0];
                if ((first == '"' || first == '\'') && value.length >= 2 && value.data[value.length - 1] == first) {
                    out.quote = QLatin1Char(first);
                    ++valueFrom;
                    --valueTo;
                }
                out.valueBegin = indexOf(valueFrom);
                out.valueEnd = indexOf(valueTo);
            }
            tag->attributes.append(std::move(out));
        }
    }

    void addText(const GumboText &text, int place)
    {
        qsizetype from = 0, to = 0;
        if (!sourceRange(text.original_text, &from, &to))
            return;
        // The run is the text of the nodes from its start; a tag the browser left
        // out may stand inside it, and every tag begins with "<".
        const qsizetype lt = m_utf8.bytes().indexOf('<', from);
        if (lt >= 0 && lt < to)
            to = lt;
        if (to > from)
            m_texts.append({indexOf(from), indexOf(to), place});
    }

    void walk(const GumboNode *root)
    {
        struct Visit
        {
            const GumboNode *node;
            int place;
        };
        std::vector<Visit> pending{{root, MarkupText::Running}}; // no recursion: nesting can be deep
        while (!pending.empty()) {
            const auto [node, place] = pending.back();
            pending.pop_back();
            const GumboVector *children = nullptr;
            int inner = place;
            switch (node->type) {
            case GUMBO_NODE_DOCUMENT:
                children = &node->v.document.children;
                break;
            case GUMBO_NODE_ELEMENT:
            case GUMBO_NODE_TEMPLATE:
                // A copy the parser makes of a formatting element points at its
                // source's start tag; it may have an end tag of its own.
                if (!(node->parse_flags & (GUMBO_INSERTION_RECONSTRUCTED_FORMATTING_ELEMENT | GUMBO_INSERTION_ADOPTION_AGENCY_CLONED)))
                    addTag(node->v.element, node->v.element.original_tag);
                addTag(node->v.element, node->v.element.original_end_tag);
                inner |= ownPlace(node->v.element);
                children = &node->v.element.children;
                break;
            case GUMBO_NODE_TEXT:
            case GUMBO_NODE_WHITESPACE:
            case GUMBO_NODE_CDATA:
                addText(node->v.text, place);
                break;
            case GUMBO_NODE_COMMENT:
                break;
            }
            if (children) {
                for (unsigned i = children->length; i-- > 0;)
                    pending.push_back({static_cast<const GumboNode *>(children->data[i]), inner});
            }
        }
    }

    const QString &m_text;
    qsizetype m_skip;
    bool m_throughNoscript;
    Utf8Text m_utf8;
    QList<MarkupTag> m_tags;
    QList<MarkupText> m_texts;
    qsizetype m_noscript = -1; // the first NOSCRIPT start tag
};

} // namespace

Markup readMarkup(const QString &text, bool throughNoscript)
{
    if (exceedsMarkupLimit(text))
        return unread();
    // The byte order mark of the file is no character of the page.
    const qsizetype skip = text.startsWith(QChar::ByteOrderMark) ? 1 : 0;
    return MarkupReader(text, skip, throughNoscript).read();
}

QList<MarkupTag> markupTags(const QString &text)
{
    return readMarkup(text).tags;
}
