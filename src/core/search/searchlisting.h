#pragma once

#include "core/search/fileversion.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

// One document of the search listing: its path relative to the search root
// ("sub/page.html") and its title.
struct SearchEntry
{
    QString path;
    QString title;
    bool operator==(const SearchEntry &other) const = default;
};
using SearchListing = QList<SearchEntry>;

// The title rule of the listing (TForm4.ReadPageTitle) for a file whose bytes
// were read. Only names ending exactly in ".html" are pages here; a page that
// holds "NOTFIND" is not listed.
struct ListedTitle
{
    QString title;
    bool listed = true;
};
ListedTitle ReadPageTitle(const QString &fileName, const QByteArray &bytes);

// Whether a file name is a document of the listing: a page (".html", ".htm"),
// a PDF, a spreadsheet, a word-processor document; never a name beginning "_",
// nor the hidden temporary name of a file being written or renamed.
bool isSearchDocument(const QString &fileName);

// What the walk reports as it goes.
struct WalkCallbacks
{
    // The title of a listed file now and then (the first, and one in 32), for the progress text.
    std::function<void(const QString &title)> listed;
    // Before the walk reads a folder (relative to the root, "" for the root;
    // folder: its descriptor, open for the call only).
    std::function<void(const QString &relative, int folder)> entering;
    // A page read whole during the walk (its full-text search may use it).
    std::function<void(const QString &path, QByteArray bytes, const FileVersion &stamp)> pageRead;
    // Runs on the thread that read the page, before pageRead takes it: work
    // on each page's bytes that may run side by side. Touches nothing shared.
    std::function<void(QByteArray &bytes)> preparePage;
    // A page that could not be read, or too large to be (it is listed by its name).
    std::function<void()> unreadable;
};

// Walks the folder tree below root (TForm4.ZENBU): every folder depth first,
// in the one name order; symbolic links are never followed. Files of the
// folder "MWEX" directly below the root are left out. Pages are read a batch
// at a time on a few threads joined before the batch is handed over; every
// callback but preparePage runs on the calling thread, in listing order.
SearchListing ZENBU(const QString &root, const WalkCallbacks &callbacks = {});

// Orders of the listing (TForm4.SortResults).
enum class SearchOrder {
    ByTitle,         // titles, ASCII letters compared without regard to case
    ByKeywordLength, // the length of the keyword part of the title, shortest first
};
// The keyword part: the text after the first "#", cut before its first "?";
// a title without "#" is its own keyword part.
QString keywordPart(const QString &title);
// A stable sort: entries with equal keys keep the walk's order.
void SortResults(SearchListing &listing, SearchOrder order);
