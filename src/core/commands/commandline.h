#pragma once

#include "core/commands/commandorigin.h"

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

// The position of the "$" that starts the command line of a (decoded) address,
// -1 when it is none. A file: address that names an existing file is a page,
// whatever its name holds; a "$" in the existing folders at its front (a data
// root under "c$", a folder "a$b") belongs to them, so the command starts at the
// first "$" after them. Other addresses: the first "$" from the second character.
qsizetype commandStart(const QString &address);

// The command line of an address: decoded, everything up to and including the
// "$" that starts it dropped, one "," appended. Empty optional when it is no
// command line.
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

// The origin of commands in the page shown at pageAddress, by its address alone.
CommandOrigin originOf(const QString &pageAddress);

// Whether a command word may run from a page loaded from the web: such pages may
// move between pages and search, never write files, download or start programs.
bool wordAllowedFromWeb(const QString &word);
