#pragma once

#include <QString>

// Tests on a page's text and the angle escaping of titles, shared by every window.

// A page of the program: its text holds the document type line.
bool isOwnPage(const QString &text);
// An own page made for printing: never opened in the editor.
bool isPrintPage(const QString &text);
// An editable page: an own page that is not a print page.
bool isEditablePage(const QString &text);
bool isA4Page(const QString &text);
// The page holds the style marker of style n (1 to 4).
bool hasStyleMarker(const QString &text, int n);

// "<" becomes "&lt;", then ">" becomes "&gt;"; "&" is never touched.
QString EscapeAngles(const QString &text);
// "&lt;" becomes "<", then "&gt;" becomes ">"; "&amp;" is never decoded.
QString UnescapeAngles(const QString &text);

// The editor's names for the same two operations.
inline QString HtmlEscapeLtGt(const QString &text) { return EscapeAngles(text); }
inline QString HtmlUnescapeLtGt(const QString &text) { return UnescapeAngles(text); }
