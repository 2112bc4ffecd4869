#include "core/tools/renamerecordwalk.h"

#include "core/app/beneath.h"
#include "core/tools/renamerecord.h"

#include <QFile>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

RenameRecordWalk::RenameRecordWalk(const QString &root)
    : m_recordName(QFile::encodeName(RenameRecord::path(QString()).mid(1)))
{
    m_toRead.append({root, 0});
}

QStringList RenameRecordWalk::takeFound()
{
    return std::exchange(m_found, {});
}

bool RenameRecordWalk::step()
{
    if (m_toRead.isEmpty())
        return false;
    const Folder folder = m_toRead.takeLast();
    const int fd = Beneath::open(folder.path, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_NONBLOCK);
    DIR *dir = fd < 0 ? nullptr : ::fdopendir(fd);
    if (!dir) {
        if (fd >= 0)
            ::close(fd);
        return !m_toRead.isEmpty();
    }
    QList<Folder> inside;
    while (const dirent *e = ::readdir(dir)) {
        const char *name = e->d_name;
        // Whatever stands under the record's name: its reader moves anything
        // that is no record aside.
        if (m_recordName == name) {
            m_found << folder.path;
            continue;
        }
        if (name[0] == '.' || folder.depth >= MaxDepth)
            continue;
        bool isFolder = e->d_type == DT_DIR;
        if (e->d_type == DT_UNKNOWN) {
            struct stat st;
            isFolder = ::fstatat(::dirfd(dir), name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISDIR(st.st_mode);
        }
        if (isFolder)
            inside.append({folder.path + u'/' + QFile::decodeName(name), folder.depth + 1});
    }
    ::closedir(dir);
    // Read in name order, the first folder first.
    std::sort(inside.begin(), inside.end(), [](const Folder &a, const Folder &b) { return a.path > b.path; });
    m_toRead += inside;
    return !m_toRead.isEmpty();
}
