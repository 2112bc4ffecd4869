#include "core/search/looklinks.h"

#include "core/pages/pagetext.h"
#include "core/search/searchquery.h"
#include "core/search/searchtexts.h"

#include <QList>
#include <QUrl>

#include <algorithm>
#include <utility>

using namespace Qt::StringLiterals;

QStringList lookTitleWords(const QString &title)
{
    const QString t = titleWithoutIconAndHint(title);
    const qsizetype hash = t.indexOf(u'#');
    QStringList words = (hash < 0 ? t : t.left(hash)).split(u'/', Qt::SkipEmptyParts);
    if (hash >= 0)
        words += t.mid(hash + 1).split(u'/', Qt::SkipEmptyParts);
    return words;
}

namespace {

// The length of the character reference ("&name;", "&#38;", "&#x26;", the ";" left
// out as browsers allow) that starts at text[at]; 0 when none starts there.
qsizetype referenceLength(QStringView text, qsizetype at)
{
    if (at >= text.size() || text.at(at) != u'&')
        return 0;
    qsizetype j = at + 1;
    const auto isDigit = [](QChar c) { return c >= u'0' && c <= u'9'; };
    const auto isHexDigit = [&](QChar c) { return isDigit(c) || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F'); };
    const auto isAsciiAlnum = [&](QChar c) { return isDigit(c) || (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); };
    if (j < text.size() && text.at(j) == u'#') {
        ++j;
        const bool hex = j < text.size() && (text.at(j) == u'x' || text.at(j) == u'X');
        if (hex)
            ++j;
        const qsizetype digits = j;
        while (j < text.size() && (hex ? isHexDigit(text.at(j)) : isDigit(text.at(j))))
            ++j;
        if (j == digits)
            return 0;
    } else {
        const qsizetype name = j;
        while (j < text.size() && isAsciiAlnum(text.at(j)))
            ++j;
        if (j == name || isDigit(text.at(name)))
            return 0;
    }
    if (j < text.size() && text.at(j) == u';')
        ++j;
    return j - at;
}

// The text with its character references decoded as a browser decodes an attribute
// value: numbers, and the names that stand for characters a command address heeds.
QString decodeReferences(const QString &text)
{
    static const QList<std::pair<QString, QChar>> names{
        {u"quot"_s, u'"'},   {u"QUOT"_s, u'"'}, {u"comma"_s, u','}, {u"dollar"_s, u'$'},
        {u"percnt"_s, u'%'}, {u"amp"_s, u'&'},  {u"AMP"_s, u'&'},   {u"num"_s, u'#'}};
    QString out;
    qsizetype pos = 0;
    for (qsizetype at = text.indexOf(u'&'); at >= 0; at = text.indexOf(u'&', at + 1)) {
        const qsizetype length = referenceLength(text, at);
        if (length == 0)
            continue;
        QStringView ref = QStringView(text).mid(at + 1, length - 1);
        if (ref.endsWith(u';'))
            ref.chop(1);
        QString decoded;
        if (ref.startsWith(u'#')) {
            const bool hex = ref.size() > 1 && (ref.at(1) == u'x' || ref.at(1) == u'X');
            bool ok = false;
            const char32_t code = ref.mid(hex ? 2 : 1).toUInt(&ok, hex ? 16 : 10);
            decoded = ok && QChar::isPrint(code) ? QString::fromUcs4(&code, 1) : QString(QChar::ReplacementCharacter);
        } else {
            for (const auto &[name, character] : names) {
                if (ref == name)
                    decoded = character;
            }
            if (decoded.isEmpty())
                continue;
        }
        out += QStringView(text).mid(pos, at - pos) + decoded;
        pos = at + length;
        at = pos - 1;
    }
    return pos == 0 ? text : out + QStringView(text).mid(pos);
}

bool holdsCommandCharacter(const QString &text)
{
    return text.contains(u'"') || text.contains(u',') || text.contains(u'$');
}

} // namespace

bool isLinkableWord(const QString &word)
{
    if (word.trimmed().isEmpty())
        return false;
    // As the browser reads the link: references decoded in the attribute, then the
    // address percent-decoded before the command runs.
    const QString inAttribute = decodeReferences(word);
    return !holdsCommandCharacter(word) && !holdsCommandCharacter(inAttribute)
           && !holdsCommandCharacter(QUrl::fromPercentEncoding(inAttribute.toUtf8()))
           && !holdsCommandCharacter(QUrl::fromPercentEncoding(word.toUtf8()));
}

QString lookLink(const QString &word)
{
    return SearchTexts::LookLinkOpen + word + u"\">"_s + word + u"</A>"_s;
}

QString removeLookLinks(const QString &text)
{
    QString out;
    qsizetype pos = 0;
    for (;;) {
        const qsizetype start = text.indexOf(SearchTexts::LookLinkStart, pos, Qt::CaseInsensitive);
        if (start < 0)
            break;
        const qsizetype tagEnd = text.indexOf(u'>', start);
        if (tagEnd < 0)
            break;
        out += QStringView(text).mid(pos, start - pos);
        const qsizetype close = text.indexOf(u"</A>"_s, tagEnd + 1, Qt::CaseInsensitive);
        if (close < 0) {
            // A link that never ends loses its tag only.
            pos = tagEnd + 1;
            continue;
        }
        out += QStringView(text).mid(tagEnd + 1, close - tagEnd - 1);
        pos = close + 4;
    }
    if (pos == 0)
        return text;
    out += QStringView(text).mid(pos);
    return out;
}

qsizetype lookBodyStart(const QString &text)
{
    const qsizetype title = text.indexOf(u"</TITLE>"_s, 0, Qt::CaseInsensitive);
    const qsizetype head = text.indexOf(u"</HEAD>"_s, title < 0 ? 0 : title, Qt::CaseInsensitive);
    if (head >= 0)
        return head;
    return title < 0 ? 0 : title;
}

namespace {

struct Range
{
    qsizetype from;
    qsizetype to;
};

// The elements whose text is never linked: scripts (quiz pages check their
// answers there), styles, text areas and the choice lists of quiz blanks.
QList<Range> untouchableRanges(const QString &body)
{
    QList<Range> ranges;
    for (const QString &name : {u"script"_s, u"style"_s, u"textarea"_s, u"select"_s}) {
        const QString open = u'<' + name;
        const QString close = u"</"_s + name;
        qsizetype at = 0;
        while ((at = body.indexOf(open, at, Qt::CaseInsensitive)) >= 0) {
            const QChar next = at + open.size() < body.size() ? body.at(at + open.size()) : u'>';
            if (!(next.isSpace() || next == u'>' || next == u'/')) {
                at += open.size();
                continue;
            }
            qsizetype end = body.indexOf(close, at, Qt::CaseInsensitive);
            if (end >= 0) {
                const qsizetype gt = body.indexOf(u'>', end);
                end = gt < 0 ? body.size() : gt + 1;
            } else {
                end = body.size();
            }
            ranges.append({at, end});
            at = end;
        }
    }
    return ranges;
}

// The character references of the body ("&amp;", "&#38;"), in order.
QList<Range> referenceRanges(const QString &body)
{
    QList<Range> ranges;
    for (qsizetype at = body.indexOf(u'&'); at >= 0; at = body.indexOf(u'&', at + 1)) {
        if (const qsizetype length = referenceLength(body, at))
            ranges.append({at, at + length});
    }
    return ranges;
}

// True when the text from..to cuts into a character reference: linking there would
// break it up ("amp" in "&amp;"), so that the page shows its letters.
bool cutsReference(const QList<Range> &references, qsizetype from, qsizetype to)
{
    for (auto ref = std::upper_bound(references.cbegin(), references.cend(), from,
                                     [](qsizetype at, const Range &r) { return at < r.to; });
         ref != references.cend() && ref->from < to; ++ref) {
        if (ref->from < from || ref->to > to)
            return true;
    }
    return false;
}

// The end of the untouchable range holding pos, or -1.
qsizetype untouchableEnd(const QList<Range> &ranges, qsizetype pos)
{
    for (const Range &r : ranges) {
        if (pos >= r.from && pos < r.to)
            return r.to;
    }
    return -1;
}

} // namespace

QString linkWordInBody(const QString &body, const QString &word)
{
    if (word.isEmpty() || !body.contains(word, Qt::CaseInsensitive))
        return body;
    const QList<Range> ranges = untouchableRanges(body);
    const QList<Range> references = referenceRanges(body);
    const QString link = lookLink(word);
    QString out;
    out.reserve(body.size() + link.size());
    qsizetype pos = 0; // the unprocessed text begins here
    qsizetype hit;
    while ((hit = body.indexOf(word, pos, Qt::CaseInsensitive)) >= 0) {
        const qsizetype afterHit = hit + word.size();
        qsizetype moveTo = -1;
        bool makeLink = false;
        const qsizetype skipEnd = untouchableEnd(ranges, hit);
        if (skipEnd >= 0) {
            moveTo = skipEnd;
        } else if (cutsReference(references, hit, afterHit)) {
            moveTo = afterHit;
        } else {
            const qsizetype anchor = body.indexOf(u"<A HREF="_s, pos, Qt::CaseInsensitive);
            const qsizetype anchorEnd = anchor >= 0 && anchor < hit ? body.indexOf(u"</A"_s, hit, Qt::CaseInsensitive)
                                                                    : -1;
            if (anchorEnd >= 0
                && QStringView(body).mid(hit, anchorEnd - hit).indexOf(u"<A"_s, 0, Qt::CaseInsensitive) < 0) {
                // Inside an existing link: on through its end tag.
                const qsizetype gt = body.indexOf(u'>', anchorEnd);
                moveTo = gt < 0 ? body.size() : gt + 1;
            } else {
                const qsizetype quote = body.indexOf(u'"', afterHit);
                const qsizetype lt = body.indexOf(u'<', afterHit);
                const qsizetype gt = body.indexOf(u'>', afterHit);
                if (quote >= 0 && lt >= 0 && lt >= quote)
                    moveTo = afterHit; // inside an attribute value
                else if (gt < 0 || (lt >= 0 && lt < gt))
                    makeLink = true; // running text
                else
                    moveTo = afterHit; // inside a tag
            }
        }
        if (makeLink) {
            out += QStringView(body).mid(pos, hit - pos);
            out += link;
            pos = afterHit;
        } else {
            out += QStringView(body).mid(pos, moveTo - pos);
            pos = moveTo;
        }
    }
    out += QStringView(body).mid(pos);
    return out;
}

QString addLookLinks(const QString &text, const SearchListing &index, const QString &selfPath)
{
    const QString plain = removeLookLinks(text);
    const qsizetype bodyStart = lookBodyStart(plain);
    QString body = plain.mid(bodyStart);
    QString self = selfPath;
    self.replace(u'\\', u'/');
    self = self.toUpper();
    for (qsizetype i = index.size() - 1; i >= 0; --i) {
        QString path = index.at(i).path;
        path.replace(u'\\', u'/');
        if (path.toUpper() == self)
            continue;
        for (const QString &word : lookTitleWords(index.at(i).title)) {
            if (isLinkableWord(word))
                body = linkWordInBody(body, EscapeAngles(word));
        }
    }
    return plain.left(bodyStart) + body;
}
