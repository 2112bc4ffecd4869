#include "core/tools/ordernumbers.h"

#include "core/navigation/pagelist.h"
#include "core/navigation/pathtext.h"
#include "core/tools/linkvalues.h"
#include "core/tools/ordertexts.h"

using namespace Qt::StringLiterals;

QString orderPrefix(int position, int width)
{
    return QString::number(1000 + 10 * qint64(position)).rightJustified(width, u'0') + u'_';
}

int orderNumberWidth(int count)
{
    return std::max(4, int(orderPrefix(std::max(0, count - 1)).size()) - 1);
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

bool levelMatchesFolder(const QStringList &shown, const QString &folder, const QString &exeBaseName)
{
    // Listed as the level's opening lists it.
    bool listed = false;
    const QStringList names = listPageFiles(folder, &listed);
    return listed && pageListOrder(names, exeBaseName) == shown;
}

QStringList levelChanges(const QStringList &shown, const QString &folder, const QString &exeBaseName)
{
    bool listed = false;
    const QStringList names = listPageFiles(folder, &listed);
    if (!listed)
        return {OrderTexts::FolderUnreadable};
    const QStringList now = pageListOrder(names, exeBaseName);
    QStringList lines;
    for (const QString &name : shown)
        if (!now.contains(name))
            lines << OrderTexts::PageGone.arg(name);
    for (const QString &name : now)
        if (!shown.contains(name))
            lines << OrderTexts::PageAdded.arg(name);
    if (lines.isEmpty() && now != shown)
        lines << OrderTexts::PageOrderChanged;
    return lines;
}

ReorderPlan planReorder(const QStringList &entries, int from, int to)
{
    ReorderPlan plan;
    QStringList order = entries;
    const int last = int(order.size()) - 1;
    plan.current = std::max(0, std::min(to, last));
    if (from >= 0 && from <= last)
        order.move(from, plan.current);
    const int width = orderNumberWidth(int(order.size()));
    for (int i = 0; i < order.size(); ++i) {
        const QString &entry = order.at(i);
        if (keepsOrderName(entry))
            continue;
        const QString target = orderPrefix(i, width) + entry.mid(orderPrefixLength(entry));
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

// A new name that would leave the folder, open as a command or break the
// tags of the pages that name it, is none.
static bool usableName(const QString &name)
{
    return !isRefusedLinkName(name) && name != u"."_s && name != u".."_s;
}

static QString numberedName(const NumberedRename &rename, qint64 number, const QString &extension)
{
    return rename.name + u'(' + formatNumber(number, rename.digits) + u')' + extension;
}

QList<PageMove> planNumbered(const QStringList &entries, const NumberedRename &rename, const FolderNames &names)
{
    // The runner moves each page once its new name is free, and sends pages
    // whose names go round through hidden names; a name that stays taken keeps
    // its page where it is.
    QList<PageMove> moves;
    qint64 number = rename.start - rename.step;
    for (int i = std::max(0, rename.first); i <= rename.last && i < entries.size(); ++i) {
        const QString &entry = entries.at(i);
        if (!names.taken(entry))
            continue;
        number += rename.step;
        const QString target = numberedName(rename, number, fileExtension(entry));
        if (target != entry && usableName(target))
            moves.append({entry, target});
    }
    return moves;
}

// Longer names are refused by the file systems the data lives on.
static constexpr qsizetype MaxNameBytes = 255;

NumberedNameProblem numberedNameProblem(const QStringList &entries, const NumberedRename &rename)
{
    if (rename.name.startsWith(u'.'))
        return NumberedNameProblem::Hidden;
    if (!usableName(numberedName(rename, 0, {})))
        return NumberedNameProblem::Refused;
    qint64 number = rename.start;
    for (int i = std::max(0, rename.first); i <= rename.last && i < entries.size(); ++i, number += rename.step) {
        const QString page = numberedName(rename, number, fileExtension(entries.at(i)));
        for (const QString &name : {page, companionName(page, Companion::Note)})
            if (name.toUtf8().size() > MaxNameBytes)
                return NumberedNameProblem::TooLong;
    }
    return NumberedNameProblem::None;
}
