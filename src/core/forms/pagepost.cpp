#include "core/forms/pagepost.h"

#include "core/forms/formtexts.h"
#include "core/forms/sharedfilelock.h"
#include "core/pages/markers.h"
#include "core/pages/markupscan.h"
#include "core/pages/pagefile.h"
#include "core/pages/pagetext.h"

#include <QFileInfo>
#include <QList>
#include <utility>

using namespace Qt::StringLiterals;
namespace T = FormTexts;

namespace {
bool isTagBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n';
}

// The generated quiz and answer blocks: from "<!--beginKavuno" through the end of
// the next "<!--endKavuno" comment (or the end of the page).
QList<std::pair<qsizetype, qsizetype>> generatedBlocks(const QString &page)
{
    QList<std::pair<qsizetype, qsizetype>> blocks;
    qsizetype from = 0;
    while (true) {
        const qsizetype begin = page.indexOf(Markers::KavunoBeginRun, from);
        if (begin < 0)
            break;
        const qsizetype end = page.indexOf(Markers::KavunoEndRun, begin + Markers::KavunoBeginRun.size());
        const qsizetype close = end < 0 ? -1 : page.indexOf(u"-->"_s, end);
        const qsizetype stop = close < 0 ? page.size() : close + 3;
        blocks.append({begin, stop});
        from = stop;
    }
    return blocks;
}

// The text with CR LF, CR and LF as "<BR>", its angles and quotes escaped (it never
// opens a tag nor closes an attribute or a script's string), and the post mark and
// "---." defused, so that a post holds one mark and one terminator.
QString postPart(const QString &text)
{
    QString part = EscapeAngles(text);
    part.replace(u'"', u"&quot;"_s);
    part.replace(u'\'', u"&#39;"_s);
    part.replace(T::PostMark, T::PostMarkEscaped);
    part.replace(T::PostTerminatorText, T::PostTerminatorEscaped);
    part.replace(u"\r\n"_s, Markers::LineBreakTag);
    part.replace(u'\r', Markers::LineBreakTag);
    part.replace(u'\n', Markers::LineBreakTag);
    return part;
}

// Keeps the first nine of the posts that follow one another at the start of rest
// and drops the older ones; text that is no post is never touched.
void dropOldPosts(QString &rest)
{
    qsizetype pos = 0;
    qsizetype keepEnd = -1;
    int count = 0;
    while (true) {
        qsizetype start = pos;
        while (start < rest.size() && isTagBlank(rest.at(start)))
            ++start;
        if (!QStringView(rest).sliced(start).startsWith(T::PostMark))
            break;
        // A post ends at its terminator, before the paragraph's end; a mark inside it
        // (written by an older copy that let a post hold one) starts no post.
        const qsizetype terminator = rest.indexOf(T::PostTerminator, start);
        const qsizetype paragraphEnd = rest.indexOf(u"</P"_s, start, Qt::CaseInsensitive);
        if (terminator < 0 || (paragraphEnd >= 0 && paragraphEnd < terminator))
            break;
        pos = terminator + T::PostTerminator.size();
        if (++count == 9)
            keepEnd = pos;
    }
    if (keepEnd >= 0 && pos > keepEnd)
        rest.remove(keepEnd, pos - keepEnd);
}
} // namespace

QLocale postLocale(const QLocale &system)
{
    if (system.language() == QLocale::C)
        return QLocale(QLocale::Japanese, QLocale::Japan);
    return system;
}

QString postDateLine(const QDateTime &when, const QLocale &locale)
{
    const QDate d = when.date();
    const QTime t = when.time();
    return u' ' + QString::number(d.year()) + u"年"_s + QString::number(d.month()) + u"月"_s + QString::number(d.day())
        + u"日"_s + QString::number(t.hour()) + u"時"_s + QString::number(t.minute()) + u"分"_s + u"   "_s
        + locale.dayName(d.dayOfWeek(), QLocale::LongFormat) + u' ';
}

QString postBlock(const QString &date, const QString &poster, const QString &message)
{
    QString block = T::PostMark;
    if (!date.isEmpty() || !poster.isEmpty()) {
        block += postPart(date);
        if (!poster.isEmpty())
            block += T::PosterSeparator + postPart(poster);
        block += Markers::LineBreakTag;
    }
    return block + postPart(message) + Markers::LineBreakTag + T::PostTerminator;
}

namespace {
// The position after the ">" of the last real "<P" tag outside the generated
// blocks; -1 when there is none.
qsizetype lastParagraphEnd(const QString &page, const QList<MarkupTag> &tags)
{
    const auto blocks = generatedBlocks(page);
    const auto insideBlock = [&blocks](qsizetype at) {
        for (const auto &[begin, end] : blocks) {
            if (at >= begin && at < end)
                return true;
        }
        return false;
    };
    for (auto tag = tags.crbegin(); tag != tags.crend(); ++tag) {
        if (!tag->closing && tag->name == u"P" && !insideBlock(tag->begin))
            return tag->end;
    }
    return -1;
}

QString insertAt(const QString &page, qsizetype at, const QString &block)
{
    QString rest = page.sliced(at);
    dropOldPosts(rest);
    return page.first(at) + block + rest;
}
} // namespace

qsizetype lastParagraphContentStart(const QString &page)
{
    return lastParagraphEnd(page, markupTags(page));
}

PostPlace postPlace(const QString &page)
{
    // Only a real tag counts: a "<P" in a script, a comment or an attribute value
    // is text, and a post there could become part of a program.
    const Markup markup = readMarkup(page);
    if (markup.overBudget)
        return {PostStatus::TooMuchMarkup, -1};
    if (const qsizetype at = lastParagraphEnd(page, markup.tags); at >= 0)
        return {PostStatus::Posted, at};
    if (page.contains(u"<P"_s))
        return {PostStatus::NoParagraph, -1};
    for (const MarkupTag &tag : markup.tags) {
        if (!tag.closing && tag.name.compare(u"BODY", Qt::CaseInsensitive) == 0)
            return {PostStatus::Posted, tag.end};
    }
    return {PostStatus::NoPlace, -1};
}

bool insertPost(const QString &page, const QString &block, QString &result)
{
    const PostPlace place = postPlace(page);
    if (place.status != PostStatus::Posted)
        return false;
    result = insertAt(page, place.at, block);
    return true;
}

PostOutcome postToPage(const QString &pagePath, const QString &date, const QString &poster,
                       const QString &message, int lockTimeoutMs)
{
    if (message.trimmed().isEmpty())
        return {PostStatus::EmptyMessage, {}};
    SharedFileLock lock(pagePath);
    if (!lock.acquire(lockTimeoutMs))
        return {lock.busy() ? PostStatus::Busy : PostStatus::WriteFailed, lock.failureText()};
    // A link planted in the folder must not lead the post elsewhere.
    if (QFileInfo(pagePath).isSymLink())
        return {PostStatus::WriteFailed, {}};
    const PageText page = readPageFile(pagePath);
    if (page.status == PageText::Unreadable)
        return {PostStatus::Unreadable, {}};
    // A page we cannot decode keeps its bytes.
    if (page.status == PageText::Undecodable)
        return {PostStatus::Undecodable, {}};
    const PostPlace place = postPlace(page.text);
    if (place.status != PostStatus::Posted)
        return {place.status, {}};
    QString error;
    if (!writePageFile(pagePath, insertAt(page.text, place.at, postBlock(date, poster, message)), &error))
        return {PostStatus::WriteFailed, error};
    return {};
}

QString postOutcomeText(const PostOutcome &outcome)
{
    switch (outcome.status) {
    case PostStatus::Posted:
        return {};
    case PostStatus::EmptyMessage:
        return T::EmptyMessage;
    case PostStatus::Busy:
        return T::PostBusy;
    case PostStatus::Unreadable:
        return T::PageUnreadable;
    case PostStatus::Undecodable:
        return T::PostUndecodable;
    case PostStatus::NoPlace:
        return T::PostNoPlace;
    case PostStatus::NoParagraph:
        return T::PostNoParagraph;
    case PostStatus::TooMuchMarkup:
        return T::PostTooMuchMarkup;
    case PostStatus::WriteFailed:
        break;
    }
    return outcome.error.isEmpty() ? T::PostFailed : T::PostFailed + u'\n' + outcome.error;
}
