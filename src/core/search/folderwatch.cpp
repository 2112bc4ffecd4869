#include "core/search/folderwatch.h"

#include <sys/inotify.h>
#include <sys/vfs.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

FolderWatch::~FolderWatch()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

// File systems whose every change passes through this machine's kernel.
static bool isLocalFileSystem(int folder)
{
    struct statfs fs;
    if (::fstatfs(folder, &fs) != 0)
        return false;
    switch (static_cast<unsigned long>(fs.f_type)) {
    case 0xEF53:     // ext2, ext3, ext4
    case 0x58465342: // xfs
    case 0x9123683E: // btrfs
    case 0x01021994: // tmpfs
    case 0xF2F52010: // f2fs
        return true;
    default:
        return false;
    }
}

bool FolderWatch::start(int root)
{
    clear();
    m_active = root >= 0 && isLocalFileSystem(root);
    if (m_active && m_fd < 0)
        m_fd = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    m_active = m_active && m_fd >= 0;
    return m_active;
}

void FolderWatch::clear()
{
    if (m_fd < 0)
        return;
    for (const int watch : m_watches)
        ::inotify_rm_watch(m_fd, watch);
    m_watches.clear();
    m_active = true;
    takeEvents([](const Event &) {});
    m_active = false;
}

int FolderWatch::add(int folder)
{
    if (!m_active || folder < 0)
        return -1;
    // The folder is named by its descriptor: the name it had may lead elsewhere now.
    char path[64];
    std::snprintf(path, sizeof path, "/proc/self/fd/%d", folder);
    constexpr uint32_t changes = IN_MODIFY | IN_ATTRIB | IN_CLOSE_WRITE | IN_CREATE | IN_DELETE | IN_MOVED_FROM
                                 | IN_MOVED_TO | IN_DELETE_SELF | IN_MOVE_SELF | IN_ONLYDIR;
    const int watch = ::inotify_add_watch(m_fd, path, changes);
    if (watch < 0)
        return -1;
    m_watches.push_back(watch);
    return watch;
}

void FolderWatch::takeEvents(const std::function<void(const Event &)> &take)
{
    if (!m_active)
        return;
    alignas(struct inotify_event) char buffer[16384];
    for (;;) {
        const ssize_t got = ::read(m_fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0 && errno == EAGAIN)
            return;
        if (got <= 0) {
            // The watch itself failed: nothing it said before can be relied on.
            take({});
            m_active = false;
            return;
        }
        for (ssize_t at = 0; at < got;) {
            const auto *e = reinterpret_cast<const struct inotify_event *>(buffer + at);
            at += ssize_t(sizeof(struct inotify_event) + e->len);
            Event event;
            if (e->mask & IN_Q_OVERFLOW) {
                take(event);
                continue;
            }
            event.watch = e->wd;
            event.folderGone = e->mask & (IN_IGNORED | IN_DELETE_SELF | IN_MOVE_SELF | IN_UNMOUNT);
            if (e->len > 0)
                event.name = QByteArray(e->name, qsizetype(::strnlen(e->name, e->len)));
            take(event);
        }
    }
}
