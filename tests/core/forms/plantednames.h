#pragma once

// What a peer can put at a name where the program expects a plain file (a lock,
// an answer CSV), and a watch that keeps a FIFO there from hanging a test.

#include "core/forms/formtexts.h"

#include <QFile>
#include <QString>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <thread>

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>

namespace Planted {

enum What { Folder, DanglingLink, LinkOutOfRoot, LinkToDevice, Fifo, Socket, Device };

struct Kind
{
    const char *row;
    What what;
};
inline constexpr Kind Kinds[] = {
    {"folder", Folder},        {"dangling link", DanglingLink}, {"link out of the root", LinkOutOfRoot},
    {"link to a device", LinkToDevice}, {"FIFO", Fifo},          {"socket", Socket},
    {"device", Device},
};

// The word the program names it by.
inline QString kindText(What what)
{
    switch (what) {
    case Folder:
        return FormTexts::KindFolder;
    case DanglingLink:
    case LinkOutOfRoot:
    case LinkToDevice:
        return FormTexts::KindLink;
    case Fifo:
        return FormTexts::KindFifo;
    case Socket:
        return FormTexts::KindSocket;
    case Device:
        return FormTexts::KindDevice;
    }
    return {};
}

// Makes what at path; the link out of the root leads to outsideFile. A device
// needs the right to make one: false with errno EPERM without it.
inline bool plant(What what, const QString &path, const QString &outsideFile)
{
    const QByteArray name = QFile::encodeName(path);
    switch (what) {
    case Folder:
        return ::mkdir(name.constData(), 0777) == 0;
    case DanglingLink:
        return ::symlink("nothing-here", name.constData()) == 0;
    case LinkOutOfRoot:
        return ::symlink(QFile::encodeName(outsideFile).constData(), name.constData()) == 0;
    case LinkToDevice:
        return ::symlink("/dev/zero", name.constData()) == 0;
    case Fifo:
        return ::mkfifo(name.constData(), 0666) == 0;
    case Socket: {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        if (size_t(name.size()) >= sizeof address.sun_path)
            return false;
        std::memcpy(address.sun_path, name.constData(), size_t(name.size()));
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        const bool bound = fd >= 0 && ::bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0;
        if (fd >= 0)
            ::close(fd);
        return bound;
    }
    case Device:
        return ::mknod(name.constData(), S_IFCHR | 0666, makedev(1, 3)) == 0; // as /dev/null
    }
    return false;
}

// Waits, on a thread of its own, to open a FIFO for writing: code that opens
// it to read comes back at once (with nothing to read) rather than hanging the
// test, and the watch tells that it was opened.
class FifoWatch
{
public:
    explicit FifoWatch(const QString &fifo)
        : m_fifo(::open(QFile::encodeName(fifo).constData(), O_PATH | O_CLOEXEC))
    {
        m_thread = std::thread([this] {
            const int fd = ::open(procPath().constData(), O_WRONLY | O_CLOEXEC);
            m_opened = !m_ending;
            if (fd >= 0)
                ::close(fd);
        });
    }
    ~FifoWatch()
    {
        // Opened here to read, so that the watch's own open comes back.
        m_ending = true;
        const int fd = ::open(procPath().constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        m_thread.join();
        if (fd >= 0)
            ::close(fd);
        ::close(m_fifo);
    }
    FifoWatch(const FifoWatch &) = delete;
    FifoWatch &operator=(const FifoWatch &) = delete;

    // Whether anything but the watch itself opened the FIFO to read.
    bool opened() const { return m_opened; }

private:
    // The FIFO as first made, wherever its name went since.
    QByteArray procPath() const { return "/proc/self/fd/" + QByteArray::number(m_fifo); }

    int m_fifo;
    std::atomic<bool> m_ending{false};
    std::atomic<bool> m_opened{false};
    std::thread m_thread;
};

} // namespace Planted
