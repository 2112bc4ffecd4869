#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// Link commands: an address holding "$" at its second character or later is not
// followed but run. "/$NEXT", "file:///x/$GO intro" and "a$NEXT" mean the same.

// The address with every percent escape decoded as UTF-8: the browser escapes
// Japanese text, "【", "<" and blanks, and the command language sees them plain.
QString decodeAddress(const QString &address);

// True when the (decoded) address is a command line.
bool isCommandAddress(const QString &address);

// The command line of an address: decoded, everything up to and including the
// first "$" dropped, one "," appended. Empty optional when it is no command line.
std::optional<QString> commandLineFromAddress(const QString &address);

// Splits a line that ends in ",": each command is the text before the next ",";
// after it, everything up to and including the next "$" is skipped, so "A,$B,$C,"
// gives A, B, C and "A,B,$C," gives A and C. An empty command stays in the list
// (the runner ends the line there).
QStringList splitCommandLine(const QString &line);

// The branch of a conditional "<N[A][B]" or ">N[A][B]" chosen by the counter:
// "<" takes A when N is greater than the counter, ">" when N is less; else B.
// A missing branch is empty; N that is not a number counts as 0.
QString chooseByCounter(const QString &command, int counter);

// A counter command: "=" plus one character plus a number sets the counter,
// "+N" adds, "-N" subtracts. Empty optional when the number is not an integer:
// the line then ends.
std::optional<int> applyCounter(const QString &command, int counter);

// An integer with blanks around it and an optional sign.
std::optional<int> parseCounterNumber(const QString &text);

// What the runner does with one command of a line.
enum class CommandKind { Empty, Conditional, Counter, Word };
CommandKind commandKind(const QString &command);

// Where a command line comes from. Pages loaded from the web may only move
// between pages and search.
enum class CommandOrigin { LocalPage, WebPage };

// The origin of commands in the page shown at pageAddress.
CommandOrigin originOf(const QString &pageAddress);

// The origin of a command link: from the web when the page that holds it is a
// web page, or when the link itself is a web address (a web frame inside a
// local page resolves its links against the web).
CommandOrigin originOf(const QString &pageAddress, const QString &linkAddress);

// Whether a command word may run from a page loaded from the web: such pages may
// move between pages and search, never write files, download or start programs.
bool wordAllowedFromWeb(const QString &word);
