#include "core/tools/renameplan.h"

#include "core/app/apptexts.h"
#include "core/app/beneath.h"
#include "core/app/smallfile.h"
#include "core/forms/answercsv.h"
#include "core/navigation/pathtext.h"
#include "core/present/drawing.h"
#include "core/tools/folderentries.h"
#include "core/tools/renamesteps.h"

#include <QRandomGenerator>

#include <algorithm>
#include <cerrno>
#include <functional>
#include <optional>
#include <sys/stat.h>

using namespace Qt::StringLiterals;

// The hidden names pages take while they step aside in a swap: a hidden
// folder of the run's own, or (older copies) a hidden name of the file's own.
static const QString StrandedPrefix = u".kavuno-rename-"_s;

QString companionName(const QString &page, Companion kind)
{
    const QString base = pathWithoutExtension(page);
    switch (kind) {
    case Companion::Note:
        return base + AppTexts::NoteExtension;
    case Companion::Sound:
        return base + AppTexts::SoundExtension;
    case Companion::AnswerCsv:
        return fileNameOf(answerCsvPath(page));
    case Companion::Drawing:
        return fileNameOf(DrawingPath(page));
    case Companion::SubFolder:
        break;
    }
    return base;
}

// The companion moves of page -> to: each companion that lies in the folder
// under its own first name, is no page itself and was not taken along by an
// earlier page of the same base.
static QList<PageMove> companionsOf(const QString &page, const QString &to, Companions kinds,
                                    const std::function<bool(const QString &)> &available,
                                    QList<int> *kindsTaken = nullptr)
{
    QList<PageMove> moves;
    for (const Companion kind : AllCompanions) {
        if (!kinds.testFlag(kind))
            continue;
        const QString from = companionName(page, kind);
        const QString target = companionName(to, kind);
        if (from != target && from != page && available(from)) {
            moves.append({from, target});
            if (kindsTaken)
                kindsTaken->append(int(kind));
        }
    }
    return moves;
}

FolderNames::FolderNames(const QSet<QString> &names, Companions companions)
    : m_names(names)
    , m_companions(companions)
{
}

QSet<QString> FolderNames::list(const QString &folder, bool *ok)
{
    const QStringList names = folderEntries(folder, ok);
    return {names.cbegin(), names.cend()};
}

QList<PageMove> FolderNames::companionMoves(const QString &page, const QString &to) const
{
    return companionsOf(page, to, m_companions, [this](const QString &name) {
        return m_names.contains(name) && m_origin.value(name, name) == name && !m_claimed.contains(name);
    });
}

bool FolderNames::ownCompanionAt(const QString &page, Companion kind, const QString &name) const
{
    return m_origin.value(name, name) == companionName(page, kind);
}

bool FolderNames::fits(const QString &page, const QString &to) const
{
    if (to == page)
        return true;
    if (m_names.contains(to))
        return false;
    for (const Companion kind : AllCompanions) {
        if (!m_companions.testFlag(kind))
            continue;
        const QString name = companionName(to, kind);
        if (name != to && m_names.contains(name) && !ownCompanionAt(page, kind, name))
            return false;
    }
    return true;
}

void FolderNames::move(const QString &page, const QString &to)
{
    if (to == page)
        return;
    QList<PageMove> moves{{page, to}};
    moves += companionMoves(page, to);
    // A companion whose name does not change stays the page's own.
    for (const Companion kind : AllCompanions) {
        if (m_companions.testFlag(kind) && companionName(page, kind) == companionName(to, kind))
            m_claimed.insert(companionName(page, kind));
    }
    for (const PageMove &m : std::as_const(moves)) {
        const QString origin = m_origin.take(m.from);
        m_names.remove(m.from);
        m_names.insert(m.to);
        m_origin.insert(m.to, origin.isEmpty() ? m.from : origin);
        m_claimed.insert(m.from);
    }
}

QList<RenameGroup> groupMoves(const QSet<QString> &names, const QList<PageMove> &moves, Companions companions)
{
    QList<RenameGroup> groups;
    // Names taken along so far, and where to.
    QHash<QString, QString> claimed;
    for (const PageMove &move : moves) {
        RenameGroup group;
        group.page = move;
        if (claimed.contains(move.from)) {
            // A sound listed as a page that its page takes along.
            group.takenAlong = true;
            group.items << PageMove{move.from, claimed.value(move.from)};
            group.kinds << 0;
        } else if (move.to != move.from) {
            group.items << move;
            group.kinds << 0;
            group.items += companionsOf(move.from, move.to, companions, [&](const QString &name) {
                return names.contains(name) && !claimed.contains(name);
            }, &group.kinds);
            for (const PageMove &item : std::as_const(group.items))
                claimed.insert(item.from, item.to);
            // A companion whose name does not change stays the page's own.
            for (const Companion kind : AllCompanions) {
                const QString kept = companionName(move.from, kind);
                if (companions.testFlag(kind) && kept == companionName(move.to, kind) && names.contains(kept))
                    claimed.insert(kept, kept);
            }
        }
        groups << group;
    }
    return groups;
}

namespace {

// The name a position has in its folder: a name, or the last part of "<hidden folder>/<name>".
QString baseName(const QString &position)
{
    return position.mid(position.lastIndexOf(u'/') + 1);
}

bool inHiddenFolder(const QString &position)
{
    return position.contains(u'/');
}

// Carries out groups of moves in the order their targets come free.
class MoveRunner
{
public:
    MoveRunner(const QString &folder, const QList<RenameGroup> &groups, Companions kinds,
               const QList<QStringList> &current, const MoveLog &log)
        : m_folder(folder)
        , m_kinds(kinds)
        , m_log(log)
        , m_temp(StrandedPrefix + QString::number(QRandomGenerator::system()->generate64(), 16))
    {
        m_names = FolderNames::list(folder);
        for (qsizetype g = 0; g < groups.size(); ++g) {
            Group group;
            group.plan = groups.at(g);
            group.current = g < current.size() && current.at(g).size() == group.plan.items.size()
                                ? current.at(g)
                                : QStringList();
            if (group.current.isEmpty()) {
                for (const PageMove &item : std::as_const(group.plan.items))
                    group.current << (group.plan.takenAlong ? item.to : item.from);
            }
            group.inTemp = std::any_of(group.current.cbegin(), group.current.cend(),
                                       [](const QString &name) { return inHiddenFolder(name) || isStrandedRenameName(name); });
            if (group.plan.takenAlong || group.plan.items.isEmpty() || atTargets(group))
                group.state = Done;
            m_groups << group;
        }
        for (qsizetype g = 0; g < m_groups.size(); ++g) {
            if (m_groups.at(g).state == Pending) {
                for (const QString &name : std::as_const(m_groups.at(g).current))
                    m_owner.insert(name, g);
            }
        }
    }

    RenameOutcome run()
    {
        takeOverHiddenFolders();
        for (qsizetype g = 0; g < m_groups.size(); ++g)
            m_queue << g;
        for (;;) {
            drainQueue();
            if (!breakStall())
                break;
        }
        if (m_tempMade)
            Beneath::removeFolder(path(m_temp));
        RenameOutcome outcome;
        for (const Group &group : std::as_const(m_groups)) {
            const QString name = group.current.isEmpty() ? group.plan.page.from : group.current.constFirst();
            outcome.finalNames << name;
            if (group.state == Failed)
                outcome.failed << group.plan.page.from;
            // Names under which a stopped swap left a group are not theirs.
            if (group.plan.takenAlong || group.inTemp)
                continue;
            for (qsizetype i = 0; i < group.plan.items.size(); ++i)
                if (group.current.at(i) != group.plan.items.at(i).from)
                    outcome.moved.append({group.plan.items.at(i).from, group.current.at(i)});
        }
        return outcome;
    }

private:
    enum State { Pending, Done, Failed };
    struct Group
    {
        RenameGroup plan;
        QStringList current; // where each item is now
        State state = Pending;
        bool inTemp = false;
    };
    // What keeps a group from moving: nothing, a name another pending group will give up, or a name that stays.
    enum Block { Free, Waits, Stays };

    QString path(const QString &name) const { return m_folder + u'/' + name; }

    static bool atTargets(const Group &group)
    {
        for (qsizetype i = 0; i < group.plan.items.size(); ++i)
            if (group.current.at(i) != group.plan.items.at(i).to)
                return false;
        return true;
    }

    // One rename that never replaces a file. One that another finisher of
    // the same record made already (its source gone, its target there) counts
    // as made.
    bool moveName(const QString &from, const QString &to) const
    {
        RenameSteps::before(u"move"_s, path(from), path(to));
        if (Beneath::rename(path(from), path(to), false))
            return true;
        const int why = errno;
        if (Beneath::exists(path(from)) || errno != ENOENT || !Beneath::exists(path(to))) {
            errno = why;
            return false;
        }
        return true;
    }

    // A target that stays taken may be the very file the group moves there,
    // named twice by a move made halfway (or late): its old name goes.
    bool adoptSecondName(qsizetype g, const QString &taken)
    {
        Group &group = m_groups[g];
        for (qsizetype i = 0; i < group.current.size(); ++i) {
            const QString from = group.current.at(i);
            if (group.plan.items.at(i).to != taken || from == taken || !namesOneFile(path(from), path(taken)))
                continue;
            if (!logged(g, i, taken) || !Beneath::remove(path(from)))
                return false;
            m_names.remove(from);
            m_owner.remove(from);
            m_owner.insert(taken, g);
            const QString origin = m_origin.take(from);
            m_origin.insert(taken, origin.isEmpty() ? from : origin);
            group.current[i] = taken;
            m_queue += m_waiters.take(from);
            return true;
        }
        return false;
    }

    // This run's hidden folder, made before the first move into it is told,
    // so that a stalled making is followed by the look at the lock that
    // every told move begins with.
    bool makeTemp()
    {
        if (!m_tempMade && Beneath::makeFolder(path(m_temp), 0777)) {
            m_tempMade = true;
            m_names.insert(m_temp);
        }
        return m_tempMade;
    }

    // Another run's hidden folder may still receive a move that run sent
    // before it lost the folder: what it holds of the groups comes into this
    // run's, and it goes, so that such a move finds no folder to land in.
    void takeOverHiddenFolders()
    {
        for (int round = 0; round < 3; ++round) {
            QStringList others;
            for (const QString &name : std::as_const(m_names))
                if (name != m_temp && isRenameTempFolderName(name))
                    others << name;
            bool again = false;
            for (const QString &other : std::as_const(others)) {
                for (const QString &entry : folderEntries(path(other)))
                    takeOver(other + u'/' + entry);
                if (Beneath::removeFolder(path(other)))
                    m_names.remove(other);
                else
                    again = again || errno == ENOTEMPTY || errno == EEXIST;
            }
            if (!again)
                return;
        }
    }

    // The item whose file stands at position (in another run's hidden
    // folder) goes into this run's.
    void takeOver(const QString &position)
    {
        const QString name = baseName(position);
        for (qsizetype g = 0; g < m_groups.size(); ++g) {
            Group &group = m_groups[g];
            for (qsizetype i = 0; i < group.current.size(); ++i) {
                if (group.plan.takenAlong || baseName(group.current.at(i)) != name)
                    continue;
                if (!inHiddenFolder(group.current.at(i)) && group.current.at(i) != name)
                    continue;
                // An item still at its name is not the one that stepped aside,
                // unless this is its second name.
                if (!inHiddenFolder(group.current.at(i)) && Beneath::exists(path(name))) {
                    if (namesOneFile(path(name), path(position)))
                        Beneath::remove(path(position));
                    return;
                }
                const QString to = freeTempName(name);
                if (!makeTemp() || !logged(g, i, to) || !moveName(position, to))
                    return;
                m_owner.remove(group.current.at(i));
                m_names.remove(group.current.at(i));
                group.current[i] = to;
                m_names.insert(to);
                m_owner.insert(to, g);
                group.inTemp = true;
                return;
            }
        }
    }

    Block blocker(qsizetype g, QString *name) const
    {
        const Group &group = m_groups.at(g);
        QStringList targets;
        for (qsizetype i = 0; i < group.plan.items.size(); ++i)
            if (group.current.at(i) != group.plan.items.at(i).to)
                targets << group.plan.items.at(i).to;
        // A companion the page has none of must not be waiting at its new name
        // either, or it would become the page's own; one taken along by a page
        // of the same base is its own already.
        const PageMove &page = group.plan.page;
        for (const Companion kind : AllCompanions) {
            if (!m_kinds.testFlag(kind))
                continue;
            const QString own = companionName(page.from, kind);
            const QString at = companionName(page.to, kind);
            const bool carried = std::any_of(group.plan.items.cbegin(), group.plan.items.cend(),
                                             [&](const PageMove &item) { return item.to == at; });
            if (!carried && at != page.to && m_origin.value(at, at) != own)
                targets << at;
        }
        for (const QString &target : std::as_const(targets)) {
            if (!m_names.contains(target))
                continue;
            *name = target;
            const qsizetype owner = m_owner.value(target, -1);
            return owner >= 0 && owner != g && m_groups.at(owner).state == Pending ? Waits : Stays;
        }
        return Free;
    }

    void drainQueue()
    {
        while (!m_queue.isEmpty()) {
            const qsizetype g = m_queue.takeFirst();
            if (m_groups.at(g).state != Pending)
                continue;
            QString name;
            switch (blocker(g, &name)) {
            case Free:
                if (renameGroup(g, targetsOf(g))) {
                    m_groups[g].state = Done;
                    m_groups[g].inTemp = false;
                } else {
                    fail(g);
                }
                break;
            case Waits:
                m_waiters[name] << g;
                break;
            case Stays:
                if (adoptSecondName(g, name))
                    m_queue << g;
                else
                    fail(g);
                break;
            }
        }
    }

    // Nothing can move: groups held by names that stay give up; of those that
    // wait on each other (names swapped round), one steps aside into the
    // hidden folder. False when nothing is left to do.
    bool breakStall()
    {
        bool gaveUp = true;
        while (gaveUp) {
            gaveUp = false;
            for (qsizetype g = 0; g < m_groups.size(); ++g) {
                QString name;
                if (m_groups.at(g).state == Pending && blocker(g, &name) == Stays) {
                    if (!adoptSecondName(g, name))
                        fail(g);
                    gaveUp = true;
                }
            }
        }
        // A name given back by a group that gave up may have let another go.
        for (qsizetype g = 0; g < m_groups.size(); ++g) {
            QString name;
            if (m_groups.at(g).state == Pending && blocker(g, &name) == Free) {
                m_queue << g;
                return true;
            }
        }
        for (qsizetype g = 0; g < m_groups.size(); ++g) {
            Group &group = m_groups[g];
            if (group.state != Pending || group.inTemp)
                continue;
            QStringList temps;
            for (const QString &name : std::as_const(group.current))
                temps << freeTempName(name);
            if (!makeTemp() || !renameGroup(g, temps)) {
                fail(g);
                return true;
            }
            group.inTemp = true;
            m_queue << g;
            return true;
        }
        return false;
    }

    // A name in the hidden folder that still tells what it was, should the
    // program be stopped midway.
    QString freeTempName(const QString &original) const
    {
        const QString name = baseName(original);
        QString free = m_temp + u'/' + name;
        for (int n = 1; m_names.contains(free); ++n)
            free = m_temp + u'/' + QString::number(n) + u'.' + name;
        return free;
    }

    QStringList targetsOf(qsizetype g) const
    {
        QStringList targets;
        for (const PageMove &item : m_groups.at(g).plan.items)
            targets << item.to;
        return targets;
    }

    bool logged(qsizetype g, qsizetype i, const QString &to) const { return !m_log || m_log(g, i, to); }

    // Renames every item of the group, or none: a failure puts the moved ones back.
    bool renameGroup(qsizetype g, const QStringList &targets)
    {
        Group &group = m_groups[g];
        const QStringList before = group.current;
        QList<qsizetype> done;
        bool whole = true;
        for (qsizetype i = 0; i < before.size() && whole; ++i) {
            if (before.at(i) == targets.at(i))
                continue;
            whole = logged(g, i, targets.at(i));
            if (whole && !moveName(before.at(i), targets.at(i))) {
                logged(g, i, before.at(i));
                whole = false;
            }
            if (whole)
                done << i;
        }
        if (!whole) {
            for (auto i = done.crbegin(); i != done.crend(); ++i) {
                if (logged(g, *i, before.at(*i)) && !moveName(targets.at(*i), before.at(*i)))
                    logged(g, *i, targets.at(*i));
            }
            return false;
        }
        for (const qsizetype i : std::as_const(done)) {
            const QString origin = m_origin.take(before.at(i));
            m_names.remove(before.at(i));
            m_owner.remove(before.at(i));
            m_names.insert(targets.at(i));
            m_owner.insert(targets.at(i), g);
            m_origin.insert(targets.at(i), origin.isEmpty() ? before.at(i) : origin);
            group.current[i] = targets.at(i);
            m_queue += m_waiters.take(before.at(i));
        }
        return true;
    }

    // A group that cannot move keeps its names; one that stepped aside or
    // moved in part gets its first names back, or free ones next to them
    // ("a#.html" with "a#.%xt").
    void fail(qsizetype g)
    {
        Group &group = m_groups[g];
        group.state = Failed;
        const RenameGroup &plan = group.plan;
        bool moved = false;
        for (qsizetype i = 0; i < plan.items.size(); ++i)
            moved = moved || group.current.at(i) != plan.items.at(i).from;
        if (!moved)
            return;
        for (int hashes = 0; hashes < 1000; ++hashes) {
            const QString page = hashes == 0 ? plan.page.from
                                             : pathWithoutExtension(plan.page.from) + QString(hashes, u'#')
                                                   + fileExtension(plan.page.from);
            QStringList targets{page};
            for (qsizetype i = 1; i < plan.items.size(); ++i)
                targets << (hashes == 0 ? plan.items.at(i).from : companionName(page, Companion(plan.kinds.value(i))));
            bool taken = false;
            for (qsizetype i = 0; i < targets.size(); ++i)
                taken = taken || (targets.at(i) != group.current.at(i) && m_names.contains(targets.at(i)));
            if (taken)
                continue;
            if (renameGroup(g, targets)) {
                group.inTemp = false;
                return;
            }
        }
    }

    QString m_folder;
    Companions m_kinds;
    MoveLog m_log;
    // This run's hidden folder, and whether it was made.
    QString m_temp;
    bool m_tempMade = false;
    QSet<QString> m_names;
    QHash<QString, QString> m_origin;
    QHash<QString, qsizetype> m_owner;
    QHash<QString, QList<qsizetype>> m_waiters;
    QList<qsizetype> m_queue;
    QList<Group> m_groups;
};

// A file left under a hidden name: that name and the name it had.
struct Stray
{
    QString hidden;
    QString original;
    bool settled = false;
};

QList<Stray> straysOf(const QString &folder, QStringList *hiddenFolders)
{
    QList<Stray> strays;
    for (const QString &hidden : folderEntries(folder)) {
        if (!hidden.startsWith(StrandedPrefix))
            continue;
        if (isRenameTempFolderName(hidden)) {
            *hiddenFolders << hidden;
            for (const QString &entry : folderEntries(folder + u'/' + hidden))
                strays.append({hidden + u'/' + entry, entry});
            continue;
        }
        const qsizetype dot = hidden.indexOf(u'.', StrandedPrefix.size());
        bool numbered = false;
        hidden.mid(StrandedPrefix.size(), dot - StrandedPrefix.size()).toInt(&numbered);
        const QString original = dot < 0 ? QString() : hidden.mid(dot + 1);
        if (numbered && !original.isEmpty() && !original.contains(u'/') && original != u".."_s)
            strays.append({hidden, original});
    }
    return strays;
}

} // namespace

QStringList restoreStrandedRenames(const QString &folder)
{
    QStringList restored;
    QStringList hiddenFolders;
    QList<Stray> strays = straysOf(folder, &hiddenFolders);
    const auto at = [&](const QString &name) -> QString { return folder + u'/' + name; };
    // The page's companions hidden with it: the strays named after it.
    const auto companionsOf = [&](const Stray &page) {
        QList<std::pair<qsizetype, Companion>> found;
        for (qsizetype i = 0; i < strays.size(); ++i) {
            for (const Companion kind : AllCompanions) {
                if (!strays.at(i).settled && &strays.at(i) != &page && strays.at(i).original == companionName(page.original, kind))
                    found.append({i, kind});
            }
        }
        return found;
    };
    const auto isCompanion = [&](const Stray &stray) {
        return std::any_of(strays.cbegin(), strays.cend(), [&](const Stray &page) {
            return !page.settled && &page != &stray && std::any_of(std::cbegin(AllCompanions), std::cend(AllCompanions),
                [&](Companion kind) { return companionName(page.original, kind) == stray.original; });
        });
    };
    // Pages with their companions first, then companions left alone: each
    // under its own name where that is free, else the first free "#" name.
    for (const bool companions : {false, true}) {
        for (Stray &page : strays) {
            if (page.settled || (!companions && isCompanion(page)))
                continue;
            // A second name of the file under its own name is no stray.
            if (namesOneFile(at(page.hidden), at(page.original))) {
                page.settled = Beneath::remove(at(page.hidden));
                continue;
            }
            const QList<std::pair<qsizetype, Companion>> along = companionsOf(page);
            for (int hashes = 0; hashes < 1000 && !page.settled; ++hashes) {
                const QString name = pathWithoutExtension(page.original) + QString(hashes, u'#') + fileExtension(page.original);
                QStringList targets{name};
                for (const auto &[i, kind] : along)
                    targets << companionName(name, kind);
                if (std::any_of(targets.cbegin(), targets.cend(), [&](const QString &t) { return Beneath::exists(at(t)); }))
                    continue;
                page.settled = Beneath::rename(at(page.hidden), at(name), false);
                if (!page.settled)
                    break;
                restored << name;
                for (qsizetype k = 0; k < along.size(); ++k) {
                    Stray &companion = strays[along.at(k).first];
                    companion.settled = Beneath::rename(at(companion.hidden), at(targets.at(k + 1)), false);
                    if (companion.settled)
                        restored << targets.at(k + 1);
                }
            }
        }
    }
    for (const QString &hidden : std::as_const(hiddenFolders))
        Beneath::removeFolder(at(hidden));
    return restored;
}

bool namesOneFile(const QString &one, const QString &other)
{
    struct stat a;
    struct stat b;
    if (!Beneath::stat(one, &a, false) || !Beneath::stat(other, &b, false) || !S_ISREG(a.st_mode) || !S_ISREG(b.st_mode))
        return false;
    if (a.st_dev == b.st_dev && a.st_ino == b.st_ino)
        return true;
    if (a.st_size != b.st_size || a.st_mtim.tv_sec != b.st_mtim.tv_sec || a.st_mtim.tv_nsec != b.st_mtim.tv_nsec
        || a.st_size > WholeTextLimit)
        return false;
    const std::optional<QByteArray> first = readTextFile(one);
    return first && first == readTextFile(other);
}

bool isStrandedRenameName(const QString &fileName)
{
    return fileName.startsWith(StrandedPrefix);
}

bool isRenameTempFolderName(const QString &name)
{
    const qsizetype tag = name.size() - StrandedPrefix.size();
    return name.startsWith(StrandedPrefix) && tag > 0 && tag <= 32
           && std::all_of(name.cbegin() + StrandedPrefix.size(), name.cend(),
                          [](QChar c) { return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f'); });
}

RenameOutcome carryOutGroups(const QString &folder, const QList<RenameGroup> &groups, Companions companions,
                             const QList<QStringList> &current, const MoveLog &log)
{
    return MoveRunner(folder, groups, companions, current, log).run();
}

RenameOutcome carryOutMoves(const QString &folder, const QList<PageMove> &moves, Companions companions)
{
    return carryOutGroups(folder, groupMoves(FolderNames::list(folder), moves, companions), companions);
}
