#pragma once

#include <QString>

// Quiz pages: blanks written as "(answer)" or "(answer|choice/choice/...)" in the
// page text become form fields checked by a script; the reader turns them back.

// The quiz transformation of a finished page: blanks in the body text (never inside
// a tag) become fields, and the body is wrapped in the two quiz blocks. A page
// without a BODY start tag is returned unchanged; without "</BODY>" the second
// block goes at the end.
QString BuildQuizHtml(const QString &page);

// The answer page: the answer-button block after "<!--NOTE_OUT-->" and the text
// that follows it up to the next tag. A page without that marker is unchanged.
QString InsertAnswerButton(const QString &page);

struct QuizReading
{
    QString text;             // the page with blocks removed and fields back in notation
    bool quiz = false;        // the quiz box
    bool answer = false;      // the answer-button box
    bool panelRaised = false; // the picture-link frame is drawn raised on quiz pages
};

// The reverse transformation (the editor's full notation). Always ends, whatever
// the page holds.
QuizReading QuizHtmlToNotation(const QString &text);

// Whether a tag starts at i: "<" and "/", "!" or an ASCII tag name ended by a
// blank, "/" or ">"; any other "<" is text.
bool startsTag(const QString &s, qsizetype i);
// The position just after the tag that starts at i: comments end at "-->",
// other tags at the first ">" outside a quoted attribute value; -1 when the
// tag never ends (its "<" is then text).
qsizetype tagEnd(const QString &s, qsizetype i);

// Removes every quiz block: from "<!--beginKavuno" through the first ">" after
// the next "<!--endKavuno"; a block never closed loses its marker only.
void removeQuizBlocks(QString &w);

// text repeated count times; "" for count 0 or less.
QString RepeatStr(const QString &text, int count);
