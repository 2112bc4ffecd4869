#include "core/tools/fileuses.h"

#include "core/app/atomicfile.h"
#include "core/app/beneath.h"
#include "core/app/smallfile.h"
#include "core/navigation/pagelist.h"
#include "core/navigation/pathtext.h"
#include "core/pages/markupscan.h"
#include "core/search/searchlisting.h"
#include "core/tools/ordertexts.h"
#include "core/tools/pageencoding.h"

#include <QDir>
#include <QSet>
#include <QStringDecoder>
#include <QUrl>

#include <algorithm>
#include <atomic>
#include <functional>
#include <system_error>
#include <thread>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

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
    *value = {start, close - start, text.mid(start, close - start), true};
    return true;
}

QList<QuotedValue> fileNameValues(const QString &text, bool *unread)
{
    // The tags as the browser reads them: a name in a script, a comment or another
    // attribute's value is no file the page shows.
    const Markup markup = readMarkup(text, true);
    if (unread)
        *unread = markup.overBudget;
    const QList<MarkupTag> &tags = markup.tags;
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
                       const std::function<void(const QuotedValue &, qsizetype, qsizetype, const QString &)> &found,
                       bool *unread = nullptr)
{
    for (const QuotedValue &value : fileNameValues(text, unread)) {
        // The path part: before "#" and "?" of an address.
        qsizetype pathEnd = value.text.size();
        for (const QChar cut : {u'#', u'?'}) {
            const qsizetype at = value.raw ? -1 : value.text.indexOf(cut);
            if (at >= 0)
                pathEnd = std::min(pathEnd, at);
        }
        // From the file itself to the folders holding it.
        qsizetype segmentEnd = pathEnd;
        while (segmentEnd > 0) {
            qsizetype segmentStart = segmentEnd;
            while (segmentStart > 0 && value.text.at(segmentStart - 1) != u'/' && value.text.at(segmentStart - 1) != u'\\')
                --segmentStart;
            const QString written = value.text.left(segmentEnd);
            // A name read as written is looked up as the address that names it.
            const QString path = resolver.pathOf(
                pageFolder, value.raw ? QString::fromUtf8(QUrl::toPercentEncoding(written, "/\\")) : written);
            const QString key = path.isEmpty() || segmentEnd == segmentStart ? QString() : resolver.key(path);
            if (!key.isEmpty() && isKey(key)) {
                found(value, segmentStart, segmentEnd - segmentStart, key);
                break;
            }
            segmentEnd = segmentStart - 1;
        }
    }
}

// name as it can stand in a value in quote (none: a value without quotes),
// written so that a browser reads it back: "%", "#" and "?" escaped (else read
// as an escape, a fragment and a query), and the value's own quote and what
// ends a value without quotes, so that a name never closes its value. Where
// the value was escaped, the whole name is. The title's icon (raw) is read as
// written: only a double quote, which would end it, is escaped there.
static QString nameInValue(const QString &name, QChar quote, bool escapedValue, bool raw)
{
    // A name read as written only may not end its value.
    if (raw)
        return QString(name).replace(u'"', u"%22"_s);
    if (escapedValue)
        return QString::fromUtf8(QUrl::toPercentEncoding(name));
    const QString escaped = (quote.isNull() ? u"%#? \t\n\r\f>\"'"_s : u"%#?"_s + quote);
    QString value;
    value.reserve(name.size());
    for (const QChar c : name) {
        if (escaped.contains(c))
            value += u'%' + QString::number(c.unicode(), 16).rightJustified(2, u'0').toUpper();
        else
            value += c;
    }
    return value;
}

QString renameInPageText(const QString &text, const QString &pageFolder, const QHash<QString, QString> &renamed,
                         const LinkResolver &resolver, const std::function<bool(const QString &name)> &writable)
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
                   const QString name = renamed.value(key);
                   const bool escaped = value.text.mid(start, length).contains(u'%') || (writable && !writable(name));
                   cuts.append({value.start + start, length, nameInValue(name, quote, escaped, value.raw)});
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

static QSet<QString> keysOf(const QStringList &paths, const LinkResolver &resolver)
{
    QSet<QString> keys;
    for (const QString &path : paths)
        keys.insert(resolver.key(path));
    return keys;
}

// What ends a name in a page's text: a value's quotes and blanks, a tag's
// ends, the folders' separators, a fragment or a query.
static bool endsName(QChar c)
{
    return c.isSpace() || c == u'"' || c == u'\'' || c == u'<' || c == u'>' || c == u'=' || c == u'/' || c == u'\\'
        || c == u'#' || c == u'?';
}

// The case-folded file names of paths, and their lengths; empty when a name
// holds a character that ends names in a page's text (then no page is passed over).
static QSet<QString> piecesToFind(const QStringList &paths, QSet<qsizetype> *lengths)
{
    QSet<QString> names;
    for (const QString &path : paths) {
        const QString name = fileNameOf(path).toCaseFolded();
        if (name.isEmpty() || std::any_of(name.cbegin(), name.cend(), endsName))
            return {};
        names.insert(name);
        lengths->insert(name.size());
    }
    return names;
}

// Whether text may name one of names: a piece of it between the characters
// that end names is one of them, as written (in any case), with "&amp;" or with
// percent escapes. A page that holds none is not read as a browser does: most
// pages of a data root name none of the files a rename moves.
static bool mayName(const QString &text, const QSet<QString> &names, const QSet<qsizetype> &lengths)
{
    qsizetype start = 0;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        if (i < text.size() && !endsName(text.at(i)))
            continue;
        const QStringView piece = QStringView(text).sliced(start, i - start);
        start = i + 1;
        const bool escaped = piece.contains(u'%') || piece.contains(u'&');
        if (piece.isEmpty() || (!escaped && !lengths.contains(piece.size())))
            continue;
        QString name = piece.toString();
        if (escaped) {
            name.replace(u"&amp;"_s, u"&"_s, Qt::CaseInsensitive);
            name = linkFileNamePart(QUrl::fromPercentEncoding(name.toUtf8()));
        }
        if (names.contains(name.toCaseFolded()))
            return true;
    }
    return false;
}

// A page of its own: a link may lead out of the data root, and a rewrite
// would put what it leads to in its place.
static bool isOwnFile(const QString &path)
{
    struct stat st;
    return Beneath::stat(path, &st, false) && S_ISREG(st.st_mode);
}

bool canWritePage(const QString &page)
{
    // The whole-file writer makes a new file beside the page and renames it over the page.
    const Beneath::Parent parent(page);
    return parent.isOpen() && ::faccessat(parent.fd(), parent.name(), W_OK, 0) == 0
           && ::faccessat(parent.fd(), ".", W_OK, 0) == 0;
}

// The bytes of each page that is a file of its own, read a few side by side:
// on a network share each read mostly waits for the answer.
static QList<std::optional<QByteArray>> readOwnPages(const QStringList &pages)
{
    QList<std::optional<QByteArray>> read(pages.size());
    // Each reader writes its own slots; the list is not touched meanwhile.
    std::optional<QByteArray> *into = read.data();
    std::atomic<qsizetype> next{0};
    const auto readSome = [&] {
        for (qsizetype i; (i = next++) < pages.size();)
            into[i] = isOwnFile(pages.at(i)) ? readTextFile(pages.at(i)) : std::nullopt;
    };
    std::vector<std::thread> readers;
    for (qsizetype t = 0; t < std::min<qsizetype>(pages.size() / 16, 7); ++t) {
        try {
            readers.emplace_back(readSome);
        } catch (const std::system_error &) {
            break;
        }
    }
    readSome();
    for (std::thread &reader : readers)
        reader.join();
    return read;
}

void PageUses::considerAll(const QStringList &pages, const QSet<QString> &keys, const std::function<void()> &tick)
{
    // A few hundred at a time: the bytes of a large folder are not all held at once.
    constexpr qsizetype Chunk = 256;
    for (qsizetype from = 0; from < pages.size(); from += Chunk) {
        const QStringList some = pages.mid(from, Chunk);
        const QList<std::optional<QByteArray>> read = readOwnPages(some);
        for (qsizetype i = 0; i < some.size(); ++i) {
            consider(some.at(i), keys, read.at(i));
            if (tick)
                tick();
        }
    }
}

PageUses::PageUses(const QStringList &pages, const QStringList &paths, const LinkResolver &resolver,
                   const std::function<void()> &tick)
    : m_base(resolver)
    , m_oneResolver(true)
{
    const QSet<QString> keys = keysOf(paths, m_base);
    m_paths = paths;
    m_pieces = piecesToFind(paths, &m_pieceLengths);
    considerAll(pages, keys, tick);
}

PageUses::PageUses(const QString &root, const QString &folder, const QStringList &paths, const RootReading &how)
    : m_base(how.resolver ? *how.resolver : LinkResolver(root, folder))
    , m_unwritableBlocks(how.unwritableBlocks)
    , m_root(QDir::cleanPath(root))
{
    const std::function<void()> &tick = how.tick;
    const QSet<QString> keys = keysOf(paths, m_base);
    m_paths = paths;
    m_pieces = piecesToFind(paths, &m_pieceLengths);
    QSet<QString> seen;
    const QStringList own = pagesOfFolder(QDir::cleanPath(folder));
    for (const QString &page : own)
        seen.insert(page);
    if (!how.withoutFolder)
        considerAll(own, keys, tick);
    if (m_root.isEmpty())
        return;
    QStringList folders;
    WalkCallbacks walk;
    walk.entering = [&](const QString &relative, int) {
        folders << (relative.isEmpty() ? m_root : m_root + u'/' + relative);
        if (tick)
            tick();
    };
    walk.pageRead = [&](const QString &relative, QByteArray bytes, const FileVersion &) {
        const QString page = m_root + u'/' + relative;
        if (!seen.contains(page)) {
            seen.insert(page);
            // The walk reads a page of its own only, never through a link.
            consider(page, keys, std::move(bytes));
        }
        if (tick)
            tick();
    };
    ZENBU(m_root, walk);
    // The pages the walk lists without handing over their text (".htm", those
    // the search leaves out, those past its memory) are read here.
    for (const QString &walked : std::as_const(folders)) {
        if (tick)
            tick();
        QStringList left;
        for (const QString &page : pagesOfFolder(walked)) {
            if (!seen.contains(page)) {
                seen.insert(page);
                left << page;
            }
        }
        considerAll(left, keys, tick);
    }
}

LinkResolver PageUses::resolverFor(const QString &folder) const
{
    return m_oneResolver ? m_base : m_base.from(folder);
}

void PageUses::consider(const QString &page, const QSet<QString> &keys, const std::optional<QByteArray> &bytes)
{
    if (!bytes)
        return;
    // Most pages are UTF-8 and name none of the files: one decoding tells.
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8(*bytes);
    std::optional<PageEncoding> encoding;
    if (utf8.hasError()) {
        encoding = pageEncodingOf(*bytes);
        // Names are ASCII mostly: a page no encoding reads still shows them.
        text = pageTextForNames(*bytes, *encoding);
    }
    if (!m_pieces.isEmpty() && !mayName(text, m_pieces, m_pieceLengths))
        return;
    if (!encoding) {
        // The page's label may name a legacy code page it reads as well.
        encoding = pageEncodingOf(*bytes);
        text = pageTextForNames(*bytes, *encoding);
    }
    QSet<QString> named;
    bool unread = false;
    forEachUse(text, folderOf(page), [&](const QString &key) { return keys.contains(key); }, resolverFor(folderOf(page)),
               [&](const QuotedValue &, qsizetype, qsizetype, const QString &key) { named.insert(key); }, &unread);
    // A page too large or too costly to be read as a browser does may still name
    // the files: those whose names it holds keep them, as for a page that cannot
    // be rewritten.
    if (unread) {
        for (const QString &path : std::as_const(m_paths)) {
            if (text.contains(fileNameOf(path), Qt::CaseInsensitive)) {
                m_blocking[m_base.key(path)] << page;
                m_named[page].insert(m_base.key(path));
            }
        }
        return;
    }
    if (named.isEmpty())
        return;
    m_named.insert(page, named);
    if (encoding->rewritable() && !(m_unwritableBlocks && !canWritePage(page))) {
        m_users << page;
        m_read.insert(page, *bytes);
    } else {
        for (const QString &key : std::as_const(named))
            m_blocking[key] << page;
    }
}

QList<PageNamesFile> PageUses::namedBy(const QString &page, const QList<QPair<QString, QString>> &renamed) const
{
    QList<PageNamesFile> named;
    const QSet<QString> keys = m_named.value(page);
    for (const auto &[from, to] : renamed)
        if (keys.contains(m_base.key(from)))
            named.append({page, from, to});
    return named;
}

QList<PageNamesFile> PageUses::namedByBlocking(const QList<QPair<QString, QString>> &renamed) const
{
    QList<PageNamesFile> named;
    for (const QString &page : blockingPages())
        named += namedBy(page, renamed);
    return named;
}

QStringList PageUses::blockingPages() const
{
    QStringList pages;
    for (const QStringList &some : m_blocking)
        for (const QString &page : some)
            if (!pages.contains(page))
                pages << page;
    return pages;
}

// Where a page is after the renames: under its own new name, or in a folder's.
static QString pathNow(const QString &page, const QHash<QString, QString> &moved)
{
    if (const auto it = moved.constFind(page); it != moved.cend())
        return *it;
    for (qsizetype slash = page.lastIndexOf(u'/'); slash > 0; slash = page.lastIndexOf(u'/', slash - 1)) {
        if (const auto it = moved.constFind(page.left(slash)); it != moved.cend())
            return *it + page.mid(slash);
    }
    return page;
}

namespace {

enum class PageWrite { Written, AlreadyNew, Changed, Failed };

// Replaces the page with bytes only while it still holds expected, read again
// just before the replace.
PageWrite writeIfUnchanged(const QString &path, const QByteArray &expected, const QByteArray &bytes)
{
    AtomicFile file(path);
    if (!file.open() || !file.write(bytes)) {
        file.cancel();
        return PageWrite::Failed;
    }
    const std::optional<QByteArray> now = isOwnFile(path) ? readTextFile(path) : std::nullopt;
    if (now != expected) {
        file.cancel();
        return now == bytes ? PageWrite::AlreadyNew : PageWrite::Changed;
    }
    return file.commit() ? PageWrite::Written : PageWrite::Failed;
}

} // namespace

PageUses::Written PageUses::rewritePage(const QString &page, const QString &path, const QHash<QString, QString> &names,
                                        const BeforeWrite &before) const
{
    // Made from the bytes the page was read with; made again from what it
    // holds when another changed it since (a few times at most).
    std::optional<QByteArray> bytes = m_read.value(page);
    for (int attempt = 0; attempt < 3; ++attempt) {
        const PageEncoding encoding = pageEncodingOf(*bytes);
        if (!encoding.rewritable())
            return Written::NotWritten;
        // Values name files as they were before the renames, from where the page was.
        const QString fixed = renameInPageText(encoding.text, folderOf(page), names, resolverFor(folderOf(page)),
                                               [&](const QString &name) { return encodableIn(encoding, name); });
        if (fixed == encoding.text)
            return Written::Done;
        bool encoded = false;
        const QByteArray written = encodeForPage(encoding, fixed, &encoded);
        if (!encoded)
            return Written::NotWritten;
        PageStep step = canWritePage(path) ? PageStep::Write : PageStep::Stop;
        if (step == PageStep::Write && before)
            step = before(path, *bytes, written);
        if (step == PageStep::Skip)
            return Written::Done;
        if (step != PageStep::Write)
            return Written::Ended;
        switch (writeIfUnchanged(path, *bytes, written)) {
        case PageWrite::Written:
        case PageWrite::AlreadyNew:
            return Written::Done;
        case PageWrite::Failed:
            return Written::Ended;
        case PageWrite::Changed:
            break;
        }
        bytes = isOwnFile(path) ? readTextFile(path) : std::nullopt;
        if (!bytes)
            return Written::NotWritten;
    }
    return Written::NotWritten;
}

QStringList PageUses::rewrite(const QList<QPair<QString, QString>> &renamed, const BeforeWrite &before,
                              bool pagesMoved, const QString &first, QList<PageNamesFile> *notWrittenNames) const
{
    QHash<QString, QString> names;
    QHash<QString, QString> moved;
    for (const auto &[from, to] : renamed) {
        names.insert(m_base.key(from), fileNameOf(to));
        if (pagesMoved)
            moved.insert(from, to);
    }
    // first, then the pages that can be written, then the others.
    QStringList order;
    QStringList unwritable;
    for (const QString &page : m_users) {
        const QString path = pathNow(page, moved);
        if (path == first)
            order.prepend(page);
        else if (canWritePage(path))
            order << page;
        else
            unwritable << page;
    }
    order += unwritable;
    QStringList notWritten;
    const auto tell = [&](const QString &page) {
        notWritten << pathNow(page, moved);
        if (notWrittenNames) {
            for (PageNamesFile named : namedBy(page, renamed)) {
                named.page = notWritten.constLast();
                notWrittenNames->append(named);
            }
        }
    };
    for (qsizetype i = 0; i < order.size(); ++i) {
        const QString &page = order.at(i);
        const Written written = rewritePage(page, pathNow(page, moved), names, before);
        if (written == Written::Done)
            continue;
        // With no record told, the other pages are still tried.
        if (written == Written::NotWritten || !before) {
            tell(page);
            continue;
        }
        // This page and every page after it are left as they are.
        for (qsizetype j = i; j < order.size(); ++j)
            tell(order.at(j));
        break;
    }
    return notWritten;
}

QStringList describeNamedFiles(const QList<PageNamesFile> &named, const QString &root)
{
    const QString base = QDir::cleanPath(root) + u'/';
    const auto shown = [&](const QString &path) { return path.startsWith(base) ? path.mid(base.size()) : path; };
    QStringList lines;
    for (const PageNamesFile &one : named)
        lines << OrderTexts::PageNamesFileLine.arg(shown(one.page), shown(one.from), shown(one.to));
    return lines;
}
