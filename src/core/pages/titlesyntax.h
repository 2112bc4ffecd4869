#pragma once

#include <QDate>
#include <QString>

// The written form of a page title, shared by the page buttons, the editor's reader
// and its builder: ["icon"] main [# second line] [? hint]. A "#" after the "?"
// belongs to the hint.
struct TitleParts
{
    QString iconPrefix;   // the icon name with both double quotes, as written; empty when none
    QString iconName;     // the name between the quotes, unescaped (the button's picture file)
    QString main;         // the main title (the button's first line)
    QString secondLine;   // the text after the first "#"
    QString hint;         // the text after the first "?"
    bool hasSecondLine = false;
    bool hasHint = false;
    bool hasIcon() const { return !iconPrefix.isEmpty(); }
};

// Splits a title as stored in the TITLE element; icon name, main, second line and
// hint come back with "&lt;" and "&gt;" turned into "<" and ">" (the icon prefix
// stays as written, for writing it back). Text before the first double quote is
// dropped; a lone double quote is no icon and stays in the title. The page buttons
// label with main and second line and show the hint; the editor edits all four.
TitleParts splitTitle(const QString &title);

// Cuts trailing characters of code 32 or less (an ideographic space stays).
QString trimRightControls(const QString &text);

// The stored title of a normal page: icon prefix + main + "#" second + "?" hint,
// the main title and second line trimmed at the right, all three escaped; an empty
// part is left out with its mark.
QString joinTitle(const QString &iconPrefix, const QString &main, const QString &secondLine, const QString &hint);

// A daily-report page: its file name holds the daily-report word and its path ".html".
bool isDailyReportPath(const QString &path);

// The stored title of a daily-report page saved on date: the main title up to its
// first ":" (as typed) + ":yyyy/M/d", then "?" + the escaped hint.
QString dailyReportTitle(const QString &main, const QString &hint, const QDate &date);
