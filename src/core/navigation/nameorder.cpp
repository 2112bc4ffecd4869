#include "core/navigation/nameorder.h"

#include <algorithm>
#include <vector>

bool fileNameLess(const QString &a, const QString &b)
{
    const int folded = QString::compare(a.toCaseFolded(), b.toCaseFolded(), Qt::CaseSensitive);
    if (folded != 0)
        return folded < 0;
    return QString::compare(a, b, Qt::CaseSensitive) < 0;
}

void sortFileNames(QStringList &names)
{
    // Each name is folded once, not on every comparison.
    struct Keyed
    {
        QString folded;
        QString name;
    };
    std::vector<Keyed> keyed;
    keyed.reserve(names.size());
    for (QString &name : names)
        keyed.push_back({name.toCaseFolded(), std::move(name)});
    std::sort(keyed.begin(), keyed.end(), [](const Keyed &a, const Keyed &b) {
        const int folded = QString::compare(a.folded, b.folded, Qt::CaseSensitive);
        return folded != 0 ? folded < 0 : QString::compare(a.name, b.name, Qt::CaseSensitive) < 0;
    });
    for (qsizetype i = 0; i < names.size(); ++i)
        names[i] = std::move(keyed[size_t(i)].name);
}
