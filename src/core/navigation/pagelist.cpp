#include "core/navigation/pagelist.h"

#include "core/navigation/nameorder.h"
#include "core/navigation/navigationtexts.h"
#include "core/navigation/pathtext.h"

#include <QDir>
#include <QDirIterator>

using namespace Qt::StringLiterals;

QStringList listPlainFiles(const QString &folder, const QStringList &patterns, bool *ok)
{
    QDir dir(folder);
    const bool readable = dir.exists() && dir.isReadable();
    if (ok)
        *ok = readable;
    if (!readable)
        return {};
    // Without QDir::CaseSensitive the patterns ignore case, as Windows wildcards do.
    QStringList names;
    for (QDirIterator it(folder, patterns, QDir::Files); it.hasNext();) {
        it.next();
        if (!it.fileName().startsWith(u'.'))
            names << it.fileName();
    }
    sortFileNames(names);
    return names;
}

bool hasPageExtension(const QString &fileName)
{
    const qsizetype dot = fileName.lastIndexOf(u'.');
    if (dot < 0 || dot + 1 >= fileName.size())
        return false;
    const char16_t c = fileName.at(dot + 1).unicode();
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

QStringList listPageFiles(const QString &folder, bool *ok)
{
    QStringList names = listPlainFiles(folder, {}, ok);
    names.removeIf([](const QString &name) { return !hasPageExtension(name); });
    return names;
}

int countPageFiles(const QString &folder, bool *ok)
{
    const QDir dir(folder);
    const bool readable = dir.exists() && dir.isReadable();
    if (ok)
        *ok = readable;
    int count = 0;
    if (!readable)
        return count;
    for (QDirIterator it(folder, QDir::Files); it.hasNext();) {
        it.next();
        count += !it.fileName().startsWith(u'.') && hasPageExtension(it.fileName());
    }
    return count;
}

QStringList pageListOrder(const QStringList &names, const QString &exeBaseName)
{
    using namespace NavigationTexts;
    QStringList list;
    for (const QString &name : names) {
        if (name.contains(IndexWord) && !name.contains(HiddenPrefix) && !fileExtension(name).contains(u'$'))
            list << name;
    }
    for (const QString &name : names) {
        if (pathWithoutExtension(name) != exeBaseName && !name.contains(IndexWord) && !name.startsWith(HiddenPrefix)
            && !fileExtension(name).contains(u'$'))
            list << name;
    }
    return list;
}
