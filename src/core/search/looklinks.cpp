#include "core/search/looklinks.h"

#include "core/app/smallfile.h"
#include "core/pages/markupscan.h"
#include "core/pages/pagefile.h"
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

namespace {

void setEnd(LookLinksEnd *end, LookLinksEnd value)
{
    if (end)
        *end = value;
}

// The links of text in the very form lookLink() writes, taken out by that form:
// for a page that is not read as a browser does.
QString removeWrittenLookLinks(const QString &text)
{
    const QString &open = SearchTexts::LookLinkOpen;
    const QString close = u"</A>"_s;
    QString out;
    qsizetype pos = 0;
    for (qsizetype at = text.indexOf(open, 0, Qt::CaseInsensitive); at >= 0;
         at = text.indexOf(open, at + 1, Qt::CaseInsensitive)) {
        const qsizetype wordBegin = at + open.size();
        qsizetype wordEnd = wordBegin;
        while (wordEnd < text.size() && text.at(wordEnd) != u'"' && text.at(wordEnd) != u'<' && text.at(wordEnd) != u'>')
            ++wordEnd;
        const QStringView word = QStringView(text).sliced(wordBegin, wordEnd - wordBegin);
        const QStringView rest = QStringView(text).sliced(wordEnd);
        if (word.isEmpty() || !rest.startsWith(u"\">"_s) || !rest.sliced(2).startsWith(word)
            || !rest.sliced(2 + word.size()).startsWith(close, Qt::CaseInsensitive))
            continue;
        out += QStringView(text).sliced(pos, at - pos);
        out += word;
        pos = wordEnd + 2 + word.size() + close.size();
        at = pos - 1;
    }
    if (pos == 0)
        return text;
    return out + QStringView(text).sliced(pos);
}

using Span = std::pair<qsizetype, qsizetype>;

// What removeReadLinks() took out: each tag, and what each link held (its end
// tag missing: {-1, -1}).
struct LinkCuts
{
    QList<Span> tags;
    QList<Span> contents;
};

QString removeReadLinks(const QString &text, const Markup &markup, LookLinksEnd *end, LinkCuts *cuts = nullptr)
{
    if (markup.overBudget) {
        const QString out = removeWrittenLookLinks(text);
        setEnd(end, out.contains(SearchTexts::LookLinkStart, Qt::CaseInsensitive) ? LookLinksEnd::Unread : LookLinksEnd::Done);
        return out;
    }
    setEnd(end, LookLinksEnd::Done);
    // Only real tags: a script or a comment holding such text keeps it.
    const QList<MarkupTag> &tags = markup.tags;
    QString out;
    qsizetype pos = 0;
    for (qsizetype i = 0; i < tags.size(); ++i) {
        const MarkupTag &tag = tags.at(i);
        if (tag.closing || tag.begin < pos
            || !QStringView(text).mid(tag.begin, tag.end - tag.begin).startsWith(SearchTexts::LookLinkStart, Qt::CaseInsensitive))
            continue;
        out += QStringView(text).mid(pos, tag.begin - pos);
        pos = tag.end;
        Span content{-1, -1};
        // The link's text stays up to its end tag, which goes; a link that never ends loses its tag only.
        for (qsizetype j = i + 1; j < tags.size(); ++j) {
            if (tags.at(j).closing && tags.at(j).name.compare(u"A", Qt::CaseInsensitive) == 0) {
                out += QStringView(text).mid(pos, tags.at(j).begin - pos);
                content = {pos, tags.at(j).begin};
                pos = tags.at(j).end;
                if (cuts)
                    cuts->tags << Span{tag.begin, tag.end} << Span{content.second, pos};
                break;
            }
        }
        if (cuts) {
            if (content.first < 0)
                cuts->tags << Span{tag.begin, tag.end};
            cuts->contents << content;
        }
    }
    if (pos == 0)
        return text;
    out += QStringView(text).mid(pos);
    return out;
}

// The runs of the text once the links are out, from the runs of the text as read:
// a link that held one run of text and nothing else gives it to the running text
// around it, and the parser reads the rest as before. False when a link held more
// or less: the text is read anew.
bool runsWithoutLinks(const QList<MarkupText> &runs, const LinkCuts &cuts, QList<MarkupText> *out)
{
    qsizetype cut = 0, removed = 0, content = 0;
    for (const MarkupText &run : runs) {
        for (; cut < cuts.tags.size() && cuts.tags.at(cut).second <= run.begin; ++cut)
            removed += cuts.tags.at(cut).second - cuts.tags.at(cut).first;
        if (cut < cuts.tags.size() && cuts.tags.at(cut).first < run.end)
            return false;
        for (; content < cuts.contents.size() && cuts.contents.at(content).second <= run.begin; ++content) {
            if (cuts.contents.at(content).first < 0)
                return false;
        }
        int place = run.place;
        if (content < cuts.contents.size() && cuts.contents.at(content).first < run.end) {
            if (cuts.contents.at(content) != Span{run.begin, run.end} || run.place != MarkupText::InLink)
                return false;
            place = MarkupText::Running;
        }
        const MarkupText moved{run.begin - removed, run.end - removed, place};
        if (!out->isEmpty() && out->constLast().end == moved.begin && out->constLast().place == place)
            out->last().end = moved.end;
        else
            out->append(moved);
    }
    for (; content < cuts.contents.size(); ++content) {
        if (cuts.contents.at(content).first < 0)
            return false;
    }
    return true;
}

} // namespace

QString removeLookLinks(const QString &text, LookLinksEnd *end)
{
    return removeReadLinks(text, readMarkup(text), end);
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

// The character references of the text ("&amp;", "&#38;"), in order.
QList<Range> referenceRanges(const QString &text)
{
    QList<Range> ranges;
    for (qsizetype at = text.indexOf(u'&'); at >= 0; at = text.indexOf(u'&', at + 1)) {
        if (const qsizetype length = referenceLength(text, at))
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

} // namespace

namespace {

// The keyword link start tags of text that the browser reads as tags.
qsizetype realLookTags(const QString &text, const QList<MarkupTag> &tags)
{
    qsizetype count = 0;
    for (const MarkupTag &tag : tags) {
        if (!tag.closing && QStringView(text).sliced(tag.begin).startsWith(SearchTexts::LookLinkStart, Qt::CaseInsensitive))
            ++count;
    }
    return count;
}

// The most a page written with links may take in bytes: below what the program shows.
constexpr qint64 LinkedPageBytes = PageSizeLimit - 16;
// Should the links made have to be made again reading the text after each word,
// this many readings at most: the words after them are left unlinked.
constexpr int RereadLimit = 32;

// A text and where the browser reads running text in it: the text of scripts,
// styles, text areas, choice lists (quiz blanks), existing links, comments and
// tags is left alone. A link made in running text changes how no other text is
// read, so the runs are moved on past it rather than read again; check() reads
// the result to make sure. Links stop before the text passes what a page is
// read or shown for.
class LinkableText
{
public:
    // runs: where text holds running text, when that is known already, and
    // lookTags the keyword link tags in it.
    LinkableText(const QString &text, bool readEachTime, const QList<MarkupText> *runs = nullptr, qsizetype lookTags = 0)
        : m_text(text)
        , m_readEachTime(readEachTime)
        , m_lessThan(text.count(u'<'))
        , m_bytes(encodePage(text).size())
    {
        if (runs) {
            m_runs = *runs;
            m_lookTags = lookTags;
            m_read = true;
        }
    }

    const QString &text() const { return m_text; }
    bool stopped() const { return m_stopped; }

    // Links word in the running text from from on.
    void link(qsizetype from, const QString &word)
    {
        if (m_stopped || word.isEmpty() || QStringView(m_text).sliced(from).indexOf(word, 0, Qt::CaseInsensitive) < 0)
            return;
        if (!m_read) {
            if (++m_reads > RereadLimit) {
                m_stopped = true;
                return;
            }
            const Markup markup = readMarkup(m_text);
            if (markup.overBudget) {
                m_stopped = true;
                return;
            }
            take(markup);
        }
        const QList<Range> references = referenceRanges(m_text);
        const QString link = lookLink(word);
        const qsizetype growth = link.toUtf8().size() - word.toUtf8().size();
        QString out;
        QList<MarkupText> runs;
        qsizetype pos = 0;   // the text before it is in out
        qsizetype shift = 0; // how far the text moved so far
        for (const MarkupText &run : std::as_const(m_runs)) {
            qsizetype runStart = run.begin;
            if (run.place == MarkupText::Running && run.end > from && !m_stopped) {
                const QStringView upToEnd = QStringView(m_text).first(run.end);
                for (qsizetype hit = std::max(run.begin, from);
                     (hit = upToEnd.indexOf(word, hit, Qt::CaseInsensitive)) >= 0;) {
                    const qsizetype afterHit = hit + word.size();
                    if (cutsReference(references, hit, afterHit)) {
                        ++hit;
                        continue;
                    }
                    if (m_lessThan + 2 > MarkupTagLimit || m_bytes + growth > LinkedPageBytes) {
                        m_stopped = true;
                        break;
                    }
                    m_lessThan += 2;
                    m_bytes += growth;
                    if (hit > runStart)
                        runs.append({runStart + shift, hit + shift, run.place});
                    out += QStringView(m_text).mid(pos, hit - pos);
                    out += link;
                    shift += link.size() - word.size();
                    ++m_made;
                    pos = hit = runStart = afterHit;
                }
            }
            if (run.end > runStart)
                runs.append({runStart + shift, run.end + shift, run.place});
        }
        if (pos == 0)
            return;
        out += QStringView(m_text).mid(pos);
        m_text = out;
        m_runs = runs;
        m_read = !m_readEachTime;
    }

    // True when every link made is a tag as the browser reads the new text, and
    // the program reads it.
    bool check() const
    {
        if (m_made == 0)
            return true;
        const Markup markup = readMarkup(m_text);
        return !markup.overBudget && realLookTags(m_text, markup.tags) - m_lookTags == m_made;
    }

private:
    void take(const Markup &markup)
    {
        m_runs = markup.texts;
        if (m_lookTags < 0)
            m_lookTags = realLookTags(m_text, markup.tags);
        m_read = true;
    }

    QString m_text;
    bool m_readEachTime;
    bool m_read = false;
    bool m_stopped = false;
    int m_reads = 0;
    qsizetype m_lessThan; // "<" in the text
    qsizetype m_bytes;    // of the text as a page file
    QList<MarkupText> m_runs;
    qsizetype m_lookTags = -1; // in the text before any link was made
    qsizetype m_made = 0;
};

} // namespace

QString linkWordInText(const QString &text, qsizetype from, const QString &word)
{
    LinkableText linkable(text, true);
    linkable.link(from, word);
    return linkable.text();
}

namespace {
// runs: where plain holds running text, when that is known already (it holds no
// keyword link then).
QString linkTitleWords(const QString &plain, const QList<MarkupText> *runs, const SearchListing &index,
                       const QString &selfPath, bool readEachTime, LookLinksEnd *end)
{
    LinkableText linked(plain, readEachTime, runs);
    const qsizetype bodyStart = lookBodyStart(plain);
    QString self = selfPath;
    self.replace(u'\\', u'/');
    self = self.toUpper();
    for (qsizetype i = index.size() - 1; i >= 0 && !linked.stopped(); --i) {
        QString path = index.at(i).path;
        path.replace(u'\\', u'/');
        if (path.toUpper() == self)
            continue;
        for (const QString &word : lookTitleWords(index.at(i).title)) {
            if (isLinkableWord(word))
                linked.link(bodyStart, EscapeAngles(word));
        }
    }
    // Should a link have changed how the text after it is read, every word is
    // linked again with the text read anew after each.
    if (!readEachTime && !linked.check())
        return linkTitleWords(plain, nullptr, index, selfPath, true, end);
    setEnd(end, linked.stopped() ? LookLinksEnd::Stopped : LookLinksEnd::Done);
    return linked.text();
}
} // namespace

QString addLookLinks(const QString &text, const SearchListing &index, const QString &selfPath, LookLinksEnd *end)
{
    const Markup markup = readMarkup(text);
    LinkCuts cuts;
    const QString plain = removeReadLinks(text, markup, nullptr, &cuts);
    if (markup.overBudget) {
        setEnd(end, LookLinksEnd::Unread);
        return plain;
    }
    // The old links' words go back into the running text as they stood: the page
    // is not read again for them.
    QList<MarkupText> runs;
    const bool known = runsWithoutLinks(markup.texts, cuts, &runs);
    return linkTitleWords(plain, known ? &runs : nullptr, index, selfPath, false, end);
}
