#pragma once

#include <QDateTime>
#include <QString>

// The number of page files in a folder as the poll sees it every tick. Every
// copy on every PC polls the same share, so the folder is listed only when its
// stamp moved since the last listing, or is still too young to trust (coarse
// stamps on some shares); otherwise the count of that listing stands.
class FolderCountWatch
{
public:
    // Stamps younger than this are listed again at every look.
    static constexpr qint64 settleMs = 3000;

    // The count of page files, or -1 when the folder cannot be listed.
    int count(const QString &folder);
    // How many times the folder was listed (a tick that listed nothing shows here).
    int listings() const { return m_listings; }

private:
    QString m_folder;
    QDateTime m_stamp;
    QDateTime m_listedAt;
    int m_count = -1;
    int m_listings = 0;
};
