#include "core/pages/quiz.h"

#include "core/pages/markers.h"
#include "core/pages/quiztexts.h"

#include <QStringList>

using namespace Qt::StringLiterals;

namespace {
bool isAsciiLetter(QChar c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}
} // namespace

// Only "<" + an ASCII letter, "/" or "!" opens a tag, and a tag name ends at a blank,
// "/" or ">": "x<y)" and "A<Bのとき" are text, so the blanks after them stay blanks.
bool startsTag(const QString &s, qsizetype i)
{
    if (i + 1 >= s.size())
        return false;
    const QChar next = s.at(i + 1);
    if (next == u'/' || next == u'!')
        return true;
    if (!isAsciiLetter(next))
        return false;
    qsizetype k = i + 2;
    while (k < s.size() && (isAsciiLetter(s.at(k)) || (s.at(k) >= u'0' && s.at(k) <= u'9')))
        ++k;
    return k < s.size() && (s.at(k).isSpace() || s.at(k) == u'>' || s.at(k) == u'/');
}

// The position just after the tag that starts at i: comments end at "-->", other
// tags at the first ">" outside a quoted attribute value; -1 when a tag never ends
// (its "<" is then text).
qsizetype tagEnd(const QString &s, qsizetype i)
{
    if (QStringView(s).sliced(i).startsWith(u"<!--")) {
        const qsizetype end = s.indexOf(u"-->"_s, i + 4);
        return end < 0 ? s.size() : end + 3;
    }
    QChar previous;
    for (qsizetype k = i + 1; k < s.size(); ++k) {
        const QChar c = s.at(k);
        if ((c == u'"' || c == u'\'') && previous == u'=') {
            const qsizetype close = s.indexOf(c, k + 1);
            if (close < 0)
                return -1;
            k = close;
            previous = c;
            continue;
        }
        if (c == u'>')
            return k + 1;
        if (!c.isSpace())
            previous = c;
    }
    return -1;
}

namespace {
QString textField(const QString &answer)
{
    return u"<input type=\"text\" name=\""_s + answer + u"\" size=\""_s + QString::number(answer.size() + 3) + u"\">"_s;
}

QString selectField(const QString &content)
{
    const qsizetype bar = content.indexOf(Markers::QuizAnswerMark);
    QString field = u"<SELECT name=\""_s + content.first(bar) + u"\"><OPTION value=\"?\">?</OPTION>"_s;
    const QStringList choices = content.sliced(bar + 1).split(Markers::QuizChoiceMark);
    for (const QString &choice : choices)
        field += u"<OPTION value=\""_s + choice + u"\">"_s + choice + u"</OPTION>"_s;
    return field + u"</SELECT>"_s;
}

// Turns the blanks of body text into fields; count receives the number of fields.
QString makeBlanks(const QString &body, int &count)
{
    QString out;
    out.reserve(body.size() + body.size() / 4);
    const qsizetype n = body.size();
    qsizetype i = 0;
    while (i < n) {
        const QChar c = body.at(i);
        const qsizetype end = c == u'<' && startsTag(body, i) ? tagEnd(body, i) : -1;
        if (end > i) {
            out += QStringView(body).sliced(i, end - i);
            i = end;
            continue;
        }
        if (c != Markers::QuizOpenMark) {
            out += c;
            ++i;
            continue;
        }
        const qsizetype close = body.indexOf(Markers::QuizCloseMark, i + 1);
        if (close < 0) {
            // A mark never closed: an unnamed field, the mark gone.
            ++count;
            out += textField(QString());
            ++i;
            continue;
        }
        const QString content = body.sliced(i + 1, close - i - 1);
        // A post's mark stays text, so that a post on a quiz page adds no blank.
        if (QStringView(body).sliced(i).startsWith(Markers::PostMark)) {
            out += Markers::PostMark;
            i += Markers::PostMark.size();
            continue;
        }
        if (content.contains(u'"') || content.contains(u'<') || content.contains(u'>')) {
            // Not a blank. Its content is scanned again, so that a tag in it stays a tag.
            out += c;
            ++i;
            continue;
        }
        if (!content.contains(Markers::QuizAnswerMark)) {
            ++count;
            out += textField(content);
        } else if (content.contains(Markers::QuizChoiceMark)) {
            ++count;
            out += selectField(content);
        } else {
            out += Markers::QuizOpenMark + content + Markers::QuizCloseMark;
        }
        i = close + 1;
    }
    return out;
}

// The value of name="..." in a tag, when the value is quoted.
bool quotedName(const QString &tag, QString &name)
{
    const qsizetype at = tag.indexOf(u"NAME="_s, 0, Qt::CaseInsensitive);
    if (at < 0 || at + 5 >= tag.size() || tag.at(at + 5) != u'"')
        return false;
    const qsizetype close = tag.indexOf(u'"', at + 6);
    if (close < 0)
        return false;
    name = tag.sliced(at + 6, close - at - 6);
    return true;
}

// Position just after the "-->" that ends the marker starting at at.
qsizetype markerEnd(const QString &text, qsizetype at)
{
    const qsizetype end = text.indexOf(u"-->"_s, at);
    return end < 0 ? text.size() : end + 3;
}

} // namespace

void removeQuizBlocks(QString &w)
{
    qsizetype begin;
    while ((begin = w.indexOf(Markers::KavunoBeginRun)) >= 0) {
        const qsizetype end = w.indexOf(Markers::KavunoEndRun, begin);
        if (end < 0) {
            // A block never closed: drop its marker only, keeping the text.
            w.remove(begin, markerEnd(w, begin) - begin);
            continue;
        }
        const qsizetype gt = w.indexOf(u'>', end);
        w.remove(begin, (gt < 0 ? w.size() : gt + 1) - begin);
    }
}

namespace {
// Calls convert on every tag opened by open (found without regard to case). convert
// gives the replacement of the text from the tag to end (the tag's end unless it
// moves it), or false to leave the tag as it is.
template<typename Convert>
void convertTags(QString &w, const QString &open, Convert convert)
{
    qsizetype from = 0;
    for (;;) {
        const qsizetype at = w.indexOf(open, from, Qt::CaseInsensitive);
        if (at < 0)
            return;
        const qsizetype gt = w.indexOf(u'>', at);
        if (gt < 0)
            return;
        qsizetype end = gt + 1;
        QString replacement;
        if (!convert(at, gt, end, replacement)) {
            from = gt + 1;
            continue;
        }
        w.replace(at, end - at, replacement);
        from = at + replacement.size();
    }
}

void inputsToNotation(QString &w)
{
    convertTags(w, u"<INPUT"_s, [&w](qsizetype at, qsizetype gt, qsizetype &, QString &blank) {
        QString name;
        if (!quotedName(w.sliced(at, gt + 1 - at), name))
            return false;
        blank = Markers::QuizOpenMark + name + Markers::QuizCloseMark;
        return true;
    });
}

QStringList optionTexts(const QString &inner)
{
    QStringList options;
    qsizetype o = 0;
    for (;;) {
        const qsizetype op = inner.indexOf(u"<OPTION"_s, o, Qt::CaseInsensitive);
        if (op < 0)
            break;
        const qsizetype og = inner.indexOf(u'>', op);
        if (og < 0)
            break;
        const qsizetype oc = inner.indexOf(u"</OPTION"_s, og, Qt::CaseInsensitive);
        options << (oc < 0 ? inner.sliced(og + 1) : inner.sliced(og + 1, oc - og - 1));
        if (oc < 0)
            break;
        o = oc;
    }
    return options;
}

void selectsToNotation(QString &w)
{
    static const QString selectEnd = u"</SELECT>"_s;
    convertTags(w, u"<SELECT"_s, [&w](qsizetype at, qsizetype gt, qsizetype &end, QString &blank) {
        const qsizetype close = w.indexOf(selectEnd, gt, Qt::CaseInsensitive);
        if (close < 0)
            return false;
        QString name;
        quotedName(w.sliced(at, gt + 1 - at), name);
        const QStringList options = optionTexts(w.sliced(gt + 1, close - gt - 1));
        // The first option is the unanswered "?".
        blank = Markers::QuizOpenMark + name + Markers::QuizAnswerMark;
        for (qsizetype k = 1; k < options.size(); ++k)
            blank += (k > 1 ? QString(Markers::QuizChoiceMark) : QString()) + options.at(k);
        blank += Markers::QuizCloseMark;
        end = close + selectEnd.size();
        return true;
    });
}
} // namespace

QString RepeatStr(const QString &text, int count)
{
    return count > 0 ? text.repeated(count) : QString();
}

QString BuildQuizHtml(const QString &page)
{
    const qsizetype body = page.indexOf(u"<BODY"_s, 0, Qt::CaseInsensitive);
    if (body < 0)
        return page;
    const qsizetype gt = page.indexOf(u'>', body);
    if (gt < 0)
        return page;
    const QString head = page.first(gt + 1);
    const QString rest = page.sliced(gt + 1);
    const qsizetype bodyEnd = rest.indexOf(Markers::BodyEnd, 0, Qt::CaseInsensitive);
    const QString tail = bodyEnd < 0 ? QString() : rest.sliced(bodyEnd);

    int count = 0;
    const QString fields = makeBlanks(bodyEnd < 0 ? rest : rest.first(bodyEnd), count);

    const QString blockStart = Markers::QuizBegin + u"\r<FORM name=\"myForm\">\r"_s;
    const QString secondStart = Markers::QuizBegin + u"\r<BR>\r"_s;
    if (count == 0) {
        return head + blockStart + QuizTexts::jumpFunction() + u'\r' + Markers::QuizEnd + fields + secondStart
            + QuizTexts::nextButton() + u"\r</FORM>\r"_s + Markers::QuizEnd + tail;
    }
    const QString &br = Markers::LineBreakTag;
    return head + blockStart + QuizTexts::scriptStart() + u"var kazu="_s + QString::number(count) + u";//問題数\r"_s
        + QuizTexts::checkFunctions() + u'\r' + Markers::QuizEnd + fields + secondStart + QuizTexts::buttons()
        + u"\r\n"_s + RepeatStr(br, 50) + QuizTexts::rightSection() + RepeatStr(br, 10) + QuizTexts::tryAgainSection()
        + RepeatStr(br, 10) + QuizTexts::wrongSection() + RepeatStr(br, 10) + u"\r</FORM>\r"_s + Markers::QuizEnd
        + tail;
}

QString InsertAnswerButton(const QString &page)
{
    const qsizetype note = page.indexOf(Markers::NoteOut);
    if (note < 0)
        return page;
    qsizetype at = page.indexOf(u'<', note + Markers::NoteOut.size());
    if (at < 0)
        at = page.size();
    return page.first(at) + QuizTexts::answerBlock() + page.sliced(at);
}

QuizReading QuizHtmlToNotation(const QString &text)
{
    QuizReading reading;
    reading.text = text;
    if (!text.contains(Markers::KavunoBeginRun))
        return reading;

    if (text.contains(Markers::KavunoAnswerRun)) {
        reading.answer = true;
        const qsizetype begin = text.indexOf(Markers::KavunoAnswerRun);
        const qsizetype end = text.indexOf(Markers::KavunoEndRun, begin);
        if (end < 0) {
            reading.text = text.first(begin) + text.sliced(markerEnd(text, begin));
        } else {
            qsizetype next = text.indexOf(u'<', end + 1);
            if (next < 0) {
                // Nothing follows the block: drop its own line break with it.
                next = markerEnd(text, end);
                if (QStringView(text).sliced(next).startsWith(u"\r\n"))
                    next += 2;
            }
            reading.text = text.first(begin) + text.sliced(next);
        }
        return reading;
    }

    reading.quiz = true;
    reading.panelRaised = true;
    QString w = text;
    removeQuizBlocks(w);
    inputsToNotation(w);
    selectsToNotation(w);
    reading.text = w;
    return reading;
}
