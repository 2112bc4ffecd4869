#include "core/app/rootpath.h"

#include "core/app/beneath.h"
#include "core/app/rootstate.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
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
    const int fd = ::open(root.realBytes.constData(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return opened.value(root.realBytes, -1);
    // The same folder keeps the descriptor it had; a folder made anew under
    // the root's name (a test, a restored share) gets its own.
    auto it = opened.constFind(root.realBytes);
    struct stat was {};
    struct stat now {};
    if (it != opened.constEnd() && ::fstat(it.value(), &was) == 0 && ::fstat(fd, &now) == 0
        && was.st_dev == now.st_dev && was.st_ino == now.st_ino) {
        ::close(fd);
        return it.value();
    }
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

} // namespace

QByteArray descriptorPath(int fd)
{
    char link[64];
    std::snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    char target[PATH_MAX];
    const ssize_t n = ::readlink(link, target, sizeof target);
    if (n <= 0 || n >= ssize_t(sizeof target) || target[0] != '/')
        return {};
    return QByteArray(target, qsizetype(n));
}

namespace {

bool namedIn(const Root &root, const QString &path)
{
    const QString clean = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    return holds(root.given, clean) || holds(root.real, clean);
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

bool reopenReplacedRoot()
{
    QMutexLocker lock(&rootMutex);
    if (registered.fd < 0 || registered.given.isEmpty())
        return false;
    // One look at the folder held, without a name: only a root that is gone
    // (removed, or its share lost) is looked up by its name again.
    struct stat held {};
    if (::fstat(registered.fd, &held) == 0 && held.st_nlink > 0)
        return false;
    // The root's folder was removed and made anew, or the share mounted again.
    Root made;
    made.given = registered.given;
    findRealPath(made);
    made.fd = openRoot(made);
    if (made.fd < 0 || made.fd == registered.fd)
        return false;
    registered = made;
    generation.fetch_add(1, std::memory_order_release);
    return true;
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

