#include "core/tools/pagecopy.h"

#include "core/app/beneath.h"
#include "core/pages/pagefile.h"
#include "core/pages/picturefile.h"
#include "core/tools/linkwalk.h"

#include <QFile>
#include <QFileInfo>
#include <QSet>

using namespace Qt::StringLiterals;

static QString folderOf(const QString &path)
{
    return path.left(path.lastIndexOf(u'/'));
}

// A picture name that stays below the page's folder.
static bool staysInFolder(const QString &name)
{
    return !name.isEmpty() && !name.startsWith(u'/') && !name.contains(u':')
           && !name.split(u'/').contains(u".."_s);
}

QList<PageCopyItem> pageCopyPlan(const QString &source, const QString &target, bool ownPage, LinkResolver &resolver)
{
    QList<PageCopyItem> plan{{source, target}};
    const QStringList fromCompanions = companionPaths(source);
    const QStringList toCompanions = companionPaths(target);
    for (qsizetype i = 0; i < fromCompanions.size(); ++i) {
        const QString found = resolver.existing(fromCompanions.at(i));
        if (!found.isEmpty())
            plan << PageCopyItem{found, toCompanions.at(i)};
    }
    if (!ownPage)
        return plan;
    // Another encoding still names its pictures in ASCII at least.
    const PageText page = pageTextForLinks(source, true);
    if (!page.ok())
        return plan;
    QList<QuotedValue> pictures = quotedValues(page.text, u"background=\""_s, Qt::CaseSensitive).mid(0, 1);
    pictures << quotedValues(page.text, u"src=\""_s, Qt::CaseSensitive);
    const QString fromFolder = folderOf(source);
    const QString toFolder = folderOf(target);
    QSet<QString> planned;
    for (const QuotedValue &picture : std::as_const(pictures)) {
        const QString name = cleanLinkValue(picture.text);
        if (!staysInFolder(name) || planned.contains(pathKey(name)))
            continue;
        const QString found = resolver.existing(fromFolder + u'/' + name);
        // Nor through a link another PC made out of the folder.
        if (found.isEmpty() || !staysInRoot(found, fromFolder))
            continue;
        planned.insert(pathKey(name));
        plan << PageCopyItem{found, toFolder + u'/' + name};
    }
    return plan;
}

static bool sameBytes(const QString &a, const QString &b)
{
    // Opened beneath the data root, and never a FIFO: it would wait for a writer.
    QFile first;
    QFile second;
    if (!Beneath::openFile(first, a, QIODevice::ReadOnly) || !Beneath::openFile(second, b, QIODevice::ReadOnly)
        || first.size() != second.size())
        return false;
    while (!first.atEnd())
        if (first.read(1 << 16) != second.read(1 << 16))
            return false;
    return true;
}

PageCopyResult copyPageFiles(const QList<PageCopyItem> &plan, const std::function<bool(const QString &)> &overwrite,
                             const std::function<bool(const QString &, const QString &)> &copyFile)
{
    PageCopyResult result;
    for (const PageCopyItem &item : plan) {
        const QFileInfo target(item.to);
        if (target.exists()) {
            if (target.canonicalFilePath() == QFileInfo(item.from).canonicalFilePath())
                continue; // a copy onto itself copies nothing
            if (sameBytes(item.from, item.to)) {
                result.copied << item.from;
                continue;
            }
            if (!overwrite(item.to))
                continue;
        }
        if (copyFile(item.from, item.to))
            result.copied << item.from;
        else
            result.failed << item.to;
    }
    return result;
}

QStringList filesToRemoveAfterCopy(const PageCopyResult &result, const QString &source, const QStringList &usedElsewhere)
{
    // Without a copy of the page the original stays whole, companions included.
    if (!result.copied.contains(source))
        return {};
    const QString folder = folderOf(source) + u'/';
    QSet<QString> keep;
    for (const QString &path : usedElsewhere)
        keep.insert(pathKey(path));
    QSet<QString> own{pathKey(source)};
    for (const QString &companion : companionPaths(source))
        own.insert(pathKey(companion));
    QStringList remove;
    for (const QString &path : result.copied) {
        const QString key = pathKey(path);
        if (own.contains(key) || (path.startsWith(folder) && !keep.contains(key)))
            remove << path;
    }
    return remove;
}
