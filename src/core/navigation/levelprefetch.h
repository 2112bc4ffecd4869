#pragma once

#include <QDateTime>
#include <QStringList>

#include <thread>

// One title per entry of a folder level (entries relative to folder). A large
// level's files are read side by side: each read mostly waits for the disk or
// the share, and the window waits for them all.
QStringList listingTitles(const QString &folder, const QStringList &entries);

// A folder level read ahead on a thread of its own while the window is still
// being built: its page list in level order and its titles. It is taken only
// while the folder's stamp stands and had settled before the reading began,
// and only soon after, so it is what reading the folder then would give.
class LevelPrefetch
{
public:
    LevelPrefetch(const QString &folder, const QString &exeBaseName);
    ~LevelPrefetch();
    LevelPrefetch(const LevelPrefetch &) = delete;
    LevelPrefetch &operator=(const LevelPrefetch &) = delete;

    QString folder() const { return m_folder; }
    // The program name whose own page the level leaves out.
    QString exeBaseName() const { return m_exeBaseName; }
    // Waits for the reading; true when it still holds, with what it read.
    bool take(bool &listed, int &fileCount, QStringList &entries, QStringList &titles);

private:
    void read();

    QString m_folder;
    QString m_exeBaseName;
    QDateTime m_stamp;
    QDateTime m_startedAt;
    bool m_listed = false;
    int m_fileCount = 0;
    QStringList m_entries;
    QStringList m_titles;
    std::thread m_thread;
};
