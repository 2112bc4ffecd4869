#include "core/tools/fileuses.h"

#include "core/app/smallfile.h"
#include "core/app/wholefile.h"
#include "core/navigation/pagelist.h"
#include "core/navigation/pathtext.h"
#include "core/pages/markupscan.h"
#include "core/pages/pagefile.h"

#include <QSet>
#include <QUrl>

#include <algorithm>
#include <functional>

using namespace Qt::StringLiterals;

static const QString LinkAttributes[] = {u"src"_s, u"href"_s, u"background"_s};

// The icon of a title written "<TITLE>" + a double-quoted name (tags[i] being
// that start tag): up to the next double quote inside the title. False when none.
static bool titleIcon(const QString &text, const QList<MarkupTag> &tags, qsizetype i, QuotedValue *value)
{
    const MarkupTag &tag = tags.at(i);
    if (tag.closing || QStringView(text).sliced(tag.begin, tag.end - tag.begin).compare(u"<TITLE>", Qt::CaseInsensitive) != 0
        || tag.end >= text.size() || text.at(tag.end) != u'"')
        return false;
    // The title holds no tags: its text ends at the next one, its end tag.
    const qsizetype titleEnd = i + 1 < tags.size() ? tags.at(i + 1).begin : text.size();
    const qsizetype start = tag.end + 1;
    const qsizetype close = text.indexOf(u'"', start);
    if (close < 0 || close >= titleEnd)
        return false;
    *value = {start, close - start, text.mid(start, close - start)};
    return true;
}

QList<QuotedValue> fileNameValues(const QString &text)
{
    // The tags as the browser reads them: a name in a script, a comment or another
    // attribute's value is no file the page shows.
    const QList<MarkupTag> tags = readMarkup(text, true).tags;
    QList<QuotedValue> values;
    for (qsizetype i = 0; i < tags.size(); ++i) {
        QuotedValue icon;
        if (titleIcon(text, tags, i, &icon))
            values << icon;
        for (const MarkupAttribute &attribute : tags.at(i).attributes) {
            const qsizetype length = attribute.valueEnd - attribute.valueBegin;
            if (attribute.valueBegin >= 0 && length > 0
                && std::find(std::begin(LinkAttributes), std::end(LinkAttributes), attribute.name) != std::end(LinkAttributes))
                values << QuotedValue{attribute.valueBegin, length, text.mid(attribute.valueBegin, length)};
        }
    }
    return values;
}

// Calls found(value, segment start, segment length, key) for each value that
// names a path of keys or a file inside one: the segment of the value that
// stands for that path.
static void forEachUse(const QString &text, const QString &pageFolder, const std::function<bool(const QString &)> &isKey,
                       const LinkResolver &resolver,
                       const std::function<void(const QuotedValue &, qsizetype, qsizetype, const QString &)> &found)
{
    for (const QuotedValue &value : fileNameValues(text)) {
        // The path part: before "#" and "?".
        qsizetype pathEnd = value.text.size();
        for (const QChar cut : {u'#', u'?'}) {
            const qsizetype at = value.text.indexOf(cut);
            if (at >= 0)
                pathEnd = std::min(pathEnd, at);
        }
        // From the file itself to the folders holding it.
        qsizetype segmentEnd = pathEnd;
        while (segmentEnd > 0) {
            qsizetype segmentStart = segmentEnd;
            while (segmentStart > 0 && value.text.at(segmentStart - 1) != u'/' && value.text.at(segmentStart - 1) != u'\\')
                --segmentStart;
            const QString path = resolver.pathOf(pageFolder, value.text.left(segmentEnd));
            if (!path.isEmpty() && segmentEnd > segmentStart && isKey(pathKey(path))) {
                found(value, segmentStart, segmentEnd - segmentStart, pathKey(path));
                break;
            }
            segmentEnd = segmentStart - 1;
        }
    }
}

QString renameInPageText(const QString &text, const QString &pageFolder, const QHash<QString, QString> &renamed,
                         const LinkResolver &resolver)
{
    struct Cut
    {
        qsizetype start, length;
        QString name;
    };
    QList<Cut> cuts;
    forEachUse(text, pageFolder, [&](const QString &key) { return renamed.contains(key); }, resolver,
               [&](const QuotedValue &value, qsizetype start, qsizetype length, const QString &key) {
                   QString name = renamed.value(key);
                   const QChar before = text.at(value.start - 1);
                   if (value.text.mid(start, length).contains(u'%'))
                       name = QString::fromUtf8(QUrl::toPercentEncoding(name));
                   else if (before != u'"' && before != u'\'')
                       name.replace(u' ', u"%20"_s); // a value without quotes ends at a blank
                   cuts.append({value.start + start, length, name});
               });
    QString result = text;
    for (auto cut = cuts.crbegin(); cut != cuts.crend(); ++cut)
        result.replace(cut->start, cut->length, cut->name);
    return result;
}

static QString folderOf(const QString &path)
{
    return path.left(path.lastIndexOf(u'/'));
}

bool isPageFileName(const QString &path)
{
    const QString extension = fileExtension(path).toLower();
    return extension == u".html"_s || extension == u".htm"_s;
}

QStringList pagesOfFolder(const QString &folder)
{
    QStringList pages;
    for (const QString &name : listPlainFiles(folder))
        if (isPageFileName(name))
            pages << folder + u'/' + name;
    return pages;
}

PageUses::PageUses(const QStringList &pages, const QStringList &paths, const LinkResolver &resolver)
    : m_resolver(resolver)
{
    QSet<QString> keys;
    for (const QString &path : paths)
        keys.insert(pathKey(path));
    const auto isKey = [&](const QString &key) { return keys.contains(key); };
    for (const QString &page : pages) {
        const std::optional<QByteArray> bytes = readTextFile(page);
        if (!bytes)
            continue;
        PageText read = decodePageUtf8(*bytes);
        const bool rewritable = read.ok();
        if (!rewritable)
            read = decodePageLegacy(*bytes);
        // Names are ASCII mostly: a page no encoding reads still shows them.
        const QString text = read.ok() ? read.text : QString::fromUtf8(*bytes);
        QSet<QString> named;
        forEachUse(text, folderOf(page), isKey, resolver,
                   [&](const QuotedValue &, qsizetype, qsizetype, const QString &key) { named.insert(key); });
        if (named.isEmpty())
            continue;
        if (rewritable)
            m_users << page;
        else
            for (const QString &key : std::as_const(named))
                m_blocking[key] << page;
    }
}

QStringList PageUses::rewrite(const QList<QPair<QString, QString>> &renamed) const
{
    QHash<QString, QString> names;
    QHash<QString, QString> pageNow;
    for (const auto &[from, to] : renamed) {
        names.insert(pathKey(from), fileNameOf(to));
        pageNow.insert(from, to);
    }
    QStringList notWritten;
    for (const QString &page : m_users) {
        const QString path = pageNow.value(page, page);
        const std::optional<QByteArray> bytes = readTextFile(path);
        const PageText read = decodePageUtf8(bytes.value_or(QByteArray()));
        if (!bytes || !read.ok()) {
            notWritten << path;
            continue;
        }
        // Values name files as they were before the renames, from where the page was.
        const QString fixed = renameInPageText(read.text, folderOf(page), names, m_resolver);
        // Only the names change: the page keeps its line breaks as they are.
        if (fixed != read.text && !writeWholeFile(path, "\xEF\xBB\xBF" + fixed.toUtf8()))
            notWritten << path;
    }
    return notWritten;
}
