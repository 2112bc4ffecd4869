#include "core/search/pagetextcache.h"

#include "core/search/searchlisting.h"

#include <QBitArray>
#include <QFile>

#include <algorithm>
#include <cstring>
#include <unistd.h>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

using namespace Qt::StringLiterals;

qsizetype PageTextCache::defaultLimit()
{
    constexpr qint64 Least = qint64(64) << 20, Most = qint64(1) << 30;
    const long pages = ::sysconf(_SC_PHYS_PAGES);
    const long pageSize = ::sysconf(_SC_PAGESIZE);
    if (pages <= 0 || pageSize <= 0)
        return Least;
    return qsizetype(std::clamp(qint64(pages) * pageSize / 16, Least, Most));
}

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
    m_lastFolder = -1;
    m_openFolders = 0;
    m_watched.clear();
    if (root != m_root || !m_folder.isValid()) {
        m_root = root;
        m_folder = root.isEmpty() ? FolderHandle() : FolderHandle(root);
    }
    // A cache that keeps nothing has nothing to watch.
    if (m_limit > 0)
        m_watch.start(m_folder.fd());
}

void PageTextCache::keepWhileWalking(WalkCallbacks &callbacks)
{
    callbacks.entering = [this](const QString &relative, int folder) {
        const int at = folderIndex(relative, folder, ".");
        if (at < 0 || m_folders[size_t(at)].watch >= 0)
            return;
        const int watch = m_watch.add(folder);
        // The same folder reached twice (a mount inside the tree): its changes
        // are told under the first path only; pages by the second keep their stamps.
        if (watch < 0 || m_watched.contains(watch))
            return;
        m_folders[size_t(at)].watch = watch;
        m_watched.insert(watch, at);
    };
    // Letters are lowered on the walk's reader threads.
    callbacks.preparePage = [](QByteArray &bytes) { lowerAsciiLetters(bytes); };
    callbacks.pageRead = [this](const QString &path, QByteArray bytes, const FileVersion &stamp) {
        keep(path, std::move(bytes), stamp);
    };
}

void PageTextCache::drop(const QString &path)
{
    auto found = m_items.find(path);
    if (found == m_items.end())
        return;
    m_used -= found->bytes.size();
    m_items.erase(found);
}

void PageTextCache::beginSearch()
{
    m_searching = true;
    m_watch.takeEvents([this](const FolderWatch::Event &event) {
        if (event.watch < 0) {
            // Changes were lost: every page is looked at by its stamp from now on.
            for (Folder &folder : m_folders)
                folder.watch = -1;
            m_watched.clear();
            return;
        }
        const auto found = m_watched.constFind(event.watch);
        if (found == m_watched.constEnd())
            return;
        Folder &folder = m_folders[size_t(*found)];
        if (event.folderGone) {
            folder.watch = -1;
            m_watched.erase(found);
        } else if (!event.name.isEmpty()) {
            const QString name = QFile::decodeName(event.name);
            drop(folder.path.isEmpty() ? name : folder.path + u'/' + name);
        }
    });
}

void lowerAsciiLetters(QByteArray &bytes)
{
    char *p = bytes.data();
    const qsizetype n = bytes.size();
    qsizetype i = 0;
#if defined(__SSE2__)
    // Sixteen bytes at a time: shifted so that 'A'..'Z' are the lowest signed values.
    const __m128i shift = _mm_set1_epi8(char(128 - 'A'));
    const __m128i limit = _mm_set1_epi8(char(-128 + 26));
    const __m128i bit = _mm_set1_epi8(0x20);
    for (; i + 16 <= n; i += 16) {
        const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p + i));
        const __m128i upper = _mm_cmplt_epi8(_mm_add_epi8(x, shift), limit);
        _mm_storeu_si128(reinterpret_cast<__m128i *>(p + i), _mm_or_si128(x, _mm_and_si128(upper, bit)));
    }
#endif
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
    if (!fits(path, bytes.size()))
        return;
    lowerAsciiLetters(bytes);
    keep(path, std::move(bytes), stamp);
}

bool PageTextCache::fits(const QString &path, qsizetype size)
{
    if (m_used + size <= m_limit)
        return true;
    drop(path);
    return m_used + size <= m_limit;
}

void PageTextCache::keep(const QString &path, QByteArray bytes, const FileVersion &stamp)
{
    if (!fits(path, bytes.size()))
        return;
    // One look-up in the common case: the walk stores each page once.
    Item &item = m_items[path];
    m_used += bytes.size() - item.bytes.size();
    item = Item();
    item.stamp = stamp;
    item.bytes = std::move(bytes);
    placeOf(path, item);
    // A page with other names may change through one in another folder.
    item.watched = item.folder >= 0 && m_folders[size_t(item.folder)].watch >= 0 && stamp.links == 1;
}

int PageTextCache::folderIndex(const QString &folder, int parent, const char *name)
{
    // Few folders hold many pages; past this many, names are looked up from
    // the root (the folder is still watched).
    constexpr size_t MaxOpenFolders = 256;
    const auto found = m_folderIndex.constFind(folder);
    if (found != m_folderIndex.constEnd())
        return *found;
    FolderHandle handle;
    if (m_openFolders < MaxOpenFolders) {
        handle = FolderHandle(parent, name);
        if (!handle.isValid())
            return -1;
        ++m_openFolders;
    }
    m_folders.push_back({std::move(handle), folder});
    return *m_folderIndex.insert(folder, int(m_folders.size()) - 1);
}

void PageTextCache::placeOf(const QString &path, Item &item)
{
    const qsizetype slash = path.lastIndexOf(u'/');
    const QStringView folder = QStringView(path).left(std::max<qsizetype>(slash, 0));
    // Pages come folder by folder: the last folder is known without a look-up.
    if (m_lastFolder < 0 || slash == 0 || folder != m_folders[size_t(m_lastFolder)].path) {
        // The root's own pages are found in the root's entry (opened as ".").
        m_lastFolder = slash == 0 ? -1
                                  : folderIndex(folder.toString(), m_folder.fd(),
                                                folder.isEmpty() ? "." : folder.toLocal8Bit().constData());
    }
    item.folder = m_lastFolder;
    const bool held = item.folder >= 0 && m_folders[size_t(item.folder)].handle.isValid();
    item.name = QFile::encodeName(held ? path.mid(slash + 1) : path);
}

int PageTextCache::lookupFolder(const Item &item) const
{
    if (item.folder >= 0 && m_folders[size_t(item.folder)].handle.isValid())
        return m_folders[size_t(item.folder)].handle.fd();
    return m_folder.fd();
}

bool PageTextCache::text(const QString &path, QByteArray &bytes, bool *folding)
{
    if (!m_folder.isValid())
        return false;
    auto found = m_items.find(path);
    // A watched page that no change touched needs no look at its file.
    if (found != m_items.end()
        && ((m_searching && found->watched && m_folders[size_t(found->folder)].watch >= 0)
            || found->stamp == fileVersionAt(lookupFolder(*found), found->name.constData()))) {
        if (folding) {
            if (found->folding < 0)
                found->folding = holdsAsciiFolding(found->bytes) ? 1 : 0;
            *folding = found->folding;
        }
        bytes = found->bytes;
        return true;
    }
    FileVersion stamp;
    if (!readFileBytesAt(m_folder.fd(), QFile::encodeName(path).constData(), bytes, &stamp)) {
        drop(path);
        return false;
    }
    lowerAsciiLetters(bytes);
    if (folding)
        *folding = holdsAsciiFolding(bytes);
    keep(path, bytes, stamp);
    return true;
}

QByteArray removeComments(const QByteArray &text)
{
    qsizetype open = text.indexOf("<!-");
    if (open < 0)
        return text;
    QByteArray out;
    out.reserve(text.size());
    qsizetype pos = 0;
    while (open >= 0) {
        out.append(text.constData() + pos, open - pos);
        const qsizetype close = text.indexOf("->", open + 2);
        pos = close < 0 ? open + 1 : close + 1;
        open = text.indexOf("<!-", pos);
    }
    out.append(text.constData() + pos, text.size() - pos);
    return out;
}

namespace {

// What the search needs to know of the upper-casing it uses, for every
// character below U+10000: built once, in one pass over them.
struct CaseTables
{
    // Beyond ASCII: the characters upper-casing leaves as they are.
    QBitArray kept{0x10000, false};
    // The characters that upper-casing yields only from themselves (or, for
    // A-Z, from their lower-case letter): a page whose upper-cased text holds
    // one holds it in its bytes as well.
    QBitArray plain{0x10000, true};
    // The UTF-8 forms of the characters beyond ASCII whose upper case holds an
    // ASCII character, by their first byte.
    QList<QByteArray> folding[256];
    QByteArray foldingLeads;
};

const CaseTables &caseTables()
{
    static const CaseTables tables = [] {
        CaseTables t;
        for (char32_t c = 0; c < 0x10000; ++c) {
            if (c >= 0xD800 && c <= 0xDFFF) {
                t.plain.clearBit(int(c));
                continue;
            }
            const QString one{QChar(char16_t(c))};
            const QString upper = one.toUpper();
            if (upper == one) {
                if (c >= 0x80)
                    t.kept.setBit(int(c));
                continue;
            }
            t.plain.clearBit(int(c));
            const bool asciiLetter = c >= 'a' && c <= 'z';
            bool holdsAscii = false;
            for (QChar u : upper) {
                if (!(asciiLetter && u.unicode() == c - 32))
                    t.plain.clearBit(u.unicode());
                holdsAscii = holdsAscii || u.unicode() < 0x80;
            }
            if (c < 0x80 || !holdsAscii)
                continue;
            const QByteArray form = one.toUtf8();
            const auto lead = static_cast<unsigned char>(form.at(0));
            if (t.folding[lead].isEmpty())
                t.foldingLeads.append(char(lead));
            t.folding[lead].append(form);
        }
        return t;
    }();
    return tables;
}

// Whether upper-casing the UTF-8 text changes no character beyond ASCII; false
// as well for bytes that are no valid UTF-8 of characters below U+10000.
bool upperKeepsBeyondAscii(const QByteArray &utf8)
{
    const QBitArray &kept = caseTables().kept;
    const auto *p = reinterpret_cast<const unsigned char *>(utf8.constData());
    const auto *end = p + utf8.size();
    while (p < end) {
        if (*p < 0x80) {
            ++p;
            continue;
        }
        const int more = (*p & 0xE0) == 0xC0 ? 1 : (*p & 0xF0) == 0xE0 ? 2 : 0;
        if (more == 0 || end - p <= more)
            return false;
        char32_t c = *p & (more == 1 ? 0x1F : 0x0F);
        for (int i = 1; i <= more; ++i) {
            if ((p[i] & 0xC0) != 0x80)
                return false;
            c = (c << 6) | (p[i] & 0x3F);
        }
        if (c < (more == 1 ? 0x80u : 0x800u) || (c >= 0xD800 && c <= 0xDFFF) || !kept.testBit(int(c)))
            return false;
        p += more + 1;
    }
    return true;
}

// A comment taken out joins the text before it to a ">" or a "!": a run
// without those lies within one piece of the page's own text.
bool usableInNeedle(QChar c, bool withoutFolding)
{
    if (c == u'>' || c == u'!' || c == QChar::ReplacementCharacter)
        return false;
    return (withoutFolding && c.unicode() < 0x80) || caseTables().plain.testBit(c.unicode());
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
    const CaseTables &f = caseTables();
    const char *data = bytes.constData();
    const qsizetype n = bytes.size();
    for (const char lead : f.foldingLeads) {
        const void *at = data;
        while ((at = std::memchr(at, lead, size_t(data + n - static_cast<const char *>(at))))) {
            const char *p = static_cast<const char *>(at);
            for (const QByteArray &form : f.folding[static_cast<unsigned char>(lead)]) {
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
    // The term's bytes stand for it in any valid UTF-8 unless it holds what
    // decoding makes of other bytes (the replacement character, a dropped mark).
    m_bytesMatch = std::none_of(m_upper.begin(), m_upper.end(), [](QChar c) {
        return c.isSurrogate() || c == QChar::ReplacementCharacter || c == QChar::ByteOrderMark;
    });
    if (m_bytesMatch) {
        m_lowered = m_upper.toUtf8();
        lowerAsciiLetters(m_lowered);
    }
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
    const QByteArray &needle = folding ? m_needle : m_plainNeedle;
    if (!holds(bytes, needle))
        return false;
    // A page that holds the term only in its comments is left before its
    // text is decoded and upper-cased.
    const QByteArray text = removeComments(bytes);
    if (!holds(text, needle))
        return false;
    // Where upper-casing would only raise a-z, the lowered bytes hold the
    // lowered term exactly when the upper-cased text holds the term.
    if (m_bytesMatch && upperKeepsBeyondAscii(text))
        return holds(text, m_lowered);
    return QString::fromUtf8(text).toUpper().contains(m_upper);
}
