#include "core/app/smallfile.h"

#include "core/app/rootpath.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

SmallFile::State readRegularFileAt(int folder, const char *name, qint64 limit, QByteArray &bytes, struct stat *stat)
{
    bytes.clear();
    // The name may stand for a FIFO or a device: open without waiting for a
    // writer, and look at what was opened.
    const int fd = openInDataRoot(folder, name, O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return errno == ENOENT ? SmallFile::Absent : SmallFile::Refused;
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size > limit) {
        ::close(fd);
        return SmallFile::Refused;
    }
    // One read for the size the file had; more only when it grew meanwhile,
    // never past the limit.
    qsizetype used = 0;
    bytes.resize(qsizetype(std::min<qint64>(st.st_size, limit)) + 1);
    for (;;) {
        const ssize_t got = ::read(fd, bytes.data() + used, size_t(bytes.size() - used));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            ::close(fd);
            bytes.clear();
            return SmallFile::Refused;
        }
        if (got == 0)
            break;
        used += got;
        if (used > limit) {
            ::close(fd);
            bytes.clear();
            return SmallFile::Refused;
        }
        // A regular file gives all it holds: once the size fstat saw is in,
        // no further read is needed to meet its end.
        if (used == st.st_size)
            break;
        if (used == bytes.size())
            bytes.resize(qsizetype(std::min<qint64>(qint64(bytes.size()) * 2, limit + 1)));
    }
    ::close(fd);
    bytes.truncate(used);
    if (stat)
        *stat = st;
    return SmallFile::Read;
}

SmallFile readSmallFile(const QString &path, qint64 limit)
{
    SmallFile file;
    file.state = readRegularFileAt(AT_FDCWD, QFile::encodeName(path).constData(), limit, file.bytes);
    return file;
}

std::optional<QByteArray> readTextFile(const QString &path)
{
    SmallFile file = readSmallFile(path, WholeTextLimit);
    if (file.state != SmallFile::Read)
        return std::nullopt;
    return std::move(file.bytes);
}
