#include "core/search/searchlisting.h"

#include "core/app/atomicfile.h"
#include "core/navigation/pagetitle.h"
#include "core/navigation/pathtext.h"
#include "core/search/searchtexts.h"
#include "core/tools/renameplan.h"

#include <QByteArrayView>
#include <QFile>

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstring>

using namespace Qt::StringLiterals;

// The first place of a marker. Every page is scanned for a marker it seldom
// holds, so the scan jumps from one place of the marker's first byte to the
// next (the C library's fastest scan) rather than comparing at every byte.
static qsizetype find(const QByteArray &bytes, QByteArrayView marker)
{
    if (marker.isEmpty() || bytes.size() < marker.size())
        return marker.isEmpty() ? 0 : -1;
    const char *data = bytes.constData();
    const char *last = data + bytes.size() - marker.size();
    for (const char *at = data; at <= last; ++at) {
        at = static_cast<const char *>(std::memchr(at, marker.front(), size_t(last - at + 1)));
        if (!at)
            return -1;
        // Most places of the first byte already differ at the second.
        if (marker.size() == 1
            || (at[1] == marker[1] && std::memcmp(at + 2, marker.data() + 2, size_t(marker.size() - 2)) == 0))
            return at - data;
    }
    return -1;
}

// The text between the first open and the first close marker; false when it
// cannot be cut (a marker missing, or the close before the open).
static bool cutBetween(const QByteArray &bytes, QByteArrayView open, QByteArrayView close, QString &cut)
{
    const qsizetype from = find(bytes, open);
    const qsizetype to = find(bytes, close);
    if (from < 0 || to < 0 || to < from + open.size())
        return false;
    const qsizetype start = from + open.size();
    cut = QString::fromUtf8(bytes.constData() + start, to - start);
    return true;
}

ListedTitle ReadPageTitle(const QString &fileName, const QByteArray &bytes)
{
    const QString name = fileNameOf(fileName);
    // The extension is exactly ".html" (no allocation for each file).
    if (!name.endsWith(u".html"))
        return {name, true};
    // Markers are ASCII, which UTF-8 keeps byte for byte, so the bytes are searched.
    if (find(bytes, SearchTexts::NotFindMarker) >= 0)
        return {{}, false};
    QString title;
    const bool lower = find(bytes, "<title>") >= 0;
    const bool cut = lower ? cutBetween(bytes, "<title>", "</title>", title)
                           : cutBetween(bytes, "<TITLE>", "</TITLE>", title);
    if (!cut || title.isEmpty())
        title = fileNameTitle(name);
    return {title, true};
}

bool isSearchDocument(const QString &fileName)
{
    if (fileName.startsWith(u'_'))
        return false;
    // The hidden names our own writers give files for a while are no documents.
    if (fileName.startsWith(u'.') && (AtomicFile::isTemporaryName(fileName) || isStrandedRenameName(fileName)))
        return false;
    // Only A-Z lower-case to the letters of these kinds, so comparing without
    // case finds what lower-casing the name first would. Most names are pages.
    if (fileName.endsWith(u".html", Qt::CaseInsensitive))
        return true;
    for (const QStringView kind : {u".pdf", u".xl", u".doc", u".jt", u".jxw", u".html"}) {
        if (fileName.contains(kind, Qt::CaseInsensitive))
            return true;
    }
    // A name ending in ".htm" counts as well as one holding ".html".
    return fileName.endsWith(u".htm", Qt::CaseInsensitive);
}

namespace {

struct DirItem
{
    QByteArray raw;
    QString name;
    QString folded;
    bool folder = false;
};

// The entries of an open folder in the one name order: the case-folded names
// first, then the names as they are. Symbolic links are left out.
QList<DirItem> readFolder(const FolderHandle &folder)
{
    QList<DirItem> items;
    const int fd = ::dup(folder.fd());
    DIR *dir = fd < 0 ? nullptr : ::fdopendir(fd);
    if (!dir) {
        if (fd >= 0)
            ::close(fd);
        return items;
    }
    while (const dirent *e = ::readdir(dir)) {
        const char *n = e->d_name;
        if (n[0] == '.' && (n[1] == 0 || (n[1] == '.' && n[2] == 0)))
            continue;
        unsigned char type = e->d_type;
        if (type == DT_UNKNOWN) {
            struct stat st;
            if (::fstatat(folder.fd(), n, &st, AT_SYMLINK_NOFOLLOW) != 0)
                continue;
            type = S_ISDIR(st.st_mode) ? DT_DIR : S_ISREG(st.st_mode) ? DT_REG : DT_LNK;
        }
        if (type != DT_DIR && type != DT_REG)
            continue;
        DirItem item;
        item.raw = QByteArray(n);
        item.name = QFile::decodeName(item.raw);
        item.folded = item.name.toCaseFolded();
        item.folder = type == DT_DIR;
        items.append(std::move(item));
    }
    ::closedir(dir);
    std::sort(items.begin(), items.end(), [](const DirItem &a, const DirItem &b) {
        const int c = QString::compare(a.folded, b.folded, Qt::CaseSensitive);
        return c != 0 ? c < 0 : QString::compare(a.name, b.name, Qt::CaseSensitive) < 0;
    });
    return items;
}

void walk(const FolderHandle &folder, const QString &relative, const WalkCallbacks &callbacks, SearchListing &out)
{
    const QString prefix = relative.isEmpty() ? QString() : relative + u'/';
    // Nothing in the root's MWEX folder is listed, so it is not read either.
    if (prefix.startsWith(SearchTexts::ExcludedRootFolder))
        return;
    if (callbacks.entering)
        callbacks.entering(relative, folder.fd());
    for (const DirItem &item : readFolder(folder)) {
        if (item.folder) {
            const FolderHandle sub(folder.fd(), item.raw.constData());
            if (sub.isValid())
                walk(sub, prefix + item.name, callbacks, out);
            continue;
        }
        if (!isSearchDocument(item.name))
            continue;
        const QString path = prefix + item.name;
        ListedTitle listed{item.name, true};
        if (item.name.endsWith(u".html")) {
            FileVersion stamp;
            QByteArray bytes;
            if (readFileBytesAt(folder.fd(), item.raw.constData(), bytes, &stamp)) {
                listed = ReadPageTitle(item.name, bytes);
                if (listed.listed && callbacks.pageRead)
                    callbacks.pageRead(path, std::move(bytes), stamp);
            } else {
                listed = {fileNameTitle(item.name), true};
                if (callbacks.unreadable)
                    callbacks.unreadable();
            }
        }
        if (!listed.listed)
            continue;
        out.append({path, listed.title});
        if (callbacks.listed)
            callbacks.listed(listed.title);
    }
}

} // namespace

SearchListing ZENBU(const QString &root, const WalkCallbacks &callbacks)
{
    SearchListing listing;
    const FolderHandle top(root);
    if (top.isValid())
        walk(top, {}, callbacks, listing);
    return listing;
}

QString keywordPart(const QString &title)
{
    const qsizetype hash = title.indexOf(u'#');
    if (hash < 0)
        return title;
    const QString after = title.mid(hash + 1);
    const qsizetype hint = after.indexOf(u'?');
    return hint < 0 ? after : after.left(hint);
}

// Titles compare by UTF-16 code unit with only a-z folded to A-Z.
static int compareTitles(const QString &a, const QString &b)
{
    const qsizetype n = std::min(a.size(), b.size());
    for (qsizetype i = 0; i < n; ++i) {
        char16_t x = a.at(i).unicode();
        char16_t y = b.at(i).unicode();
        if (x >= u'a' && x <= u'z')
            x -= 32;
        if (y >= u'a' && y <= u'z')
            y -= 32;
        if (x != y)
            return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

void SortResults(SearchListing &listing, SearchOrder order)
{
    if (order == SearchOrder::ByTitle) {
        std::stable_sort(listing.begin(), listing.end(), [](const SearchEntry &a, const SearchEntry &b) {
            return compareTitles(a.title, b.title) < 0;
        });
        return;
    }
    QList<std::pair<qsizetype, SearchEntry>> keyed;
    keyed.reserve(listing.size());
    for (const SearchEntry &e : listing)
        keyed.append({keywordPart(e.title).size(), e});
    std::stable_sort(keyed.begin(), keyed.end(), [](const auto &a, const auto &b) { return a.first < b.first; });
    for (qsizetype i = 0; i < keyed.size(); ++i)
        listing[i] = keyed.at(i).second;
}
