#include "platform/trash.h"

#include "core/app/beneath.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QStorageInfo>
#include <QUrl>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

// A trash folder ("files" and "info") opened, on the device of the file.
struct TrashFolder
{
    int files = -1;
    int info = -1;
    QString top; // what the info file's path is relative to; empty: absolute
    TrashFolder() = default;
    TrashFolder(const TrashFolder &) = delete;
    TrashFolder &operator=(const TrashFolder &) = delete;
    ~TrashFolder() { reset(); }
    void reset()
    {
        if (files >= 0)
            ::close(files);
        if (info >= 0)
            ::close(info);
        files = info = -1;
        top.clear();
    }
};

int openOwnFolder(const QString &path, bool make)
{
    const QByteArray name = QFile::encodeName(path);
    if (make)
        ::mkdir(name.constData(), 0700);
    const int fd = ::open(name.constData(), O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    struct stat st;
    if (fd >= 0 && (::fstat(fd, &st) != 0 || st.st_uid != ::getuid())) {
        ::close(fd);
        return -1;
    }
    return fd;
}

bool openTrash(const QString &trash, dev_t device, TrashFolder &folder)
{
    if (!QDir().mkpath(trash))
        return false;
    folder.files = openOwnFolder(trash + u"/files"_s, true);
    folder.info = openOwnFolder(trash + u"/info"_s, true);
    struct stat st;
    return folder.files >= 0 && folder.info >= 0 && ::fstat(folder.files, &st) == 0 && st.st_dev == device;
}

// The home trash when the file is on the home's device, else the share's own.
bool findTrash(const QString &path, dev_t device, TrashFolder &folder)
{
    const QString home = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + u"/Trash"_s;
    if (openTrash(home, device, folder))
        return true;
    folder.reset();
    const QString top = QStorageInfo(QFileInfo(path).absolutePath()).rootPath();
    if (top.isEmpty())
        return false;
    const QString uid = QString::number(::getuid());
    struct stat shared;
    const QByteArray sharedName = QFile::encodeName(top + u"/.Trash"_s);
    // The shared trash only when it is a folder of its own with the sticky bit.
    if (::lstat(sharedName.constData(), &shared) == 0 && S_ISDIR(shared.st_mode) && (shared.st_mode & S_ISVTX)
        && openTrash(top + u"/.Trash/"_s + uid, device, folder)) {
        folder.top = top;
        return true;
    }
    folder.reset();
    if (!openTrash(top + u"/.Trash-"_s + uid, device, folder))
        return false;
    folder.top = top;
    return true;
}

} // namespace

bool moveIntoTrash(const QString &path)
{
    if (Beneath::relativeToRoot(path).isEmpty())
        return QFile::moveToTrash(path);
    const Beneath::Parent source(path);
    struct stat st;
    if (!source.isOpen() || ::fstatat(source.fd(), source.name(), &st, AT_SYMLINK_NOFOLLOW) != 0)
        return false;
    TrashFolder trash;
    if (!findTrash(path, st.st_dev, trash))
        return false;
    const QString absolute = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    const QString recorded = trash.top.isEmpty() || !absolute.startsWith(trash.top)
                                 ? absolute
                                 : QDir(trash.top).relativeFilePath(absolute);
    const QByteArray info = "[Trash Info]\nPath=" + QUrl::toPercentEncoding(recorded, "/") + "\nDeletionDate="
                            + QDateTime::currentDateTime().toString(u"yyyy-MM-ddThh:mm:ss"_s).toLatin1() + "\n";
    const QString name = QFile::decodeName(source.encodedName());
    for (int n = 0; n < 1000; ++n) {
        const QString trashed = n == 0 ? name : name + u'.' + QString::number(n);
        const QByteArray infoName = QFile::encodeName(trashed + u".trashinfo"_s);
        // The info file is made new: it claims the name in the trash.
        const int fd = ::openat(trash.info, infoName.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                                0600);
        if (fd < 0) {
            if (errno == EEXIST)
                continue;
            return false;
        }
        const bool written = ::write(fd, info.constData(), size_t(info.size())) == info.size();
        ::close(fd);
        if (written && ::renameat(source.fd(), source.name(), trash.files, QFile::encodeName(trashed).constData()) == 0)
            return true;
        ::unlinkat(trash.info, infoName.constData(), 0);
        return false;
    }
    return false;
}
