#include "core/tools/unlinkedfiles.h"

#include "core/navigation/pagelist.h"
#include "core/present/presentstrings.h"

#include <QSet>

using namespace Qt::StringLiterals;

QStringList folderPages(const QString &folder, const QString &exeBaseName)
{
    QStringList pages = pageListOrder(listPageFiles(folder), exeBaseName);
    for (QString &page : pages)
        page.prepend(folder + u'/');
    return pages;
}

QStringList filesUsedByPages(LinkWalker &walker, const QStringList &pages)
{
    QStringList used;
    for (const QString &page : pages)
        walker.collect(page, used, false);
    return used;
}

QStringList unlinkedFiles(LinkWalker &walker, const QString &folder, const QString &exeBaseName)
{
    // Every page of the level counts as linked, pictures shown as pages too.
    const QStringList pages = folderPages(folder, exeBaseName);
    QStringList used = pages + filesUsedByPages(walker, pages);
    // Files that other running copies and the editor rely on by name.
    used << folder + u"/_HELP.html"_s << folder + u"/_Edit.txt"_s << folder + u'/' + PresentText::markerFileName;
    QSet<QString> linked;
    for (const QString &path : std::as_const(used))
        linked.insert(pathKey(path));

    QStringList unlinked;
    const QStringList files = listPlainFiles(folder);
    for (const QString &name : files) {
        const QString path = folder + u'/' + name;
        if (!linked.contains(pathKey(path)))
            unlinked << path;
    }
    return unlinked;
}
