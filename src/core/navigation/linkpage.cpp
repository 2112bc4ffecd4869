#include "core/navigation/linkpage.h"

#include <QUrl>

using namespace Qt::StringLiterals;

namespace {
bool isWebAddress(const QString &text)
{
    return text.contains(u"http://"_s, Qt::CaseInsensitive) || text.contains(u"https://"_s, Qt::CaseInsensitive);
}

// The quoted value after "href=" found at or after from: the positions of its
// opening and closing quotes, or false when the quotes are missing.
bool nextHrefValue(const QString &text, qsizetype from, qsizetype *open, qsizetype *close)
{
    const qsizetype href = text.indexOf(u"href="_s, from);
    if (href < 0)
        return false;
    *open = text.indexOf(u'"', href + 5);
    if (*open < 0)
        return false;
    *close = text.indexOf(u'"', *open + 1);
    return *close >= 0;
}

// Text from `from` up to the next "<" (or the end).
QString upToTag(const QString &text, qsizetype from)
{
    const qsizetype lt = text.indexOf(u'<', from);
    return text.mid(from, lt < 0 ? -1 : lt - from);
}
} // namespace

QString documentKind(const QString &locationUrl)
{
    const qsizetype dot = locationUrl.lastIndexOf(u'.');
    if (dot < 0)
        return {};
    for (qsizetype i = dot + 1; i < locationUrl.size(); ++i) {
        const QChar c = locationUrl.at(i);
        if (c == u'\\' || c == u'/' || c == u':')
            return {};
    }
    return locationUrl.mid(dot).toUpper();
}

bool isPageKind(const QString &kind)
{
    return kind.contains(u".HTM"_s);
}

bool isProcessedKind(const QString &kind)
{
    return isPageKind(kind) || kind.contains(u".JTD"_s) || kind.contains(u".PDF"_s);
}

bool wantsLowerPaneCopy(const QString &pageText)
{
    const QString text = pageText.toLower();
    qsizetype open = 0;
    qsizetype close = -1;
    while (nextHrefValue(text, close + 1, &open, &close)) {
        const QStringView value = QStringView(text).mid(open + 1, close - open - 1);
        if (value.contains(u'$') && value.contains(u'【'))
            return true;
    }
    return false;
}

QString replaceFirstAmp(const QString &pageText)
{
    QString text = pageText;
    const qsizetype amp = text.indexOf(u"&amp;"_s);
    if (amp >= 0)
        text.replace(amp, 5, u"&"_s);
    return text;
}

bool isLinkPage(const QString &pageText)
{
    return pageText.contains(LinkPageText::Marker) && !pageText.contains(LinkPageText::NotLink);
}

QList<LinkPageLink> linkPageLinks(const QString &pageText)
{
    QString text = pageText;
    text.replace(u"HREF="_s, u"href="_s);
    QList<LinkPageLink> links;
    qsizetype open = 0;
    qsizetype close = -1;
    while (nextHrefValue(text, close + 1, &open, &close)) {
        LinkPageLink link;
        link.target = text.mid(open + 1, close - open - 1);
        const qsizetype marker = text.indexOf(LinkPageText::Marker, open + 1);
        if (marker >= 0)
            link.label = upToTag(text, marker + LinkPageText::Marker.size());
        const qsizetype gt = text.indexOf(u'>', close + 1);
        if (gt >= 0)
            link.text = upToTag(text, gt + 1);
        links.append(link);
    }
    return links;
}

QString resolveLinkTarget(const QString &target, const QString &pageUrl)
{
    const QUrl base(pageUrl);
    QString written = target;
    if (!isWebAddress(written) && !base.scheme().startsWith(u"http"_s))
        written.replace(u'\\', u'/');
    const QUrl link(written);
    if (!link.isRelative() || !base.isValid() || base.isRelative())
        return target;
    return base.resolved(link).toString();
}

LinkPagePlan planLinkPage(const QString &pageText, const QString &locationUrl)
{
    LinkPagePlan plan;
    if (!isLinkPage(pageText))
        return plan;
    const QList<LinkPageLink> links = linkPageLinks(pageText);
    if (links.isEmpty())
        return plan;

    if (links.size() == 1) {
        const LinkPageLink &link = links.constFirst();
        // "/$NEXT" itself is a command too, not an address to navigate to.
        if (link.target.contains(u"/$"_s) || link.target.contains(u"\\$"_s)) {
            plan.kind = LinkPagePlan::RunCommand;
            plan.commandLine = link.target.mid(link.target.indexOf(u'$') + 1) + u',';
        } else {
            plan.kind = LinkPagePlan::Follow;
            plan.target = resolveLinkTarget(link.target, locationUrl);
            plan.label = link.label;
        }
        return plan;
    }

    plan.kind = LinkPagePlan::Level;
    const bool fromWeb = isWebAddress(locationUrl);
    const QString webFolder = locationUrl.left(locationUrl.lastIndexOf(u'/') + 1);
    for (const LinkPageLink &link : links) {
        plan.entries.append(fromWeb && !isWebAddress(link.target) ? webFolder + link.target : link.target);
        plan.titles.append(link.text);
    }
    return plan;
}

bool LinkExpansionGuard::beginExpansion()
{
    if (!m_awaiting)
        m_chain = 0;
    if (m_chain >= Limit) {
        m_awaiting = false;
        return false;
    }
    ++m_chain;
    m_awaiting = true;
    return true;
}

void LinkExpansionGuard::ordinaryPage()
{
    m_chain = 0;
    m_awaiting = false;
}
