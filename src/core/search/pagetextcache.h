#pragma once

#include "core/search/fileversion.h"

#include <QByteArray>
#include <QHash>
#include <QString>

#include <vector>

// The bytes of the pages a full-text search reads, kept for the next search.
// Bounded: past the limit nothing more is kept. An entry whose file has another
// stamp now is read again. The owner drops it all with the listing.
class PageTextCache
{
public:
    static constexpr qsizetype DefaultLimit = 64 * 1024 * 1024;
    explicit PageTextCache(qsizetype limitBytes = DefaultLimit);

    // Drops every page and takes root as the folder the paths below are
    // relative to.
    void reset(const QString &root);
    void clear() { reset(m_root); }
    const QString &root() const { return m_root; }
    // Keeps bytes read elsewhere (by the walk) under the file's stamp.
    void store(const QString &path, QByteArray bytes, const FileVersion &stamp);
    // The page's bytes ready for matching (ASCII letters lowered) and whether
    // they hold characters that upper-case to ASCII (holdsAsciiFolding); false
    // when the file cannot be read.
    bool text(const QString &path, QByteArray &bytes, bool &folding);

    qsizetype usedBytes() const { return m_used; }
    qsizetype count() const { return m_items.size(); }

private:
    struct Item
    {
        FileVersion stamp;
        QByteArray bytes;
        int folder = -1;          // its folder held open, -1: the name is below the root
        QByteArray name;          // the name as the system takes it there
        signed char folding = -1; // not looked at yet
    };
    // Where a page's stamp is looked up: its own folder, held open, so that
    // the system looks up one name only.
    void placeOf(const QString &path, Item &item);
    QHash<QString, Item> m_items;
    qsizetype m_used = 0;
    qsizetype m_limit;
    QString m_root;
    FolderHandle m_folder;
    QHash<QString, int> m_folderIndex;
    std::vector<FolderHandle> m_folders;
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

private:
    QString m_upper;
    // Bytes every matching page must hold (a shortcut that never decides a
    // match alone): one for any page, a longer one for pages without folding.
    QByteArray m_needle;
    QByteArray m_plainNeedle;
};

// The text without its comments: from each "<!-" through the "-" of the next
// "->" (the ">" stays); a "<!-" without a "->" after it loses only its "<".
QString removeComments(const QString &text);
