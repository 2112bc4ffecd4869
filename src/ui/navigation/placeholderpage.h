#pragma once

#include <QString>

// Writes the placeholder page "_XXX.html" with title into folder and returns
// its path; empty when it could not be written (a read-only folder).
QString writePlaceholderPage(const QString &folder, const QString &title);

// The same page as text, for showing it when it cannot be written.
QString placeholderPageText(const QString &title);
