#include "core/tools/folderrename.h"

#include "core/app/beneath.h"
#include "core/tools/fileuses.h"
#include "core/tools/ordertexts.h"
#include "core/tools/renamerecord.h"

#include <QDir>
#include <QHash>
#include <QSet>

#include <optional>

using namespace Qt::StringLiterals;

namespace {

void addNew(QStringList &to, const QStringList &pages)
{
    for (const QString &page : pages)
        if (!to.contains(page))
            to << page;
}

} // namespace

// Goes on with a rename its record tells of, from where each file is now.
// False when the record cannot be written anew.
static bool finishRecorded(const QString &folder, const QString &root, RenameRecord &record,
                           const RenameRecordState &state, const std::function<void()> &tick, SettleOutcome &out)
{
    if (!record.resume(state))
        return false;
    const RenameOutcome moves = carryOutGroups(folder, state.groups, state.companions, state.current,
                                               [&](qsizetype g, qsizetype i, const QString &to) {
                                                   return record.moving(g, i, to);
                                               });
    const QList<QPair<QString, QString>> renamed = renamedPaths(folder, moves);
    QStringList paths;
    for (const auto &[from, to] : renamed)
        paths << from;
    // Read after the moves: a page that cannot be written now is not passed over.
    PageUses::RootReading how = PageUses::RootReading::ticking(tick);
    how.unwritableBlocks = false;
    const PageUses uses(root, folder, paths, how);
    // The pages rewritten already; the last one recorded is in doubt.
    const bool doubt = !state.lastHash.isEmpty() && !state.pages.isEmpty();
    const QString doubtPage = doubt ? state.pages.constLast() : QString();
    QSet<QString> done(state.pages.cbegin(), state.pages.cend());
    done.remove(doubtPage);
    QStringList notWritten = uses.rewrite(
        renamed,
        [&](const QString &page, const QByteArray &old, const QByteArray &bytes) {
            const QString recorded = recordedPage(root, page);
            if (done.contains(recorded))
                return PageUses::PageStep::Skip;
            if (doubt && recorded == doubtPage) {
                // Written when it holds what was to be written; to write when
                // it holds what that was made from; else changed since by
                // another (an older record tells only the bytes to be written).
                const QByteArray now = RenameRecord::hashOf(old);
                const bool toWrite = state.lastOldHash.isEmpty() ? RenameRecord::hashOf(bytes) == state.lastHash
                                                                 : now == state.lastOldHash;
                if (now == state.lastHash || !toWrite)
                    return PageUses::PageStep::Skip;
            }
            return recordPageWrite(record, root, page, old, bytes);
        },
        false, doubt ? QDir::cleanPath(root) + u'/' + doubtPage : QString(), &out.notWrittenNames);
    // Pages no one may rewrite name files that have moved already: they are
    // told, and the record stays until they can be rewritten.
    addNew(notWritten, uses.blockingPages());
    out.notWrittenNames += uses.namedByBlocking(renamed);
    addNew(out.pagesNotWritten, notWritten);
    out.recordKept = !notWritten.isEmpty() || record.lost();
    if (!out.recordKept)
        record.finish();
    out.finished = !out.recordKept && !record.lost();
    return true;
}

SettleOutcome settleRecordedRename(const QString &folderGiven, const QString &root, const std::function<void()> &tick)
{
    const QString folder = QDir::cleanPath(folderGiven);
    SettleOutcome out;
    const auto busy = [&](RenameBlock reason) {
        out.state = SettleState::Busy;
        out.why = reason;
        return out;
    };
    // Only the holder of the folder's lock finishes what is recorded: it is
    // taken here when this program holds it not.
    std::optional<FolderRenameLock> own;
    if (FolderRenameLock::tokenHeldHere(folder).isEmpty()) {
        own.emplace(folder);
        if (!own->acquire(0))
            return busy(own->reason());
    }
    RenameRecord record(folder);
    record.setTick(tick);
    record.removeStaleTemporaries();
    RenameRecordState state;
    switch (record.look(&state, true)) {
    case RenameRecord::Found::Running:
        return busy(RenameBlock::Busy);
    case RenameRecord::Found::Stopped:
        if (!finishRecorded(folder, root, record, state, tick, out))
            return busy(record.problem());
        break;
    case RenameRecord::Found::None:
        break;
    }
    if (!record.lost())
        restoreStrandedRenames(folder);
    return out;
}

SettleState settleStoppedRename(const QString &folder, const QString &root, QStringList *pagesNotWritten,
                                const std::function<void()> &tick, RenameBlock *why)
{
    const SettleOutcome out = settleRecordedRename(folder, root, tick);
    if (pagesNotWritten)
        addNew(*pagesNotWritten, out.pagesNotWritten);
    if (why && out.state == SettleState::Busy)
        *why = out.why;
    return out.state;
}

OpeningSettle settleRenameOnOpening(const QString &folder, const QString &root)
{
    // Most folders hold no record: one look at its name.
    if (!Beneath::exists(RenameRecord::path(folder)))
        return {};
    FolderRenameLock lock(folder);
    OpeningSettle settle;
    RenameBlock why = lock.acquire(0) ? RenameBlock::None : lock.reason();
    if (why == RenameBlock::None) {
        const SettleOutcome out = settleRecordedRename(folder, root.isEmpty() ? folder : root);
        settle.pagesNotWritten = out.pagesNotWritten;
        settle.notWrittenNames = out.notWrittenNames;
        why = out.why;
    }
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
