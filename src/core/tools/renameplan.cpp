#include "core/tools/renameplan.h"

#include "core/app/apptexts.h"
#include "core/app/filerename.h"
#include "core/app/smallfile.h"
#include "core/navigation/pathtext.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>

#include <algorithm>
#include <functional>

using namespace Qt::StringLiterals;

// The hidden names pages take while they step aside in a swap.
static const QString StrandedPrefix = u".kavuno-rename-"_s;
// While a page and its companions move, the moves of that group: should the
// program be stopped between them, the next rename in the folder puts the
// group together again. Names are separated by NUL, which no name holds.
static const QString GroupRecordName = u".kavuno-renaming"_s;

// The record is made new, so a group never runs while another program's
// group in the same folder is unsettled. It is written before any move of its
// group: a program stopped while writing it has moved nothing, so it needs
// neither a temporary nor a sync, which would cost a folder listing and a
// disk flush for every page of a level.
static bool writeGroupRecord(const QString &path, const QStringList &names)
{
    const QByteArray bytes = names.join(QChar(0)).toUtf8();
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::NewOnly) && file.write(bytes) == bytes.size() && file.flush();
}

QString companionName(const QString &page, Companion kind)
{
    const QString base = pathWithoutExtension(page);
    switch (kind) {
    case Companion::Note:
        return base + AppTexts::NoteExtension;
    case Companion::Sound:
        return base + AppTexts::SoundExtension;
    case Companion::SubFolder:
        break;
    }
    return base;
}

// The companion moves of page -> to: each companion that lies in the folder
// under its own first name, is no page itself and was not taken along by an
// earlier page of the same base.
static QList<PageMove> companionsOf(const QString &page, const QString &to, Companions kinds,
                                    const std::function<bool(const QString &)> &available)
{
    QList<PageMove> moves;
    for (const Companion kind : AllCompanions) {
        if (!kinds.testFlag(kind))
            continue;
        const QString from = companionName(page, kind);
        const QString target = companionName(to, kind);
        if (from != target && from != page && available(from))
            moves.append({from, target});
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
    const QDir dir(folder);
    if (ok)
        *ok = dir.exists() && dir.isReadable();
    const QStringList names = dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
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
    for (const PageMove &m : std::as_const(moves)) {
        const QString origin = m_origin.take(m.from);
        m_names.remove(m.from);
        m_names.insert(m.to);
        m_origin.insert(m.to, origin.isEmpty() ? m.from : origin);
        m_claimed.insert(m.from);
    }
}

namespace {

// Carries out a list of page moves in the order their targets come free.
class MoveRunner
{
public:
    MoveRunner(const QString &folder, const QList<PageMove> &moves, Companions kinds)
        : m_folder(folder)
        , m_kinds(kinds)
    {
        m_names = FolderNames::list(folder);
        // Names taken along so far, and where to.
        QHash<QString, QString> claimed;
        for (const PageMove &move : moves) {
            Group group;
            group.page = move;
            if (claimed.contains(move.from)) {
                // A sound listed as a page that its page takes along.
                group.state = Done;
                group.takenAlong = true;
                group.items << PageMove{move.from, claimed.value(move.from)};
            } else if (move.to != move.from) {
                group.items << move;
                group.items += companionsOf(move.from, move.to, kinds, [&](const QString &name) {
                    return m_names.contains(name) && !claimed.contains(name);
                });
                for (const PageMove &item : std::as_const(group.items))
                    claimed.insert(item.from, item.to);
            } else {
                group.state = Done;
            }
            group.current.reserve(group.items.size());
            for (const PageMove &item : std::as_const(group.items))
                group.current << (group.state == Done ? item.to : item.from);
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
        for (qsizetype g = 0; g < m_groups.size(); ++g)
            m_queue << g;
        for (;;) {
            drainQueue();
            if (!breakStall())
                break;
        }
        RenameOutcome outcome;
        for (const Group &group : std::as_const(m_groups)) {
            const QString name = group.current.isEmpty() ? group.page.from : group.current.constFirst();
            outcome.finalNames << name;
            if (group.state == Failed)
                outcome.failed << group.page.from;
            // Names under which a stopped swap left a group are not theirs.
            if (group.takenAlong || group.inTemp)
                continue;
            for (qsizetype i = 0; i < group.items.size(); ++i)
                if (group.current.at(i) != group.items.at(i).from)
                    outcome.moved.append({group.items.at(i).from, group.current.at(i)});
        }
        return outcome;
    }

private:
    enum State { Pending, Done, Failed };
    struct Group
    {
        PageMove page;
        QList<PageMove> items; // the page first, then its companions
        QStringList current;   // where each item is now
        State state = Pending;
        bool inTemp = false;
        bool takenAlong = false;
    };
    // What keeps a group from moving: nothing, a name another pending group will give up, or a name that stays.
    enum Block { Free, Waits, Stays };

    QString path(const QString &name) const { return m_folder + u'/' + name; }

    Block blocker(qsizetype g, QString *name) const
    {
        const Group &group = m_groups.at(g);
        QStringList targets;
        for (const PageMove &item : group.items)
            targets << item.to;
        // A companion the page has none of must not be waiting at its new name
        // either, or it would become the page's own; one taken along by a page
        // of the same base is its own already.
        for (const Companion kind : AllCompanions) {
            if (!m_kinds.testFlag(kind))
                continue;
            const QString own = companionName(group.page.from, kind);
            const QString at = companionName(group.page.to, kind);
            const bool carried = std::any_of(group.items.cbegin(), group.items.cend(),
                                             [&](const PageMove &item) { return item.to == at; });
            if (!carried && at != group.page.to && m_origin.value(at, at) != own)
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
                if (renameGroup(g, targetsOf(g)))
                    m_groups[g].state = Done;
                else
                    fail(g);
                break;
            case Waits:
                m_waiters[name] << g;
                break;
            case Stays:
                fail(g);
                break;
            }
        }
    }

    // Nothing can move: groups held by names that stay give up; of those that
    // wait on each other (names swapped round), one steps aside to temporary
    // names. False when nothing is left to do.
    bool breakStall()
    {
        bool gaveUp = true;
        while (gaveUp) {
            gaveUp = false;
            for (qsizetype g = 0; g < m_groups.size(); ++g) {
                QString name;
                if (m_groups.at(g).state == Pending && blocker(g, &name) == Stays) {
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
            if (!renameGroup(g, temps)) {
                fail(g);
                return true;
            }
            group.inTemp = true;
            m_queue << g;
            return true;
        }
        return false;
    }

    // A hidden name that still tells what it was, should the program be stopped midway.
    QString freeTempName(const QString &original)
    {
        QString name;
        do {
            name = StrandedPrefix + u"%1."_s.arg(++m_tempCount);
            if ((name + original).toUtf8().size() <= 255)
                name += original;
        } while (m_names.contains(name) || QFileInfo::exists(path(name)));
        return name;
    }

    QStringList targetsOf(qsizetype g) const
    {
        QStringList targets;
        for (const PageMove &item : m_groups.at(g).items)
            targets << item.to;
        return targets;
    }

    // Renames every item of the group, or none: a failure puts the moved ones back.
    bool renameGroup(qsizetype g, const QStringList &targets)
    {
        Group &group = m_groups[g];
        const QStringList before = group.current;
        // A lone page moves in one step; a group is recorded first.
        const bool recorded = group.items.size() > 1;
        if (recorded) {
            QStringList record;
            for (qsizetype i = 0; i < before.size(); ++i)
                record << before.at(i) << targets.at(i);
            if (!writeGroupRecord(path(GroupRecordName), record))
                return false;
        }
        const auto settled = qScopeGuard([&] {
            if (recorded)
                QFile::remove(path(GroupRecordName));
        });
        qsizetype done = 0;
        for (; done < group.items.size(); ++done) {
            if (!renameWithoutReplace(path(before.at(done)), path(targets.at(done))))
                break;
        }
        if (done < group.items.size()) {
            for (qsizetype i = done - 1; i >= 0; --i)
                renameWithoutReplace(path(targets.at(i)), path(before.at(i)));
            return false;
        }
        for (qsizetype i = 0; i < group.items.size(); ++i) {
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

    // A group that cannot move keeps its names; one that stepped aside gets
    // its old names back, or free ones next to them ("a#.html").
    void fail(qsizetype g)
    {
        Group &group = m_groups[g];
        group.state = Failed;
        if (!group.inTemp)
            return;
        for (int hashes = 0; hashes < 1000; ++hashes) {
            const QString page = hashes == 0 ? group.page.from
                                             : pathWithoutExtension(group.page.from) + QString(hashes, u'#')
                                                   + fileExtension(group.page.from);
            // Companions share the page's name without extension.
            const qsizetype baseLength = pathWithoutExtension(group.page.from).size();
            QStringList targets{page};
            for (qsizetype i = 1; i < group.items.size(); ++i)
                targets << pathWithoutExtension(page) + group.items.at(i).from.mid(baseLength);
            if (std::any_of(targets.cbegin(), targets.cend(), [this](const QString &t) { return m_names.contains(t); }))
                continue;
            if (renameGroup(g, targets)) {
                group.inTemp = false;
                return;
            }
        }
    }

    QString m_folder;
    Companions m_kinds;
    QSet<QString> m_names;
    QHash<QString, QString> m_origin;
    QHash<QString, qsizetype> m_owner;
    QHash<QString, QList<qsizetype>> m_waiters;
    QList<qsizetype> m_queue;
    QList<Group> m_groups;
    int m_tempCount = 0;
};

} // namespace

// A name from the record that stays in the folder.
static bool plainName(const QString &name)
{
    return !name.isEmpty() && name != u"."_s && name != u".."_s && !name.contains(u'/') && !name.contains(u'\\');
}

// Puts back together a group whose moves a stopped program left half done.
static void settleInterruptedGroup(const QDir &dir)
{
    const QString record = dir.filePath(GroupRecordName);
    if (!QFileInfo::exists(record))
        return;
    const QStringList names = QString::fromUtf8(readTextFile(record).value_or(QByteArray())).split(QChar(0));
    QList<PageMove> moves;
    for (qsizetype i = 0; i + 1 < names.size(); i += 2)
        moves.append({names.at(i), names.at(i + 1)});
    const bool valid = names.size() % 2 == 0 && std::all_of(moves.cbegin(), moves.cend(), [](const PageMove &m) {
        return plainName(m.from) && plainName(m.to);
    });
    const auto movedWhole = [&](const PageMove &m) {
        return !QFileInfo::exists(dir.filePath(m.from)) && QFileInfo::exists(dir.filePath(m.to));
    };
    if (valid && !std::all_of(moves.cbegin(), moves.cend(), movedWhole)) {
        for (auto m = moves.crbegin(); m != moves.crend(); ++m)
            if (movedWhole(*m))
                renameWithoutReplace(dir.filePath(m->to), dir.filePath(m->from));
    }
    QFile::remove(record);
}

QStringList restoreStrandedRenames(const QString &folder)
{
    QStringList restored;
    const QDir dir(folder);
    settleInterruptedGroup(dir);
    for (const QString &hidden : dir.entryList({StrandedPrefix + u'*'}, QDir::AllEntries | QDir::Hidden | QDir::System)) {
        const qsizetype dot = hidden.indexOf(u'.', StrandedPrefix.size());
        bool numbered = false;
        hidden.mid(StrandedPrefix.size(), dot - StrandedPrefix.size()).toInt(&numbered);
        const QString original = dot < 0 ? QString() : hidden.mid(dot + 1);
        if (!numbered || original.isEmpty() || original.contains(u'/'))
            continue;
        if (renameWithoutReplace(dir.filePath(hidden), dir.filePath(original)))
            restored << original;
    }
    return restored;
}

bool isStrandedRenameName(const QString &fileName)
{
    return fileName.startsWith(StrandedPrefix);
}

RenameOutcome carryOutMoves(const QString &folder, const QList<PageMove> &moves, Companions companions)
{
    return MoveRunner(folder, moves, companions).run();
}
