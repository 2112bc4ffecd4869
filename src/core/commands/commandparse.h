#pragma once

#include <QString>
#include <QStringList>

// One command of a link command line, taken apart.
struct ParsedCommand
{
    QString text;       // the command with "DESKTOP" replaced
    QString word;       // the first token
    QString rest;       // the text after the first blank; "$" becomes "\" when it begins with "$"
    QStringList tokens; // every token, the word first

    // The n-th argument (1 or 2), empty when missing.
    QString argument(int n) const { return n < tokens.size() ? tokens.at(n) : QString(); }
};

// Blanks separate tokens; a token that begins with a double quote runs to the next
// one (without the quotes). An empty pair gives no token; a quote without its
// closing one runs to the end of the text.
QStringList tokenizeCommand(const QString &text);

// "DESKTOP" in the command becomes desktopFolder (no trailing separator).
ParsedCommand parseCommand(const QString &command, const QString &desktopFolder);

// The index of the first entry whose base name (after the last "/", "\" or ":",
// without extension) equals name or ends with "_" + name; -1 when none does.
// So "intro" finds 1020_intro.html but not intro2.html.
int findPageByName(const QStringList &entries, const QString &name);

// "\" written by Windows peers becomes "/".
QString toSlashes(const QString &path);

// True when a name has no extension after its last separator.
bool hasNoExtension(const QString &name);

// A name that stays inside its folder: not absolute, no drive, no ".." step.
bool staysInFolder(const QString &name);

// A name with a ".." step ("\" counts as "/"): it could climb out of the data
// root from wherever it is resolved.
bool leavesByDotDot(const QString &name);

// The folder DIR enters: an absolute rest as it stands, a rest beginning with "."
// inside the current folder, any other rest inside the data root, no rest the
// data root itself.
QString dirCommandFolder(const QString &rest, const QString &curDir, const QString &homeDir);

// A file of SAVE and COPY: as written when absolute (it holds ":" or begins with a
// separator); else inside the current folder, a leading "." removed.
QString commandFilePath(const QString &name, const QString &curDir);

// The address SAVE fetches: "http://" + the source with "\" turned into "/".
QString downloadAddress(const QString &source);

// The file WAV records into: the rest without a leading ".", ".wav" added when it
// has no extension. Empty when the name would leave the current folder.
QString soundCommandPath(const QString &rest, const QString &curDir);

// The picture PAINT opens: ".bmp" added when the rest has no extension. Empty when
// the name would leave the current folder.
QString paintCommandPath(const QString &rest, const QString &curDir);

// A program word and its file arguments: "." in front means below the data root,
// else below the current folder. All further tokens become one argument, their
// paths joined with blanks. The program is waited for when its path holds ".EXE".
struct ProgramCall
{
    QString program;
    QStringList arguments;
    bool wait = false;
};
ProgramCall programCall(const QStringList &tokens, const QString &curDir, const QString &homeDir);

// A lower-pane search text: a leading "_" opens the pane at the share of the page
// area given by the digit after it, in tenths (3 without a digit); tenths is 0
// when the text does not open the pane.
struct LowerPaneSearch
{
    QString text;
    int tenths = 0;
};
LowerPaneSearch lowerPaneSearch(const QString &text);
