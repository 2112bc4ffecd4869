#include "core/tools/folderlist.h"

#include "core/app/beneath.h"
#include "core/navigation/nameorder.h"
#include "core/navigation/pathtext.h"
#include "core/tools/foldertexts.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <dirent.h>
#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace {
bool isTrimmed(QChar c)
{
    return c.unicode() < 0x20 || c.isSpace() || c.category() == QChar::Other_Control;
}

QString trimmedLine(const QString &line)
{
    qsizetype start = 0;
    qsizetype end = line.size();
    while (start < end && isTrimmed(line.at(start)))
        ++start;
    while (end > start && isTrimmed(line.at(end - 1)))
        --end;
    return line.sliced(start, end - start);
}

// The levels of a line, or an empty list when the line would leave its folder.
QStringList levelsOf(const QString &line)
{
    if (line.startsWith(u'/') || line.startsWith(u'\\') || (line.size() > 1 && line.at(1) == u':'))
        return {};
    QStringList levels;
    for (const QString &level : line.split(QRegularExpression(u"[\\\\/]"_s))) {
        const QString name = level.trimmed();
        if (name == u".."_s)
            return {};
        if (!name.isEmpty() && name != u"."_s)
            levels << name;
    }
    return levels;
}

void collectFolders(const QString &folder, const QString &prefix, QStringList &names,
                    const std::function<void()> &between)
{
    QStringList children = Beneath::names(folder, DT_DIR);
    children.removeIf([](const QString &name) { return name.startsWith(u'.'); });
    sortFileNames(children);
    for (const QString &child : children) {
        const QString name = prefix.isEmpty() ? child : prefix + u'\\' + child;
        names << name;
        if (between)
            between();
        collectFolders(folder + u'/' + child, name, names, between);
    }
}
} // namespace

QString folderListPath(const QString &exeDir)
{
    return joinPath(exeDir, FolderTexts::ListFileName);
}

QStringList folderListLines(const QString &text)
{
    QStringList lines;
    for (const QString &raw : text.split(u'\n')) {
        const QString line = trimmedLine(raw);
        if (!line.isEmpty() && !line.contains(FolderTexts::CommentMark))
            lines << line;
    }
    return lines;
}

FolderListResult createListedFolders(const QString &text, const QString &exeDir, const QString &exeBaseName,
                                     const QString &homeDir)
{
    FolderListResult result;
    const QString homeName = fileNameOf(homeDir);
    for (const QString &line : folderListLines(text)) {
        QStringList levels = levelsOf(line);
        if (levels.isEmpty()) {
            result.refused << line;
            continue;
        }
        if (levels.first().compare(exeBaseName, Qt::CaseInsensitive) == 0)
            levels.first() = homeName;
        // A list another PC wrote makes folders in the data root only, never beside it.
        if (levels.first() != homeName) {
            result.refused << line;
            continue;
        }
        QString path = exeDir;
        while (path.endsWith(u'/') && path.size() > 1)
            path.chop(1);
        for (const QString &level : std::as_const(levels)) {
            path += u'/' + level;
            struct stat st {};
            const bool exists = Beneath::stat(path, &st, false);
            if (exists && S_ISLNK(st.st_mode)) {
                result.refused << line;
                break;
            }
            if (exists && S_ISDIR(st.st_mode))
                continue;
            // A name that cannot be made is passed over, and the rest of the list still made.
            if (!Beneath::makeFolder(path))
                break;
            ++result.created;
        }
    }
    return result;
}

QStringList existingFolderNames(const QString &exeDir, const std::function<void()> &between)
{
    QStringList names;
    collectFolders(exeDir, QString(), names, between);
    return names;
}
