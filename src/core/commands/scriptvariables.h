#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// Variable files: text files of name=value lines in CP932 with CR LF, which pages
// include as a script (JS, HISJS). A line that is a value alone is written when
// name and value are the same text.
struct ScriptVariable
{
    QString name;
    QString value;
    bool operator==(const ScriptVariable &) const = default;
};

// The pairs of a file's lines; only lines with "=" at their second character or
// later count.
QList<ScriptVariable> parseVariableLines(const QStringList &lines);

// The file's text: one line per pair, each ended by CR LF.
QString variableFileText(const QList<ScriptVariable> &pairs);

// Name and value of an expression: "'" becomes a double quote; the name is the
// text before the first "=", the value the text after it (both the whole
// expression when it has no "=").
ScriptVariable splitExpression(const QString &expression);

// True when the value asks to delete the file: exactly "DEL".
bool isDeleteValue(const QString &value);

// Applies name=value to the pairs of an existing file: every pair of that name is
// updated (a value holding "+" or "-" and no double quote is added to a numeric
// old value), or the pair is appended.
QList<ScriptVariable> applyVariable(QList<ScriptVariable> pairs, const ScriptVariable &change);

// Sum in the shortest general form, with "." whatever the locale; empty optional
// when either is not a number.
std::optional<QString> addNumbers(const QString &oldValue, const QString &change);

enum class VariableResult {
    Written,
    DeleteRequested, // the value is DEL: the caller removes the file and reopens the page
    Unreadable,      // the file exists but could not be read or decoded: left as it is
    WriteFailed,     // the folder is missing or read-only, or the text is not CP932
};

// Applies one expression to a variable file, writing it anew through a temporary
// file beside it.
VariableResult setScriptVariable(const QString &fileName, const QString &expression);

// History files.

// A learner's name made safe as a file name inside the history folder: the
// characters ' * ? / < > | " \ : become "_", ".." steps are broken, an empty
// name becomes "NAME".
QString safeHistoryName(const QString &name);

// The history path (relative to the current folder, without extension) that HIS
// selects for name.
QString historyPathFor(const QString &name);

// The page text with the value of its first SCRIPT SRC attribute (found without
// regard to case) replaced; empty optional when there is none.
std::optional<QString> repointScriptSrc(const QString &pageText, const QString &src);

enum class RepointResult { Rewritten, Unchanged, NoScript, Unreadable, WriteFailed };

// Points a history page at the history file src. The page is rewritten only when
// it is valid UTF-8 and its source changes; a byte-order mark is kept.
RepointResult repointHistoryPage(const QString &pagePath, const QString &src);

// True for an entry of the level that is a history page.
bool isHistoryPage(const QString &entry);
