#include "core/app/rootpath.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMutex>

#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

namespace {

// A root as written and as its real path, both without a trailing "/".
struct Root
{
    QString given;
    QString real;
    QByteArray realBytes;
};

QMutex rootMutex;
Root registered; // guarded by rootMutex: listings read titles on several threads

void findRealPath(Root &root)
{
    root.real = QFileInfo(root.given).canonicalFilePath();
    root.realBytes = QFile::encodeName(root.real);
}

Root current()
{
    QMutexLocker lock(&rootMutex);
    // The program may make the root only after it learnt its name.
    if (registered.real.isEmpty() && !registered.given.isEmpty())
        findRealPath(registered);
    return registered;
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

Root rootFor(const QString &root)
{
    Root made = current();
    if (!made.given.isEmpty() && made.given == QDir::cleanPath(root))
        return made;
    made.given = QDir::cleanPath(root);
    findRealPath(made);
    return made;
}

} // namespace

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
    registered = made;
}

QString dataRoot()
{
    return current().given;
}

bool leadsOutOfDataRoot(const QString &path)
{
    const Root r = current();
    if (r.real.isEmpty() || path.isEmpty() || !namedIn(r, path))
        return false;
    return !holds(r.real, realPathOf(path));
}

bool openedOutOfDataRoot(int fd, int folder, const char *name)
{
    const Root r = current();
    if (r.real.isEmpty())
        return false;
    if (folder == AT_FDCWD ? !namedIn(r, QFile::decodeName(name))
                           : !holdsBytes(r.realBytes, realPathOfDescriptor(folder)))
        return false;
    const QByteArray real = realPathOfDescriptor(fd);
    if (real.isEmpty() && folder == AT_FDCWD)
        return !holds(r.real, realPathOf(QFile::decodeName(name)));
    return !holdsBytes(r.realBytes, real);
}

bool linkLeadsOutOfDataRoot(int folder, const char *name)
{
    const Root r = current();
    if (r.real.isEmpty())
        return false;
    QByteArray at = name;
    if (folder != AT_FDCWD) {
        const QByteArray where = realPathOfDescriptor(folder);
        if (!holdsBytes(r.realBytes, where))
            return false;
        at = where + '/' + at;
    } else if (!namedIn(r, QFile::decodeName(name))) {
        return false;
    }
    char target[PATH_MAX];
    // A dangling link leads nowhere: nothing can be read through it, and a
    // write through it would make the file wherever it points.
    if (!::realpath(at.constData(), target))
        return true;
    return !holdsBytes(r.realBytes, QByteArrayView(target));
}
