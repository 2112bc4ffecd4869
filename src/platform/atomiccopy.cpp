#include "platform/atomiccopy.h"

#include "core/app/atomicfile.h"
#include "core/app/rootpath.h"

#include <QFile>
#include <QFileInfo>

bool copyFileAtomically(const QString &from, const QString &to, bool overwrite)
{
    const QFileInfo source(from);
    const QFileInfo target(to);
    // A link out of the data root copies nothing of what lies behind it.
    if (!source.isFile() || leadsOutOfDataRoot(from))
        return false;
    if (target.exists() && (!overwrite || source.canonicalFilePath() == target.canonicalFilePath()))
        return false;

    QFile in(from);
    if (!in.open(QIODevice::ReadOnly))
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
    out.setModificationTime(source.lastModified());
    return out.commit();
}
