#pragma once

#include <QDate>
#include <QString>

// The text of a brand-new page dated date, as handed to the editor: lines separated
// by a lone CR, a dated title, the fixed style-1 block and no note block (the first
// save adds one).
QString newPageText(const QDate &date);

// The placeholder page showing status in its heading (raw, not escaped); lines are
// separated by a lone CR, the last one included.
QString progressPageText(const QString &status);

// Writes the placeholder page "_XXX.html" into folder with status as its heading and
// returns its path for the browser. Several copies write the same file, so it is
// replaced atomically; a failed write is ignored (the old page, if any, stays whole).
QString NEWHTMLSAVE(const QString &folder, const QString &status);
