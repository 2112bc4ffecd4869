#pragma once

#include "core/search/fileversion.h"
#include "core/search/folderwatch.h"

#include <QByteArray>
#include <QHash>
#include <QString>

#include <vector>

struct WalkCallbacks;

// The bytes of the pages a full-text search reads, kept for the next search.
// Bounded: past the limit nothing more is kept. An entry whose file has another
// stamp now is read again. The owner drops it all with the listing.
// Where the system tells of changes, the folders are watched from before their
// pages are read: a search then reads again what changed and looks at no stamp.
class PageTextCache
{
public:
    // Enough for the pages of a large tree (50,000 pages are some 150 MiB):
    // a sixteenth of the memory, between 64 MiB and 1 GiB.
    static qsizetype defaultLimit();
    explicit PageTextCache(qsizetype limitBytes = defaultLimit());

    // Drops every page and takes root as the folder the paths below are
    // relative to.
    void reset(const QString &root);
    void clear() { reset(m_root); }
    const QString &root() const { return m_root; }
    // Has the walk hand over the pages it reads and watch each folder first.
    void keepWhileWalking(WalkCallbacks &callbacks);
    // Keeps bytes read elsewhere (by the walk) under the file's stamp.
    void store(const QString &path, QByteArray bytes, const FileVersion &stamp);
    // The page's bytes ready for matching (ASCII letters lowered) and, when
    // asked, whether they hold characters that upper-case to ASCII
    // (holdsAsciiFolding); false when the file cannot be read.
    bool text(const QString &path, QByteArray &bytes, bool *folding = nullptr);
    // One search: the changes noticed so far drop their pages; until
    // endSearch(), the other watched pages are served as kept.
    void beginSearch();
    void endSearch() { m_searching = false; }

    qsizetype usedBytes() const { return m_used; }
    // Whether the system tells of changes below the root.
    bool watching() const { return m_watch.isActive(); }
    qsizetype count() const { return m_items.size(); }

private:
    struct Item
    {
        FileVersion stamp;
        QByteArray bytes;
        int folder = -1;          // its folder held open, -1: the name is below the root
        QByteArray name;          // the name as the system takes it there
        signed char folding = -1; // not looked at yet
        bool watched = false;     // its folder was watched before it was read
    };
    struct Folder
    {
        FolderHandle handle; // invalid past the most folders held open
        QString path;   // relative to the root, "" for the root
        int watch = -1; // -1: not watched, or no longer to be trusted
    };
    // Where a page's stamp is looked up: its own folder, held open, so that
    // the system looks up one name only (else the root and the whole path).
    void placeOf(const QString &path, Item &item);
    // The folder's place in m_folders, opened from parent when new; -1 when it cannot be.
    int folderIndex(const QString &folder, int parent, const char *name);
    // The descriptor item.name is looked up in.
    int lookupFolder(const Item &item) const;
    size_t m_openFolders = 0;
    void drop(const QString &path);
    // Whether size more bytes are within the limit, the page's old ones dropped if need be.
    bool fits(const QString &path, qsizetype size);
    // store() for bytes already lowered.
    void keep(const QString &path, QByteArray bytes, const FileVersion &stamp);
    QHash<QString, Item> m_items;
    qsizetype m_used = 0;
    qsizetype m_limit;
    QString m_root;
    FolderHandle m_folder;
    QHash<QString, int> m_folderIndex;
    std::vector<Folder> m_folders;
    int m_lastFolder = -1; // the folder of the last page placed
    FolderWatch m_watch;
    QHash<int, int> m_watched; // watch id -> folder
    bool m_searching = false;
};

// Lowers the ASCII letters A-Z in place; other bytes, and so every multi-byte
// UTF-8 sequence, stay. Upper-casing gives the same text before and after.
void lowerAsciiLetters(QByteArray &bytes);

// Whether UTF-8 bytes hold a character beyond ASCII whose upper case holds an
// ASCII one (the sharp s, the dotless i, the long s, ligatures...).
bool holdsAsciiFolding(const QByteArray &bytes);

// One term of a full-text search: it matches when it occurs, upper-cased, in
// the upper-cased path or in the upper-cased text of a page without its
// comments.
class FullTextTerm
{
public:
    explicit FullTextTerm(const QString &term);

    // upperPath: the relative path, upper-cased.
    bool pathMatches(const QString &upperPath) const;
    // bytes and folding as PageTextCache gives them.
    bool textMatches(const QByteArray &bytes, bool folding) const;
    // Whether textMatches() needs to know the folding (else any value will do).
    bool needsFolding() const { return m_needle != m_plainNeedle; }

private:
    QString m_upper;
    // Bytes every matching page must hold (a shortcut that never decides a
    // match alone): one for any page, a longer one for pages without folding.
    QByteArray m_needle;
    QByteArray m_plainNeedle;
    // The term in UTF-8, ASCII letters lowered, and whether it may be sought in bytes.
    QByteArray m_lowered;
    bool m_bytesMatch = false;
};

// The UTF-8 text without its comments: from each "<!-" through the "-" of the
// next "->" (the ">" stays); a "<!-" without a "->" after it loses only its "<".
// The markers are ASCII, which UTF-8 keeps byte for byte, so bytes are cut.
QByteArray removeComments(const QByteArray &text);
