#include "core/app/beneath.h"

#include "core/app/rootstate.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <dirent.h>
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

// Whether an absolute path has no empty, "." or ".." step and no trailing "/":
// one pass, since every open of a title asks.
bool plainAbsolute(const QByteArray &path)
{
    const qsizetype n = path.size();
    if (n == 0 || path.at(0) != '/')
        return false;
    if (n == 1)
        return true;
    const char *p = path.constData();
    for (qsizetype i = 0; i < n; ++i) {
        if (p[i] != '/')
            continue;
        // A step starts after each "/": it may be neither empty, "." nor "..".
        const qsizetype step = i + 1;
        if (step == n || p[step] == '/')
            return false;
        if (p[step] == '.' && (step + 1 == n || p[step + 1] == '/'
                               || (p[step + 1] == '.' && (step + 2 == n || p[step + 2] == '/'))))
            return false;
    }
    return true;
}

QByteArray cleanAbsolute(const QByteArray &path)
{
    if (plainAbsolute(path))
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
            // Whether the last step is a link, asked without following it: the
            // open below never follows one, whatever stands there by then.
            struct stat st;
            const bool link = !(flags & O_NOFOLLOW)
                              && ::fstatat(walk.top(), step.constData(), &st, AT_SYMLINK_NOFOLLOW) == 0
                              && S_ISLNK(st.st_mode);
            if (!link)
                return ::openat(walk.top(), step.constData(), flags | O_NOFOLLOW | O_CLOEXEC, mode);
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
    // The root itself opens even once its folder is gone: looked at then.
    if (relative == "." && reopenReplacedRoot())
        return openRelativeOnce(currentRootState(), relative, flags, mode);
    const int fd = openRelativeOnce(root, relative, flags, mode);
    if (fd >= 0 || (errno != ENOENT && errno != ESTALE && errno != ENOTCONN) || !reopenReplacedRoot())
        return fd;
    return openRelativeOnce(currentRootState(), relative, flags, mode);
}

// name opened from folder's place in the data root, beneath the root. A folder
// outside the root (the desktop) opens it as openat does.
int openFromFolder(int folder, const char *name, int flags, mode_t mode)
{
    const RootState &root = currentRootState();
    if (root.fd < 0)
        return ::openat(folder, name, flags | O_CLOEXEC, mode);
    const QByteArray path = descriptorPath(folder);
    const QByteArray where = relativeIn(root, path);
    if (where.isEmpty())
        return path.isEmpty() ? fail(EXDEV) : ::openat(folder, name, flags | O_CLOEXEC, mode);
    return openRelative(root, where == "." ? QByteArray(name) : where + '/' + name, flags, mode);
}

// Whether the two names are one file (one inode).
bool sameFileUnderBothNames(const Beneath::Parent &source, const Beneath::Parent &target)
{
    struct stat here;
    struct stat there;
    if (::fstatat(source.fd(), source.name(), &here, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(here.st_mode)
        || ::fstatat(target.fd(), target.name(), &there, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(there.st_mode))
        return false;
    return there.st_dev == here.st_dev && there.st_ino == here.st_ino;
}

// A rename that looks first: what a file system without a no-replace rename allows.
bool lookThenRename(const Beneath::Parent &source, const Beneath::Parent &target)
{
    struct stat st;
    if (::fstatat(target.fd(), target.name(), &st, AT_SYMLINK_NOFOLLOW) == 0)
        return fail(EEXIST) == 0;
    if (errno != ENOENT)
        return false;
    return ::renameat(source.fd(), source.name(), target.fd(), target.name()) == 0;
}

QByteArray lastStep(const QByteArray &path)
{
    const qsizetype slash = path.lastIndexOf('/');
    return slash < 0 ? path : path.mid(slash + 1);
}

} // namespace

namespace Beneath {

QList<Entry> list(const QString &folder, bool *ok)
{
    QList<Entry> entries;
    const int fd = open(folder, O_RDONLY | O_DIRECTORY);
    DIR *dir = fd < 0 ? nullptr : ::fdopendir(fd);
    if (ok)
        *ok = dir != nullptr;
    if (!dir) {
        if (fd >= 0)
            ::close(fd);
        return entries;
    }
    while (const dirent *e = ::readdir(dir)) {
        const char *n = e->d_name;
        if (n[0] == '.' && (n[1] == 0 || (n[1] == '.' && n[2] == 0)))
            continue;
        // A name that is not one in the file-name encoding could not be opened
        // by the name it decodes to.
        const QByteArray raw(n);
        QString name = QFile::decodeName(raw);
        if (QFile::encodeName(name) != raw)
            continue;
        unsigned char type = e->d_type;
        struct stat st;
        if (type == DT_UNKNOWN && ::fstatat(::dirfd(dir), n, &st, AT_SYMLINK_NOFOLLOW) == 0)
            type = IFTODT(st.st_mode);
        entries.append({std::move(name), type});
    }
    ::closedir(dir);
    return entries;
}

QStringList names(const QString &folder, unsigned char type)
{
    QStringList found;
    for (const Entry &entry : list(folder)) {
        if (entry.type == type)
            found << entry.name;
    }
    return found;
}

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
    // A path of several steps may meet a link in any of them: walked from the
    // folder's place in the root.
    if (std::strchr(name, '/'))
        return openFromFolder(folder, name, flags, mode);
    int fd = ::openat(folder, name, flags | O_NOFOLLOW | O_CLOEXEC, mode);
    if (fd >= 0 && (flags & O_PATH) && !(flags & O_NOFOLLOW)) {
        // O_PATH with O_NOFOLLOW opens a link itself rather than failing.
        struct stat st;
        if (::fstat(fd, &st) != 0 || !S_ISLNK(st.st_mode))
            return fd;
        ::close(fd);
        fd = -1;
        errno = ELOOP;
    }
    if (fd >= 0 || errno != ELOOP || (flags & O_NOFOLLOW))
        return fd;
    // A link: followed from the folder's place in the root, beneath the root.
    return openFromFolder(folder, name, flags, mode);
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
    if (!replace)
        return moveWithoutReplace(from, to);
    Parent source(from);
    Parent target(to);
    if (!source.isOpen() || !target.isOpen())
        return false;
    return ::renameat(source.fd(), source.name(), target.fd(), target.name()) == 0;
}

bool moveWithoutReplace(const QString &from, const QString &to)
{
    Parent source(from);
    Parent target(to);
    if (!source.isOpen() || !target.isOpen())
        return false;
    // The same file under both names: this very move was stopped between the
    // two steps below, and the old name is all that is left to go.
    const auto finishStopped = [&] {
        if (sameFileUnderBothNames(source, target))
            return ::unlinkat(source.fd(), source.name(), 0) == 0;
        return fail(EEXIST) == 0;
    };
    if (::renameat2(source.fd(), source.name(), target.fd(), target.name(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno == EEXIST)
        return finishStopped();
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
        if (errno == EEXIST)
            return finishStopped();
        if (errno == ENOENT || errno == EXDEV)
            return false;
    }
    // No second names here (or a folder).
    return lookThenRename(source, target);
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
