#include "core/tools/fileuses.h"

#include "core/app/smallfile.h"
#include "core/app/wholefile.h"
#include "core/navigation/pagelist.h"
#include "core/navigation/pathtext.h"
#include "core/pages/pagefile.h"

#include <QSet>
#include <QUrl>

#include <algorithm>
#include <functional>

using namespace Qt::StringLiterals;

static const QString LinkAttributes[] = {u"src"_s, u"href"_s, u"background"_s};

// The value of the attribute whose name ends at nameEnd: after "=" (blanks
// around it allowed), in quotes or up to a blank or ">". False when none.
static bool attributeValue(const QString &text, qsizetype nameEnd, QuotedValue *value)
{
    qsizetype at = nameEnd;
    while (at < text.size() && text.at(at).isSpace())
        ++at;
    if (at >= text.size() || text.at(at) != u'=')
        return false;
    ++at;
    while (at < text.size() && text.at(at).isSpace())
        ++at;
    if (at >= text.size())
        return false;
    const QChar quote = text.at(at);
    qsizetype start = at;
    qsizetype end = -1;
    if (quote == u'"' || quote == u'\'') {
        start = at + 1;
        end = text.indexOf(quote, start);
    } else {
        end = start;
        while (end < text.size() && !text.at(end).isSpace() && text.at(end) != u'>')
            ++end;
    }
    if (end <= start)
        return false;
    *value = {start, end - start, text.mid(start, end - start)};
    return true;
}

QList<QuotedValue> fileNameValues(const QString &text)
{
    QList<QuotedValue> values = quotedValues(text, u"<TITLE>\""_s, Qt::CaseInsensitive);
    for (const QString &name : LinkAttributes) {
        for (qsizetype at = 0; (at = text.indexOf(name, at, Qt::CaseInsensitive)) >= 0; at += name.size()) {
            // "lowsrc" or "data-src" are other attributes.
            if (at == 0 || !text.at(at - 1).isSpace())
                continue;
            QuotedValue value;
            if (attributeValue(text, at + name.size(), &value))
                values << value;
        }
    }
    std::sort(values.begin(), values.end(), [](const QuotedValue &a, const QuotedValue &b) { return a.start < b.start; });
    // A value found twice (a title holding an attribute) is one.
    QList<QuotedValue> apart;
    for (const QuotedValue &value : std::as_const(values))
        if (apart.isEmpty() || value.start >= apart.constLast().start + apart.constLast().length)
            apart << value;
    return apart;
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
            const QString key = path.isEmpty() || segmentEnd == segmentStart ? QString() : resolver.key(path);
            if (!key.isEmpty() && isKey(key)) {
                found(value, segmentStart, segmentEnd - segmentStart, key);
                break;
            }
            segmentEnd = segmentStart - 1;
        }
    }
}

// name as it can stand in a value in quote (none: a value without quotes).
// The value's own quote, and what ends a value without quotes, are escaped
// so that a name never closes its value; where the value was escaped, or an
// escape would mix with a "%" of the name, the whole name is.
static QString nameInValue(QString name, QChar quote, bool escapedValue)
{
    const QString ending = quote.isNull() ? u" \t\n\r\f>\"'"_s : QString(quote);
    const bool mustEscape = std::any_of(ending.cbegin(), ending.cend(), [&](QChar c) { return name.contains(c); });
    if (escapedValue || (mustEscape && name.contains(u'%')))
        return QString::fromUtf8(QUrl::toPercentEncoding(name));
    for (const QChar c : ending)
        name.replace(c, u"%"_s + QString::number(c.unicode(), 16).rightJustified(2, u'0').toUpper());
    return name;
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
                   const QChar before = value.start > 0 ? text.at(value.start - 1) : QChar();
                   const QChar quote = before == u'"' || before == u'\'' ? before : QChar();
                   cuts.append({value.start + start, length,
                                nameInValue(renamed.value(key), quote, value.text.mid(start, length).contains(u'%'))});
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
        keys.insert(resolver.key(path));
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
        names.insert(m_resolver.key(from), fileNameOf(to));
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
