#include "core/tools/linkvalues.h"

#include "core/pages/picturefile.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QUrl>

using namespace Qt::StringLiterals;

QList<QuotedValue> quotedValues(const QString &text, const QString &opening, Qt::CaseSensitivity cs)
{
    QList<QuotedValue> values;
    qsizetype at = 0;
    while ((at = text.indexOf(opening, at, cs)) >= 0) {
        const qsizetype start = at + opening.size();
        const qsizetype close = text.indexOf(u'"', start);
        if (close < 0)
            break;
        values << QuotedValue{start, close - start, text.mid(start, close - start)};
        at = close + 1;
    }
    return values;
}

QString cleanLinkValue(const QString &value)
{
    QString link = value.trimmed();
    link.replace(u"&amp;"_s, u"&"_s, Qt::CaseInsensitive);
    const qsizetype cut = link.indexOf(QRegularExpression(u"[#?]"_s));
    if (cut >= 0)
        link.truncate(cut);
    if (link.contains(u'%'))
        link = QUrl::fromPercentEncoding(link.toUtf8());
    link.replace(u'\\', u'/');
    return link;
}

QString linkFileNamePart(const QString &link)
{
    qsizetype cut = -1;
    for (const QChar separator : {u'/', u'\\', u':'})
        cut = std::max(cut, link.lastIndexOf(separator));
    return link.mid(cut + 1);
}

LinkResolver::LinkResolver(const QString &root, const QString &curDir)
    : m_root(QDir::cleanPath(root))
    , m_curDir(QDir::cleanPath(curDir))
{
}

bool LinkResolver::insideRoot(const QString &path) const
{
    return !m_root.isEmpty() && path.startsWith(m_root + u'/');
}

QString LinkResolver::resolve(const QString &folder, const QString &value)
{
    const QString path = pathOf(folder, value);
    return path.isEmpty() ? QString() : existing(path);
}

QString LinkResolver::pathOf(const QString &folder, const QString &value) const
{
    const QString link = cleanLinkValue(value);
    if (link.isEmpty())
        return {};
    QString path;
    if (link.startsWith(u"file:"_s, Qt::CaseInsensitive))
        path = QUrl(link).toLocalFile();
    else if (link.contains(u':'))
        return {}; // web and mail addresses, scripts, drives of a Windows peer
    else if (link.startsWith(u'/'))
        path = m_curDir + link;
    else
        path = folder + u'/' + link;
    path = QDir::cleanPath(path);
    return insideRoot(path) ? path : QString();
}

QString LinkResolver::existing(const QString &path)
{
    const QString clean = QDir::cleanPath(path);
    if (!insideRoot(clean))
        return {};
    if (QFileInfo(clean).isFile())
        return clean;
    const qsizetype slash = clean.lastIndexOf(u'/');
    const QString folder = clean.left(slash);
    if (!QFileInfo(folder).isDir())
        return findFileInFolder(m_root, clean.mid(m_root.size() + 1));
    auto listing = m_listings.find(folder);
    if (listing == m_listings.end()) {
        QHash<QString, QString> names;
        const QStringList files = QDir(folder).entryList(QDir::Files | QDir::Hidden);
        for (const QString &name : files)
            names.insert(name.toCaseFolded(), name);
        listing = m_listings.insert(folder, names);
    }
    const QString found = listing->value(clean.mid(slash + 1).toCaseFolded());
    return found.isEmpty() ? QString() : folder + u'/' + found;
}
