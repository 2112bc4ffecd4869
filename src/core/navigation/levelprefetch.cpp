#include "core/navigation/levelprefetch.h"

#include "core/navigation/pagelist.h"
#include "core/navigation/pagetitle.h"
#include "core/navigation/pathtext.h"
#include "core/present/foldercount.h"

#include <QFileInfo>
#include <QThread>

#include <algorithm>
#include <system_error>
#include <utility>
#include <vector>

LevelListing readLevelListing(const QString &folder, const QString &exeBaseName)
{
    LevelListing listing;
    listing.folder = folder;
    const QStringList names = listPageFiles(folder, &listing.listed);
    listing.fileCount = int(names.size());
    listing.entries = pageListOrder(names, exeBaseName);
    listing.titles = listingTitles(folder, listing.entries);
    return listing;
}

QStringList listingTitles(const QString &folder, const QStringList &entries)
{
    QStringList titles(entries.size());
    QString *out = titles.data();
    const auto read = [&](qsizetype from, qsizetype to) {
        // An entry whose file vanished after the listing still gets a title.
        for (qsizetype i = from; i < to; ++i)
            out[i] = listingTitle(entryLocalPath(folder, entries.at(i)));
    };
    constexpr qsizetype PerThread = 256;
    const qsizetype count = entries.size();
    const qsizetype threads = std::clamp<qsizetype>(count / PerThread, 1, std::max(1, QThread::idealThreadCount()));
    std::vector<std::thread> helpers;
    const qsizetype share = (count + threads - 1) / threads;
    for (qsizetype t = 1; t < threads; ++t) {
        const qsizetype from = t * share;
        const qsizetype to = std::min(count, from + share);
        try {
            helpers.emplace_back(read, from, to);
        } catch (const std::system_error &) {
            read(from, to); // no thread to be had: this one reads it
        }
    }
    read(0, std::min(count, share));
    for (std::thread &helper : helpers)
        helper.join();
    return titles;
}

LevelPrefetch::LevelPrefetch(const QString &folder, const QString &exeBaseName, qsizetype headTitles)
    : m_folder(folder)
    , m_exeBaseName(exeBaseName)
    , m_headTitles(std::max<qsizetype>(1, headTitles))
{
    // The stamp before the listing: a change during the reading moves it. Read
    // here, so that the thread touches no time zone (nor the environment
    // behind it) while the program may still be setting it up.
    m_startedAt = QDateTime::currentDateTime();
    m_stamp = QFileInfo(m_folder).lastModified();
    try {
        m_thread = std::thread(&LevelPrefetch::read, this);
    } catch (const std::system_error &) {
        // Without a thread nothing is read ahead: take() then refuses.
    }
}

LevelPrefetch::~LevelPrefetch()
{
    {
        const std::lock_guard lock(m_mutex);
        m_abandoned = true;
    }
    m_changed.notify_all();
    if (m_thread.joinable())
        m_thread.join();
}

void LevelPrefetch::read()
{
    const QStringList names = listPageFiles(m_folder, &m_listed);
    m_fileCount = int(names.size());
    m_entries = pageListOrder(names, m_exeBaseName);
    m_titles = listingTitles(m_folder, m_entries.first(std::min(m_headTitles, m_entries.size())));
    std::unique_lock lock(m_mutex);
    m_headRead = true;
    m_changed.notify_all();
    if (m_titles.size() == m_entries.size())
        return;
    m_changed.wait(lock, [this] { return m_goOn || m_abandoned; });
    if (m_abandoned)
        return;
    lock.unlock();
    m_rest = listingTitles(m_folder, m_entries.sliced(m_titles.size()));
}

bool LevelPrefetch::take(bool &listed, int &fileCount, QStringList &entries, QStringList &titles)
{
    if (!m_thread.joinable())
        return false;
    {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [this] { return m_headRead; });
    }
    const qint64 settle = FolderCountWatch::settleMs;
    const bool holds = m_stamp.isValid() && QFileInfo(m_folder).lastModified() == m_stamp
                       && m_stamp.msecsTo(m_startedAt) > settle
                       && m_startedAt.msecsTo(QDateTime::currentDateTime()) < settle;
    if (!holds)
        return false;
    listed = m_listed;
    fileCount = m_fileCount;
    entries = m_entries;
    titles = m_titles;
    return true;
}

void LevelPrefetch::readRest()
{
    {
        const std::lock_guard lock(m_mutex);
        m_goOn = true;
    }
    m_changed.notify_all();
}

QStringList LevelPrefetch::takeRest()
{
    readRest();
    if (m_thread.joinable())
        m_thread.join();
    return std::exchange(m_rest, {});
}
