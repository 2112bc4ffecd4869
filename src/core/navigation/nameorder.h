#pragma once

#include <QString>
#include <QStringList>

// The one order of file names used everywhere ("by name without regard to case"):
// the case-folded names by UTF-16 code units first, then the names as they are,
// so that the order is total and the same on every machine.
bool fileNameLess(const QString &a, const QString &b);

void sortFileNames(QStringList &names);
