#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The print pages: the worksheet of one page with a name field, and the
// summary of a level with a thumbnail and the note of every page. Both are
// written into the print folder and printed from the browser.

// The two ways a worksheet prints its quiz blanks.
enum PrintMode { BlankAnswers = 0, RedAnswers = 3 };

// A page's text for printing. Pages with the generated quiz lose their quiz
// scripts and their fields become blanks: "(" + one U+3000 per letter of the
// answer and two more + ")" in BlankAnswers, the whole field name in red in
// RedAnswers. Pages in plain notation get the same blanks in BlankAnswers
// (only in the text of their body, never in markup, scripts or styles) and
// stay as they are in RedAnswers.
QString QuizToPrintText(const QString &text, int mode);

// The worksheet's title: "#" breaks the line, "?" starts a hint that is left out.
QString testSheetTitle(const QString &title);

// The worksheet of a page: the print text with the header table (title, class
// and number, name) right after the BODY start tag, the page's own title
// emptied and "[]" marks of the body numbered. A page without a BODY start tag
// gives the header alone.
QString testPageText(const QString &pageText, int mode);

// The file names the SRC attributes of text name, in order.
QStringList sourceNames(const QString &text);
// A name that may be copied beside a print page: relative, without "..", no
// address or drive.
bool isPlainRelativeName(const QString &name);

// ---- the summary of a level

struct ResumeRow
{
    QString thumbnail; // the picture's file name, beside the summary
    QString title;     // shown in brackets
    QString note;      // already in HTML
};

// The thumbnail of a level entry: "_" + its file name with ".jpg".
QString thumbnailName(const QString &entry);
// The thumbnails of a level's entries, one each, in order. An entry whose
// thumbnailName no other entry shares (without regard to case: a share may
// not tell case apart) keeps it; the others ("1010_x.html" beside its sound
// "1010_x.wav") take their whole file name: "_1010_x.html.jpg", with "-2",
// "-3" and on before ".jpg" where even that is taken.
QStringList thumbnailNames(const QStringList &entries);
// The title shown for a page: its TITLE of an own page, else the entry's file
// name without extension; the order number up to the first "_" left out.
QString resumeTitle(const QString &pageText, const QString &entry);
// A page note as HTML: angle brackets escaped, line breaks as "<BR>".
QString resumeNote(const QString &noteText);
// The whole summary page, its rows five to a table; width is the table width.
QString resumePageText(const QList<ResumeRow> &rows, int width);
