#include "core/search/pagetextcache.h"

#include <QBitArray>
#include <QFile>

#include <algorithm>
#include <cstring>

using namespace Qt::StringLiterals;

PageTextCache::PageTextCache(qsizetype limitBytes)
    : m_limit(limitBytes)
{
}

void PageTextCache::reset(const QString &root)
{
    m_items.clear();
    m_used = 0;
    m_folderIndex.clear();
    m_folders.clear();
    if (root != m_root || !m_folder.isValid()) {
        m_root = root;
        m_folder = root.isEmpty() ? FolderHandle() : FolderHandle(root);
    }
}

void lowerAsciiLetters(QByteArray &bytes)
{
    char *p = bytes.data();
    const qsizetype n = bytes.size();
    qsizetype i = 0;
    // Eight bytes at a time: a byte gets 0x20 added when it lies in 'A'..'Z'.
    constexpr quint64 ones = 0x0101010101010101ULL;
    for (; i + 8 <= n; i += 8) {
        quint64 x;
        std::memcpy(&x, p + i, 8);
        const quint64 low7 = x & (0x7F * ones);
        const quint64 aboveZ = low7 + (0x25 * ones);  // high bit set past 'Z'
        const quint64 fromA = low7 + (0x3F * ones);   // high bit set from 'A'
        const quint64 upper = (fromA ^ aboveZ) & ~x & (0x80 * ones);
        x |= upper >> 2;
        std::memcpy(p + i, &x, 8);
    }
    for (; i < n; ++i) {
        if (p[i] >= 'A' && p[i] <= 'Z')
            p[i] = char(p[i] + 32);
    }
}

void PageTextCache::store(const QString &path, QByteArray bytes, const FileVersion &stamp)
{
    auto old = m_items.find(path);
    if (old != m_items.end()) {
        m_used -= old->bytes.size();
        m_items.erase(old);
    }
    if (m_used + bytes.size() > m_limit)
        return;
    lowerAsciiLetters(bytes);
    m_used += bytes.size();
    Item item;
    item.stamp = stamp;
    item.bytes = std::move(bytes);
    placeOf(path, item);
    m_items.emplace(path, std::move(item));
}

void PageTextCache::placeOf(const QString &path, Item &item)
{
    // Few folders hold many pages; past this many, names are looked up from the root.
    constexpr int MaxOpenFolders = 256;
    const qsizetype slash = path.lastIndexOf(u'/');
    if (slash > 0) {
        const QString folder = path.left(slash);
        auto found = m_folderIndex.constFind(folder);
        if (found == m_folderIndex.constEnd() && m_folders.size() < MaxOpenFolders) {
            FolderHandle handle(m_folder.fd(), QFile::encodeName(folder).constData());
            if (handle.isValid()) {
                m_folders.push_back(std::move(handle));
                found = m_folderIndex.insert(folder, int(m_folders.size()) - 1);
            }
        }
        if (found != m_folderIndex.constEnd()) {
            item.folder = *found;
            item.name = QFile::encodeName(path.mid(slash + 1));
            return;
        }
    }
    item.name = QFile::encodeName(path);
}

bool PageTextCache::text(const QString &path, QByteArray &bytes, bool &folding)
{
    if (!m_folder.isValid())
        return false;
    auto found = m_items.find(path);
    if (found != m_items.end()
        && found->stamp
               == fileVersionAt(found->folder < 0 ? m_folder.fd() : m_folders[size_t(found->folder)].fd(),
                                found->name.constData())) {
        if (found->folding < 0)
            found->folding = holdsAsciiFolding(found->bytes) ? 1 : 0;
        bytes = found->bytes;
        folding = found->folding;
        return true;
    }
    FileVersion stamp;
    if (!readFileBytesAt(m_folder.fd(), QFile::encodeName(path).constData(), bytes, &stamp)) {
        if (found != m_items.end()) {
            m_used -= found->bytes.size();
            m_items.erase(found);
        }
        return false;
    }
    lowerAsciiLetters(bytes);
    folding = holdsAsciiFolding(bytes);
    store(path, bytes, stamp);
    return true;
}

QString removeComments(const QString &text)
{
    qsizetype open = text.indexOf(u"<!-"_s);
    if (open < 0)
        return text;
    QString out;
    out.reserve(text.size());
    qsizetype pos = 0;
    while (open >= 0) {
        out += QStringView(text).mid(pos, open - pos);
        const qsizetype close = text.indexOf(u"->"_s, open + 2);
        pos = close < 0 ? open + 1 : close + 1;
        open = text.indexOf(u"<!-"_s, pos);
    }
    out += QStringView(text).mid(pos);
    return out;
}

namespace {

// The characters that upper-casing yields only from themselves (or, for A-Z,
// from their lower-case letter): a page whose upper-cased text holds one holds
// it in its bytes as well. Built once from the same upper-casing the search uses.
const QBitArray &plainUpperCharacters()
{
    static const QBitArray plain = [] {
        QBitArray bits(0x10000, true);
        for (char32_t c = 0; c < 0x10000; ++c) {
            if (c >= 0xD800 && c <= 0xDFFF) {
                bits.clearBit(int(c));
                continue;
            }
            const QString upper = QString(QChar(char16_t(c))).toUpper();
            if (upper.size() == 1 && upper.at(0).unicode() == c)
                continue;
            bits.clearBit(int(c));
            const bool asciiLetter = c >= 'a' && c <= 'z';
            for (QChar u : upper) {
                if (!(asciiLetter && u.unicode() == c - 32))
                    bits.clearBit(u.unicode());
            }
        }
        return bits;
    }();
    return plain;
}

// The UTF-8 forms of the characters beyond ASCII whose upper case holds an
// ASCII character, by their first byte.
struct FoldingCharacters
{
    QList<QByteArray> forms[256];
    QByteArray leads;
};

const FoldingCharacters &foldingCharacters()
{
    static const FoldingCharacters folding = [] {
        FoldingCharacters f;
        for (char32_t c = 0x80; c < 0x10000; ++c) {
            if (c >= 0xD800 && c <= 0xDFFF)
                continue;
            const QString upper = QString(QChar(char16_t(c))).toUpper();
            if (std::none_of(upper.begin(), upper.end(), [](QChar u) { return u.unicode() < 0x80; }))
                continue;
            const QByteArray form = QString(QChar(char16_t(c))).toUtf8();
            const auto lead = static_cast<unsigned char>(form.at(0));
            if (f.forms[lead].isEmpty())
                f.leads.append(char(lead));
            f.forms[lead].append(form);
        }
        return f;
    }();
    return folding;
}

// A comment taken out joins the text before it to a ">" or a "!": a run
// without those lies within one piece of the page's own text.
bool usableInNeedle(QChar c, bool withoutFolding)
{
    if (c == u'>' || c == u'!' || c == QChar::ReplacementCharacter)
        return false;
    return (withoutFolding && c.unicode() < 0x80) || plainUpperCharacters().testBit(c.unicode());
}

// The longest run of the term's characters that each stand in the page's bytes
// as they stand in the term, ASCII letters lowered.
QByteArray longestNeedle(const QString &upper, bool withoutFolding)
{
    qsizetype bestStart = 0, bestLength = 0;
    for (qsizetype i = 0; i < upper.size();) {
        if (!usableInNeedle(upper.at(i), withoutFolding)) {
            ++i;
            continue;
        }
        qsizetype j = i;
        while (j < upper.size() && usableInNeedle(upper.at(j), withoutFolding))
            ++j;
        if (j - i > bestLength) {
            bestStart = i;
            bestLength = j - i;
        }
        i = j;
    }
    QByteArray needle = upper.mid(bestStart, bestLength).toUtf8();
    lowerAsciiLetters(needle);
    return needle;
}

bool holds(const QByteArray &bytes, const QByteArray &needle)
{
    return needle.isEmpty()
           || ::memmem(bytes.constData(), size_t(bytes.size()), needle.constData(), size_t(needle.size()));
}

} // namespace

bool holdsAsciiFolding(const QByteArray &bytes)
{
    const FoldingCharacters &f = foldingCharacters();
    const char *data = bytes.constData();
    const qsizetype n = bytes.size();
    for (const char lead : f.leads) {
        const void *at = data;
        while ((at = std::memchr(at, lead, size_t(data + n - static_cast<const char *>(at))))) {
            const char *p = static_cast<const char *>(at);
            for (const QByteArray &form : f.forms[static_cast<unsigned char>(lead)]) {
                if (data + n - p >= form.size() && std::memcmp(p, form.constData(), size_t(form.size())) == 0)
                    return true;
            }
            at = p + 1;
        }
    }
    return false;
}

FullTextTerm::FullTextTerm(const QString &term)
    : m_upper(term.toUpper())
    , m_needle(longestNeedle(m_upper, false))
    , m_plainNeedle(longestNeedle(m_upper, true))
{
}

bool FullTextTerm::pathMatches(const QString &upperPath) const
{
    // Folders are written with "\\" in the terms that name them.
    if (!m_upper.contains(u'\\') && !m_upper.contains(u'/'))
        return upperPath.contains(m_upper);
    QString path = upperPath;
    return path.replace(u'/', u'\\').contains(m_upper);
}

bool FullTextTerm::textMatches(const QByteArray &bytes, bool folding) const
{
    if (!holds(bytes, folding ? m_needle : m_plainNeedle))
        return false;
    return removeComments(QString::fromUtf8(bytes)).toUpper().contains(m_upper);
}
