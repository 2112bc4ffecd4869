#include "core/tools/unlinkedfiles.h"

#include "core/app/apptexts.h"
#include "core/editor/pagenote.h"
#include "core/forms/answercsv.h"
#include "core/forms/sharedfilelock.h"
#include "core/navigation/pagelist.h"
#include "core/present/presentstrings.h"

#include <QSet>

using namespace Qt::StringLiterals;

// The pages of folder as a fresh listing orders them (whatever level is shown).
static QStringList folderPages(const QString &folder, const QString &exeBaseName)
{
    QStringList pages = pageListOrder(listPageFiles(folder), exeBaseName);
    for (QString &page : pages)
        page.prepend(folder + u'/');
    return pages;
}

// What the pages of folder (all but except) need: the pages themselves, every
// file they link, the answers they collected, the folder's help page with what
// it shows, its editing notes and the presentation marker.
static QStringList filesPagesUse(LinkWalker &walker, const QString &folder, const QString &exeBaseName,
                                 const QString &except = {})
{
    // Every page of the level counts as used, pictures shown as pages too.
    QStringList used = folderPages(folder, exeBaseName);
    used.removeIf([key = pathKey(except)](const QString &page) { return pathKey(page) == key; });
    const QStringList pages = used;
    for (const QString &page : pages) {
        walker.collect(page, used, false);
        // The answers a worksheet collected belong to it, though it names them nowhere,
        // and so do the locks of a post or an answer that another PC is writing.
        used << answerCsvPath(page) << SharedFileLock::lockPathFor(page)
             << SharedFileLock::lockPathFor(answerCsvPath(page));
    }
    // The help page is no page of the level, yet it shows its own pictures.
    const QString help = walker.resolver().existing(folder + u'/' + AppTexts::HelpPageName);
    if (!help.isEmpty()) {
        used << help;
        walker.collect(help, used, false);
    }
    // Files that other running copies and the editor rely on by name.
    used << folder + u'/' + NoteText::EditNoteName << folder + u'/' + PresentText::markerFileName;
    return used;
}

QStringList filesToLeaveWith(LinkWalker &walker, const QString &page, const QString &exeBaseName)
{
    const QString folder = page.left(page.lastIndexOf(u'/'));
    QStringList leave = filesPagesUse(walker, folder, exeBaseName, page);
    if (!walker.unreadable.isEmpty()) {
        for (const QString &name : listPlainFiles(folder))
            leave << folder + u'/' + name;
    }
    QSet<QString> own{pathKey(page)};
    for (const QString &companion : companionPaths(page))
        own.insert(pathKey(companion));
    leave.removeIf([&own](const QString &path) { return own.contains(pathKey(path)); });
    return leave;
}

QStringList unlinkedFiles(LinkWalker &walker, const QString &folder, const QString &exeBaseName)
{
    QSet<QString> used;
    for (const QString &path : filesPagesUse(walker, folder, exeBaseName))
        used.insert(pathKey(path));
    QStringList unlinked;
    const QStringList files = listPlainFiles(folder);
    for (const QString &name : files) {
        const QString path = folder + u'/' + name;
        if (!used.contains(pathKey(path)))
            unlinked << path;
    }
    return unlinked;
}
