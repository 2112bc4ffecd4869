#include "core/editor/notereader.h"

#include "core/editor/picturetools.h"
#include "core/editor/tagattr.h"
#include "core/pages/markers.h"
#include "core/pages/markupscan.h"
#include "core/pages/picturefile.h"

#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace {
const QString CrLf = u"\r\n"_s;

bool isNamed(const MarkupTag &tag, QStringView name)
{
    return tag.name.compare(name, Qt::CaseInsensitive) == 0;
}

// Raw line breaks go; "<BR>" (as written) becomes a line break of the field.
QString pageTextToField(QString text)
{
    text.remove(CrLf);
    text.replace(Markers::LineBreakTag, CrLf);
    return text;
}

// An element of the note: its start tag, its content and its end.
struct Span
{
    qsizetype begin = -1;    // the "<" of the start tag; -1 when not found
    qsizetype contentBegin = 0;
    qsizetype contentEnd = 0; // the end tag's "<", or the end of the note
    qsizetype end = 0;        // after the end tag's ">", or the end of the note
    bool found() const { return begin >= 0; }
};

// The note's tags as a browser reads them. A paragraph runs from its start tag
// to the next "</P>": what it holds is its own content, never a heading or table
// of the note.
class NoteTags
{
public:
    explicit NoteTags(const QString &text)
        : m_text(text)
        , m_tags(markupTags(text))
    {
    }

    // The first element name starting at or after from outside a paragraph.
    Span element(QStringView name, qsizetype from) const
    {
        bool inParagraph = false;
        for (qsizetype i = 0; i < m_tags.size(); ++i) {
            const MarkupTag &tag = m_tags.at(i);
            if (tag.begin < from)
                continue; // read already
            const bool paragraph = isNamed(tag, u"P");
            if (!inParagraph && !tag.closing && isNamed(tag, name)) {
                const Span span = spanFrom(i);
                return endsAfterContent(span, name) ? span : Span();
            }
            if (paragraph)
                inParagraph = !tag.closing;
        }
        return {};
    }

    // The paragraphs from from on that a field can hold: a script or style inside
    // one would not survive the field's line breaks.
    Span fieldParagraph(qsizetype from) const
    {
        for (Span p = element(u"P", from); p.found(); p = element(u"P", p.end)) {
            if (!holdsRaw(p))
                return p;
            if (p.end <= p.begin)
                break;
        }
        return {};
    }

    // Whether from .. to holds text outside tags (and comments).
    bool holdsText(qsizetype from, qsizetype to) const
    {
        qsizetype pos = from;
        for (const MarkupTag &tag : m_tags) {
            if (tag.end <= from)
                continue;
            if (tag.begin >= to)
                break;
            if (hasVisibleText(pos, tag.begin))
                return true;
            pos = tag.end;
        }
        return hasVisibleText(pos, to);
    }

    const QList<MarkupTag> &tags() const { return m_tags; }

private:
    Span spanFrom(qsizetype i) const
    {
        const MarkupTag &open = m_tags.at(i);
        Span s{open.begin, open.end, m_text.size(), m_text.size()};
        for (qsizetype j = i + 1; j < m_tags.size(); ++j) {
            if (m_tags.at(j).closing && isNamed(m_tags.at(j), open.name)) {
                s.contentEnd = m_tags.at(j).begin;
                s.end = m_tags.at(j).end;
                break;
            }
        }
        return s;
    }

    // Whether the end tag the builder writes after the element's content is read
    // as one: an unclosed comment or script in the content would swallow it.
    bool endsAfterContent(const Span &e, QStringView name) const
    {
        // With its start tag: a browser drops an end tag that closes nothing.
        const QString probe = m_text.sliced(e.begin, e.contentEnd - e.begin) + u"</" + name + u'>';
        const QList<MarkupTag> inner = markupTags(probe);
        return !inner.isEmpty() && inner.last().closing && isNamed(inner.last(), name)
            && inner.last().end == probe.size();
    }

    bool holdsRaw(const Span &p) const
    {
        for (const MarkupTag &tag : m_tags) {
            if (tag.begin >= p.contentBegin && tag.begin < p.contentEnd && !tag.closing
                && (isNamed(tag, u"SCRIPT") || isNamed(tag, u"STYLE")))
                return true;
        }
        return false;
    }

    bool hasVisibleText(qsizetype from, qsizetype to) const
    {
        if (to <= from)
            return false;
        QString gap = m_text.sliced(from, to - from);
        for (qsizetype open = gap.indexOf(u"<!--"_s); open >= 0; open = gap.indexOf(u"<!--"_s, open)) {
            const qsizetype close = gap.indexOf(u"-->"_s, open + 4);
            gap.remove(open, close < 0 ? gap.size() - open : close + 3 - open);
        }
        return !gap.trimmed().isEmpty();
    }

    const QString &m_text;
    QList<MarkupTag> m_tags;
};

// A tag cut short at the end of a truncated note is closed, so that the next
// reading finds the same tag.
QString closeCutTag(const QString &note)
{
    const QList<MarkupTag> tags = markupTags(note);
    const qsizetype from = tags.isEmpty() ? 0 : tags.last().end;
    const qsizetype lt = note.lastIndexOf(u'<');
    if (lt < from || lt + 1 >= note.size() || note.indexOf(u'>', lt) >= 0 || note.indexOf(u"<!--"_s, from) >= 0)
        return note;
    const QChar next = note.at(lt + 1);
    const bool letter = (next >= u'a' && next <= u'z') || (next >= u'A' && next <= u'Z') || next == u'/';
    if (!letter)
        return note;
    // A value cut short is closed too, or its quote would hold the ">".
    const bool openQuote = QStringView(note).sliced(lt).count(u'"') % 2 == 1;
    return note + (openQuote ? u"\">"_s : u">"_s);
}

// The quoted value after the first name= in text (found without regard to case).
QString quotedValueAfter(const QString &text, const QString &name)
{
    const qsizetype at = text.indexOf(name, 0, Qt::CaseInsensitive);
    if (at < 0)
        return {};
    const qsizetype open = text.indexOf(u'"', at);
    if (open < 0)
        return {};
    const qsizetype close = text.indexOf(u'"', open + 1);
    if (close < 0)
        return {};
    return text.sliced(open + 1, close - open - 1);
}

// Leading digits of a size value ("50%" gives "50"), else fallback.
QString wholeNumber(const QString &value, int fallback)
{
    qsizetype n = 0;
    while (n < value.size() && value.at(n) >= u'0' && value.at(n) <= u'9')
        ++n;
    if (n > 0)
        return value.first(n);
    return fallback >= 0 ? QString::number(fallback) : QString();
}

bool isPreviewable(const QString &name)
{
    static const QStringList extensions = {u"gif"_s, u"jpeg"_s, u"jpg"_s, u"bmp"_s};
    return extensions.contains(QFileInfo(name).suffix().toLower());
}

// What the first paragraph after the table is to the editor.
enum class FirstParagraph { Placeholder, Picture, Link, Text };

// A paragraph is the picture paragraph only when it starts with a picture or is
// one link of the builder's form (the editor keeps its target and its text, and
// writes nothing else); any other paragraph is text.
FirstParagraph classify(const QString &content)
{
    const QString trimmed = content.trimmed();
    if (trimmed.isEmpty())
        return FirstParagraph::Placeholder;
    const QList<MarkupTag> tags = markupTags(trimmed);
    if (tags.isEmpty() || tags.first().begin != 0 || tags.first().closing)
        return FirstParagraph::Text;
    const MarkupTag &first = tags.first();
    if (isNamed(first, u"IMG"))
        return ExtractSrc(trimmed.first(first.end)).isEmpty() ? FirstParagraph::Text : FirstParagraph::Picture;
    const QStringView open = QStringView(trimmed).first(first.end);
    const MarkupTag &last = tags.last();
    const auto linkStarts = std::count_if(tags.begin(), tags.end(),
                                          [](const MarkupTag &t) { return !t.closing && isNamed(t, u"A"); });
    if (isNamed(first, u"A") && open.startsWith(Markers::LinkStart, Qt::CaseInsensitive) && open.endsWith(u"\">")
        && open.size() > Markers::LinkStart.size() + 1 && last.closing && isNamed(last, u"A")
        && last.end == trimmed.size() && linkStarts == 1)
        return FirstParagraph::Link;
    return FirstParagraph::Text;
}

void readPicture(PageModel &m, const QString &content, const QString &folder)
{
    m.pictureTag = content;
    // The picture is the src of the IMG tag; a link target before it is not the picture.
    const QString name = ExtractSrc(content);
    int ownWidth = -1;
    int ownHeight = -1;
    const QString file = findFileInFolder(folder, name);
    if (!file.isEmpty() && isPreviewable(name)) {
        const QSize size = PictureTools::measure(file);
        if (size.isValid()) {
            m.picturePresent = true;
            m.pictureName = name;
            ownWidth = size.width();
            ownHeight = size.height();
        }
    }
    // A size that is no whole number is read by its leading digits, else the picture's own.
    m.pictureWidth = wholeNumber(quotedValueAfter(content, u"width="_s), ownWidth);
    m.pictureHeight = wholeNumber(quotedValueAfter(content, u"height="_s), ownHeight);
    m.pictureSizeFixed = true;
}

// The one link of a link paragraph: its target, and its content as the picture
// and link text.
void readLink(PageModel &m, const QString &content)
{
    const QString trimmed = content.trimmed();
    const QList<MarkupTag> tags = markupTags(trimmed); // the link's start and end tag, as classified
    const qsizetype open = tags.first().end;
    const qsizetype close = tags.last().begin;
    m.linkTarget = trimmed.sliced(Markers::LinkStart.size(), open - 2 - Markers::LinkStart.size());
    m.pictureTag = trimmed.sliced(open, close - open);
    m.linkText = m.pictureTag;
}

// The table's cells into the fields; returns where the last cell read ends.
qsizetype readTable(PageModel &m, const QString &note, const NoteTags &tags, const Span &table)
{
    const QString startTag = note.sliced(table.begin, table.contentBegin - table.begin);
    const qsizetype align = startTag.indexOf(u"align"_s);
    if (align >= 0) {
        const qsizetype open = startTag.indexOf(u'"', align);
        const qsizetype close = open < 0 ? -1 : startTag.indexOf(u'"', open + 1);
        m.tableAlign = u"align=\""_s + (close < 0 ? QString() : startTag.sliced(open + 1, close - open - 1)) + u'"';
    }

    qsizetype pos = table.contentBegin;
    int cell = 0;
    const QList<MarkupTag> &all = tags.tags();
    for (qsizetype i = 0; i < all.size() && cell < PageModel::CellCount; ++i) {
        const MarkupTag &td = all.at(i);
        if (td.begin < pos || td.begin >= table.contentEnd || td.closing || !isNamed(td, u"TD"))
            continue;
        qsizetype contentEnd = table.contentEnd;
        for (qsizetype j = i + 1; j < all.size() && all.at(j).begin < table.contentEnd; ++j) {
            if (all.at(j).closing && isNamed(all.at(j), u"TD")) {
                contentEnd = all.at(j).begin;
                break;
            }
        }
        QString text = note.sliced(td.end, contentEnd - td.end);
        m.cells[cell] = text.replace(Markers::LineBreakTag, CrLf);
        if (cell == 1)
            m.tableHasGrid = true;
        ++cell;
        pos = contentEnd;
    }
    return pos;
}
} // namespace

void readNote(PageModel &m, QString note, const QString &folder)
{
    const bool noteWasEmpty = note.isEmpty();
    note = closeCutTag(note);
    const NoteTags tags(note);
    qsizetype cursor = 0;
    const auto gapTo = [&](qsizetype at) { return note.sliced(cursor, at - cursor); };
    // Takes an element found after the cursor: the text before it, its start tag, its content.
    const auto take = [&](const Span &e, QString &before, QString &tag, QString &content) {
        before = gapTo(e.begin);
        tag = note.sliced(e.begin, e.contentBegin - e.begin);
        content = pageTextToField(note.sliced(e.contentBegin, e.contentEnd - e.contentBegin));
        cursor = e.end;
    };

    if (const Span h1 = tags.element(u"H1", cursor); h1.found())
        take(h1, m.PageBeforeH1, m.headingTag, m.heading);
    if (const Span h2 = tags.element(u"H2", cursor); h2.found())
        take(h2, m.PageBeforeH2, m.subheadingTag, m.subheading);
    // A table after the paragraphs is no framed box: it stays where it stands.
    const Span table = tags.element(u"TABLE", cursor);
    const Span paragraph = tags.fieldParagraph(cursor);
    if (table.found() && !(paragraph.found() && paragraph.begin < table.begin)) {
        m.PageBeforeTable = gapTo(table.begin);
        const qsizetype lastCell = readTable(m, note, tags, table);
        cursor = table.end;
        // Cells beyond the fields stay after the table the builder writes.
        if (tags.holdsText(lastCell, table.end))
            cursor = lastCell;
        else if (QStringView(note).sliced(cursor).startsWith(CrLf))
            cursor += CrLf.size(); // the builder's own line break after the table

    }

    const Span first = tags.fieldParagraph(cursor);
    Span text;
    if (first.found()) {
        const QString raw = note.sliced(first.contentBegin, first.contentEnd - first.contentBegin);
        const FirstParagraph kind = classify(raw);
        m.pictureParagraphTag = Markers::ParagraphStart;
        if (kind == FirstParagraph::Text) {
            // No picture paragraph: the builder writes its empty placeholder here,
            // after the text before it.
            m.PageBeforePicture = gapTo(first.begin);
            cursor = first.begin;
            text = first;
        } else {
            m.PageBeforePicture = gapTo(first.begin);
            cursor = first.end;
            if (kind != FirstParagraph::Placeholder) {
                m.pictureParagraphTag = note.sliced(first.begin, first.contentBegin - first.begin);
                readPicture(m, pageTextToField(raw), folder);
            }
            if (kind == FirstParagraph::Link)
                readLink(m, pageTextToField(raw));
            text = tags.fieldParagraph(cursor);
        }
    } else if (noteWasEmpty) {
        m.pictureParagraphTag = Markers::ParagraphStart;
    }
    if (text.found())
        take(text, m.PageBeforeText, m.paragraphTag, m.text);
    // What follows has no field: it is written back after the text paragraph.
    m.PageNoteRest = note.sliced(cursor);
}
