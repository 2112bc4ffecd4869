#include "core/editor/pagereader.h"

#include "core/editor/picturetools.h"
#include "core/editor/tagattr.h"
#include "core/pages/markers.h"
#include "core/pages/picturefile.h"
#include "core/pages/quiz.h"
#include "core/pages/titlesyntax.h"

#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace {
const QString CrLf = u"\r\n"_s;

// Cuts start marker .. end marker out of w and returns it; "" when either is missing.
QString cutBlock(QString &w, const QString &start, const QString &end)
{
    const qsizetype at = w.indexOf(start);
    if (at < 0)
        return {};
    const qsizetype close = w.indexOf(end, at + start.size());
    if (close < 0)
        return {};
    const qsizetype stop = close + end.size();
    const QString block = w.sliced(at, stop - at);
    w.remove(at, stop - at);
    return block;
}

struct Element
{
    bool found = false;
    QString before;  // text before the opening tag
    QString openTag; // the opening tag through its ">"
    QString content; // up to the closing tag
    QString after;   // text after the closing tag's ">"
};

// The first element opened by open and closed by close in s, found without regard
// to case (the program writes upper case; pages from elsewhere may not). A missing
// ">" or closing tag ends the element at the end of s.
Element findElement(const QString &s, const QString &open, const QString &close)
{
    Element e;
    const qsizetype at = s.indexOf(open, 0, Qt::CaseInsensitive);
    if (at < 0)
        return e;
    e.found = true;
    e.before = s.first(at);
    const qsizetype gt = s.indexOf(u'>', at);
    if (gt < 0) {
        // A tag cut short is closed, so that the next reading finds the same tag.
        e.openTag = s.sliced(at) + u'>';
        return e;
    }
    e.openTag = s.sliced(at, gt + 1 - at);
    const qsizetype end = s.indexOf(close, gt + 1, Qt::CaseInsensitive);
    if (end < 0) {
        e.content = s.sliced(gt + 1);
        return e;
    }
    e.content = s.sliced(gt + 1, end - gt - 1);
    const qsizetype endGt = s.indexOf(u'>', end);
    e.after = endGt < 0 ? QString() : s.sliced(endGt + 1);
    return e;
}

// Raw line breaks go; "<BR>" (as written) becomes a line break of the field.
QString pageTextToField(QString text)
{
    text.remove(CrLf);
    text.replace(Markers::LineBreakTag, CrLf);
    return text;
}

// The "<HEAD" start tag without regard to case, not "<HEADER": the position after its ">".
qsizetype headStartTagEnd(const QString &s)
{
    qsizetype from = 0;
    for (;;) {
        const qsizetype at = s.indexOf(u"<HEAD"_s, from, Qt::CaseInsensitive);
        if (at < 0)
            return -1;
        const qsizetype after = at + 5;
        if (after < s.size() && (s.at(after) == u'>' || s.at(after).isSpace())) {
            const qsizetype gt = s.indexOf(u'>', at);
            return gt < 0 ? -1 : gt + 1;
        }
        from = after;
    }
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

void readTitle(PageModel &m, QString &w, QString &head, QString &title)
{
    const qsizetype at = w.indexOf(u"<TITLE"_s, 0, Qt::CaseInsensitive);
    if (at >= 0) {
        head = w.first(at);
        const qsizetype gt = w.indexOf(u'>', at);
        // A title tag cut short keeps its text with the head's rest.
        QString rest = gt < 0 ? w.sliced(at) : QString();
        if (gt >= 0) {
            const qsizetype close = w.indexOf(u"</"_s, gt + 1);
            if (close >= 0) {
                title = w.sliced(gt + 1, close - gt - 1);
                // Only the end tag of the title is skipped: another end tag ("</HEAD>")
                // stays, or the page would lose the "<" of the tag after it.
                const bool titleEnd = QStringView(w).sliced(close).startsWith(Markers::TitleEnd, Qt::CaseInsensitive);
                rest = w.sliced(titleEnd ? close + Markers::TitleEnd.size() : close);
            } else {
                // No end tag: the title runs to the next tag, the rest is kept.
                const qsizetype next = w.indexOf(u'<', gt + 1);
                title = next < 0 ? w.sliced(gt + 1) : w.sliced(gt + 1, next - gt - 1);
                rest = next < 0 ? QString() : w.sliced(next);
            }
        }
        w = rest;
    } else {
        const qsizetype end = headStartTagEnd(w);
        head = end < 0 ? QString() : w.first(end);
        if (end >= 0)
            w = w.sliced(end);
    }
    m.PageHeadEnd = w;
}

void readHeadAndSize(PageModel &m, const QString &head, const QString &pageText)
{
    const qsizetype tag = head.indexOf(Markers::SizeTagRun);
    if (tag < 0) {
        // No author META: one goes right after the HEAD start tag; without a HEAD, none.
        const qsizetype end = headStartTagEnd(head);
        if (end < 0) {
            m.PageHeadStart = head;
            m.hasSizeTagPlace = false;
        } else {
            m.PageHeadStart = head.first(end) + Markers::AuthorMetaStart;
            m.PageHeadRest = u">"_s + head.sliced(end);
        }
    } else {
        m.PageHeadStart = head.first(tag);
        const qsizetype gt = head.indexOf(u'>', tag);
        m.PageHeadRest = gt < 0 ? u">"_s : head.sliced(gt);
    }
    const bool a4 = pageText.contains(Markers::A4Mark);
    m.pageWidth = a4 ? Markers::PageWidthA4 : Markers::PageWidthB4;
    m.PageSizeTag = a4 ? Markers::SizeTagA4 : Markers::SizeTagB4;
}

void readBodyStart(PageModel &m, QString &w)
{
    const qsizetype body = w.indexOf(u"<BODY"_s);
    if (body >= 0) {
        const qsizetype gt = w.indexOf(u'>', body);
        const qsizetype end = gt < 0 ? w.size() : gt + 1;
        m.PageHeadEnd = w.first(end);
        w = w.sliced(end);
    } else {
        // No BODY start tag: everything before "</BODY>" stays with the head.
        qsizetype end = w.indexOf(Markers::BodyEnd, 0, Qt::CaseInsensitive);
        if (end < 0)
            end = w.size();
        m.PageHeadEnd = w.first(end);
        w = w.sliced(end);
    }

    // A leading comment followed by a paragraph: the text before it is kept, the pair is dropped.
    const qsizetype comment = w.indexOf(u"<!--"_s);
    if (comment < 0)
        return;
    const qsizetype commentEnd = w.indexOf(u"-->"_s, comment + 4);
    if (commentEnd < 0)
        return;
    const qsizetype first = w.indexOf(u'>', commentEnd + 3);
    if (first < 1 || w.at(first - 1) != u'P')
        return;
    const qsizetype second = w.indexOf(u'>', first + 1);
    if (second < 2 || QStringView(w).sliced(second - 2, 3) != u"/P>")
        return;
    m.PageBodyLead = w.first(comment);
    w = w.sliced(second + 1);
}

int styleNumber(const QString &pageText)
{
    // The lowest-numbered marker anywhere in the page wins.
    for (int n = 1; n <= 4; ++n) {
        if (pageText.contains(Markers::StyleInPrefix + QString::number(n) + u"-->"_s))
            return n;
    }
    return 0;
}

void readTable(PageModel &m, QString &note)
{
    const qsizetype start = note.indexOf(u"<TABLE"_s, 0, Qt::CaseInsensitive);
    if (start < 0)
        return;
    const qsizetype startGt = note.indexOf(u'>', start);
    const QString startTag = startGt < 0 ? note.sliced(start) : note.sliced(start, startGt + 1 - start);
    const qsizetype align = startTag.indexOf(u"align"_s);
    if (align >= 0) {
        const qsizetype open = startTag.indexOf(u'"', align);
        const qsizetype close = open < 0 ? -1 : startTag.indexOf(u'"', open + 1);
        m.tableAlign = u"align=\""_s + (close < 0 ? QString() : startTag.sliced(open + 1, close - open - 1)) + u'"';
    }

    const qsizetype end = note.indexOf(u"</TABLE"_s, start, Qt::CaseInsensitive);
    const qsizetype endGt = end < 0 ? -1 : note.indexOf(u'>', end);
    const qsizetype stop = endGt < 0 ? note.size() : endGt + 1;
    const QString before = note.first(start);
    const QString after = note.sliced(stop);
    QString table = note.sliced(start, stop - start);
    table.replace(Markers::LineBreakTag, CrLf);

    qsizetype pos = 0;
    for (int cell = 0; cell < PageModel::CellCount; ++cell) {
        const qsizetype td = table.indexOf(u"<TD"_s, pos, Qt::CaseInsensitive);
        if (td < 0)
            break;
        const qsizetype gt = table.indexOf(u'>', td);
        if (gt < 0)
            break;
        const qsizetype close = table.indexOf(u"</TD"_s, gt + 1, Qt::CaseInsensitive);
        const qsizetype contentEnd = close < 0 ? table.size() : close;
        m.cells[cell] = table.sliced(gt + 1, contentEnd - gt - 1);
        if (cell == 1)
            m.tableHasGrid = true;
        pos = contentEnd;
    }
    note = before + table.sliced(pos) + after;
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

void readLink(PageModel &m)
{
    const QString &linkStart = Markers::LinkStart;
    const qsizetype at = m.pictureTag.indexOf(linkStart, 0, Qt::CaseInsensitive);
    if (at < 0)
        return;
    const QString rest = m.pictureTag.sliced(at + linkStart.size());
    const qsizetype close = rest.indexOf(u"\">"_s);
    if (close < 0) {
        m.linkTarget = rest;
        m.pictureTag.clear();
        return;
    }
    m.linkTarget = rest.first(close);
    const QString inside = rest.sliced(close + 2);
    const qsizetype end = inside.indexOf(Markers::LinkEnd, 0, Qt::CaseInsensitive);
    m.pictureTag = end < 0 ? inside : inside.first(end);
    m.linkText = m.pictureTag;
}
} // namespace

PageModel LoadPageToFields(const QString &pageText, const QString &path)
{
    PageModel m;
    m.path = path;
    QString folderPath = path;
    folderPath.replace(u'\\', u'/');
    const QString folder = path.isEmpty() ? QString() : QFileInfo(folderPath).absolutePath();

    const QuizReading quiz = QuizHtmlToNotation(pageText);
    m.quiz = quiz.quiz;
    m.answer = quiz.answer;
    m.quizPanelRaised = quiz.panelRaised;
    QString w = quiz.text;

    m.PageHeaderBlock = cutBlock(w, Markers::HeddaIn, Markers::HeddaOut);
    m.PageFooterBlock = cutBlock(w, Markers::FooterIn, Markers::FooterOut);

    // Only the first style block goes; the generated one takes its place on saving.
    const qsizetype style = w.indexOf(Markers::StyleInPrefix);
    if (style >= 0) {
        const qsizetype out = w.indexOf(Markers::StyleOut, style);
        if (out >= 0)
            w.remove(style, out + Markers::StyleOut.size() - style);
    }

    QString note;
    const qsizetype noteAt = w.indexOf(u"<!--NOTE_IN"_s);
    if (noteAt >= 0) {
        const qsizetype noteStart = qMin(noteAt + Markers::NoteIn.size(), w.size());
        qsizetype noteEnd = w.indexOf(Markers::NoteOut, noteStart);
        qsizetype cutEnd = noteEnd + Markers::NoteOut.size();
        if (noteEnd < 0) {
            // No end marker: the note runs to "</BODY>" or the end.
            noteEnd = w.indexOf(Markers::BodyEnd, noteStart);
            if (noteEnd < 0)
                noteEnd = w.size();
            cutEnd = noteEnd;
        }
        note = w.sliced(noteStart, noteEnd - noteStart);
        w.remove(noteAt, cutEnd - noteAt);
    }
    const bool noteWasEmpty = note.isEmpty();

    QString head;
    QString title;
    readTitle(m, w, head, title);
    readHeadAndSize(m, head, pageText);
    readBodyStart(m, w);

    const Element h1 = findElement(note, u"<H1"_s, u"</H1"_s);
    if (h1.found) {
        m.headingTag = h1.openTag;
        m.heading = pageTextToField(h1.content);
        note = h1.before + h1.after;
    }
    const Element h2 = findElement(note, u"<H2"_s, u"</H2"_s);
    if (h2.found) {
        // The text before the subheading is written back as it stands; it is not read again.
        m.PageBeforeH2 = h2.before;
        m.subheadingTag = h2.openTag;
        m.subheading = pageTextToField(h2.content);
        note = h2.after;
    }

    m.style = styleNumber(pageText);
    readTable(m, note);

    const Element picture = findElement(note, u"<P"_s, u"</P"_s);
    QString afterParagraphs;
    if (picture.found) {
        const QString content = pageTextToField(picture.content);
        if (content.contains(u"src="_s, Qt::CaseInsensitive) || content.contains(u"href="_s, Qt::CaseInsensitive)) {
            note = picture.before + picture.after;
            afterParagraphs = picture.after;
            m.pictureParagraphTag = picture.openTag;
            readPicture(m, content, folder);
        } else {
            // The empty picture placeholder every saved page carries; a first paragraph
            // with text is no placeholder but the text paragraph, so that its text stays.
            if (content.trimmed().isEmpty()) {
                note = picture.before + picture.after;
                afterParagraphs = picture.after;
            }
            m.pictureParagraphTag = Markers::ParagraphStart;
        }
    } else if (noteWasEmpty) {
        m.pictureParagraphTag = Markers::ParagraphStart;
    }

    const Element paragraph = findElement(note, u"<P"_s, u"</P"_s);
    if (paragraph.found) {
        m.paragraphTag = paragraph.openTag;
        m.text = pageTextToField(paragraph.content);
        afterParagraphs = paragraph.after;
    }
    // Further paragraphs and text after the last one have no field: they are written
    // back after the text paragraph, so that saving never drops them.
    if (!afterParagraphs.trimmed().isEmpty())
        m.PageNoteRest = afterParagraphs;

    // Body text outside the blocks has no field; it is written back after them,
    // so that saving never loses it. Line breaks alone between the blocks go, as
    // the blocks are joined without them.
    qsizetype tail = w.indexOf(Markers::BodyEnd);
    if (tail < 0)
        tail = w.indexOf(Markers::BodyEnd, 0, Qt::CaseInsensitive);
    const bool blankBetween = tail >= 0 && QStringView(w).first(tail).trimmed().isEmpty();
    m.PageTail = blankBetween ? w.sliced(tail) : w;

    const TitleParts parts = splitTitle(title);
    m.TitleIconPrefix = parts.iconPrefix;
    m.title = parts.main;
    m.titleSecondLine = parts.secondLine;
    m.titleHint = parts.hint;

    readLink(m);
    return m;
}
