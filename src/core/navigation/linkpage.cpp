#include "core/navigation/linkpage.h"

#include "core/commands/commandline.h"
#include "core/navigation/bottombar.h"
#include "core/navigation/navigator.h"
#include "core/navigation/navigatorhost.h"
#include "core/navigation/pathtext.h"
#include "core/pages/pagefile.h"

#include <QFileInfo>
#include <QUrl>

using namespace Qt::StringLiterals;

namespace {
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
        // "/$NEXT" itself is a command too, not an address to navigate to; a
        // local page or folder named with "$" is followed like any other.
        const QString resolved = decodeAddress(resolveLinkTarget(link.target, locationUrl));
        const bool local = resolved.startsWith(u"file:"_s, Qt::CaseInsensitive);
        const qsizetype start = local ? commandStart(resolved) : link.target.indexOf(u'$');
        if ((link.target.contains(u"/$"_s) || link.target.contains(u"\\$"_s)) && start >= 0) {
            plan.kind = LinkPagePlan::RunCommand;
            plan.commandLine = (local ? resolved : link.target).mid(start + 1) + u',';
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

CommandOrigin AfterLoadHost::documentOrigin() const
{
    return originOf(locationUrl());
}

AfterLoad::AfterLoad(Navigator &nav, AfterLoadHost &host, QString &lastLoadedUrl)
    : m_nav(nav)
    , m_host(host)
    , LastLoadedUrl(lastLoadedUrl)
{
}

void AfterLoad::documentComplete(const QString &eventUrl)
{
    m_host.setPostButtonEnabled(false);
    if (m_nav.PBan() < 0)
        return;
    m_host.processEvents();

    const QString location = m_host.locationUrl();
    const QString kind = documentKind(location);
    const bool page = isPageKind(kind);
    if (page)
        m_host.setPostButtonEnabled(true);
    if (location == LastLoadedUrl || !isProcessedKind(kind))
        return;
    LastLoadedUrl = location;
    m_host.setCaption(location);

    const QString path = CutNN(location);
    if (!path.isEmpty() && QFileInfo::exists(path)) {
        continueWithText(eventUrl, location, page ? readPageFile(path).text : QString());
    } else if (page) {
        const int serial = m_host.loadSerial();
        m_host.documentHtml([this, eventUrl, location, serial](const QString &html) {
            if (serial == m_host.loadSerial() && location == m_host.locationUrl())
                continueWithText(eventUrl, location, html);
        });
    } else {
        continueWithText(eventUrl, location, {});
    }
}

void AfterLoad::continueWithText(const QString &eventUrl, const QString &location, const QString &text)
{
    if (m_host.pageHasSound() && !m_host.soundHeldOff())
        m_host.armPageSound();
    if (!m_nav.HighlightCurrent) {
        m_nav.HighlightCurrent = true;
        return;
    }
    // A "$" of the data root's folders does not make the page a command.
    if (!isCommandAddress(decodeAddress(eventUrl))) {
        // The copy is of the document that was loaded, whatever page the level
        // thinks is open (a page reached through an ordinary link, say).
        if (wantsLowerPaneCopy(text))
            m_host.showInLowerPane(location);
        const QString linkText = replaceFirstAmp(text);
        m_host.setCaption(location);
        if (linkText.isEmpty())
            guard.ordinaryPage();
        else
            ProcessLinkPage(linkText, location);
    }
    if (m_nav.PBanSu() > 0) {
        m_host.showPosition(positionText(m_nav.PBan(), m_nav.PBanSu()));
        m_host.focusCurrentButton();
    }
}

void AfterLoad::ProcessLinkPage(const QString &text, const QString &locationUrl)
{
    if (m_nav.PBan() < 0)
        return;
    const LinkPagePlan plan = planLinkPage(text, locationUrl);
    if (plan.kind == LinkPagePlan::None) {
        guard.ordinaryPage();
        return;
    }
    if (!guard.beginExpansion())
        return;

    switch (plan.kind) {
    case LinkPagePlan::RunCommand:
        m_host.setDirIndexStep(1);
        m_host.RunCommandLine(plan.commandLine);
        break;
    case LinkPagePlan::Follow:
        m_host.setDirIndexStep(1);
        if (!plan.label.isEmpty())
            m_host.setCurrentButtonLabel(plan.label);
        m_host.followLink(plan.target);
        break;
    case LinkPagePlan::Level: {
        // The level replaces all but the first; its relative entries stay
        // relative to the folder of the link page, which RETURN then leaves.
        const QString linkFolder = m_nav.CurDir;
        while (m_nav.levels().height() > 1)
            m_nav.PopLevel();
        m_nav.CurDir = linkFolder;
        m_nav.PushLevel(plan.entries, plan.titles, 0, m_host.documentOrigin());
        if (NavigatorHost *host = m_nav.host()) {
            host->ReMake();
            host->PageClick();
        }
        break;
    }
    case LinkPagePlan::None:
        break;
    }
}
