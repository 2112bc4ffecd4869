#include "core/editor/pagereader.h"

#include "core/editor/notereader.h"
#include "core/pages/markers.h"
#include "core/pages/markupscan.h"
#include "core/pages/quiz.h"
#include "core/pages/titlesyntax.h"

#include <QFileInfo>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {
// Where the blocks of the body stood in the working text, kept as parts are cut from it.
struct BlockPlaces
{
    qsizetype header = -1;
    qsizetype note = -1;
    qsizetype footer = -1;

    // length characters at at were removed.
    void cut(qsizetype at, qsizetype length)
    {
        for (qsizetype *place : {&header, &note, &footer}) {
            if (*place > at)
                *place = std::max(at, *place - length);
        }
    }
    // The first count characters went elsewhere: a block there stands at the start.
    void dropFront(qsizetype count)
    {
        for (qsizetype *place : {&header, &note, &footer}) {
            if (*place >= 0)
                *place = std::max<qsizetype>(0, *place - count);
        }
    }
};

// Cuts start marker .. end marker out of w and returns it; "" when either is missing.
QString cutBlock(QString &w, const QString &start, const QString &end, BlockPlaces &places, qsizetype *place)
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
    places.cut(at, stop - at);
    *place = at;
    return block;
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

// Where the BODY start tag ends, in any case: as the browser reads the tags, or
// where they cannot be read (a second BODY the browser merges into the first),
// the first "<BODY" that a name end follows; -1 without one.
qsizetype bodyStartTagEnd(const QString &w)
{
    for (const MarkupTag &tag : markupTags(w)) {
        if (!tag.closing && tag.name.compare(u"BODY"_s, Qt::CaseInsensitive) == 0)
            return tag.end;
    }
    for (qsizetype at = w.indexOf(u"<BODY"_s, 0, Qt::CaseInsensitive); at >= 0;
         at = w.indexOf(u"<BODY"_s, at + 5, Qt::CaseInsensitive)) {
        const QChar next = at + 5 < w.size() ? w.at(at + 5) : u'>';
        if (next == u'>' || next == u'/' || next.isSpace()) {
            const qsizetype gt = w.indexOf(u'>', at);
            return gt < 0 ? w.size() : gt + 1;
        }
    }
    return -1;
}

void readBodyStart(PageModel &m, QString &w)
{
    const qsizetype end = bodyStartTagEnd(w);
    if (end >= 0) {
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
}

// A body without blocks: a leading comment followed by a paragraph stays before
// the blocks the builder writes, with the text before it.
void readLeadingPair(PageModel &m, QString &w)
{
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
    m.PageBodyLead = w.first(second + 1);
    w = w.sliced(second + 1);
}

// Body text outside the blocks has no field: each piece is written back where it
// stood among the blocks, in the builder's order of header, note and footer (a
// block out of that order takes the text between along). A missing note is
// written where the header block ends. Line breaks alone between the blocks go,
// as the builder joins the blocks without them.
void readBodyAround(PageModel &m, const QString &w, const BlockPlaces &places)
{
    const qsizetype note = places.note >= 0 ? places.note : std::max<qsizetype>(places.header, 0);
    const qsizetype header = places.header >= 0 ? std::min(places.header, note) : note;
    const qsizetype footer = places.footer >= 0 ? std::max(places.footer, note) : note;
    const auto piece = [&w](qsizetype from, qsizetype to) {
        const QStringView text = QStringView(w).sliced(from, to - from);
        return text.trimmed().isEmpty() ? QString() : text.toString();
    };
    m.PageBodyLead += piece(0, header);
    m.PageAfterHeader = piece(header, note);
    m.PageAfterNote = piece(note, footer);
    qsizetype tail = w.indexOf(Markers::BodyEnd, footer);
    if (tail < 0)
        tail = w.indexOf(Markers::BodyEnd, footer, Qt::CaseInsensitive);
    const bool blankBefore = tail >= 0 && QStringView(w).sliced(footer, tail - footer).trimmed().isEmpty();
    m.PageTail = w.sliced(blankBefore ? tail : footer);
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

    BlockPlaces places;
    m.PageHeaderBlock = cutBlock(w, Markers::HeddaIn, Markers::HeddaOut, places, &places.header);
    m.PageFooterBlock = cutBlock(w, Markers::FooterIn, Markers::FooterOut, places, &places.footer);

    // Only the first style block goes; the generated one takes its place on saving.
    const qsizetype style = w.indexOf(Markers::StyleInPrefix);
    if (style >= 0) {
        const qsizetype out = w.indexOf(Markers::StyleOut, style);
        if (out >= 0) {
            w.remove(style, out + Markers::StyleOut.size() - style);
            places.cut(style, out + Markers::StyleOut.size() - style);
        }
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
        places.cut(noteAt, cutEnd - noteAt);
        places.note = noteAt;
    }

    QString head;
    QString title;
    const qsizetype pageSize = w.size();
    readTitle(m, w, head, title);
    readHeadAndSize(m, head, pageText);
    readBodyStart(m, w);
    places.dropFront(pageSize - w.size());
    if (places.header < 0 && places.note < 0 && places.footer < 0)
        readLeadingPair(m, w);

    m.style = styleNumber(pageText);
    readNote(m, note, folder);
    readBodyAround(m, w, places);

    const TitleParts parts = splitTitle(title);
    m.TitleIconPrefix = parts.iconPrefix;
    m.title = parts.main;
    m.titleSecondLine = parts.secondLine;
    m.titleHint = parts.hint;

    return m;
}
