#include "core/tools/folderrename.h"

#include "core/tools/fileuses.h"
#include "core/tools/renamerecord.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <QTimer>

#include <algorithm>

#include <fcntl.h>
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

FolderRenameLock::FolderRenameLock(const QString &folder)
    : m_path(RenameRecord::path(folder) + u".lock"_s)
{
}

bool FolderRenameLock::acquire(int timeoutMs)
{
    m_lock.emplace(m_path);
    m_lock->setStaleLockTime(StaleAfterMs);
    const QDeadlineTimer deadline(timeoutMs);
    while (!m_lock->tryLock(0)) {
        if (m_lock->error() == QLockFile::PermissionError || deadline.hasExpired()) {
            m_lock.reset();
            return false;
        }
        // Short waits in a local loop: the window keeps painting, timers run.
        QEventLoop loop;
        QTimer::singleShot(std::clamp<qint64>(deadline.remainingTime(), 1, 50), &loop, &QEventLoop::quit);
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    }
    m_touched.start();
    return true;
}

void FolderRenameLock::keepAlive()
{
    if (!m_lock || m_touched.elapsed() < 1000)
        return;
    m_touched.start();
    ::utimensat(AT_FDCWD, QFile::encodeName(m_path).constData(), nullptr, AT_SYMLINK_NOFOLLOW);
}

// Goes on with a rename its record tells of, from where each file is now.
static bool finishRecorded(const QString &folder, const QString &root, RenameRecord &record,
                           const RenameRecordState &state, QStringList *pagesNotWritten, const std::function<void()> &tick)
{
    if (!record.resume())
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
    const QSet<QString> done(state.pages.cbegin(), state.pages.cend());
    const QString doubt = state.pages.isEmpty() ? QString() : state.pages.constLast();
    QStringList notWritten = uses.rewrite(renamed, [&](const QString &page, const QByteArray &bytes) {
        const QString recorded = recordedPage(root, page);
        // The last page recorded was written if rewriting it again would not give what was recorded.
        if (recorded == doubt ? RenameRecord::hashOf(bytes) != state.lastHash : done.contains(recorded))
            return PageUses::PageStep::Skip;
        return record.rewriting(recorded, RenameRecord::hashOf(bytes)) ? PageUses::PageStep::Write
                                                                        : PageUses::PageStep::Fail;
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
                                const std::function<void()> &tick)
{
    const QString folder = QDir::cleanPath(folderGiven);
    RenameRecord record(folder);
    record.setTick(tick);
    record.removeStaleTemporaries();
    RenameRecordState state;
    switch (record.look(&state)) {
    case RenameRecord::Found::Running:
        return SettleState::Busy;
    case RenameRecord::Found::Stopped:
        if (!finishRecorded(folder, root, record, state, pagesNotWritten, tick))
            return SettleState::Busy;
        break;
    case RenameRecord::Found::None:
        break;
    }
    restoreStrandedRenames(folder);
    return SettleState::Settled;
}

QStringList settleRenameOnOpening(const QString &folder, const QString &root)
{
    // Most folders hold no record: one look at its name.
    struct stat st;
    if (::lstat(QFile::encodeName(RenameRecord::path(folder)).constData(), &st) != 0)
        return {};
    FolderRenameLock lock(folder);
    QStringList notWritten;
    if (lock.acquire(0))
        settleStoppedRename(folder, root.isEmpty() ? folder : root, &notWritten, lock.ticker());
    return notWritten;
}
