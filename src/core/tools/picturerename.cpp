#include "core/tools/picturerename.h"

#include "core/navigation/pathtext.h"
#include "core/tools/folderentries.h"
#include "core/tools/folderrename.h"

#include <QDir>
#include <QHash>
#include <QSet>

using namespace Qt::StringLiterals;

bool isPictureName(const QString &path)
{
    const QString extension = fileExtension(path).toLower();
    return extension.size() > 1 && u".jpeg.jpg.gif.png"_s.contains(extension);
}

QString picturePrefix(const QString &fieldText)
{
    return fileNameOf(fieldText.trimmed()).trimmed();
}

static QString folderOf(const QString &path)
{
    return path.left(path.lastIndexOf(u'/'));
}

// The names of folder without regard to case.
static QSet<QString> takenNames(const QString &folder)
{
    QSet<QString> taken;
    for (const QString &name : folderEntries(folder))
        taken.insert(name.toCaseFolded());
    return taken;
}

// The first free name of prefix + number + extension among taken.
static QString freeName(const QSet<QString> &taken, const QString &prefix, const QString &extension)
{
    for (int n = 0;; ++n) {
        const QString name = prefix + QString::number(n) + extension;
        if (!taken.contains(name.toCaseFolded()))
            return name;
    }
}

QString freePictureName(const QString &picture, const QString &prefix)
{
    const QString folder = folderOf(picture);
    return folder + u'/' + freeName(takenNames(folder), prefix, fileExtension(picture));
}

bool isRefusedPicturePrefix(const QString &fieldText)
{
    return isRefusedLinkName(fieldText);
}

namespace {

// The pictures of one folder, renamed as the list orders them, each to the
// next free name once those before it have theirs.
QList<PageMove> pictureMoves(const QString &folder, const QStringList &pictures, const QString &prefix)
{
    QSet<QString> taken = takenNames(folder);
    QList<PageMove> moves;
    for (const QString &picture : pictures) {
        const QString name = fileNameOf(picture);
        const QString to = freeName(taken, prefix, fileExtension(name));
        taken.remove(name.toCaseFolded());
        taken.insert(to.toCaseFolded());
        moves.append({name, to});
    }
    return moves;
}

void addNew(QStringList &to, const QStringList &items)
{
    for (const QString &item : items)
        if (!to.contains(item))
            to << item;
}

} // namespace

PictureRenameOutcome renamePictures(const QStringList &selected, const QString &prefix, LinkResolver &resolver,
                                    const std::function<void()> &tick)
{
    PictureRenameOutcome outcome;
    const QString root = resolver.root().isEmpty() ? resolver.curDir() : resolver.root();
    // The pictures of each folder, the folders in the order the list first names them.
    QStringList folders;
    QHash<QString, QStringList> pictures;
    for (const QString &path : selected) {
        if (!isPictureName(path))
            continue;
        const QString folder = QDir::cleanPath(folderOf(path));
        if (!folders.contains(folder))
            folders << folder;
        if (!pictures[folder].contains(path))
            pictures[folder] << path;
    }
    QHash<QString, QString> renamedTo;
    for (const QString &folder : std::as_const(folders)) {
        const QStringList &some = pictures.value(folder);
        FolderRenameLock lock(folder);
        const SettleOutcome settled = lock.acquire(0) ? settleRecordedRename(folder, root, tick) : SettleOutcome();
        RenameBlock why = lock.holds() ? settled.why : lock.reason();
        if (why == RenameBlock::None && settled.recordKept)
            why = RenameBlock::Busy;
        addNew(outcome.pagesNotWritten, settled.pagesNotWritten);
        outcome.notWrittenNames += settled.notWrittenNames;
        const QList<PageMove> moves = why == RenameBlock::None ? pictureMoves(folder, some, prefix) : QList<PageMove>();
        FolderRenameOutcome done;
        if (why == RenameBlock::None) {
            FolderRename rename(folder, root, Companions());
            done = rename.renameFolder(moves, true, tick);
            why = done.notStarted ? done.notStartedWhy : RenameBlock::None;
        }
        if (why != RenameBlock::None) {
            outcome.failed = some.constFirst();
            outcome.failedWhy = why;
            break;
        }
        for (const QString &name : std::as_const(done.kept))
            outcome.kept << folder + u'/' + name;
        addNew(outcome.pagesLeftAlone, done.keptFor);
        outcome.keptNames += done.keptNames;
        addNew(outcome.pagesNotWritten, done.pagesNotWritten);
        outcome.notWrittenNames += done.notWrittenNames;
        for (qsizetype i = 0; i < some.size(); ++i) {
            const QString now = done.moves.finalNames.value(i);
            if (now != moves.at(i).from)
                renamedTo.insert(some.at(i), folder + u'/' + now);
            else if (!done.kept.contains(now) && outcome.failed.isEmpty())
                outcome.failed = some.at(i);
        }
        if (!outcome.failed.isEmpty())
            break;
    }
    for (const QString &path : selected)
        if (renamedTo.contains(path))
            outcome.renamed << qMakePair(path, renamedTo.take(path));
    return outcome;
}
