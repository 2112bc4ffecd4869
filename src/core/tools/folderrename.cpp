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

void addNew(QStringList &to, const QStringList &pages)
{
    for (const QString &page : pages)
        if (!to.contains(page))
            to << page;
}

} // namespace

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
    // Read after the moves: a page that cannot be written now is not passed over.
    PageUses::RootReading how = PageUses::RootReading::ticking(beat);
    how.unwritableBlocks = false;
    const PageUses uses(root, folder, paths, how);
    const QSet<QString> done(state.pages.cbegin(), state.pages.cend());
    const QString doubt = state.pages.isEmpty() ? QString() : state.pages.constLast();
    QStringList notWritten = uses.rewrite(renamed, [&](const QString &page, const QByteArray &bytes) {
        const QString recorded = recordedPage(root, page);
        // The last page recorded was written if rewriting it again would not give what was recorded.
        if (recorded == doubt ? RenameRecord::hashOf(bytes) != state.lastHash : done.contains(recorded))
            return PageUses::PageStep::Skip;
        return recordPageWrite(record, root, page, bytes);
    }, false, doubt.isEmpty() ? QString() : QDir::cleanPath(root) + u'/' + doubt);
    // A page not written yet keeps the record: the next opening writes it.
    const bool whole = notWritten.isEmpty();
    // Pages no one may rewrite name files that have moved already: they are told.
    addNew(notWritten, uses.blockingPages());
    if (pagesNotWritten)
        addNew(*pagesNotWritten, notWritten);
    if (whole)
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
