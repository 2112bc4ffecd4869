#include "core/app/beneath.h"

#include "core/app/rootstate.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <fcntl.h>
#include <linux/openat2.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>
#include <vector>

namespace {

// The kernel's own limit on links followed in one path.
constexpr int MaxLinks = 40;
// openat2 answers EAGAIN when a rename elsewhere raced its walk; a few tries,
// then the walk folder by folder.
constexpr int RaceRetries = 4;

std::atomic<int> kernelResolves{1}; // 1: try openat2, 0: the kernel has none

int openat2Beneath(int root, const char *relative, int flags, mode_t mode)
{
    open_how how{};
    how.flags = quint64(unsigned(flags));
    how.mode = (flags & O_CREAT) || (flags & O_TMPFILE) == O_TMPFILE ? mode : 0;
    how.resolve = RESOLVE_BENEATH | RESOLVE_NO_MAGICLINKS;
    return int(::syscall(SYS_openat2, root, relative, &how, sizeof how));
}

QByteArray cleanAbsolute(const QByteArray &path)
{
    const bool plain = path.startsWith('/') && !path.contains("//") && !path.contains("/./")
                       && !path.contains("/../") && !path.endsWith("/.") && !path.endsWith("/..")
                       && (path.size() == 1 || !path.endsWith('/'));
    if (plain)
        return path;
    return QFile::encodeName(QDir::cleanPath(QFileInfo(QFile::decodeName(path)).absoluteFilePath()));
}

// What follows root in path ("." for root itself); empty when path is not in it.
QByteArray after(const QByteArray &root, const QByteArray &path)
{
    if (root.isEmpty())
        return {};
    if (path == root)
        return QByteArrayLiteral(".");
    if (root == "/")
        return path.mid(1);
    if (path.startsWith(root) && path.at(root.size()) == '/')
        return path.mid(root.size() + 1);
    return {};
}

QByteArray relativeIn(const RootState &root, const QByteArray &cleanPath)
{
    QByteArray rel = after(root.givenBytes, cleanPath);
    return rel.isEmpty() ? after(root.realBytes, cleanPath) : rel;
}

// The folders walked so far, each opened O_PATH; the root itself is not ours to close.
class Walk
{
public:
    explicit Walk(int root) : m_root(root) {}
    ~Walk()
    {
        for (int fd : m_folders)
            ::close(fd);
    }
    int top() const { return m_folders.empty() ? m_root : m_folders.back(); }
    void enter(int fd) { m_folders.push_back(fd); }
    bool leave()
    {
        if (m_folders.empty())
            return false;
        ::close(m_folders.back());
        m_folders.pop_back();
        return true;
    }
    void backToRoot()
    {
        while (leave()) {
        }
    }

private:
    int m_root;
    std::vector<int> m_folders;
};

void prependSteps(std::vector<QByteArray> &steps, const QByteArray &path)
{
    const QList<QByteArray> parts = path.split('/');
    for (auto it = parts.crbegin(); it != parts.crend(); ++it)
        steps.push_back(*it);
}

int fail(int error)
{
    errno = error;
    return -1;
}

// The walk folder by folder, never letting the kernel follow a link: each link
// is read and its target walked from the folder it stands in, or from the root
// when it names a path in the root. Used where the kernel cannot walk beneath
// (no openat2) and for links that name the root by its absolute path.
int walkBeneath(const RootState &root, const QByteArray &relative, int flags, mode_t mode)
{
    Walk walk(root.fd);
    std::vector<QByteArray> steps; // a stack: the next step is at the back
    prependSteps(steps, relative);
    int links = 0;
    while (!steps.empty()) {
        const QByteArray step = steps.back();
        steps.pop_back();
        if (step.isEmpty() || step == ".")
            continue;
        if (step == "..") {
            if (!walk.leave())
                return fail(EXDEV);
            continue;
        }
        const bool last = steps.empty();
        if (last) {
            const int fd = ::openat(walk.top(), step.constData(), flags | O_NOFOLLOW | O_CLOEXEC, mode);
            if (fd >= 0) {
                struct stat st;
                // O_PATH with O_NOFOLLOW opens the link itself rather than failing.
                const bool link = (flags & O_PATH) && !(flags & O_NOFOLLOW) && ::fstat(fd, &st) == 0
                                  && S_ISLNK(st.st_mode);
                if (!link)
                    return fd;
                ::close(fd);
            } else if (errno != ELOOP || (flags & O_NOFOLLOW)) {
                return -1;
            }
        } else {
            const int fd = ::openat(walk.top(), step.constData(), O_PATH | O_NOFOLLOW | O_CLOEXEC);
            if (fd < 0)
                return -1;
            struct stat st;
            if (::fstat(fd, &st) != 0) {
                ::close(fd);
                return -1;
            }
            if (S_ISDIR(st.st_mode)) {
                walk.enter(fd);
                continue;
            }
            ::close(fd);
            if (!S_ISLNK(st.st_mode))
                return fail(ENOTDIR);
        }
        // A link at step: its target is walked in its place.
        if (++links > MaxLinks)
            return fail(ELOOP);
        char target[PATH_MAX];
        const ssize_t n = ::readlinkat(walk.top(), step.constData(), target, sizeof target);
        if (n <= 0 || n >= ssize_t(sizeof target))
            return fail(n < 0 ? errno : ENAMETOOLONG);
        QByteArray to(target, qsizetype(n));
        if (to.startsWith('/')) {
            to = relativeIn(root, cleanAbsolute(to));
            if (to.isEmpty())
                return fail(EXDEV);
            walk.backToRoot();
        }
        prependSteps(steps, to);
    }
    return ::openat(walk.top(), ".", flags | O_CLOEXEC, mode);
}

int openRelativeOnce(const RootState &root, const QByteArray &relative, int flags, mode_t mode)
{
    if (kernelResolves.load(std::memory_order_relaxed)) {
        for (int attempt = 0; attempt < RaceRetries; ++attempt) {
            const int fd = openat2Beneath(root.fd, relative.constData(), flags | O_CLOEXEC, mode);
            if (fd >= 0)
                return fd;
            if (errno == ENOSYS) {
                kernelResolves.store(0, std::memory_order_relaxed);
                break;
            }
            if (errno == EAGAIN)
                continue;
            // An absolute link that names a place in the root is walked by hand;
            // every other answer is the kernel's.
            if (errno != EXDEV)
                return -1;
            break;
        }
    }
    return walkBeneath(root, relative, flags, mode);
}

int openRelative(const RootState &root, const QByteArray &relative, int flags, mode_t mode)
{
    const int fd = openRelativeOnce(root, relative, flags, mode);
    if (fd >= 0 || errno != ENOENT)
        return fd;
    // The root's folder may have been removed and made again under its name.
    const RootState &again = reopenedRootState();
    if (again.fd < 0 || again.fd == root.fd) {
        errno = ENOENT;
        return -1;
    }
    return openRelativeOnce(again, relative, flags, mode);
}

// The path of an open folder as the kernel names it.
QByteArray pathOfDescriptor(int fd)
{
    char link[64];
    std::snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    char target[PATH_MAX];
    const ssize_t n = ::readlink(link, target, sizeof target);
    if (n <= 0 || n >= ssize_t(sizeof target) || target[0] != '/')
        return {};
    return QByteArray(target, qsizetype(n));
}

QByteArray lastStep(const QByteArray &path)
{
    const qsizetype slash = path.lastIndexOf('/');
    return slash < 0 ? path : path.mid(slash + 1);
}

} // namespace

namespace Beneath {

int rootDescriptor()
{
    return currentRootState().fd;
}

QByteArray relativeToRoot(const QString &path)
{
    const RootState &root = currentRootState();
    if (root.fd < 0 || path.isEmpty())
        return {};
    return relativeIn(root, cleanAbsolute(QFile::encodeName(path)));
}

int open(const QByteArray &encodedPath, int flags, mode_t mode)
{
    const RootState &root = currentRootState();
    if (root.fd >= 0 && !encodedPath.isEmpty()) {
        const QByteArray relative = relativeIn(root, cleanAbsolute(encodedPath));
        if (!relative.isEmpty())
            return openRelative(root, relative, flags, mode);
    }
    return ::open(encodedPath.constData(), flags | O_CLOEXEC, mode);
}

int open(const QString &path, int flags, mode_t mode)
{
    return open(QFile::encodeName(path), flags, mode);
}

int openAt(int folder, const char *name, int flags, mode_t mode)
{
    if (folder == AT_FDCWD)
        return open(QByteArray(name), flags, mode);
    const int fd = ::openat(folder, name, flags | O_NOFOLLOW | O_CLOEXEC, mode);
    if (fd >= 0 || errno != ELOOP || (flags & O_NOFOLLOW) || std::strchr(name, '/'))
        return fd;
    // A link: followed from the folder's place in the root, beneath the root.
    const RootState &root = currentRootState();
    if (root.fd < 0)
        return ::openat(folder, name, flags | O_CLOEXEC, mode);
    const QByteArray where = relativeIn(root, pathOfDescriptor(folder));
    if (where.isEmpty())
        return fail(EXDEV);
    return openRelative(root, where == "." ? QByteArray(name) : where + '/' + name, flags, mode);
}

Parent::Parent(const QString &path)
{
    QByteArray encoded = QFile::encodeName(path);
    const RootState &root = currentRootState();
    const QByteArray clean = cleanAbsolute(encoded);
    const QByteArray relative = root.fd >= 0 ? relativeIn(root, clean) : QByteArray();
    if (relative.isEmpty()) {
        const qsizetype slash = clean.lastIndexOf('/');
        m_name = clean.mid(slash + 1);
        m_fd = ::open(slash <= 0 ? "/" : clean.left(slash).constData(), O_PATH | O_DIRECTORY | O_CLOEXEC);
        return;
    }
    if (relative == ".") {
        errno = EXDEV; // the root itself has no folder in the root
        return;
    }
    const qsizetype slash = relative.lastIndexOf('/');
    m_name = lastStep(relative);
    m_fd = openRelative(root, slash < 0 ? QByteArrayLiteral(".") : relative.left(slash), O_PATH | O_DIRECTORY, 0);
}

Parent::~Parent()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

bool stat(const QString &path, struct stat *st, bool followLinks)
{
    if (followLinks) {
        const int fd = open(path, O_PATH);
        if (fd < 0)
            return false;
        const bool ok = ::fstat(fd, st) == 0;
        ::close(fd);
        return ok;
    }
    Parent parent(path);
    if (!parent.isOpen()) {
        if (errno == EXDEV && relativeToRoot(path) == ".")
            return ::fstat(rootDescriptor(), st) == 0;
        return false;
    }
    return ::fstatat(parent.fd(), parent.name(), st, AT_SYMLINK_NOFOLLOW) == 0;
}

bool exists(const QString &path)
{
    struct stat st;
    return stat(path, &st, false);
}

bool isFile(const QString &path)
{
    struct stat st;
    return stat(path, &st, true) && S_ISREG(st.st_mode);
}

bool isFolder(const QString &path)
{
    struct stat st;
    return stat(path, &st, true) && S_ISDIR(st.st_mode);
}

bool rename(const QString &from, const QString &to, bool replace)
{
    Parent source(from);
    Parent target(to);
    if (!source.isOpen() || !target.isOpen())
        return false;
    if (replace)
        return ::renameat(source.fd(), source.name(), target.fd(), target.name()) == 0;
    if (::renameat2(source.fd(), source.name(), target.fd(), target.name(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP)
        return false;
    // The file system cannot promise it in one call (a network share). A file
    // takes its new name as a second name, which fails where one stands, and
    // then loses the old one: a late or repeated step never replaces anything.
    struct stat st;
    if (::fstatat(source.fd(), source.name(), &st, AT_SYMLINK_NOFOLLOW) != 0)
        return false;
    if (!S_ISDIR(st.st_mode)) {
        if (::linkat(source.fd(), source.name(), target.fd(), target.name(), 0) == 0) {
            if (::unlinkat(source.fd(), source.name(), 0) == 0)
                return true;
            const int why = errno;
            ::unlinkat(target.fd(), target.name(), 0);
            return fail(why) == 0;
        }
        if (errno == EEXIST || errno == ENOENT || errno == EXDEV)
            return false;
    }
    // No second names here (or a folder): look first, then rename.
    if (::fstatat(target.fd(), target.name(), &st, AT_SYMLINK_NOFOLLOW) == 0)
        return fail(EEXIST) == 0;
    if (errno != ENOENT)
        return false;
    return ::renameat(source.fd(), source.name(), target.fd(), target.name()) == 0;
}

bool remove(const QString &path)
{
    Parent parent(path);
    return parent.isOpen() && ::unlinkat(parent.fd(), parent.name(), 0) == 0;
}

bool makeFolder(const QString &path, mode_t mode)
{
    Parent parent(path);
    return parent.isOpen() && ::mkdirat(parent.fd(), parent.name(), mode) == 0;
}

bool removeFolder(const QString &path)
{
    Parent parent(path);
    return parent.isOpen() && ::unlinkat(parent.fd(), parent.name(), AT_REMOVEDIR) == 0;
}

bool openFile(QFile &file, const QString &path, int qtOpenMode)
{
    const auto mode = QIODevice::OpenMode(qtOpenMode);
    int flags = 0;
    if ((mode & QIODevice::ReadWrite) == QIODevice::ReadWrite)
        flags = O_RDWR;
    else if (mode & QIODevice::WriteOnly)
        flags = O_WRONLY;
    else
        flags = O_RDONLY;
    if (mode & QIODevice::WriteOnly) {
        if (!(mode & QIODevice::ExistingOnly))
            flags |= O_CREAT;
        if (mode & QIODevice::NewOnly)
            flags |= O_EXCL | O_CREAT;
        if (mode & QIODevice::Append)
            flags |= O_APPEND;
        else if ((mode & QIODevice::Truncate)
                 || (!(mode & QIODevice::ReadOnly) && !(mode & QIODevice::NewOnly)))
            flags |= O_TRUNC;
    }
    // Never waits for a FIFO's writer: what is opened must be a plain file.
    const int fd = open(path, flags | O_NONBLOCK | O_NOCTTY, 0666);
    if (fd < 0)
        return false;
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return fail(S_ISDIR(st.st_mode) ? EISDIR : EINVAL) == 0;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    file.setFileName(path);
    if (!file.open(fd, mode & ~QIODevice::NewOnly & ~QIODevice::ExistingOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return false;
    }
    return true;
}

} // namespace Beneath
