#include "core/tools/folderentries.h"

#include "core/app/beneath.h"

#include <QFile>

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

QStringList folderEntries(const QString &folder, bool *ok)
{
    QStringList names;
    const int fd = Beneath::open(folder, O_RDONLY | O_DIRECTORY | O_NONBLOCK);
    DIR *dir = fd < 0 ? nullptr : ::fdopendir(fd);
    if (ok)
        *ok = dir != nullptr;
    if (!dir) {
        if (fd >= 0)
            ::close(fd);
        return names;
    }
    while (const dirent *e = ::readdir(dir)) {
        const char *n = e->d_name;
        if (n[0] == '.' && (n[1] == 0 || (n[1] == '.' && n[2] == 0)))
            continue;
        const QByteArray raw(n);
        const QString name = QFile::decodeName(raw);
        if (QFile::encodeName(name) == raw)
            names << name;
    }
    ::closedir(dir);
    return names;
}
