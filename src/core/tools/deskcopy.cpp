#include "core/tools/deskcopy.h"

#include "core/tools/foldertexts.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace {
// The absolute path without "." and "..", and with symbolic links resolved where the path exists.
QString realPath(const QString &path)
{
    const QString canonical = QFileInfo(path).canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(QFileInfo(path).absoluteFilePath()) : canonical;
}

// The longest existing folder on the way to path, resolved, + the rest of path.
QString resolvedTarget(const QString &path)
{
    QString existing = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    QString rest;
    while (!QFileInfo::exists(existing) && existing.contains(u'/')) {
        const qsizetype cut = existing.lastIndexOf(u'/');
        rest = existing.sliced(cut) + rest;
        existing = existing.first(qMax<qsizetype>(cut, 1));
    }
    return QDir::cleanPath(realPath(existing) + rest);
}
} // namespace

QString deskCopyTarget(const QString &desktop, const QString &source)
{
    const QString name = QFileInfo(QDir::cleanPath(source)).fileName();
    const QString desk = QDir::cleanPath(desktop) + u'/' + FolderTexts::DeskFolderName;
    return name.isEmpty() ? desk : desk + u'/' + name;
}

bool copiesIntoItself(const QString &source, const QString &target)
{
    const QString from = realPath(source);
    const QString to = resolvedTarget(target);
    return to == from || to.startsWith(from.endsWith(u'/') ? from : from + u'/');
}

QStringList filesToCopy(const QString &source)
{
    QStringList files;
    QDirIterator it(source, QDir::Files | QDir::Hidden | QDir::System | QDir::NoSymLinks,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        files << it.next();
    return files;
}

QStringList copyFolderContent(const QString &source, const QString &target,
                              const std::function<bool(const QString &, const QString &)> &copy,
                              const std::function<bool(int, int)> &progress)
{
    const QDir from(source);
    // Empty folders come along too.
    QDirIterator folders(source, QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden | QDir::NoSymLinks,
                         QDirIterator::Subdirectories);
    while (folders.hasNext())
        QDir().mkpath(target + u'/' + from.relativeFilePath(folders.next()));
    const QStringList files = filesToCopy(source);
    QStringList failed;
    for (int n = 0; n < files.size(); ++n) {
        if (progress && !progress(n, int(files.size())))
            break;
        const QString relative = from.relativeFilePath(files.at(n));
        const QString to = target + u'/' + relative;
        if (!QDir().mkpath(QFileInfo(to).path()) || !copy(files.at(n), to))
            failed << relative;
    }
    if (progress)
        progress(int(files.size()), int(files.size()));
    QDir().mkpath(target);
    return failed;
}
