#include "core/navigation/pathtext.h"

#include <QRegularExpression>
#include <QUrl>

using namespace Qt::StringLiterals;

QString RepeatString(const QString &s, int n)
{
    return n <= 0 ? QString() : s.repeated(n);
}

QString seitou(const QString &s)
{
    static const QString unsafe = u"'*?/<>|\""_s;
    QString result = s;
    for (QChar &c : result) {
        if (unsafe.contains(c))
            c = u'_';
    }
    return result;
}

QString DecodePercent20(const QString &s)
{
    QString result = s;
    return result.replace(u"%20"_s, u" "_s);
}

QString UrlLastSegment(const QString &s)
{
    return s.mid(s.lastIndexOf(u'/') + 1);
}

bool isWebAddress(const QString &s)
{
    return s.contains(u"http://"_s, Qt::CaseInsensitive) || s.contains(u"https://"_s, Qt::CaseInsensitive);
}

static QString toBackslashes(QString s)
{
    return s.replace(u'/', u'\\');
}

static bool startsWithDrive(const QString &s)
{
    return s.size() >= 2 && s.at(1) == u':' && s.at(0).isLetter() && s.at(0).unicode() < 128;
}

// A file URL as a path: ours as it is, a Windows drive or share in Windows form.
static QString fileUrlToPath(const QString &fileUrl)
{
    const QUrl url(fileUrl, QUrl::TolerantMode);
    if (!url.host().isEmpty())
        return u"\\\\"_s + url.host() + toBackslashes(url.path(QUrl::FullyDecoded));
    const QString path = url.path(QUrl::FullyDecoded);
    if (path.startsWith(u'/') && startsWithDrive(path.mid(1)))
        return toBackslashes(path.mid(1));
    return url.toLocalFile();
}

static bool isShareAddress(const QString &address)
{
    const qsizetype at = address.indexOf(u"file:"_s, 0, Qt::CaseInsensitive);
    return at >= 0 && !QUrl(address.mid(at)).host().isEmpty();
}

QString CutNN(const QString &url, const QString &shownAddress)
{
    if (isWebAddress(url))
        return {};
    QString result = url;
    const qsizetype at = url.indexOf(u"file://"_s, 0, Qt::CaseInsensitive);
    if (at >= 0)
        result = fileUrlToPath(url.mid(at));
    if (!result.isEmpty() && !result.startsWith(u"\\\\"_s) && !result.startsWith(u'/')
        && isShareAddress(shownAddress))
        result.prepend(u"\\\\"_s);
    return result;
}

QString ResolveRelativeLink(const QString &link, const QString &curDir)
{
    const QChar sep = pathSeparatorOf(curDir);
    const qsizetype fileAt = link.indexOf(u"file:///"_s);
    if (fileAt >= 0) {
        const QString rest = link.mid(fileAt + 8);
        return startsWithDrive(rest) ? rest : QUrl(link.mid(fileAt)).toLocalFile();
    }
    const qsizetype up = link.indexOf(u"../"_s);
    if (up >= 0)
        return ExtractDirPart(curDir) + link.mid(up + 3);
    const qsizetype here = link.indexOf(u"./"_s);
    if (here >= 0)
        return curDir + sep + link.mid(here + 2);
    if (link.startsWith(u'/'))
        return curDir + sep + link.mid(1);
    return link;
}

static qsizetype lastSeparator(const QString &s, qsizetype from = -1)
{
    return std::max(s.lastIndexOf(u'\\', from), s.lastIndexOf(u'/', from));
}

QString ExtractDirPart(const QString &s)
{
    return s.left(lastSeparator(s) + 1);
}

QString LastFolderName(const QString &s)
{
    const qsizetype last = lastSeparator(s);
    if (last < 0)
        return {};
    const qsizetype before = last > 0 ? lastSeparator(s, last - 1) : -1;
    return s.mid(before + 1, last - before - 1);
}

QChar pathSeparatorOf(const QString &dir)
{
    return (!dir.startsWith(u'/') && dir.contains(u'\\')) ? u'\\' : u'/';
}

QString joinPath(const QString &dir, const QString &name)
{
    const QChar sep = pathSeparatorOf(dir);
    QString tail = name;
    tail.replace(sep == u'/' ? u'\\' : u'/', sep);
    if (dir.endsWith(sep))
        return dir + tail;
    return dir + sep + tail;
}

static bool isFileUrlOrDrivePath(const QString &entry)
{
    return entry.contains(u"file:"_s, Qt::CaseInsensitive) || startsWithDrive(entry);
}

bool isWholeEntry(const QString &entry)
{
    return isWebAddress(entry) || entry.startsWith(u'/') || entry.startsWith(u"\\\\"_s) || isFileUrlOrDrivePath(entry);
}

QString entryLocalPath(const QString &curDir, const QString &entry)
{
    if (isWebAddress(entry))
        return {};
    if (entry.startsWith(u'/') || entry.startsWith(u"\\\\"_s))
        return entry;
    // A drive path from a Windows peer stays as it is: here it names no file.
    if (isFileUrlOrDrivePath(entry))
        return CutNN(entry);
    return joinPath(curDir, entry);
}

QString fileNameOf(const QString &path)
{
    return path.mid(lastSeparator(path) + 1);
}

static qsizetype extensionDot(const QString &path)
{
    const qsizetype dot = path.lastIndexOf(u'.');
    return dot > lastSeparator(path) ? dot : -1;
}

QString fileExtension(const QString &path)
{
    const qsizetype dot = extensionDot(path);
    return dot < 0 ? QString() : path.mid(dot);
}

QString pathWithoutExtension(const QString &path)
{
    const qsizetype dot = extensionDot(path);
    return dot < 0 ? path : path.left(dot);
}
