#include "core/present/foldercount.h"

#include "core/navigation/pagelist.h"

#include <QFileInfo>

int FolderCountWatch::count(const QString &folder)
{
    const QFileInfo info(folder);
    const QDateTime stamp = info.lastModified();
    const bool settled = stamp.isValid() && stamp.msecsTo(QDateTime::currentDateTime()) > settleMs;
    if (folder == m_folder && stamp == m_stamp && settled && m_count >= 0)
        return m_count;
    bool listed = false;
    const int n = countPageFiles(folder, &listed);
    ++m_listings;
    m_folder = folder;
    m_stamp = stamp;
    m_count = listed ? n : -1;
    return m_count;
}
