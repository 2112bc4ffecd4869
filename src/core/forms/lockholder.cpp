#include "core/forms/lockholder.h"

#include "core/app/localprocess.h"

#include <QCoreApplication>
#include <QFile>
#include <QSysInfo>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <optional>
#include <unistd.h>

namespace {
// The file name of a running process's executable, as QLockFile names it;
// nullopt when it cannot be told (another user's process).
std::optional<QString> programOf(qint64 pid)
{
    char link[64];
    std::snprintf(link, sizeof link, "/proc/%lld/exe", static_cast<long long>(pid));
    char target[PATH_MAX];
    const ssize_t n = ::readlink(link, target, sizeof target);
    if (n <= 0 || n >= ssize_t(sizeof target))
        return errno == ENOENT ? std::optional<QString>(QString()) : std::nullopt;
    QByteArray path(target, qsizetype(n));
    if (path.endsWith(" (deleted)"))
        path.chop(10);
    return QFile::decodeName(path.mid(path.lastIndexOf('/') + 1));
}
} // namespace

const LockHolder &LockHolder::thisProcess()
{
    static const LockHolder me = [] {
        LockHolder made;
        made.pid = QCoreApplication::applicationPid();
        made.program = programOf(made.pid).value_or(QString());
        made.host = QSysInfo::machineHostName();
        made.machineId = QSysInfo::machineUniqueId();
        made.bootId = QSysInfo::bootUniqueId();
        return made;
    }();
    return me;
}

LockHolder LockHolder::read(const QByteArray &bytes)
{
    const QList<QByteArray> lines = bytes.split('\n');
    LockHolder holder;
    bool number = false;
    holder.pid = lines.value(0).toLongLong(&number);
    if (!number || holder.pid <= 0)
        return {};
    holder.program = QString::fromUtf8(lines.value(1));
    holder.host = QString::fromUtf8(lines.value(2));
    holder.machineId = lines.value(3);
    holder.bootId = lines.value(4);
    return holder;
}

QByteArray LockHolder::bytes() const
{
    return QByteArray::number(pid) + '\n' + program.toUtf8() + '\n' + host.toUtf8() + '\n' + machineId + '\n' + bootId
           + '\n';
}

bool LockHolder::onThisComputer() const
{
    const LockHolder &me = thisProcess();
    return pid > 0 && !machineId.isEmpty() && !bootId.isEmpty() && machineId == me.machineId && bootId == me.bootId;
}

bool LockHolder::gone() const
{
    if (!onThisComputer())
        return false;
    if (!isLocalProcessRunning(pid))
        return true;
    const std::optional<QString> running = programOf(pid);
    return running && !program.isEmpty() && *running != program;
}

QString LockHolder::shownHost() const
{
    QString name = host;
    name.removeIf([](QChar c) { return !c.isLetterOrNumber() && c != u'-' && c != u'.' && c != u'_'; });
    return name.left(64);
}
