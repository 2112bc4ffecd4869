#include "core/app/atomicfile.h"

#include "core/app/apptexts.h"
#include "core/app/beneath.h"
#include "core/app/localprocess.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSysInfo>

#include <algorithm>

#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

constexpr qsizetype MaxNameBytes = 255;
const QString TempSuffix = u".tmp"_s;

constexpr qint64 AbandonedTemporarySeconds = 24 * 3600;

// The process number is public, so a peer may plant a folder under the first name;
// the writer then takes this many other names with a random tail before it gives up.
constexpr int NameAttempts = 8;
constexpr int RandomTailDigits = 8;

// Host name and boot: imaged school PCs often share one host name, and a process
// number only means something on the machine and boot that gave it.
QString hostTag()
{
    QString host = QSysInfo::machineHostName();
    for (QChar &c : host) {
        if (!(c.isLetterOrNumber() && c.unicode() < 128) && c != u'-')
            c = u'-';
    }
    host = host.isEmpty() ? u"host"_s : host.left(40);
    const QByteArray boot = QSysInfo::bootUniqueId().left(8);
    return boot.isEmpty() ? host : host + u'-' + QString::fromLatin1(boot);
}

// The name part kept in the temporary name, cut so that the whole stays a legal name.
QString namePart(const QString &fileName)
{
    const qsizetype room = MaxNameBytes - 1 /*.*/ - 1 - hostTag().size() - 1 - 10 /*pid*/ - 1 - RandomTailDigits
                           - TempSuffix.size();
    QString name = fileName;
    while (!name.isEmpty() && name.toUtf8().size() > room)
        name.chop(1);
    if (!name.isEmpty() && name.back().isHighSurrogate())
        name.chop(1);
    return name;
}

bool isLinkIn(const Beneath::Parent &folder)
{
    struct stat st {};
    return ::fstatat(folder.fd(), folder.name(), &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISLNK(st.st_mode);
}

bool allDigits(QStringView text)
{
    return !text.isEmpty() && std::all_of(text.begin(), text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

// The writer's part of a temporary name: its process number, alone or with a random
// tail ("123" or "123-4567"); -1 when the part is neither.
qint64 writerProcess(QStringView part)
{
    const qsizetype dash = part.indexOf(u'-');
    const QStringView pid = dash < 0 ? part : part.left(dash);
    if (!allDigits(pid) || (dash >= 0 && !allDigits(part.mid(dash + 1))))
        return -1;
    return pid.toLongLong();
}

} // namespace

AtomicFile::AtomicFile(const QString &target) : m_target(target) {}

AtomicFile::~AtomicFile()
{
    if (m_temp.isOpen() || !m_tempName.isEmpty())
        cancel();
}

QString AtomicFile::temporaryPrefix(const QString &target)
{
    const QFileInfo info(target);
    return u"."_s + namePart(info.fileName()) + u"."_s + hostTag() + u"."_s;
}

QString AtomicFile::thisHostTag()
{
    return hostTag();
}

bool AtomicFile::isTemporaryName(const QString &fileName)
{
    // "." name "." host "." process [ "-" tail ] ".tmp".
    if (!fileName.startsWith(u'.') || !fileName.endsWith(TempSuffix))
        return false;
    const QStringView rest = QStringView(fileName).chopped(TempSuffix.size());
    const qsizetype dot = rest.lastIndexOf(u'.');
    return dot > 0 && writerProcess(rest.mid(dot + 1)) >= 0;
}

void AtomicFile::removeStaleTemporaries() const
{
    // Every dead writer's temporary in the folder, not only this target's: a copy
    // killed midway leaves one under a name that may never be written again. A file of
    // this machine and boot is dead when its process is gone; any other only after a
    // day without a change (it may be a PC of the same host name writing right now).
    const QString ours = u"."_s + hostTag() + u"."_s;
    const qint64 now = QDateTime::currentSecsSinceEpoch();
    const int listing = ::openat(m_folder->fd(), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    DIR *dir = listing < 0 ? nullptr : ::fdopendir(listing);
    if (!dir) {
        if (listing >= 0)
            ::close(listing);
        return;
    }
    while (const dirent *e = ::readdir(dir)) {
        if (e->d_name[0] != '.')
            continue;
        const QString name = QFile::decodeName(e->d_name);
        if (!isTemporaryName(name))
            continue;
        const QString stem = name.chopped(TempSuffix.size());
        const qsizetype dot = stem.lastIndexOf(u'.');
        const qint64 pid = writerProcess(QStringView(stem).mid(dot + 1));
        const bool thisBoot = stem.left(dot + 1).endsWith(ours);
        struct stat st {};
        if (::fstatat(m_folder->fd(), e->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(st.st_mode))
            continue;
        const bool dead = thisBoot ? !isLocalProcessRunning(pid) : now - st.st_mtime > AbandonedTemporarySeconds;
        if (dead)
            ::unlinkat(m_folder->fd(), e->d_name, 0);
    }
    ::closedir(dir);
}

bool AtomicFile::fail(const QString &why)
{
    m_failed = true;
    if (m_error.isEmpty())
        m_error = why;
    return false;
}

bool AtomicFile::openFolder()
{
    m_folder = std::make_unique<Beneath::Parent>(m_target);
    if (m_folder->isOpen())
        return true;
    // Judged by the kernel before anything is made in the folder: a folder of
    // the data root that leads out of it is not written into, not even for a moment.
    return errno == EXDEV || errno == ELOOP ? fail(AppTexts::WriteOutOfRootRefused.arg(m_target))
                                            : fail(QString::fromLocal8Bit(strerror(errno)));
}

bool AtomicFile::targetRefused()
{
    // The rename would put a plain file where the link was: every PC would then
    // read the copy, and the link another PC made would be gone.
    if (isLinkIn(*m_folder))
        return !fail(AppTexts::WriteToLinkRefused.arg(m_target));
    return false;
}

bool AtomicFile::open()
{
    if (!openFolder() || targetRefused())
        return false;
    removeStaleTemporaries();
    struct stat target {};
    const bool exists = ::fstatat(m_folder->fd(), m_folder->name(), &target, AT_SYMLINK_NOFOLLOW) == 0;
    if (exists && S_ISDIR(target.st_mode))
        return fail(QCoreApplication::translate("AtomicFile", "%1 is a folder").arg(m_target));
    if (!createTemporary())
        return false;
    struct stat made {};
    if (::fstat(m_temp.handle(), &made) != 0)
        return fail(QString::fromLocal8Bit(strerror(errno)));
    m_device = made.st_dev;
    m_inode = made.st_ino;
    if (exists)
        ::fchmod(m_temp.handle(), target.st_mode & 07777);
    return true;
}

bool AtomicFile::createTemporary()
{
    const QString stem = temporaryPrefix(m_target) + QString::number(QCoreApplication::applicationPid());
    const QString folderPath = QFileInfo(m_target).absolutePath();
    for (int attempt = 0; attempt < NameAttempts; ++attempt) {
        const QString tail = attempt == 0
                                 ? QString()
                                 : u"-"_s + QString::number(QRandomGenerator::global()->bounded(10000000, 100000000));
        const QByteArray name = QFile::encodeName(stem + tail + TempSuffix);
        // The name is public (host and process), so a peer may have planted a link or a
        // file there: take the name away and make the file new, never opening what stands.
        // What cannot be taken away (a folder) leaves the name to the next attempt.
        ::unlinkat(m_folder->fd(), name.constData(), 0);
        const int fd = ::openat(m_folder->fd(), name.constData(),
                                O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd >= 0) {
            m_tempName = name;
            m_tempPath = folderPath + u'/' + QFile::decodeName(name);
            if (m_temp.open(fd, QIODevice::WriteOnly, QFileDevice::AutoCloseHandle))
                return true;
            ::close(fd);
            const QString why = m_temp.errorString();
            cancel();
            return fail(why);
        }
        const int why = errno;
        struct stat standing {};
        if (::fstatat(m_folder->fd(), name.constData(), &standing, AT_SYMLINK_NOFOLLOW) != 0) {
            errno = why;
            break; // nothing stands there: the folder itself refuses
        }
    }
    return fail(QString::fromLocal8Bit(strerror(errno)));
}

bool AtomicFile::write(const char *data, qint64 size)
{
    if (m_failed || !m_temp.isOpen())
        return fail(u"not open"_s);
    if (m_temp.write(data, size) != size)
        return fail(m_temp.errorString());
    return true;
}

bool AtomicFile::seek(qint64 position)
{
    if (m_failed || !m_temp.isOpen())
        return fail(u"not open"_s);
    return m_temp.seek(position) || fail(m_temp.errorString());
}

bool AtomicFile::setModificationTime(const QDateTime &when)
{
    if (m_failed || !m_temp.isOpen())
        return fail(u"not open"_s);
    // Written out first: a later write would stamp the file anew.
    return (m_temp.flush() && m_temp.setFileTime(when, QFileDevice::FileModificationTime)) || fail(m_temp.errorString());
}

bool AtomicFile::stillOurs() const
{
    struct stat named {};
    return ::fstatat(m_folder->fd(), m_tempName.constData(), &named, AT_SYMLINK_NOFOLLOW) == 0
           && S_ISREG(named.st_mode) && named.st_dev == m_device && named.st_ino == m_inode;
}

bool AtomicFile::commit()
{
    if (m_failed || !m_temp.isOpen()) {
        cancel();
        return fail(u"not open"_s);
    }
    // On the disk before the name points at it: a crash leaves the old file or the new one.
    if (!m_temp.flush() || ::fsync(m_temp.handle()) != 0) {
        const QString why = m_temp.errorString();
        cancel();
        return fail(why);
    }
    // Only the file written here goes under the target's name, never a link or a file
    // that took the temporary's name meanwhile.
    if (!stillOurs()) {
        m_temp.close();
        m_tempName.clear();
        m_temp.setFileName(QString());
        return fail(QCoreApplication::translate("AtomicFile", "%1 was replaced during the write").arg(m_target));
    }
    m_temp.close();
    if (isLinkIn(*m_folder)) {
        cancel();
        return fail(AppTexts::WriteToLinkRefused.arg(m_target));
    }
    if (::renameat(m_folder->fd(), m_tempName.constData(), m_folder->fd(), m_folder->name()) != 0) {
        const QString why = QString::fromLocal8Bit(strerror(errno));
        cancel();
        return fail(why);
    }
    m_tempName.clear();
    m_tempPath.clear();
    return true;
}

void AtomicFile::cancel()
{
    if (m_temp.isOpen())
        m_temp.close();
    if (!m_tempName.isEmpty() && m_folder && m_folder->isOpen())
        ::unlinkat(m_folder->fd(), m_tempName.constData(), 0);
    m_tempName.clear();
    m_tempPath.clear();
}
