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

#include <QThread>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <memory>
#include <system_error>
#include <thread>
#include <vector>

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

constexpr qsizetype ProgressStride = 32;

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

// One document of the walk, in listing order, and what reading it gave.
struct Found
{
    std::shared_ptr<const FolderHandle> folder; // held open until it is read
    QByteArray raw;
    QString name;
    QString path;
    bool page = false; // an ".html" file: read for its title
    bool read = false;
    bool kept = false; // its bytes go to pageRead
    ListedTitle listed;
    QByteArray bytes;
    FileVersion stamp;
};

// Pages found, listed together and read side by side.
struct Batch
{
    std::vector<Found> found;
    qsizetype pages = 0;
    std::atomic<size_t> next{0};   // the first page no reader took yet
    std::atomic<qint64> kept{0};   // bytes of the texts kept so far
    std::vector<std::thread> readers;
};

// Walks the tree on the calling thread, folder by folder, while a few threads
// read the pages it found before: each read mostly waits for the disk or the
// share. A batch is handed over in listing order once its readers are joined,
// while the next one is read; nothing is reported out of order.
class Walker
{
public:
    Walker(const WalkCallbacks &callbacks, SearchListing &out) : m_callbacks(callbacks), m_out(out) {}
    ~Walker()
    {
        if (m_reading)
            join(*m_reading);
    }
    Walker(const Walker &) = delete;
    Walker &operator=(const Walker &) = delete;

    void walk(const std::shared_ptr<const FolderHandle> &folder, const QString &relative)
    {
        const QString prefix = relative.isEmpty() ? QString() : relative + u'/';
        // Nothing in the root's MWEX folder is listed, so it is not read either.
        if (prefix.startsWith(SearchTexts::ExcludedRootFolder))
            return;
        // The folder is watched before any page in it is read.
        if (m_callbacks.entering)
            m_callbacks.entering(relative, folder->fd());
        for (DirItem &item : readFolder(*folder)) {
            if (item.folder) {
                auto sub = std::make_shared<const FolderHandle>(folder->fd(), item.raw.constData());
                if (sub->isValid())
                    walk(sub, prefix + item.name);
                continue;
            }
            if (!isSearchDocument(item.name))
                continue;
            Found found;
            found.page = item.name.endsWith(u".html");
            found.folder = folder;
            found.path = prefix + item.name;
            found.name = std::move(item.name);
            found.raw = std::move(item.raw);
            m_listing->pages += found.page;
            m_listing->found.push_back(std::move(found));
            if (m_listing->pages >= BatchPages)
                rotate();
        }
    }

    // Reads and hands over what is left.
    void finish()
    {
        rotate();
        const std::unique_ptr<Batch> last = std::move(m_reading);
        readAndJoin(*last);
        deliver(*last);
    }

private:
    // Pages a batch holds.
    static constexpr qsizetype BatchPages = 1024;
    // What a batch keeps of their texts: a page past it is read for its title only.
    static constexpr qint64 BatchBytes = qint64(128) << 20;

    // The batch listed goes to the readers; the one read before is handed over meanwhile.
    void rotate()
    {
        const std::unique_ptr<Batch> done = std::move(m_reading);
        if (done)
            readAndJoin(*done);
        m_reading = std::move(m_listing);
        m_listing = std::make_unique<Batch>();
        start(*m_reading);
        if (done)
            deliver(*done);
    }

    void deliver(Batch &batch)
    {
        for (Found &found : batch.found) {
            if (found.page && !found.read) {
                found.listed = {fileNameTitle(found.name), true};
                if (m_callbacks.unreadable)
                    m_callbacks.unreadable();
            }
            if (!found.listed.listed)
                continue;
            if (found.kept)
                m_callbacks.pageRead(found.path, std::move(found.bytes), found.stamp);
            m_out.append({std::move(found.path), found.listed.title});
            // Progress is shown a few times a second at most: every title would be too many calls.
            if (m_callbacks.listed && m_out.size() % ProgressStride == 1)
                m_callbacks.listed(found.listed.title);
        }
    }

    void read(Found &found, std::atomic<qint64> &kept) const
    {
        found.listed = {found.name, true};
        if (!found.page)
            return;
        found.read = readFileBytesAt(found.folder->fd(), found.raw.constData(), found.bytes, &found.stamp);
        if (!found.read)
            return;
        found.listed = ReadPageTitle(found.name, found.bytes);
        if (!found.listed.listed || !m_callbacks.pageRead || kept.fetch_add(found.bytes.size()) > BatchBytes) {
            found.bytes = QByteArray();
            return;
        }
        if (m_callbacks.preparePage)
            m_callbacks.preparePage(found.bytes);
        found.kept = true;
    }

    void readSome(Batch &batch) const
    {
        constexpr size_t Chunk = 16;
        for (size_t from; (from = batch.next.fetch_add(Chunk)) < batch.found.size();) {
            for (size_t i = from; i < std::min(from + Chunk, batch.found.size()); ++i)
                read(batch.found[i], batch.kept);
        }
    }

    void start(Batch &batch)
    {
        // A thread per 64 pages, as many as the machine runs beside this one,
        // which reads with them once it has listed the next batch; a few pages are read here.
        const qsizetype threads = std::min<qsizetype>(batch.pages / 64, std::clamp(QThread::idealThreadCount() - 1, 1, 7));
        for (qsizetype t = 0; t < threads; ++t) {
            try {
                batch.readers.emplace_back([this, &batch] { readSome(batch); });
            } catch (const std::system_error &) {
                break;
            }
        }
        if (batch.readers.empty())
            readSome(batch);
    }

    // Reads what the readers have not taken yet, then waits for them.
    void readAndJoin(Batch &batch) const
    {
        readSome(batch);
        join(batch);
    }

    static void join(Batch &batch)
    {
        for (std::thread &reader : batch.readers)
            reader.join();
        batch.readers.clear();
    }

    const WalkCallbacks &m_callbacks;
    SearchListing &m_out;
    std::unique_ptr<Batch> m_listing = std::make_unique<Batch>();
    std::unique_ptr<Batch> m_reading;
};

} // namespace

SearchListing ZENBU(const QString &root, const WalkCallbacks &callbacks)
{
    SearchListing listing;
    auto top = std::make_shared<const FolderHandle>(root);
    if (top->isValid()) {
        Walker walker(callbacks, listing);
        walker.walk(top, {});
        walker.finish();
    }
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
