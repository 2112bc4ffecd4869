#pragma once

#include "core/search/searchlisting.h"

#include <QString>
#include <QStringList>

#include <functional>

class PageTextCache;

// The terms of a query: split at "／" when the query holds one, else at "/".
// Terms are not trimmed; an empty term ends the list.
QStringList splitQuery(const QString &query, QString *separator = nullptr);

// A title without its icon prefix (up to and including the first double quote,
// then up to and including the next one) and without its "?" hint.
QString titleWithoutIconAndHint(const QString &title);

// Heading matching: the term equals the caption of the title or one of its
// separator-delimited keywords, without regard to case.
bool headingMatches(const QString &title, const QString &term, const QString &separator);

enum class SearchMode { FullText, Heading };

struct SearchRequest
{
    QString root;             // the listing's folder, ending in "/"
    SearchMode mode = SearchMode::FullText;
    QString excludedUpper;    // heading mode: the asking page's full path, upper-cased
    PageTextCache *texts = nullptr; // where page texts come from (read anew without one)
    // Now and then (one entry in 32): the hits so far, for the count on screen.
    std::function<void(qsizetype hits)> progress;
};

// The hits of a query among the entries on screen, each once, term by term in
// screen order (TForm4.DoSearch).
SearchListing DoSearch(const SearchListing &screen, const QString &query, const SearchRequest &request);
