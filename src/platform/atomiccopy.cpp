#include "platform/atomiccopy.h"

#include "core/app/atomicfile.h"
#include "core/app/beneath.h"

#include <QDateTime>
#include <QFile>

#include <sys/stat.h>

bool copyFileAtomically(const QString &from, const QString &to, bool overwrite)
{
    // Read beneath the data root: a link out of it copies nothing of what lies behind it.
    QFile in;
    if (!Beneath::openFile(in, from, QIODevice::ReadOnly))
        return false;
    struct stat source {};
    struct stat target {};
    if (::fstat(in.handle(), &source) != 0)
        return false;
    if (Beneath::stat(to, &target, true)
        && (!overwrite || (source.st_dev == target.st_dev && source.st_ino == target.st_ino)))
        return false;
    AtomicFile out(to);
    if (!out.open())
        return false;
    char buffer[64 * 1024];
    for (;;) {
        const qint64 n = in.read(buffer, sizeof buffer);
        if (n < 0)
            return false;
        if (n == 0)
            break;
        if (!out.write(buffer, n))
            return false;
    }
    // Stamped before the rename: the name is never opened again once it is the target.
    out.setModificationTime(QDateTime::fromSecsSinceEpoch(source.st_mtim.tv_sec).addMSecs(source.st_mtim.tv_nsec / 1000000));
    return out.commit();
}
