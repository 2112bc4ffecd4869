#include "core/tools/linkwalk.h"

#include "core/app/beneath.h"
#include "core/app/smallfile.h"
#include "core/navigation/pathtext.h"
#include "core/pages/pagefile.h"

using namespace Qt::StringLiterals;

QStringList companionPaths(const QString &page)
{
    const QString base = pathWithoutExtension(page);
    return {base + u".wav"_s, base + u".%xt"_s};
}

PageText pageTextForLinks(const QString &path, bool lenient)
{
    PageText read = readPageFile(path);
    if (read.status != PageText::Undecodable)
        return read;
    const std::optional<QByteArray> bytes = readTextFile(path);
    if (!bytes)
        return read;
    // Names in a legacy page are found through its own code page.
    read = decodePageLegacy(*bytes);
    if (read.status == PageText::Undecodable && lenient) {
        read.text = QString::fromUtf8(*bytes);
        read.status = PageText::Ok;
    }
    return read;
}

LinkWalker::LinkWalker(LinkResolver &resolver, std::function<void(const QString &, const QString &)> commandLink)
    : m_resolver(resolver)
    , m_commandLink(std::move(commandLink))
{
}

void LinkWalker::add(QStringList &list, const QString &path)
{
    const QString key = pathKey(path);
    if (m_listed.contains(key))
        return;
    m_listed.insert(key);
    list << path;
    m_seen = list.size();
}

void LinkWalker::collect(const QString &file, QStringList &list, bool clear)
{
    if (clear) {
        list.clear();
        list << file;
    }
    // Entries the caller added since the last walk count as listed too.
    if (clear || m_seen > list.size()) {
        m_listed.clear();
        m_seen = 0;
    }
    for (; m_seen < list.size(); ++m_seen)
        m_listed.insert(pathKey(list.at(m_seen)));

    QStringList toWalk{file};
    QSet<QString> walked;
    while (!toWalk.isEmpty()) {
        const QString page = toWalk.takeLast();
        const QString key = pathKey(page);
        if (walked.contains(key))
            continue;
        walked.insert(key);
        for (const QString &companion : companionPaths(page)) {
            const QString found = m_resolver.existing(companion);
            if (!found.isEmpty())
                add(list, found);
        }
        if (fileExtension(page).toLower().contains(u".ht"_s) && Beneath::isFile(page))
            scan(page, file, list, toWalk);
    }
}

void LinkWalker::scan(const QString &page, const QString &start, QStringList &list, QStringList &toWalk)
{
    // A name missed in a page we cannot decode could be offered for deletion.
    const PageText read = pageTextForLinks(page, false);
    if (!read.ok()) {
        unreadable << page;
        return;
    }
    const QString &text = read.text;
    const QString folder = page.left(page.lastIndexOf(u'/'));

    struct Opening
    {
        QString text;
        bool follow; // framed pages and icons are walked in turn
        bool link;
    };
    static const Opening openings[] = {
        {u"src=\""_s, true, false},
        {u"<TITLE>\""_s, true, false},
        {u"background=\""_s, false, false},
        {u"href=\""_s, false, true},
    };
    for (const Opening &opening : openings) {
        for (const QuotedValue &value : quotedValues(text, opening.text, Qt::CaseInsensitive)) {
            if (opening.link) {
                const QString name = linkFileNamePart(cleanLinkValue(value.text));
                if (name.startsWith(u'$')) {
                    if (m_commandLink)
                        m_commandLink(start, name);
                    continue;
                }
            }
            const QString found = m_resolver.resolve(folder, value.text);
            if (found.isEmpty())
                continue;
            if (opening.follow && found.contains(u".htm"_s))
                toWalk << found;
            add(list, found);
        }
    }
}
