#include "core/pages/picturefile.h"

#include "core/app/beneath.h"

#include <QDir>
#include <QFileInfo>
#include <QImageReader>

#include <algorithm>
#include <dirent.h>

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
        const QString exact = dir.filePath(parts[i]);
        if (file ? Beneath::isFile(exact) : Beneath::isFolder(exact)) {
            found = parts[i];
        } else {
            QList<Beneath::Entry> entries = Beneath::list(dir.path());
            std::sort(entries.begin(), entries.end(),
                      [](const Beneath::Entry &a, const Beneath::Entry &b) { return a.name < b.name; });
            for (const Beneath::Entry &entry : std::as_const(entries)) {
                if (entry.name.compare(parts[i], Qt::CaseInsensitive) != 0)
                    continue;
                if (file ? Beneath::isFile(dir.filePath(entry.name)) : Beneath::isFolder(dir.filePath(entry.name))) {
                    found = entry.name;
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

bool openPictureReader(const QString &path, QFile &file, QImageReader &reader)
{
    if (!Beneath::openFile(file, path, QIODevice::ReadOnly))
        return false;
    reader.setDevice(&file);
    reader.setDecideFormatFromContent(true);
    return true;
}
