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

namespace {
// The first eight code units of a folded name, four to a number, a missing
// unit as 0: two names whose heads differ are in the order of their heads
// (a name that ends there is a prefix of the other, and comes first).
struct Head
{
    quint64 high = 0;
    quint64 low = 0;
    auto operator<=>(const Head &) const = default;
};

Head headOf(QStringView folded)
{
    Head head;
    for (qsizetype i = 0; i < 8 && i < folded.size(); ++i) {
        quint64 &part = i < 4 ? head.high : head.low;
        part |= quint64(folded[i].unicode()) << (48 - 16 * (i % 4));
    }
    return head;
}
} // namespace

void sortFileNames(QStringList &names)
{
    // Each name is folded once, not on every comparison; in a large folder
    // most comparisons are settled by the heads alone, and the sort moves
    // only heads and positions.
    struct Keyed
    {
        Head head;
        qsizetype at;
    };
    QStringList folded;
    folded.reserve(names.size());
    std::vector<Keyed> keyed;
    keyed.reserve(size_t(names.size()));
    for (qsizetype i = 0; i < names.size(); ++i) {
        folded << names.at(i).toCaseFolded();
        keyed.push_back({headOf(folded.constLast()), i});
    }
    std::sort(keyed.begin(), keyed.end(), [&](const Keyed &a, const Keyed &b) {
        if (a.head != b.head)
            return a.head < b.head;
        const int order = QString::compare(folded.at(a.at), folded.at(b.at), Qt::CaseSensitive);
        return order != 0 ? order < 0 : QString::compare(names.at(a.at), names.at(b.at), Qt::CaseSensitive) < 0;
    });
    QStringList sorted;
    sorted.reserve(names.size());
    for (const Keyed &k : keyed)
        sorted << std::move(names[k.at]);
    names = std::move(sorted);
}
