#pragma once

#include "core/tools/linkvalues.h"

#include <QHash>
#include <QSet>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

// Where the pages of a folder name a file: the values of their SRC, HREF and
// BACKGROUND attributes (in double quotes, single quotes or none) and the icon
// of their title. Renaming a file, or a folder, rewrites those values so that
// the pages still show it.

// Those values of text, in text order. *unread (when given) tells a page too
// costly to be read as a browser does: it gives none.
QList<QuotedValue> fileNameValues(const QString &text, bool *unread = nullptr);

// text of a page in pageFolder with every value that names a renamed path
// (path key -> new name of that file or folder) naming it by its new name.
// A new name the page's encoding cannot hold (writable false) is written
// percent-escaped, as a browser reads it back.
QString renameInPageText(const QString &text, const QString &pageFolder, const QHash<QString, QString> &renamed,
                         const LinkResolver &resolver,
                         const std::function<bool(const QString &name)> &writable = {});

// A page and a file it names: the file's path before a rename and after it
// (or the one it was to have), so that the user can mend the page by hand.
struct PageNamesFile
{
    QString page;
    QString from;
    QString to;
    bool operator==(const PageNamesFile &) const = default;
};

// The pages that name some of the paths about to be renamed: read before the
// renames, rewritten after them, each in its own encoding (see
// pageencoding.h). A page that round-trips in no encoding is never
// rewritten, so the paths it names are to keep their names; so is a page that
// cannot be written now (read-only, in a read-only folder), unless the pages
// are read after the renames (unwritableBlocks false). Only a page that is a
// file of its own is read (never one through a link).
class PageUses
{
public:
    PageUses(const QStringList &pages, const QStringList &paths, const LinkResolver &resolver,
             const std::function<void()> &tick = {});
    // How the pages of a data root are read.
    struct RootReading
    {
        // Called now and then meanwhile.
        std::function<void()> tick;
        bool unwritableBlocks = true;
        // The resolver the paths were looked up with before, if any.
        std::optional<LinkResolver> resolver;
        // The folder's own pages are left out (they were read before).
        bool withoutFolder = false;

        static RootReading ticking(const std::function<void()> &tick)
        {
            RootReading how;
            how.tick = tick;
            return how;
        }
    };
    // Every page of the data root that names some of paths: the pages of folder
    // and every page of the folders the search walks below root, each page's
    // values read from its own folder.
    PageUses(const QString &root, const QString &folder, const QStringList &paths, const RootReading &how);
    PageUses(const QString &root, const QString &folder, const QStringList &paths,
             const std::function<void()> &tick = {})
        : PageUses(root, folder, paths, RootReading::ticking(tick))
    {
    }

    // The pages that name path and cannot be rewritten.
    QStringList blockingPages(const QString &path) const { return m_blocking.value(m_base.key(path)); }
    bool blocked(const QString &path) const { return m_blocking.contains(m_base.key(path)); }
    // The pages that cannot be rewritten and name some of the paths.
    QStringList blockingPages() const;

    // The moved files (old path -> new path) that page (as it was read) names.
    QList<PageNamesFile> namedBy(const QString &page, const QList<QPair<QString, QString>> &renamed) const;
    // The same for every page that cannot be rewritten.
    QList<PageNamesFile> namedByBlocking(const QList<QPair<QString, QString>> &renamed) const;

    // What happens to a page about to be written (its path now, the bytes it
    // holds and its new bytes): written, passed over, or the rewriting ends
    // before it (Fail: it could not be recorded; Stop: asked to).
    enum class PageStep { Write, Skip, Fail, Stop };
    using BeforeWrite = std::function<PageStep(const QString &page, const QByteArray &old, const QByteArray &bytes)>;

    // Rewrites every page that names a renamed path (old path -> new path);
    // a page renamed meanwhile (or in a folder renamed meanwhile) is found
    // under its new path (unless the pages were read after the renames:
    // pagesMoved false). The page keeps its bytes but for the names, in its
    // own encoding. Each write replaces the page only while it still holds
    // the bytes its new bytes were made from (read again just before): a page
    // that holds the new bytes already is done, one changed meanwhile is made
    // again from what it holds now.
    // Returns the pages that were not rewritten (with the moved files each
    // names in notWrittenNames, when given). Where before tells a record of
    // each page before its write, the first page that cannot be written ends
    // the rewriting, so that the record names at most one page that was not
    // written, the last: first (if it is to be rewritten) comes first, pages
    // that cannot be written now come last and are never told.
    QStringList rewrite(const QList<QPair<QString, QString>> &renamed, const BeforeWrite &before = {},
                        bool pagesMoved = true, const QString &first = {},
                        QList<PageNamesFile> *notWrittenNames = nullptr) const;

private:
    enum class Written { Done, NotWritten, Ended };
    Written rewritePage(const QString &page, const QString &path, const QHash<QString, QString> &names,
                        const BeforeWrite &before) const;
    // bytes: the page's own bytes, read already (or nothing: it is no file of its own).
    void consider(const QString &page, const QSet<QString> &keys, const std::optional<QByteArray> &bytes);
    void considerAll(const QStringList &pages, const QSet<QString> &keys, const std::function<void()> &tick);
    LinkResolver resolverFor(const QString &folder) const;

    // The resolver of the folder renamed, or the one given; pages of other
    // folders resolve from their own folder with its names (see LinkResolver::from).
    LinkResolver m_base;
    // Set when the pages are read with one resolver; else each from its own folder.
    bool m_oneResolver = false;
    bool m_unwritableBlocks = true;
    QString m_root;
    // The pages that name some of the paths and can be rewritten; path key ->
    // the pages that name it but cannot be.
    QStringList m_users;
    QHash<QString, QStringList> m_blocking;
    // What each of those pages held when it was read, and the path keys it names.
    QHash<QString, QByteArray> m_read;
    QHash<QString, QSet<QString>> m_named;
    // The paths looked for, and their names as pages may write them (none: every
    // page is read in full).
    QStringList m_paths;
    QSet<QString> m_pieces;
    QSet<qsizetype> m_pieceLengths;
};

// Whether a file is a page whose links are fixed: ".html" or ".htm".
bool isPageFileName(const QString &path);
// The pages of folder.
QStringList pagesOfFolder(const QString &folder);
// Whether a page can be written now: it and its folder are writable.
bool canWritePage(const QString &page);

// The moved files as lines for the user: "page: file -> new name", paths
// relative to root.
QStringList describeNamedFiles(const QList<PageNamesFile> &named, const QString &root);
