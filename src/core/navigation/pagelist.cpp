#include "core/navigation/pagelist.h"

#include "core/app/beneath.h"
#include "core/navigation/nameorder.h"
#include "core/navigation/navigationtexts.h"

#include <QFile>
#include <QRegularExpression>

#include <algorithm>
#include <cstring>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

using namespace Qt::StringLiterals;

// The name of a directory entry as the program can open it again; false when its
// bytes are not a name in the file-name encoding (not valid UTF-8): decoded, they
// would come back as other bytes, and a page button would open another file or none.
static bool openableName(const char *raw, QString &name)
{
    const QByteArray bytes = QByteArray::fromRawData(raw, qsizetype(std::strlen(raw)));
    name = QFile::decodeName(bytes);
    return QFile::encodeName(name) == bytes;
}

// The plain files of a folder, unsorted, read with one readdir pass: a level of
// 50,000 pages is listed in a few milliseconds. A link counts as the file it
// leads to, unless it leads out of the data root; hidden names, and names that
// cannot be opened by name, are left out. A folder of the data root that leads
// out of it is not listed at all.
static QStringList plainFileNames(const QString &folder, bool *ok)
{
    QStringList names;
    const int fd = Beneath::open(folder, O_RDONLY | O_DIRECTORY);
    DIR *dir = fd < 0 ? nullptr : ::fdopendir(fd);
    if (!dir && fd >= 0)
        ::close(fd);
    if (ok)
        *ok = dir != nullptr;
    if (!dir)
        return names;
    QString name;
    while (const dirent *e = ::readdir(dir)) {
        if (e->d_name[0] == '.')
            continue;
        unsigned char type = e->d_type;
        struct stat st;
        if (type == DT_UNKNOWN && ::fstatat(::dirfd(dir), e->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0)
            type = S_ISLNK(st.st_mode) ? DT_LNK : S_ISREG(st.st_mode) ? DT_REG : DT_UNKNOWN;
        bool plain = type == DT_REG;
        if (type == DT_LNK) {
            // Followed beneath the data root: a link that leads out of it is no page here.
            const int target = Beneath::openAt(::dirfd(dir), e->d_name, O_PATH);
            plain = target >= 0 && ::fstat(target, &st) == 0 && S_ISREG(st.st_mode);
            if (target >= 0)
                ::close(target);
        }
        if (plain && openableName(e->d_name, name))
            names << name;
    }
    ::closedir(dir);
    return names;
}

QStringList listPlainFiles(const QString &folder, const QStringList &patterns, bool *ok)
{
    QStringList names = plainFileNames(folder, ok);
    if (!patterns.isEmpty()) {
        // Made once for the whole folder; without regard to case, as Windows wildcards.
        QList<QRegularExpression> wildcards;
        for (const QString &pattern : patterns)
            wildcards << QRegularExpression(QRegularExpression::wildcardToRegularExpression(pattern),
                                            QRegularExpression::CaseInsensitiveOption);
        names.removeIf([&](const QString &name) {
            return std::none_of(wildcards.begin(), wildcards.end(),
                                [&](const QRegularExpression &w) { return w.match(name).hasMatch(); });
        });
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
    QStringList names = plainFileNames(folder, ok);
    names.removeIf([](const QString &name) { return !hasPageExtension(name); });
    sortFileNames(names);
    return names;
}

int countPageFiles(const QString &folder, bool *ok)
{
    const QStringList names = plainFileNames(folder, ok);
    return int(std::count_if(names.begin(), names.end(), hasPageExtension));
}

// Where a name's extension begins (fileExtension's dot), or its size when it has none:
// cut by position, 50,000 names need no copies of their parts.
static qsizetype extensionStart(const QString &name)
{
    const qsizetype dot = name.lastIndexOf(u'.');
    if (dot < 0)
        return name.size();
    const QStringView tail = QStringView(name).sliced(dot);
    return tail.contains(u'/') || tail.contains(u'\\') ? name.size() : dot;
}

QStringList pageListOrder(const QStringList &names, const QString &exeBaseName)
{
    using namespace NavigationTexts;
    // Index pages first, then the others, each in the order given: one pass.
    QStringList list;
    list.reserve(names.size());
    QStringList others;
    others.reserve(names.size());
    for (const QString &name : names) {
        const qsizetype extension = extensionStart(name);
        if (QStringView(name).mid(extension).contains(u'$'))
            continue; // a command
        if (name.contains(IndexWord)) {
            if (!name.contains(HiddenPrefix))
                list << name;
        } else if (!name.startsWith(HiddenPrefix) && QStringView(name).left(extension) != exeBaseName) {
            others << name;
        }
    }
    list += others;
    return list;
}
