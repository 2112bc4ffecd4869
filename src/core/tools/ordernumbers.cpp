#include "core/tools/ordernumbers.h"

#include "core/navigation/pathtext.h"

using namespace Qt::StringLiterals;

QString orderPrefix(int position)
{
    return QString::number(1000 + 10 * qint64(position)) + u'_';
}

qsizetype orderPrefixLength(const QString &name)
{
    const qsizetype underscore = name.indexOf(u'_');
    return underscore > 0 ? underscore + 1 : 0;
}

bool keepsOrderName(const QString &name)
{
    return pathWithoutExtension(name).contains(u"index"_s);
}

ReorderPlan planReorder(const QStringList &entries, int from, int to)
{
    ReorderPlan plan;
    QStringList order = entries;
    const int last = int(order.size()) - 1;
    plan.current = std::max(0, std::min(to, last));
    if (from >= 0 && from <= last)
        order.move(from, plan.current);
    for (int i = 0; i < order.size(); ++i) {
        const QString &entry = order.at(i);
        if (keepsOrderName(entry))
            continue;
        const QString target = orderPrefix(i) + entry.mid(orderPrefixLength(entry));
        if (target != entry)
            plan.moves.append({entry, target});
    }
    return plan;
}

// name with n more "#" before its extension.
static QString withHashes(const QString &name, int n)
{
    return pathWithoutExtension(name) + QString(n, u'#') + fileExtension(name);
}

QList<PageMove> planStrip(const QStringList &entries, FolderNames &names)
{
    QList<PageMove> moves;
    for (const QString &entry : entries) {
        const qsizetype prefix = orderPrefixLength(entry);
        if (prefix == 0 || !names.taken(entry))
            continue;
        const QString stripped = entry.mid(prefix);
        // Each "#" makes a name no page of the folder has yet, so this ends.
        QString target = stripped;
        for (int n = 1; !names.fits(entry, target); ++n)
            target = withHashes(stripped, n);
        names.move(entry, target);
        moves.append({entry, target});
    }
    return moves;
}

QString formatNumber(qint64 number, int digits)
{
    const QString magnitude = QString::number(number < 0 ? -number : number).rightJustified(digits, u'0');
    return number < 0 ? u'-' + magnitude : magnitude;
}

// A new name that would leave the folder, or open as a command, is none.
static bool usableName(const QString &name)
{
    return !name.contains(u'/') && !name.contains(u'\\') && !name.contains(u'$') && name != u"."_s
        && name != u".."_s;
}

QList<PageMove> planNumbered(const QStringList &entries, const NumberedRename &rename, FolderNames &names)
{
    QList<PageMove> moves;
    QList<PageMove> later;
    qint64 number = rename.start - rename.step;
    for (int i = std::max(0, rename.first); i <= rename.last && i < entries.size(); ++i) {
        const QString &entry = entries.at(i);
        if (!names.taken(entry))
            continue;
        number += rename.step;
        const QString target = rename.name + u'(' + formatNumber(number, rename.digits) + u')' + fileExtension(entry);
        if (target == entry || !usableName(target))
            continue;
        if (names.fits(entry, target)) {
            names.move(entry, target);
            moves.append({entry, target});
        } else {
            later.append({entry, target});
        }
    }
    // Names held by pages of the range that have moved on are free now.
    for (const PageMove &move : std::as_const(later)) {
        if (names.fits(move.from, move.to)) {
            names.move(move.from, move.to);
            moves.append(move);
        }
    }
    return moves;
}
