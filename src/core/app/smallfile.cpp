#include "core/app/smallfile.h"

#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

SmallFile readSmallFile(const QString &path, qint64 limit)
{
    const QFileInfo info(path);
    if (!info.exists())
        return {};
    if (!info.isFile() || info.size() > limit)
        return {SmallFile::Refused, {}};

    QFile file;
#ifdef Q_OS_UNIX
    // The name may have been swapped for a FIFO since: open without waiting
    // for a writer, and look at what was opened.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return {errno == ENOENT ? SmallFile::Absent : SmallFile::Refused, {}};
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size > limit) {
        ::close(fd);
        return {SmallFile::Refused, {}};
    }
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return {SmallFile::Refused, {}};
    }
#else
    file.setFileName(path);
    if (!file.open(QIODevice::ReadOnly))
        return {file.exists() ? SmallFile::Refused : SmallFile::Absent, {}};
#endif
    const QByteArray bytes = file.read(limit + 1);
    if (file.error() != QFileDevice::NoError || bytes.size() > limit)
        return {SmallFile::Refused, {}};
    return {SmallFile::Read, bytes};
}

std::optional<QByteArray> readTextFile(const QString &path)
{
    SmallFile file = readSmallFile(path, WholeTextLimit);
    if (file.state != SmallFile::Read)
        return std::nullopt;
    return std::move(file.bytes);
}
