#pragma once

#include "core/search/searchlisting.h"

#include <QString>
#include <QStringList>

// Keyword links: every place in a page's running text where a word of another
// page's title occurs becomes a link "/$LOOK word".

// The words of a title: without its icon prefix and "?" hint, the caption
// (before the first "#") and then the keywords after it, all split at "/";
// empty words are left out.
QStringList lookTitleWords(const QString &title);

// A word that can become a link: not only blanks, and without the characters
// that would break the link or run as a command (a double quote, "," and "$"),
// neither as written nor as the browser reads the link (character references and
// percent-encoding decoded).
bool isLinkableWord(const QString &word);

// The link for a word as the title writes it (angles escaped).
QString lookLink(const QString &word);

// How making or taking out the keyword links of a page ended.
enum class LookLinksEnd {
    Done,
    // Links stop where one more would take the page past what a page is read or
    // shown for (its "<" or its size): the words after that are not linked.
    Stopped,
    // The page costs more to read as a browser does than its size allows: adding
    // makes no link; removing takes out the links of the form LOOK writes, by
    // that form, and ends so only where a keyword link of another form stays.
    Unread,
};

// The text with its keyword links (real tags, as the browser reads them) taken
// out and their words kept. A page that is not read loses the links of the very
// form lookLink() writes, wherever they stand.
QString removeLookLinks(const QString &text, LookLinksEnd *end = nullptr);

// Where the body begins: at the first "</TITLE>" or at the first "</HEAD>"
// after it, at the first "</HEAD>" without a "</TITLE>", else at 0.
qsizetype lookBodyStart(const QString &text);

// Links one word (escaped as it is written in the link) in text from from on,
// where the browser reads running text: text inside SCRIPT, STYLE, TEXTAREA,
// SELECT, SVG and such elements, comments, tags, attribute values, existing links
// and character references is left as it is.
QString linkWordInText(const QString &text, qsizetype from, const QString &word);

// The keyword links of a page made anew: the old ones taken out, then for each
// entry of index (keyword-length order) from the last to the first, the page
// itself (selfPath, relative like the entries) left out, each word of its title
// linked in the body. The page is read once (again only when an old link held
// more than its word), and the result once to prove the program reads it.
QString addLookLinks(const QString &text, const SearchListing &index, const QString &selfPath,
                     LookLinksEnd *end = nullptr);
