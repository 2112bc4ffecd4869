#include "core/editor/notereader.h"

#include "core/editor/notetags.h"
#include "core/editor/picturetools.h"
#include "core/editor/tablegrid.h"
#include "core/editor/tagattr.h"
#include "core/pages/markers.h"
#include "core/pages/picturefile.h"

#include <QFileInfo>

#include <optional>

using namespace Qt::StringLiterals;

namespace {
const QString CrLf = u"\r\n"_s;

// A tag cut short at the end of a truncated note is closed, so that the next
// reading finds the same tag.
QString closeCutTag(const QString &note, const QList<MarkupTag> &tags)
{
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

// The first paragraph as the editor reads it; for a link paragraph, where its
// start tag ends and its end tag begins.
struct ParagraphKind
{
    FirstParagraph kind = FirstParagraph::Text;
    qsizetype linkOpenBegin = 0;
    qsizetype linkOpenEnd = 0;
    qsizetype linkCloseBegin = 0;
};

// A paragraph is the picture paragraph only when it starts with a picture or is
// one link of the builder's form (the editor keeps its target and its text, and
// writes nothing else); any other paragraph is text.
ParagraphKind classify(const NoteTags &note, const Span &p)
{
    const QString &text = note.text();
    qsizetype from = p.contentBegin;
    qsizetype to = p.contentEnd;
    while (from < to && text.at(from).isSpace())
        ++from;
    while (to > from && text.at(to - 1).isSpace())
        --to;
    if (from == to)
        return {FirstParagraph::Placeholder};
    const QList<MarkupTag> &tags = note.tags();
    const qsizetype firstIndex = note.firstTagAt(from);
    if (firstIndex >= tags.size() || tags.at(firstIndex).begin != from || tags.at(firstIndex).closing)
        return {};
    const MarkupTag &first = tags.at(firstIndex);
    if (isNamed(first, u"IMG"))
        return {ExtractSrc(text.sliced(first.begin, first.end - first.begin)).isEmpty() ? FirstParagraph::Text
                                                                                          : FirstParagraph::Picture};
    if (!isNamed(first, u"A"))
        return {};
    qsizetype lastIndex = firstIndex;
    int linkStarts = 0;
    for (qsizetype i = firstIndex; i < tags.size() && tags.at(i).begin < to; ++i) {
        lastIndex = i;
        linkStarts += !tags.at(i).closing && isNamed(tags.at(i), u"A") ? 1 : 0;
    }
    const MarkupTag &last = tags.at(lastIndex);
    const QStringView open = QStringView(text).sliced(first.begin, first.end - first.begin);
    if (open.startsWith(Markers::LinkStart, Qt::CaseInsensitive) && open.endsWith(u"\">")
        && open.size() > Markers::LinkStart.size() + 1 && last.closing && isNamed(last, u"A") && last.end == to
        && linkStarts == 1)
        return {FirstParagraph::Link, first.begin, first.end, last.begin};
    return {};
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
void readLink(PageModel &m, const QString &note, const ParagraphKind &link)
{
    const qsizetype target = link.linkOpenBegin + Markers::LinkStart.size();
    m.linkTarget = note.sliced(target, link.linkOpenEnd - 2 - target);
    m.pictureTag = pageTextToField(QStringView(note).sliced(link.linkOpenEnd, link.linkCloseBegin - link.linkOpenEnd));
    m.linkText = m.pictureTag;
}
} // namespace

void readNote(PageModel &m, QString note, const QString &folder)
{
    const bool noteWasEmpty = note.isEmpty();
    std::optional<NoteTags> read(std::in_place, note);
    if (const QString closed = closeCutTag(note, read->tags()); closed.size() != note.size()) {
        note = closed;
        read.emplace(note);
    }
    const NoteTags &tags = *read;
    qsizetype cursor = 0;     // the note before it is in the model
    qsizetype searchFrom = 0; // where the next field is looked for
    const auto gapTo = [&](qsizetype at) { return note.sliced(cursor, at - cursor); };
    // Takes an element found after the cursor: the text before it, its start tag, its content.
    const auto take = [&](const Span &e, QString &before, QString &tag, QString &content) {
        before = gapTo(e.begin);
        tag = note.sliced(e.begin, e.contentBegin - e.begin);
        content = pageTextToField(QStringView(note).sliced(e.contentBegin, e.contentEnd - e.contentBegin));
        cursor = searchFrom = e.end;
    };
    // A heading where white space counts stays as written.
    const auto heading = [&](QStringView name) {
        const Span h = tags.element(name, searchFrom);
        return h.found() && !tags.keepsWhiteSpace(h.begin, h.contentEnd) ? h : Span();
    };

    if (const Span h1 = heading(u"H1"); h1.found())
        take(h1, m.PageBeforeH1, m.headingTag, m.heading);
    if (const Span h2 = heading(u"H2"); h2.found())
        take(h2, m.PageBeforeH2, m.subheadingTag, m.subheading);
    // A table after the paragraphs is no framed box: it stays where it stands.
    const Span table = tags.element(u"TABLE", searchFrom);
    const Span paragraph = tags.fieldParagraph(searchFrom);
    if (table.found() && !(paragraph.found() && paragraph.begin < table.begin)) {
        if (readTableGrid(m, tags, table)) {
            m.PageBeforeTable = gapTo(table.begin);
            cursor = searchFrom = table.end;
            if (QStringView(note).sliced(cursor).startsWith(CrLf))
                cursor = searchFrom += CrLf.size(); // the builder's own line break after the table
        } else {
            searchFrom = table.end; // kept as written, in its place
        }
    }

    const Span first = tags.fieldParagraph(searchFrom);
    Span text;
    if (first.found()) {
        const ParagraphKind kind = classify(tags, first);
        m.pictureParagraphTag = Markers::ParagraphStart;
        m.PageBeforePicture = gapTo(first.begin);
        if (kind.kind == FirstParagraph::Text) {
            // No picture paragraph: the builder writes its empty placeholder here,
            // after the text before it.
            cursor = searchFrom = first.begin;
            text = first;
        } else {
            cursor = searchFrom = first.end;
            if (kind.kind != FirstParagraph::Placeholder) {
                m.pictureParagraphTag = note.sliced(first.begin, first.contentBegin - first.begin);
                readPicture(m, pageTextToField(QStringView(note).sliced(first.contentBegin, first.contentEnd - first.contentBegin)),
                            folder);
            }
            if (kind.kind == FirstParagraph::Link)
                readLink(m, note, kind);
            text = tags.fieldParagraph(searchFrom);
        }
    } else if (noteWasEmpty) {
        m.pictureParagraphTag = Markers::ParagraphStart;
    }
    if (text.found())
        take(text, m.PageBeforeText, m.paragraphTag, m.text);
    // What follows has no field: it is written back after the text paragraph.
    m.PageNoteRest = note.sliced(cursor);
}
