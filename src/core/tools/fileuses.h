#pragma once

#include "core/tools/linkvalues.h"

#include <QHash>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

// Where the pages of a folder name a file: the values of their SRC, HREF and
// BACKGROUND attributes (in double quotes, single quotes or none) and the icon
// of their title. Renaming a file, or a folder, rewrites those values so that
// the pages still show it.

// Those values of text, in text order.
QList<QuotedValue> fileNameValues(const QString &text);

// text of a page in pageFolder with every value that names a renamed path
// (resolver's key -> new name of that file or folder) naming it by its new
// name, escaped where the value needs it.
QString renameInPageText(const QString &text, const QString &pageFolder, const QHash<QString, QString> &renamed,
                         const LinkResolver &resolver);

// The pages that name some of the paths about to be renamed: read before the
// renames, rewritten after them. A page that is not valid UTF-8 is never
// rewritten, so the paths it names are to keep their names.
class PageUses
{
public:
    // resolver is kept: it outlives this.
    PageUses(const QStringList &pages, const QStringList &paths, const LinkResolver &resolver);

    // The pages that name path and cannot be rewritten.
    QStringList blockingPages(const QString &path) const { return m_blocking.value(m_resolver.key(path)); }
    bool blocked(const QString &path) const { return m_blocking.contains(m_resolver.key(path)); }

    // Rewrites every page that names a renamed path (old path -> new path);
    // a page renamed meanwhile is found under its new path. Returns the pages
    // that could not be rewritten.
    QStringList rewrite(const QList<QPair<QString, QString>> &renamed) const;

private:
    const LinkResolver &m_resolver;
    // The pages that name some of the paths and can be rewritten; path key ->
    // the pages that name it but cannot be.
    QStringList m_users;
    QHash<QString, QStringList> m_blocking;
};

// Whether a file is a page whose links are fixed: ".html" or ".htm".
bool isPageFileName(const QString &path);
// The pages of folder.
QStringList pagesOfFolder(const QString &folder);
