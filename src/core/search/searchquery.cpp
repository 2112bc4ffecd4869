#include "core/search/searchquery.h"

#include "core/navigation/pathtext.h"
#include "core/search/fileversion.h"
#include "core/search/pagetextcache.h"
#include "core/search/searchtexts.h"

#include <QSet>

using namespace Qt::StringLiterals;

QStringList splitQuery(const QString &query, QString *separator)
{
    const QString sep = query.contains(SearchTexts::WideSeparator) ? SearchTexts::WideSeparator
                                                                   : SearchTexts::NarrowSeparator;
    if (separator)
        *separator = sep;
    QStringList terms;
    QString rest = query + sep;
    qsizetype at;
    while ((at = rest.indexOf(sep)) > 0) {
        terms << rest.left(at);
        rest.remove(0, at + sep.size());
    }
    return terms;
}

QString titleWithoutIconAndHint(const QString &title)
{
    QString t = title;
    qsizetype quote = t.indexOf(u'"');
    if (quote >= 0) {
        t.remove(0, quote + 1);
        quote = t.indexOf(u'"');
        if (quote >= 0)
            t.remove(0, quote + 1);
    }
    const qsizetype hint = t.indexOf(u'?');
    return hint < 0 ? t : t.left(hint);
}

bool headingMatches(const QString &title, const QString &term, const QString &separator)
{
    QString t = titleWithoutIconAndHint(title);
    const qsizetype hash = t.indexOf(u'#');
    if (hash >= 0)
        t.replace(hash, 1, separator);
    const QString padded = separator + t.toUpper() + separator;
    return padded.contains(separator + term.toUpper() + separator);
}

// Pages whose text is searched: the extension holds ".ht" (.html, .htm, .hta...).
static bool isHypertextPath(const QString &path)
{
    const qsizetype dot = path.lastIndexOf(u'.');
    return dot > path.lastIndexOf(u'/') && QStringView(path).mid(dot).contains(u".ht", Qt::CaseInsensitive);
}

// The path upper-cased; one of ASCII alone (the most) without the case tables.
static QString upperPath(const QString &path)
{
    QString upper(path.size(), Qt::Uninitialized);
    QChar *out = upper.data();
    for (qsizetype i = 0; i < path.size(); ++i) {
        const char16_t c = path.at(i).unicode();
        if (c >= 0x80)
            return path.toUpper();
        out[i] = QChar(c >= u'a' && c <= u'z' ? char16_t(c - 32) : c);
    }
    return upper;
}

SearchListing DoSearch(const SearchListing &screen, const QString &query, const SearchRequest &request)
{
    QString separator;
    const QStringList terms = splitQuery(query, &separator);
    SearchListing hits;
    QByteArray bytes;
    // Pages are read relative to the root, which the system looks up once.
    PageTextCache ownTexts(0);
    PageTextCache *texts = request.texts ? request.texts : &ownTexts;
    if (texts->root() != request.root)
        texts->reset(request.root);
    texts->beginSearch();
    struct SearchEnd
    {
        PageTextCache *texts;
        ~SearchEnd() { texts->endSearch(); }
    } searchEnd{texts};
    // Each entry is one file of the listing, so a hit is known by its place.
    QList<bool> isHit(screen.size(), false);
    QStringList upperPaths;
    for (const QString &term : terms) {
        const FullTextTerm fullText(term);
        for (qsizetype i = 0; i < screen.size(); ++i) {
            const SearchEntry &entry = screen.at(i);
            bool match = false;
            if (isHit.at(i)) {
                // already a hit of an earlier term
            } else if (request.mode == SearchMode::Heading) {
                match = (request.root + entry.path).toUpper() != request.excludedUpper
                        && headingMatches(entry.title, term, separator);
            } else {
                if (upperPaths.isEmpty()) {
                    upperPaths.reserve(screen.size());
                    for (const SearchEntry &e : screen)
                        upperPaths << upperPath(e.path);
                }
                if (fullText.pathMatches(upperPaths.at(i))) {
                    match = true;
                } else if (isHypertextPath(entry.path)) {
                    bool folding = true;
                    if (texts->text(entry.path, bytes, fullText.needsFolding() ? &folding : nullptr))
                        match = fullText.textMatches(bytes, folding);
                }
            }
            if (match) {
                hits.append(entry);
                isHit[i] = true;
            }
            if (request.progress && i % 32 == 0)
                request.progress(hits.size());
        }
    }
    return hits;
}
