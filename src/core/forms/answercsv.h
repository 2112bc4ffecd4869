#pragma once

#include <QString>

// The answer sheet of a worksheet page: the questions of its last paragraph with
// "[" "]" blanks, and the CSV beside the page that collects one row a submission.

// "_" + the page's file name without extension + ".csv", in the page's folder.
QString answerCsvPath(const QString &pagePath);

// The sheet shown for a page: its last paragraph with "<BR>" as CR LF and its tags
// removed from the left up to the first ">" that stands before a "<".
QString answerSheetText(const QString &pageText);

struct AnswerLine
{
    QString header; // the question labels joined by ","
    QString row;    // the answers joined by ","
};

// The labels and the answers of a filled-in sheet (CR LF or LF line breaks):
// blanks dropped, full-width brackets taken as brackets, "//" notes to the end of
// their line give no label. Each field is written so that a CSV reader takes it
// whole and a spreadsheet never runs it as a formula.
AnswerLine answerLine(const QString &sheet);

enum class AppendStatus { Appended, Busy, Failed };

struct AppendOutcome
{
    AppendStatus status = AppendStatus::Appended;
    QString error; // the system's reason when writing failed
};

// Appends the row to the CSV (the header first when the file is missing or
// empty) in one write under the CSV's shared lock, waiting up to lockTimeoutMs
// for another computer's append. The file is never read whole nor rewritten: a
// CSV that a spreadsheet saved in another encoding keeps its bytes, and one
// without a final line break gets CR LF before the row.
AppendOutcome appendAnswer(const QString &csvPath, const AnswerLine &line, int lockTimeoutMs);
