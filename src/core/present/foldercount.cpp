#include "core/present/foldercount.h"

#include "core/navigation/pagelist.h"

#include <QFileInfo>

int FolderCountWatch::count(const QString &folder)
{
    const QDateTime stamp = QFileInfo(folder).lastModified();
    // The last listing holds while the stamp stands, once that listing was made
    // after the stamp had settled.
    if (folder == m_folder && stamp == m_stamp && stamp.isValid() && m_count >= 0
        && stamp.msecsTo(m_listedAt) > settleMs)
        return m_count;
    bool listed = false;
    m_listedAt = QDateTime::currentDateTime();
    const int n = countPageFiles(folder, &listed);
    ++m_listings;
    m_folder = folder;
    m_stamp = stamp;
    m_count = listed ? n : -1;
    return m_count;
}
