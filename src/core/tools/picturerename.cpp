#include "core/tools/picturerename.h"

#include "core/app/filerename.h"
#include "core/navigation/pathtext.h"
#include "core/tools/fileuses.h"

#include <QDir>
#include <QFile>
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

QString freePictureName(const QString &picture, const QString &prefix)
{
    const QString folder = folderOf(picture);
    QSet<QString> taken;
    const QStringList names = QDir(folder).entryList(QDir::Files | QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot);
    for (const QString &name : names)
        taken.insert(name.toCaseFolded());
    const QString extension = fileExtension(picture);
    for (int n = 0;; ++n) {
        const QString name = prefix + QString::number(n) + extension;
        if (!taken.contains(name.toCaseFolded()))
            return folder + u'/' + name;
    }
}

bool isRefusedPicturePrefix(const QString &fieldText)
{
    return isRefusedLinkName(fieldText);
}

// The pages that may name a picture of folder: the folder's own and the selected ones.
static QStringList pagesToFix(const QString &folder, const QStringList &selected)
{
    QStringList pages = pagesOfFolder(folder);
    for (const QString &path : selected)
        if (isPageFileName(path))
            pages << path;
    QStringList unique;
    QSet<QString> seen;
    for (const QString &page : std::as_const(pages))
        if (!seen.contains(pathKey(page))) {
            seen.insert(pathKey(page));
            unique << page;
        }
    return unique;
}

PictureRenameOutcome renamePictures(const QStringList &selected, const QString &prefix, LinkResolver &resolver)
{
    PictureRenameOutcome outcome;
    for (const QString &picture : selected) {
        if (!isPictureName(picture))
            continue;
        // Every page that names the picture is checked before it is renamed.
        const PageUses uses(pagesToFix(folderOf(picture), selected), {picture}, resolver);
        if (uses.blocked(picture)) {
            outcome.kept << picture;
            for (const QString &page : uses.blockingPages(picture))
                if (!outcome.pagesLeftAlone.contains(page))
                    outcome.pagesLeftAlone << page;
            continue;
        }
        const QString newPath = freePictureName(picture, prefix);
        if (!renameWithoutReplace(picture, newPath)) {
            outcome.failed = picture;
            break;
        }
        outcome.renamed << qMakePair(picture, newPath);
        outcome.pagesNotWritten += uses.rewrite({{picture, newPath}});
    }
    return outcome;
}
