#include "core/search/fileversion.h"

#include "core/app/beneath.h"
#include "core/app/smallfile.h"

#include <QFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

static FileVersion stampOf(const struct stat &st)
{
    return {qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec, qint64(st.st_size), qint64(st.st_nlink)};
}

bool readFileBytes(const QString &path, QByteArray &bytes, FileVersion *stamp)
{
    return readFileBytesAt(AT_FDCWD, QFile::encodeName(path).constData(), bytes, stamp);
}

bool readFileBytesAt(int folder, const char *name, QByteArray &bytes, FileVersion *stamp)
{
    struct stat st;
    if (readRegularFileAt(folder, name, WholeTextLimit, bytes, &st) != SmallFile::Read)
        return false;
    if (stamp)
        *stamp = stampOf(st);
    return true;
}

FileVersion fileVersion(const QString &path)
{
    return fileVersionAt(AT_FDCWD, QFile::encodeName(path).constData());
}

FileVersion fileVersionAt(int folder, const char *name)
{
    struct stat st;
    if (::fstatat(folder, name, &st, 0) != 0)
        return {};
    return stampOf(st);
}

FolderHandle::FolderHandle(const QString &path) : m_fd(Beneath::open(path, O_RDONLY | O_DIRECTORY))
{
}

FolderHandle::FolderHandle(int parent, const char *name)
    : m_fd(::openat(parent, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC))
{
}

FolderHandle::~FolderHandle()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

FolderHandle &FolderHandle::operator=(FolderHandle &&other) noexcept
{
    if (this != &other) {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = other.m_fd;
        other.m_fd = -1;
    }
    return *this;
}
