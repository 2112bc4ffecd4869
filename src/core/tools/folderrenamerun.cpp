#include "core/tools/folderrenamerun.h"

#include "core/tools/fileuses.h"
#include "core/tools/linkvalues.h"
#include "core/tools/renamerecord.h"

#include <QDir>
#include <QHash>

#include <optional>

using namespace Qt::StringLiterals;

QString recordedPage(const QString &root, const QString &page)
{
    const QString clean = QDir::cleanPath(root);
    return page.startsWith(clean + u'/') ? page.mid(clean.size() + 1) : page;
}

PageUses::PageStep recordPageWrite(RenameRecord &record, const QString &root, const QString &page,
                                   const QByteArray &old, const QByteArray &bytes)
{
    return record.rewriting(recordedPage(root, page), RenameRecord::hashOf(old), RenameRecord::hashOf(bytes))
               ? PageUses::PageStep::Write
               : PageUses::PageStep::Fail;
}

QList<QPair<QString, QString>> renamedPaths(const QString &folder, const RenameOutcome &moves)
{
    QList<QPair<QString, QString>> renamed;
    for (const PageMove &move : moves.moved)
        renamed.append({folder + u'/' + move.from, folder + u'/' + move.to});
    return renamed;
}

FolderRename::FolderRename(const QString &folder, const QString &root, Companions companions)
    // Pages are told apart by their paths: one spelling of the folder.
    : m_folder(QDir::cleanPath(folder))
    , m_root(root)
    , m_companions(companions)
{
}

FolderRename::~FolderRename() = default;

FolderRenameOutcome FolderRename::renameFolder(const QList<PageMove> &moves, bool wholeRoot,
                                               const std::function<void()> &tick)
{
    FolderRenameOutcome outcome;
    const auto notStarted = [&](RenameBlock why) {
        outcome.notStarted = true;
        outcome.notStartedWhy = why;
        for (const PageMove &move : moves) {
            outcome.moves.finalNames << move.from;
            outcome.moves.failed << move.from;
        }
        m_ownLock.reset();
        return outcome;
    };
    if (FolderRenameLock::tokenHeldHere(m_folder).isEmpty()) {
        m_ownLock = std::make_unique<FolderRenameLock>(m_folder);
        if (!m_ownLock->acquire(0))
            return notStarted(m_ownLock->reason());
    }
    const QSet<QString> there = FolderNames::list(m_folder);
    // What each move takes along: the page and the companions there are.
    const QList<RenameGroup> planned = groupMoves(there, moves, m_companions);
    QStringList paths;
    for (const RenameGroup &group : planned)
        for (const PageMove &item : group.items)
            paths << m_folder + u'/' + item.from;
    // One resolver for both steps: names compare as the folders had them before the moves.
    m_resolver = std::make_unique<LinkResolver>(m_root, m_folder);
    std::optional<PageUses> uses;
    if (wholeRoot) {
        PageUses::RootReading how = PageUses::RootReading::ticking(tick);
        how.resolver = *m_resolver;
        uses.emplace(m_root, m_folder, paths, how);
    } else {
        uses.emplace(pagesOfFolder(m_folder), paths, *m_resolver, tick);
    }

    QList<PageMove> possible = moves;
    for (qsizetype i = 0; i < planned.size(); ++i) {
        for (const PageMove &item : planned.at(i).items) {
            const QString file = m_folder + u'/' + item.from;
            if (planned.at(i).takenAlong || !uses->blocked(file))
                continue;
            // A move to its own name is none: the page stays where it is.
            possible[i].to = possible.at(i).from;
            outcome.kept << item.from;
            for (const QString &page : uses->blockingPages(file)) {
                if (!outcome.keptFor.contains(page))
                    outcome.keptFor << page;
                outcome.keptNames.append({page, file, m_folder + u'/' + item.to});
            }
        }
    }
    const QList<RenameGroup> groups = groupMoves(there, possible, m_companions);
    m_record = std::make_unique<RenameRecord>(m_folder);
    m_record->setTick(tick);
    if (!m_record->begin(m_companions, groups)) {
        const RenameBlock why = m_record->problem();
        m_record.reset();
        return notStarted(why);
    }
    RenameRecord &record = *m_record;
    outcome.moves = carryOutGroups(m_folder, groups, m_companions, {},
                                   [&](qsizetype g, qsizetype i, const QString &to) { return record.moving(g, i, to); });
    m_renamed = renamedPaths(m_folder, outcome.moves);
    QHash<QString, QString> now;
    for (const auto &[from, to] : std::as_const(m_renamed))
        now.insert(from, to);
    // The pages are told by the names they have now.
    for (QString &page : outcome.keptFor)
        page = now.value(page, page);
    for (PageNamesFile &named : outcome.keptNames)
        named.page = now.value(named.page, named.page);
    outcome.pagesNotWritten = uses->rewrite(
        m_renamed,
        [&](const QString &page, const QByteArray &old, const QByteArray &bytes) {
            return recordPageWrite(record, m_root, page, old, bytes);
        },
        true, {}, &outcome.notWrittenNames);
    outcome.lockLost = record.lost();
    if (!outcome.pagesNotWritten.isEmpty() || outcome.lockLost) {
        // The next opening of the folder rewrites them (and the rest of the root) from the record.
        outcome.recordKept = true;
        m_record.reset();
        m_ownLock.reset();
    } else if (!wholeRoot && !m_renamed.isEmpty()) {
        m_restLeft = true;
    } else {
        finishRecord(outcome);
    }
    return outcome;
}

void FolderRename::finishRecord(FolderRenameOutcome &outcome)
{
    m_record->finish();
    outcome.lockLost = m_record->lost();
    m_record.reset();
    m_ownLock.reset();
}

FolderRenameOutcome FolderRename::finishRest(const std::function<void()> &tick, const std::function<bool()> &stop)
{
    FolderRenameOutcome outcome;
    if (!m_restLeft)
        return outcome;
    m_restLeft = false;
    QStringList paths;
    for (const auto &[from, to] : std::as_const(m_renamed))
        paths << from;
    // Read after the moves, but for the folder's own pages, rewritten before
    // the folder was shown: a page that cannot be written now is not passed
    // over but stays in the record, for its files have their new names.
    PageUses::RootReading how = PageUses::RootReading::ticking(tick);
    how.unwritableBlocks = false;
    how.resolver = *m_resolver;
    how.withoutFolder = true;
    // A tick that ends the reading leaves the record for the next opening.
    const PageUses uses(m_root, m_folder, paths, how);
    RenameRecord &record = *m_record;
    outcome.pagesNotWritten = uses.rewrite(
        m_renamed,
        [&](const QString &page, const QByteArray &old, const QByteArray &bytes) {
            if (stop && stop())
                return PageUses::PageStep::Stop;
            if (tick)
                tick();
            return recordPageWrite(record, m_root, page, old, bytes);
        },
        false, {}, &outcome.notWrittenNames);
    outcome.pagesLeftNaming = uses.blockingPages();
    outcome.notWrittenNames += uses.namedByBlocking(m_renamed);
    outcome.lockLost = record.lost();
    outcome.recordKept = !outcome.pagesNotWritten.isEmpty() || !outcome.pagesLeftNaming.isEmpty() || outcome.lockLost;
    if (outcome.recordKept) {
        m_record.reset();
        m_ownLock.reset();
    } else {
        finishRecord(outcome);
    }
    return outcome;
}

FolderRenameOutcome renameUsedFiles(const QString &folder, const QString &root, const QList<PageMove> &moves,
                                    Companions companions, const std::function<void()> &tick)
{
    FolderRename rename(folder, root, companions);
    return rename.renameFolder(moves, true, tick);
}
