#pragma once

#include <QDateTime>
#include <QStringList>

#include <condition_variable>
#include <mutex>
#include <thread>

// One title per entry of a folder level (entries relative to folder). A large
// level's files are read side by side: each read mostly waits for the disk or
// the share, and the window waits for them all.
QStringList listingTitles(const QString &folder, const QStringList &entries);

// A folder level as a thread other than the window's read it: its page list
// in level order and every title.
struct LevelListing
{
    QString folder;
    bool listed = false;
    int fileCount = 0;
    QStringList entries;
    QStringList titles;
};
LevelListing readLevelListing(const QString &folder, const QString &exeBaseName);

// A folder level read ahead on a thread of its own while the window is still
// being built: its page list in level order and its titles. It is taken only
// while the folder's stamp stands and had settled before the reading began,
// and only soon after, so it is what reading the folder then would give.
//
// Only the first titles (as many as a column of page buttons shows) are read
// before the level is handed over; the rest wait until they are asked for, so
// that tens of thousands of files are not read while the window is being made
// and its first page loaded, which every other thread of the program slows.
class LevelPrefetch
{
public:
    static constexpr qsizetype DefaultHeadTitles = 256;

    LevelPrefetch(const QString &folder, const QString &exeBaseName, qsizetype headTitles = DefaultHeadTitles);
    ~LevelPrefetch();
    LevelPrefetch(const LevelPrefetch &) = delete;
    LevelPrefetch &operator=(const LevelPrefetch &) = delete;

    QString folder() const { return m_folder; }
    // The program name whose own page the level leaves out.
    QString exeBaseName() const { return m_exeBaseName; }
    // Waits for the listing and the first titles; true when the reading still
    // holds, with what it read: titles then covers the first entries only
    // when more remain (see takeRest).
    bool take(bool &listed, int &fileCount, QStringList &entries, QStringList &titles);
    // Lets the reading go on with the remaining titles.
    void readRest();
    // The titles of the entries after those take gave, read now if they were
    // not yet; only after a take that held.
    QStringList takeRest();

private:
    void read();

    QString m_folder;
    QString m_exeBaseName;
    qsizetype m_headTitles;
    QDateTime m_stamp;
    QDateTime m_startedAt;
    bool m_listed = false;
    int m_fileCount = 0;
    QStringList m_entries;
    QStringList m_titles;
    QStringList m_rest;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_headRead = false;
    bool m_goOn = false;
    bool m_abandoned = false;
    std::thread m_thread;
};
