#pragma once

#include <QDateTime>
#include <QLocale>
#include <QString>

// Posts: short dated messages inside a page, newest first, ten at most.

// The locale whose weekday names the date line uses: the system's, but Japanese
// under the C or POSIX locale of a fresh machine.
QLocale postLocale(const QLocale &system = QLocale::system());

// " 2016年2月7日9時5分   日曜日 ": no leading zeros, three blanks, the weekday, a blank.
QString postDateLine(const QDateTime &when, const QLocale &locale = postLocale());

// The post block: "(^0^)" + date + "：" + poster + "<BR>" + message + "<BR>---.<BR>",
// the date and poster part left out when both are empty. Each text is escaped so
// that a post can hold no tag, and a typed "---." ends no post.
QString postBlock(const QString &date, const QString &poster, const QString &message);

// The position after the ">" of the last "<P" tag outside the generated quiz and
// answer blocks, a tag as the browser reads it; -1 when there is none.
qsizetype lastParagraphContentStart(const QString &page);

enum class PostStatus {
    Posted,
    EmptyMessage,
    Busy,
    Unreadable,
    Undecodable,
    NoPlace,       // neither a paragraph nor a BODY tag
    NoParagraph,   // "<P" only where it is no tag: in a script, a comment, a value
    TooMuchMarkup, // more tags than a page is read for, or tags too costly to read (Markup::overBudget)
    WriteFailed
};

// Where a post goes: after the last paragraph start tag (as the browser reads the
// page: never inside a script, a comment or a tag) outside the generated quiz and
// answer blocks, else after the BODY start tag of a page that holds no "<P" at
// all. status is Posted when there is a place.
struct PostPlace
{
    PostStatus status = PostStatus::NoPlace;
    qsizetype at = -1;
};
PostPlace postPlace(const QString &page);

// The page with block inserted at its post place, keeping the new post and nine
// older ones. False when there is no place.
bool insertPost(const QString &page, const QString &block, QString &result);

struct PostOutcome
{
    PostStatus status = PostStatus::Posted;
    QString error; // the system's reason when reading or writing failed
};

// Posts into the page file at pagePath: a read-change-write under the page's
// shared lock, waiting up to lockTimeoutMs for another computer's post to end.
PostOutcome postToPage(const QString &pagePath, const QString &date, const QString &poster,
                       const QString &message, int lockTimeoutMs);

// The user's text for an outcome other than Posted.
QString postOutcomeText(const PostOutcome &outcome);
