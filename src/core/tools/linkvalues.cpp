#include "core/tools/linkvalues.h"

#include "core/app/beneath.h"
#include "core/pages/picturefile.h"
#include "core/tools/folderentries.h"

#include <QDir>
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

bool isRefusedLinkName(const QString &name)
{
    static const QString refused = u"\"'<>/\\$"_s;
    return std::any_of(name.cbegin(), name.cend(),
                       [](QChar c) { return refused.contains(c) || c.category() == QChar::Other_Control; });
}

LinkResolver::LinkResolver(const QString &root, const QString &curDir)
    : m_root(QDir::cleanPath(root))
    , m_curDir(QDir::cleanPath(curDir))
    , m_listings(std::make_shared<QHash<QString, QHash<QString, QStringList>>>())
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

QStringList LinkResolver::namesLike(const QString &folder, const QString &name) const
{
    auto listing = m_listings->constFind(folder);
    if (listing == m_listings->cend()) {
        QHash<QString, QStringList> names;
        QStringList entries = folderEntries(folder);
        entries.sort();
        for (const QString &entry : std::as_const(entries))
            names[entry.toCaseFolded()] << entry;
        listing = m_listings->insert(folder, names);
    }
    return listing->value(name.toCaseFolded());
}

QString LinkResolver::existing(const QString &path)
{
    const QString clean = QDir::cleanPath(path);
    if (!insideRoot(clean))
        return {};
    if (Beneath::isFile(clean))
        return clean;
    const qsizetype slash = clean.lastIndexOf(u'/');
    const QString folder = clean.left(slash);
    if (!Beneath::isFolder(folder))
        return findFileInFolder(m_root, clean.mid(m_root.size() + 1));
    for (const QString &name : namesLike(folder, clean.mid(slash + 1)))
        if (Beneath::isFile(folder + u'/' + name))
            return folder + u'/' + name;
    return {};
}

LinkResolver LinkResolver::from(const QString &curDir) const
{
    LinkResolver other = *this;
    other.m_curDir = QDir::cleanPath(curDir);
    return other;
}

QString LinkResolver::key(const QString &path) const
{
    const QString clean = QDir::cleanPath(path);
    const qsizetype slash = clean.lastIndexOf(u'/');
    if (slash <= 0)
        return pathKey(clean);
    const QString name = clean.mid(slash + 1);
    const QStringList alike = namesLike(clean.left(slash), name);
    if (alike.size() < 2)
        return pathKey(clean);
    // No path holds a NUL: these keys never equal one without regard to case.
    return QChar(0) + pathKey(clean.left(slash + 1)) + (alike.contains(name) ? name : alike.constFirst());
}
