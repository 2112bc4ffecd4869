#include "ui/commands/commandpage.h"

#include "core/app/rootpath.h"
#include "core/present/picturecap.h"

#include <QTimer>
#include <QWebEngineProfile>
#include <QWebEngineUrlRequestInterceptor>
#include <QWebEngineView>

namespace {

// A local picture too large to decode, named by a page, is never fetched: the
// page shows it as a picture that failed.
class PictureBound : public QWebEngineUrlRequestInterceptor
{
public:
    using QWebEngineUrlRequestInterceptor::QWebEngineUrlRequestInterceptor;
    void interceptRequest(QWebEngineUrlRequestInfo &info) override
    {
        const QUrl url = info.requestUrl();
        switch (info.resourceType()) {
        case QWebEngineUrlRequestInfo::ResourceTypeImage: // <img>, CSS backgrounds, posters
        case QWebEngineUrlRequestInfo::ResourceTypeFavicon:
        case QWebEngineUrlRequestInfo::ResourceTypeObject:
            if (url.isLocalFile() && oversizedPicture(url.toLocalFile()))
                info.block(true);
            break;
        default:
            break;
        }
    }
};

// Nothing named in the data root that leads out of it reaches any browser of
// the program (a page, a picture, a style, a script, a frame, a print), through
// whatever view or page asks for it.
class RootBound : public QWebEngineUrlRequestInterceptor
{
public:
    using QWebEngineUrlRequestInterceptor::QWebEngineUrlRequestInterceptor;
    void interceptRequest(QWebEngineUrlRequestInfo &info) override
    {
        const QUrl url = info.requestUrl();
        if (url.isLocalFile() && leadsOutOfDataRoot(url.toLocalFile()))
            info.block(true);
    }
};

} // namespace

void keepBrowsersInDataRoot(QWebEngineProfile *profile)
{
    if (profile && !profile->findChild<RootBound *>())
        profile->setUrlRequestInterceptor(new RootBound(profile));
}

CommandPage::CommandPage(QWebEngineProfile *profile, Gate gate, QObject *parent)
    : QWebEnginePage(profile, parent)
    , m_gate(std::move(gate))
{
    setUrlRequestInterceptor(new PictureBound(this));
    // A browser process that ended (killed, out of memory) leaves a blank pane:
    // it says so, and the next page starts a new one.
    // Once: a process that cannot even show that would start over for ever.
    connect(this, &QWebEnginePage::renderProcessTerminated, this, [this](RenderProcessTerminationStatus status) {
        if (status == NormalTerminationStatus || m_serial == m_endedNotice)
            return;
        m_endedNotice = m_serial + 1;
        QTimer::singleShot(0, this, [this] { setHtml(rendererEndedHtml()); });
    });
}

CommandPage *CommandPage::of(QWebEngineView *view)
{
    return view ? qobject_cast<CommandPage *>(view->page()) : nullptr;
}

void CommandPage::load(const QUrl &url, CommandOrigin origin)
{
    // The load reaches the gate later; a later load of ours replaces this one.
    m_requested = origin;
    setUrl(url);
}

void CommandPage::load(QWebEngineView *view, const QUrl &url, CommandOrigin origin)
{
    if (CommandPage *page = of(view))
        page->load(url, origin);
    else if (view)
        view->setUrl(url);
}

bool CommandPage::acceptNavigationRequest(const QUrl &url, NavigationType type, bool isMainFrame)
{
    const CommandOrigin asking = type == NavigationTypeTyped ? m_requested : m_shown;
    if (m_gate && !m_gate(this, url, isMainFrame, asking))
        return false;
    // However it was reached (a page button, a link, a peer's presentation),
    // a page or picture too large for the browser, or an SVG, shows as its name.
    if (url.isLocalFile()) {
        if (const std::optional<QString> html = documentInPlaceOf(url.toLocalFile())) {
            if (isMainFrame)
                QTimer::singleShot(0, this, [this, html = *html] { setHtml(html); });
            return false;
        }
    }
    if (!QWebEnginePage::acceptNavigationRequest(url, type, isMainFrame))
        return false;
    if (isMainFrame) {
        const QString address = url.toString(QUrl::FullyEncoded);
        // A jump within the shown document is no new load.
        const bool sameDocument = url.adjusted(QUrl::RemoveFragment) == this->url().adjusted(QUrl::RemoveFragment)
                                  && type != NavigationTypeTyped && type != NavigationTypeReload;
        m_shown = originAfterNavigation(asking, address);
        if (!sameDocument)
            ++m_serial;
    }
    return true;
}
