#pragma once

#include <QDate>
#include <QString>

// The editor's small tools: today's date into the heading, initialising a page,
// the page sizes and the folder's editing notes.
namespace EditorTools {

// " 2016年2月7日": a blank, the year, the month and the day without leading zeros.
QString headingDate(const QDate &date);

// Puts the date between the heading's first "[" and the first "]" after it;
// a heading without such a pair becomes "[" + date + "]" as a whole.
QString stampDateIntoHeading(const QString &heading, const QDate &date);

// Whether a page file is a daily report (its file name holds "日報").
bool isDailyReportName(const QString &pagePath);

// What initialising sets. A daily report gets its two headings of the framed
// text and the text; its title keeps the part before ":" and gets ":" + date.
struct InitialTexts
{
    QString title;      // Edit1
    QString framedText; // Memo1
    QString text;       // Memo2
};
InitialTexts initialTexts(const QString &pagePath, const QString &title, const QDate &date);

// Page sizes and their text widths.
enum class PageSize { A4, B4, Fit };
inline constexpr int ToolColumnWidth = 112;
int pageWidthFor(PageSize size, int mainWindowWidth, int toolColumnWidth = ToolColumnWidth);

// "_Edit.txt" in the folder of the page being edited.
QString editNotePath(const QString &pagePath);

} // namespace EditorTools
