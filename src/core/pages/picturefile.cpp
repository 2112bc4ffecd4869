#include "core/pages/picturefile.h"

#include <QDir>
#include <QFileInfo>

using namespace Qt::StringLiterals;

static QString findInFolder(const QString &folder, const QString &name, bool wantFolder)
{
    if (folder.isEmpty() || name.isEmpty() || name.contains(u':'))
        return {};
    QString relative = name;
    relative.replace(u'\\', u'/');
    if (relative.startsWith(u'/'))
        return {};
    const QStringList parts = relative.split(u'/', Qt::SkipEmptyParts);
    if (parts.isEmpty() || parts.contains(u".."_s))
        return {};

    QDir dir(folder);
    for (qsizetype i = 0; i < parts.size(); ++i) {
        const bool last = i == parts.size() - 1;
        const bool file = last && !wantFolder;
        QString found;
        const QFileInfo exact(dir.filePath(parts[i]));
        if (file ? exact.isFile() : exact.isDir()) {
            found = parts[i];
        } else {
            const QDir::Filters filter = (file ? QDir::Files : QDir::Dirs) | QDir::Hidden | QDir::NoDotAndDotDot;
            const QStringList entries = dir.entryList(filter, QDir::Name);
            for (const QString &entry : entries) {
                if (entry.compare(parts[i], Qt::CaseInsensitive) == 0) {
                    found = entry;
                    break;
                }
            }
        }
        if (found.isEmpty())
            return {};
        if (last)
            return staysInRoot(dir.filePath(found), folder) ? dir.filePath(found) : QString();
        dir.setPath(dir.filePath(found));
    }
    return {};
}

QString findFileInFolder(const QString &folder, const QString &name)
{
    return findInFolder(folder, name, false);
}

QString findPathInRoot(const QString &root, const QString &path, bool folder)
{
    QString base = root;
    while (base.endsWith(u'/'))
        base.chop(1);
    if (base.isEmpty() || !path.startsWith(base + u'/'))
        return {};
    return findInFolder(base, path.mid(base.size() + 1), folder);
}
