#include "core/app/atomicfile.h"

#include "core/app/localprocess.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSysInfo>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

constexpr qsizetype MaxNameBytes = 255;
const QString TempSuffix = u".tmp"_s;

QString hostTag()
{
    QString host = QSysInfo::machineHostName();
    for (QChar &c : host) {
        if (!(c.isLetterOrNumber() && c.unicode() < 128) && c != u'-')
            c = u'-';
    }
    return host.isEmpty() ? u"host"_s : host.left(40);
}

// The name part kept in the temporary name, cut so that the whole stays a legal name.
QString namePart(const QString &fileName)
{
    const qsizetype room = MaxNameBytes - 1 /*.*/ - 1 - hostTag().size() - 1 - 10 /*pid*/ - TempSuffix.size();
    QString name = fileName;
    while (!name.isEmpty() && name.toUtf8().size() > room)
        name.chop(1);
    if (!name.isEmpty() && name.back().isHighSurrogate())
        name.chop(1);
    return name;
}

} // namespace

AtomicFile::AtomicFile(const QString &target) : m_target(target) {}

AtomicFile::~AtomicFile()
{
    if (m_temp.isOpen() || (!m_temp.fileName().isEmpty() && m_temp.exists()))
        cancel();
}

QString AtomicFile::temporaryPrefix(const QString &target)
{
    const QFileInfo info(target);
    return u"."_s + namePart(info.fileName()) + u"."_s + hostTag() + u"."_s;
}

bool AtomicFile::isTemporaryName(const QString &fileName)
{
    // "." name "." host "." process ".tmp": the last part before ".tmp" is a number.
    if (!fileName.startsWith(u'.') || !fileName.endsWith(TempSuffix))
        return false;
    const QStringView rest = QStringView(fileName).chopped(TempSuffix.size());
    const qsizetype dot = rest.lastIndexOf(u'.');
    if (dot <= 0 || dot + 1 == rest.size())
        return false;
    return std::all_of(rest.begin() + dot + 1, rest.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

void AtomicFile::removeStaleTemporaries() const
{
    const QFileInfo info(m_target);
    const QString prefix = temporaryPrefix(m_target);
    QDir dir(info.absolutePath());
    const QStringList names = dir.entryList({prefix + u"*"_s + TempSuffix},
                                            QDir::Files | QDir::Hidden | QDir::System, QDir::NoSort);
    for (const QString &name : names) {
        bool ok = false;
        const qint64 pid = name.mid(prefix.size(), name.size() - prefix.size() - TempSuffix.size()).toLongLong(&ok);
        // Another process of this host may be writing the same file right now: leave its file.
        if (ok && !isLocalProcessRunning(pid))
            dir.remove(name);
    }
}

bool AtomicFile::fail(const QString &why)
{
    m_failed = true;
    if (m_error.isEmpty())
        m_error = why;
    return false;
}

bool AtomicFile::open()
{
    removeStaleTemporaries();
    const QFileInfo info(m_target);
    if (info.isDir())
        return fail(QCoreApplication::translate("AtomicFile", "%1 is a folder").arg(m_target));
    m_temp.setFileName(info.absolutePath() + u"/"_s + temporaryPrefix(m_target)
                       + QString::number(QCoreApplication::applicationPid()) + TempSuffix);
    if (!m_temp.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return fail(m_temp.errorString());
    if (info.exists())
        m_temp.setPermissions(info.permissions());
    return true;
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
    m_temp.close();
    if (::rename(QFile::encodeName(m_temp.fileName()).constData(), QFile::encodeName(m_target).constData()) != 0) {
        const QString why = QString::fromLocal8Bit(strerror(errno));
        QFile::remove(m_temp.fileName());
        return fail(why);
    }
    m_temp.setFileName(QString());
    return true;
}

void AtomicFile::cancel()
{
    if (m_temp.isOpen())
        m_temp.close();
    if (!m_temp.fileName().isEmpty())
        QFile::remove(m_temp.fileName());
    m_temp.setFileName(QString());
}
