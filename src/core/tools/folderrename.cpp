#include "core/tools/folderrename.h"

#include "core/tools/fileuses.h"
#include "core/tools/ordertexts.h"
#include "core/tools/renamerecord.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>

#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace {

QString inFolder(const QString &folder, const QString &name)
{
    return folder + u'/' + name;
}

// A page as the record names it: relative to the data root.
QString recordedPage(const QString &root, const QString &page)
{
    const QString clean = QDir::cleanPath(root);
    return page.startsWith(clean + u'/') ? page.mid(clean.size() + 1) : page;
}

QList<QPair<QString, QString>> renamedPaths(const QString &folder, const RenameOutcome &moves)
{
    QList<QPair<QString, QString>> renamed;
    for (const PageMove &move : moves.moved)
        renamed.append({inFolder(folder, move.from), inFolder(folder, move.to)});
    return renamed;
}

void addNew(QStringList &to, const QStringList &pages)
{
    for (const QString &page : pages)
        if (!to.contains(page))
            to << page;
}

} // namespace

FolderRenameOutcome renameUsedFiles(const QString &folderGiven, const QString &root, const QList<PageMove> &moves,
                                    Companions companions, const std::function<void()> &tick)
{
    // Pages are told apart by their paths: one spelling of the folder.
    const QString folder = QDir::cleanPath(folderGiven);
    const QSet<QString> there = FolderNames::list(folder);
    // What each move takes along: the page and the companions there are.
    const QList<RenameGroup> planned = groupMoves(there, moves, companions);
    QStringList paths;
    for (const RenameGroup &group : planned)
        for (const PageMove &item : group.items)
            paths << inFolder(folder, item.from);
    const PageUses uses(root, folder, paths, tick);

    FolderRenameOutcome outcome;
    QList<PageMove> possible = moves;
    for (qsizetype i = 0; i < planned.size(); ++i) {
        for (const PageMove &item : planned.at(i).items) {
            const QString file = inFolder(folder, item.from);
            if (planned.at(i).takenAlong || !uses.blocked(file))
                continue;
            // A move to its own name is none: the page stays where it is.
            possible[i].to = possible.at(i).from;
            outcome.kept << item.from;
            addNew(outcome.keptFor, uses.blockingPages(file));
        }
    }
    const QList<RenameGroup> groups = groupMoves(there, possible, companions);
    RenameRecord record(folder);
    record.setTick(tick);
    if (!record.begin(companions, groups)) {
        outcome.notStarted = true;
        outcome.notStartedWhy = record.problem();
        for (const PageMove &move : moves) {
            outcome.moves.finalNames << move.from;
            outcome.moves.failed << move.from;
        }
        return outcome;
    }
    outcome.moves = carryOutGroups(folder, groups, companions, {},
                                   [&](qsizetype g, qsizetype i, const QString &to) { return record.moving(g, i, to); });
    const QList<QPair<QString, QString>> renamed = renamedPaths(folder, outcome.moves);
    QHash<QString, QString> now;
    for (const auto &[from, to] : renamed)
        now.insert(from, to);
    // The pages are told by the names they have now.
    for (QString &page : outcome.keptFor)
        page = now.value(page, page);
    outcome.pagesNotWritten = uses.rewrite(renamed, [&](const QString &page, const QByteArray &bytes) {
        return record.rewriting(recordedPage(root, page), RenameRecord::hashOf(bytes)) ? PageUses::PageStep::Write
                                                                                         : PageUses::PageStep::Fail;
    });
    record.finish();
    return outcome;
}

// Goes on with a rename its record tells of, from where each file is now.
static bool finishRecorded(const QString &folder, const QString &root, RenameRecord &record,
                           const RenameRecordState &state, QStringList *pagesNotWritten, const std::function<void()> &tick)
{
    if (!record.resume(state))
        return false;
    // Reading the pages writes nothing for a while: lock and record beat meanwhile.
    const auto beat = [&] {
        if (tick)
            tick();
        record.keepAlive();
    };
    const RenameOutcome moves = carryOutGroups(folder, state.groups, state.companions, state.current,
                                               [&](qsizetype g, qsizetype i, const QString &to) {
                                                   return record.moving(g, i, to);
                                               });
    const QList<QPair<QString, QString>> renamed = renamedPaths(folder, moves);
    QStringList paths;
    for (const auto &[from, to] : renamed)
        paths << from;
    const PageUses uses(root, folder, paths, beat);
    const QSet<QString> done(state.pages.cbegin(), state.pages.cend());
    const QString doubt = state.pages.isEmpty() ? QString() : state.pages.constLast();
    QStringList notWritten = uses.rewrite(renamed, [&](const QString &page, const QByteArray &bytes) {
        const QString recorded = recordedPage(root, page);
        // The last page recorded was written if rewriting it again would not give what was recorded.
        if (recorded == doubt ? RenameRecord::hashOf(bytes) != state.lastHash : done.contains(recorded))
            return PageUses::PageStep::Skip;
        return record.rewriting(recorded, RenameRecord::hashOf(bytes)) ? PageUses::PageStep::Write
                                                                        : PageUses::PageStep::Fail;
    }, false);
    // Pages no one may rewrite name files that have moved already: they are told.
    addNew(notWritten, uses.blockingPages());
    if (pagesNotWritten)
        addNew(*pagesNotWritten, notWritten);
    record.finish();
    return true;
}

SettleState settleStoppedRename(const QString &folderGiven, const QString &root, QStringList *pagesNotWritten,
                                const std::function<void()> &tick, RenameBlock *why)
{
    const QString folder = QDir::cleanPath(folderGiven);
    const auto busy = [&](RenameBlock reason) {
        if (why)
            *why = reason;
        return SettleState::Busy;
    };
    // Who holds the folder's lock finishes what is recorded; without it, only
    // a record no live lock stands beside and whose writer is gone.
    const bool lockHeld = !FolderRenameLock::tokenHeldHere(folder).isEmpty();
    if (!lockHeld && FolderRenameLock::standsLive(folder))
        return busy(RenameBlock::Busy);
    RenameRecord record(folder);
    record.setTick(tick);
    record.removeStaleTemporaries();
    RenameRecordState state;
    switch (record.look(&state, lockHeld)) {
    case RenameRecord::Found::Running:
        return busy(RenameBlock::Busy);
    case RenameRecord::Found::Stopped:
        if (!finishRecorded(folder, root, record, state, pagesNotWritten, tick))
            return busy(record.problem());
        break;
    case RenameRecord::Found::None:
        break;
    }
    restoreStrandedRenames(folder);
    return SettleState::Settled;
}

OpeningSettle settleRenameOnOpening(const QString &folder, const QString &root)
{
    // Most folders hold no record: one look at its name.
    struct stat st;
    if (::lstat(QFile::encodeName(RenameRecord::path(folder)).constData(), &st) != 0)
        return {};
    FolderRenameLock lock(folder);
    OpeningSettle settle;
    RenameBlock why = lock.acquire(0) ? RenameBlock::None : lock.reason();
    if (why == RenameBlock::None)
        settleStoppedRename(folder, root.isEmpty() ? folder : root, &settle.pagesNotWritten, lock.ticker(), &why);
    // This program's own work (pages rewritten in the background) shows its progress itself.
    if (why == RenameBlock::Busy && !lock.heldByThisProgram()) {
        settle.waiting = true;
        settle.waitedFor = waitedForText(lock, true);
    }
    return settle;
}

QString waitedForText(const FolderRenameLock &lock, bool brief)
{
    namespace T = OrderTexts;
    if (lock.heldByThisProgram())
        return T::WaitedForThisProgram;
    if (lock.holderName().isEmpty())
        return brief ? T::WaitedForAnotherPcBrief : T::WaitedForAnotherPc;
    return (brief ? T::WaitedForPcBrief : T::WaitedForPc).arg(lock.holderName());
}
