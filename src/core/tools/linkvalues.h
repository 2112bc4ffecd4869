#pragma once

#include <QHash>
#include <QList>
#include <QString>

#include <memory>

// One quoted value in a page's text: where it stands and what it says.
struct QuotedValue
{
    qsizetype start = 0;
    qsizetype length = 0;
    QString text;
    // Read as written (the title's icon), not as an address: no escapes, no fragment.
    bool raw = false;
};

// The values that follow opening (which ends with the opening double quote, as
// in src=") up to the next double quote, in text order. A value without its
// closing quote ends the list.
QList<QuotedValue> quotedValues(const QString &text, const QString &opening, Qt::CaseSensitivity cs);

// A link value as pages write it, made a path: "&amp;" and percent escapes
// undone, "#fragment" and "?query" cut off, "\" turned into "/".
QString cleanLinkValue(const QString &value);

// The text after the last "/", "\" or ":" of a link: a command link's name
// begins with "$".
QString linkFileNamePart(const QString &link);

// Whether a name that pages may come to name would break their tags, leave
// its folder or open as a command: it holds " ' < > / \ $ or a control character.
bool isRefusedLinkName(const QString &name);

// Finds the files that links name, on a case-sensitive file system as a
// Windows peer would: the exact name first, then one differing only in case.
// Nothing outside the data root is ever found. Each folder is listed once: a
// resolver sees the names a folder had when it first looked there.
class LinkResolver
{
public:
    LinkResolver(const QString &root, const QString &curDir);

    // The existing file that value (as a page writes it) names from a page in
    // folder: "/x" from the current folder, "./x", "sub/../x" and "../x" from
    // folder. Empty for web and mail addresses, missing files and folders.
    QString resolve(const QString &folder, const QString &value);
    // The path value names from folder by the same rules, whether or not it
    // exists; empty for addresses and names outside the data root.
    QString pathOf(const QString &folder, const QString &value) const;
    // path itself when it is a file inside the data root, else the file that
    // differs from it only in case; empty when there is none.
    QString existing(const QString &path);
    // What path is compared by when values are matched with the files a rename
    // names: the path without regard to case, as a Windows peer reads it,
    // unless its folder holds names that differ from its name only in case;
    // then its name as written, or for a spelling none of them has, the first
    // of them in name order (as existing() takes it). Names as the folder had
    // them when first looked at, so that keys still tell renamed files apart
    // after the renames.
    QString key(const QString &path) const;

    const QString &curDir() const { return m_curDir; }
    const QString &root() const { return m_root; }
    // The same resolver for pages of another current folder: it shares the
    // folder names looked at so far, so that keys stay those of the first look.
    LinkResolver from(const QString &curDir) const;

private:
    bool insideRoot(const QString &path) const;
    // The names of folder that are name without regard to case, in name order.
    QStringList namesLike(const QString &folder, const QString &name) const;
    QString m_root;
    QString m_curDir;
    // Folder -> case-folded name -> the names on disk that fold to it.
    // Copies share it.
    std::shared_ptr<QHash<QString, QHash<QString, QStringList>>> m_listings;
};

// path compared as a Windows peer would: without regard to case.
inline QString pathKey(const QString &path)
{
    return path.toCaseFolded();
}
