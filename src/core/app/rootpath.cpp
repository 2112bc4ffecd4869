#include "core/app/rootpath.h"

#include "core/app/beneath.h"
#include "core/app/rootstate.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QDeadlineTimer>
#include <QHash>
#include <QMutex>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A root as written and as its real path, both without a trailing "/".
using Root = RootState;

QMutex rootMutex;
Root registered; // guarded by rootMutex: listings read titles on several threads
// Counts the changes of registered: each thread keeps its own copy while it holds.
std::atomic<unsigned> generation{1};

void findRealPath(Root &root)
{
    root.real = QFileInfo(root.given).canonicalFilePath();
    root.givenBytes = QFile::encodeName(root.given);
    root.realBytes = QFile::encodeName(root.real);
}

// The root's descriptor: opened once per root and never closed, since any
// thread may be walking beneath it (a program knows one root or two in tests).
int openRoot(const Root &root)
{
    static QHash<QByteArray, int> opened; // guarded by rootMutex
    if (root.real.isEmpty())
        return -1;
    // A root removed and made again under its name (a share mounted anew) is
    // opened anew: the old descriptor stays open for whoever still walks it.
    auto it = opened.constFind(root.realBytes);
    struct stat held;
    struct stat named;
    if (it != opened.constEnd() && ::fstat(it.value(), &held) == 0 && ::stat(root.realBytes.constData(), &named) == 0
        && held.st_dev == named.st_dev && held.st_ino == named.st_ino)
        return it.value();
    const int fd = ::open(root.realBytes.constData(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0)
        opened.insert(root.realBytes, fd);
    return fd;
}

const Root &current()
{
    thread_local unsigned seen = 0;
    thread_local Root copy;
    const unsigned now = generation.load(std::memory_order_acquire);
    // The program may make the root only after it learnt its name.
    if (seen != now || (copy.real.isEmpty() && !copy.given.isEmpty())) {
        QMutexLocker lock(&rootMutex);
        if (registered.real.isEmpty() && !registered.given.isEmpty()) {
            findRealPath(registered);
            registered.fd = openRoot(registered);
        }
        copy = registered;
        seen = now;
    }
    return copy;
}

bool holds(QStringView root, QStringView path)
{
    if (root.isEmpty())
        return false;
    if (root == u"/")
        return path.startsWith(u'/');
    return path == root || (path.startsWith(root) && path.at(root.size()) == u'/');
}

bool holdsBytes(QByteArrayView root, QByteArrayView path)
{
    if (root.isEmpty() || path.isEmpty())
        return false;
    if (root == "/")
        return path.startsWith('/');
    return path == root || (path.startsWith(root) && path.at(root.size()) == '/');
}

// The real path of a path, or of its nearest existing folder when it does not exist yet.
QString realPathOf(const QString &path)
{
    QString probe = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    QString real = QFileInfo(probe).canonicalFilePath();
    while (real.isEmpty()) {
        const qsizetype slash = probe.lastIndexOf(u'/');
        if (slash < 0 || probe == u"/")
            return {};
        probe.truncate(slash == 0 ? 1 : slash);
        real = QFileInfo(probe).canonicalFilePath();
    }
    return real;
}

// What an open descriptor is, by the kernel's own name for it: one call, and
// about what was opened rather than about a name that may have changed since.
QByteArray realPathOfDescriptor(int fd)
{
    char link[64];
    std::snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    char target[PATH_MAX];
    const ssize_t n = ::readlink(link, target, sizeof target);
    if (n <= 0 || n >= ssize_t(sizeof target) || target[0] != '/')
        return {};
    return QByteArray(target, qsizetype(n));
}

bool namedIn(const Root &root, const QString &path)
{
    const QString clean = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    return holds(root.given, clean) || holds(root.real, clean);
}

// Whether a path's bytes can be compared as they stand: absolute, without "."
// or ".." steps or doubled slashes.
bool plainAbsolute(QByteArrayView path)
{
    return path.startsWith('/') && !path.contains("//") && !path.contains("/./") && !path.contains("/../")
           && !path.endsWith("/.") && !path.endsWith("/..");
}

// namedIn for an encoded path, without making a string of it when it is plain.
bool namedInBytes(const Root &root, QByteArrayView path)
{
    if (!plainAbsolute(path))
        return namedIn(root, QFile::decodeName(path.toByteArray()));
    return holdsBytes(root.givenBytes, path) || holdsBytes(root.realBytes, path);
}

Root rootFor(const QString &root)
{
    Root made = current();
    if (!made.given.isEmpty() && made.given == QDir::cleanPath(root))
        return made;
    made.given = QDir::cleanPath(root);
    findRealPath(made);
    made.fd = -1;
    return made;
}

} // namespace

const RootState &currentRootState()
{
    return current();
}

const RootState &reopenedRootState()
{
    {
        QMutexLocker lock(&rootMutex);
        struct stat held;
        // A folder removed keeps no name: its descriptor leads nowhere.
        if (registered.fd >= 0 && ::fstat(registered.fd, &held) == 0 && held.st_nlink == 0) {
            const int fd = openRoot(registered);
            if (fd >= 0 && fd != registered.fd) {
                registered.fd = fd;
                generation.fetch_add(1, std::memory_order_release);
            }
        }
    }
    return current();
}

int openInDataRoot(int folder, const char *name, int flags)
{
    return Beneath::openAt(folder, name, flags);
}

bool staysInRoot(const QString &path, const QString &root)
{
    const Root r = rootFor(root);
    if (r.real.isEmpty()) {
        // Without the root there is no link in it either: the names alone decide.
        return holds(r.given, QDir::cleanPath(path));
    }
    return holds(r.real, realPathOf(path));
}

void setDataRoot(const QString &root)
{
    Root made;
    if (!root.isEmpty()) {
        made.given = QDir::cleanPath(QFileInfo(root).absoluteFilePath());
        findRealPath(made);
    }
    QMutexLocker lock(&rootMutex);
    made.fd = openRoot(made);
    registered = made;
    generation.fetch_add(1, std::memory_order_release);
}

QString dataRoot()
{
    return current().given;
}

bool leadsOutOfDataRoot(const QString &path)
{
    const Root &r = current();
    if (r.real.isEmpty() || path.isEmpty() || !namedIn(r, path))
        return false;
    return !holds(r.real, realPathOf(path));
}

bool openedOutOfDataRoot(int fd, int folder, const char *name)
{
    const Root &r = current();
    if (r.real.isEmpty())
        return false;
    if (folder == AT_FDCWD ? !namedInBytes(r, QByteArrayView(name))
                           : !holdsBytes(r.realBytes, realPathOfDescriptor(folder)))
        return false;
    const QByteArray real = realPathOfDescriptor(fd);
    if (real.isEmpty() && folder == AT_FDCWD)
        return !holds(r.real, realPathOf(QFile::decodeName(name)));
    return !holdsBytes(r.realBytes, real);
}

bool linkLeadsOutOfDataRoot(int folder, const char *name)
{
    const Root &r = current();
    if (r.real.isEmpty())
        return false;
    QByteArray at = name;
    if (folder != AT_FDCWD) {
        const QByteArray where = realPathOfDescriptor(folder);
        if (!holdsBytes(r.realBytes, where))
            return false;
        at = where + '/' + at;
    } else if (!namedInBytes(r, QByteArrayView(name))) {
        return false;
    }
    char target[PATH_MAX];
    // A dangling link leads nowhere: nothing can be read through it, and a
    // write through it would make the file wherever it points.
    if (!::realpath(at.constData(), target))
        return true;
    return !holdsBytes(r.realBytes, QByteArrayView(target));
}
