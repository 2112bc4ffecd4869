#include "core/navigation/nameorder.h"

#include <algorithm>

bool fileNameLess(const QString &a, const QString &b)
{
    const int folded = QString::compare(a.toCaseFolded(), b.toCaseFolded(), Qt::CaseSensitive);
    if (folded != 0)
        return folded < 0;
    return QString::compare(a, b, Qt::CaseSensitive) < 0;
}

void sortFileNames(QStringList &names)
{
    std::sort(names.begin(), names.end(), fileNameLess);
}
