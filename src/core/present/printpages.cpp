#include "core/present/printpages.h"

#include "core/navigation/pathtext.h"
#include "core/pages/markers.h"
#include "core/pages/pagetext.h"
#include "core/pages/quiz.h"
#include "core/present/printtexts.h"

#include <QHash>
#include <QSet>

using namespace Qt::StringLiterals;

namespace {
QString blank(qsizetype letters)
{
    return Markers::QuizOpenMark + QString(letters + 2, PrintText::BlankSpace) + Markers::QuizCloseMark;
}

// The answer of a blank's content: up to its first choice or answer mark.
qsizetype answerLength(const QString &content)
{
    for (qsizetype i = 0; i < content.size(); ++i)
        if (content.at(i) == Markers::QuizAnswerMark || content.at(i) == Markers::QuizChoiceMark)
            return i;
    return content.size();
}

QString printedField(const QString &name, int mode, qsizetype letters)
{
    return mode == BlankAnswers ? blank(letters) : PrintText::RedAnswerStart + name + PrintText::RedAnswerEnd;
}

// The text between the first pair of double quotes after NAME= (any case) in a
// tag; false when the tag has no NAME=.
bool fieldName(const QString &tag, QString &name)
{
    const qsizetype at = tag.indexOf(u"NAME="_s, 0, Qt::CaseInsensitive);
    if (at < 0)
        return false;
    const qsizetype open = tag.indexOf(u'"', at);
    const qsizetype close = open < 0 ? -1 : tag.indexOf(u'"', open + 1);
    name = close < 0 ? QString() : tag.sliced(open + 1, close - open - 1);
    return true;
}

void inputsToPrint(QString &w, int mode)
{
    qsizetype from = 0;
    for (;;) {
        const qsizetype at = w.indexOf(u"<INPUT"_s, from, Qt::CaseInsensitive);
        const qsizetype gt = at < 0 ? -1 : w.indexOf(u'>', at);
        // An element never closed ends the conversion.
        if (gt < 0)
            return;
        QString name;
        if (!fieldName(w.sliced(at, gt + 1 - at), name)) {
            from = gt + 1;
            continue;
        }
        const QString field = printedField(name, mode, answerLength(name));
        w.replace(at, gt + 1 - at, field);
        from = at + field.size();
    }
}

void selectsToPrint(QString &w, int mode)
{
    static const QString selectEnd = u"</SELECT>"_s;
    qsizetype from = 0;
    for (;;) {
        const qsizetype at = w.indexOf(u"<SELECT"_s, from);
        const qsizetype close = at < 0 ? -1 : w.indexOf(selectEnd, at);
        if (close < 0)
            return;
        const qsizetype gt = w.indexOf(u'>', at);
        QString name;
        fieldName(w.sliced(at, (gt < 0 || gt > close ? close : gt + 1) - at), name);
        const QString field = printedField(name, mode, name.size());
        w.replace(at, close + selectEnd.size() - at, field);
        from = at + field.size();
    }
}

// The blanks of one run of text: from each opening mark to the next closing one.
QString blanksInText(QStringView text)
{
    QString out;
    qsizetype i = 0;
    for (;;) {
        const qsizetype open = text.indexOf(Markers::QuizOpenMark, i);
        const qsizetype close = open < 0 ? -1 : text.indexOf(Markers::QuizCloseMark, open + 1);
        if (close < 0)
            return out + text.sliced(i);
        out += text.sliced(i, open - i);
        out += blank(answerLength(text.sliced(open + 1, close - open - 1).toString()));
        i = close + 1;
    }
}

// A SCRIPT or STYLE start tag at i: its content is no text.
bool startsRawTextElement(const QString &s, qsizetype i, QString &name)
{
    for (const QString &element : {u"script"_s, u"style"_s}) {
        const QStringView rest = QStringView(s).sliced(i + 1);
        if (rest.startsWith(element, Qt::CaseInsensitive)
            && (rest.size() == element.size() || !rest.at(element.size()).isLetterOrNumber())) {
            name = element;
            return true;
        }
    }
    return false;
}

// Blanks in the text of markup: tags, comments, scripts and styles stay as they are.
QString blanksInMarkup(const QString &s)
{
    QString out;
    qsizetype textStart = 0;
    qsizetype i = 0;
    while (i < s.size()) {
        qsizetype end = s.at(i) == u'<' && startsTag(s, i) ? tagEnd(s, i) : -1;
        if (end < 0) {
            ++i;
            continue;
        }
        out += blanksInText(QStringView(s).sliced(textStart, i - textStart));
        QString element;
        if (startsRawTextElement(s, i, element)) {
            const qsizetype closing = s.indexOf(u"</"_s + element, end, Qt::CaseInsensitive);
            const qsizetype closingEnd = closing < 0 ? -1 : tagEnd(s, closing);
            end = closingEnd < 0 ? s.size() : closingEnd;
        }
        out += QStringView(s).sliced(i, end - i);
        i = textStart = end;
    }
    return out + blanksInText(QStringView(s).sliced(textStart));
}

QString attributeText(const QString &value)
{
    QString out = value;
    out.replace(u'&', u"&amp;"_s).replace(u'"', u"&quot;"_s);
    return EscapeAngles(out);
}

// A file name as an address relative to the page: "%", "#" and "?" would
// start an escape, a fragment or a query.
QString nameAddress(const QString &name)
{
    QString out = name;
    return out.replace(u'%', u"%25"_s).replace(u'#', u"%23"_s).replace(u'?', u"%3F"_s);
}

QStringList tableStart(int width)
{
    return {u"<TABLE border=\"1\" width=\""_s + QString::number(width) + u"\">"_s, u"<TBODY>"_s};
}
} // namespace

QString QuizToPrintText(const QString &text, int mode)
{
    if (text.contains(Markers::KavunoBeginRun)) {
        QString w = text;
        removeQuizBlocks(w);
        inputsToPrint(w, mode);
        selectsToPrint(w, mode);
        return w;
    }
    if (mode != BlankAnswers)
        return text;
    const qsizetype body = text.indexOf(u"<BODY"_s, 0, Qt::CaseInsensitive);
    if (body < 0)
        return blanksInMarkup(text);
    const qsizetype bodyTagEnd = tagEnd(text, body);
    const qsizetype bodyStart = bodyTagEnd < 0 ? text.size() : bodyTagEnd;
    qsizetype bodyEnd = text.indexOf(u"</BODY"_s, bodyStart, Qt::CaseInsensitive);
    if (bodyEnd < 0)
        bodyEnd = text.size();
    return text.first(bodyStart) + blanksInMarkup(text.sliced(bodyStart, bodyEnd - bodyStart)) + text.sliced(bodyEnd);
}

QString testSheetTitle(const QString &title)
{
    QString out = title;
    const qsizetype hint = out.indexOf(Markers::TitleHintMark);
    if (hint >= 0)
        out.truncate(hint);
    return out.replace(Markers::TitleSecondLineMark, Markers::LineBreakTag);
}

QString testPageText(const QString &pageText, int mode)
{
    const QString text = QuizToPrintText(pageText, mode);
    QString head;
    QString body;
    QString tail;
    const qsizetype bodyTag = text.indexOf(u"<BODY"_s, 0, Qt::CaseInsensitive);
    const qsizetype gt = bodyTag < 0 ? -1 : text.indexOf(u'>', bodyTag);
    if (gt >= 0) {
        head = text.first(gt + 1);
        const qsizetype end = text.indexOf(u"</BODY"_s, gt + 1, Qt::CaseInsensitive);
        body = text.sliced(gt + 1, (end < 0 ? text.size() : end) - gt - 1);
        tail = end < 0 ? QString() : text.sliced(end);
    }
    if (body.contains(PrintText::EmptyNumberMark))
        body.replace(PrintText::EmptyNumberMark, PrintText::FirstNumberMark);

    QString title;
    const qsizetype titleTag = head.indexOf(u"<TITLE"_s, 0, Qt::CaseInsensitive);
    const qsizetype titleStart = titleTag < 0 ? -1 : head.indexOf(u'>', titleTag) + 1;
    const qsizetype titleEnd = titleStart <= 0 ? -1 : head.indexOf(u"</TITLE"_s, titleStart, Qt::CaseInsensitive);
    if (titleEnd >= 0) {
        title = head.sliced(titleStart, titleEnd - titleStart);
        head.remove(titleStart, titleEnd - titleStart);
    }
    const QString header = PrintText::HeaderStart + testSheetTitle(title) + PrintText::HeaderTitleEnd
        + PrintText::HeaderClass + PrintText::HeaderName + PrintText::HeaderEnd;
    return head + header + body + tail;
}

QStringList sourceNames(const QString &text)
{
    static const QString src = u"SRC=\""_s;
    QStringList names;
    qsizetype from = 0;
    for (;;) {
        const qsizetype at = text.indexOf(src, from, Qt::CaseInsensitive);
        const qsizetype close = at < 0 ? -1 : text.indexOf(u'"', at + src.size());
        if (close < 0)
            return names;
        names << text.sliced(at + src.size(), close - at - src.size());
        from = close + 1;
    }
}

bool isPlainRelativeName(const QString &name)
{
    if (name.isEmpty() || name.contains(u':') || name.startsWith(u'/') || name.startsWith(u'\\'))
        return false;
    QString path = name;
    path.replace(u'\\', u'/');
    return !path.split(u'/').contains(u".."_s);
}

QString thumbnailName(const QString &entry)
{
    return PrintText::ThumbnailPrefix + pathWithoutExtension(fileNameOf(entry)) + PrintText::ThumbnailExtension;
}

QStringList thumbnailNames(const QStringList &entries)
{
    QHash<QString, int> uses;
    for (const QString &entry : entries)
        ++uses[thumbnailName(entry).toCaseFolded()];
    QSet<QString> taken;
    for (auto it = uses.cbegin(); it != uses.cend(); ++it) {
        if (it.value() == 1)
            taken.insert(it.key());
    }
    QStringList names;
    names.reserve(entries.size());
    for (const QString &entry : entries) {
        const QString plain = thumbnailName(entry);
        if (uses.value(plain.toCaseFolded()) == 1) {
            names << plain;
            continue;
        }
        const QString stem = PrintText::ThumbnailPrefix + fileNameOf(entry);
        QString name = stem + PrintText::ThumbnailExtension;
        for (int n = 2; taken.contains(name.toCaseFolded()); ++n)
            name = stem + u'-' + QString::number(n) + PrintText::ThumbnailExtension;
        taken.insert(name.toCaseFolded());
        names << name;
    }
    return names;
}

QString resumeTitle(const QString &pageText, const QString &entry)
{
    QString title;
    const qsizetype at = pageText.indexOf(Markers::TitleStart, 0, Qt::CaseInsensitive);
    if (at >= 1 && pageText.contains(Markers::OwnPageMark)) {
        const qsizetype from = at + Markers::TitleStart.size();
        const qsizetype end = pageText.indexOf(u"</"_s, from);
        if (end >= 0)
            title = pageText.sliced(from, end - from);
    }
    if (title.isEmpty())
        title = EscapeAngles(pathWithoutExtension(fileNameOf(entry)));
    // The order number.
    return title.sliced(title.indexOf(u'_') + 1);
}

QString resumeNote(const QString &noteText)
{
    QString note = EscapeAngles(noteText);
    note.replace(u"\r\n"_s, Markers::LineBreakTag);
    note.replace(u'\r', Markers::LineBreakTag);
    note.replace(u'\n', Markers::LineBreakTag);
    return note;
}

QString resumePageText(const QList<ResumeRow> &rows, int width)
{
    QStringList lines{Markers::DocType + u' ',
                      Markers::HtmlStart,
                      Markers::HeadStart,
                      Markers::AuthorMetaStart + u"CONTENT=\""_s + Markers::PrintAuthorValue + u"\">"_s,
                      Markers::ContentTypeMeta,
                      Markers::StyleTypeMeta,
                      Markers::TitleStart + PrintText::ResumeTitle + Markers::TitleEnd,
                      Markers::HeadEnd,
                      Markers::BodyStart};
    lines << tableStart(width) << Markers::LineBreakTag;
    const QString textWidth = QString::number(width - 310);
    for (qsizetype i = 0; i < rows.size(); ++i) {
        const ResumeRow &row = rows.at(i);
        lines << u"<TR>"_s << u"<TD valign=\"top\"> "_s
              << u"<P><IMG src=\""_s + attributeText(nameAddress(row.thumbnail))
                     + u"\" width=\"304\" height=\"185\" border=\"0\"></P> "_s
              << u"</TD>"_s
              << u"<TD valign=\"top\" width=\""_s + textWidth + u"\">["_s + row.title + u"]"_s
                     + Markers::LineBreakTag + row.note + u" </TD>"_s
              << u"</TR>"_s;
        const bool last = i == rows.size() - 1;
        if (last || (i + 1) % 5 == 0)
            lines << u"</TBODY> "_s << u"</TABLE>"_s;
        if (!last && (i + 1) % 5 == 0)
            lines << Markers::LineBreakTag << tableStart(width);
    }
    lines << Markers::BodyEnd << Markers::HtmlEnd;
    return lines.join(u"\r\n"_s) + u"\r\n"_s;
}
