#pragma once

#include "core/commands/commandorigin.h"

#include <QWebEnginePage>

#include <functional>

class QWebEngineProfile;
class QWebEngineView;

// Every browser of profile is refused the local files named in the data root
// whose real path leads out of it. Once per profile.
void keepBrowsersInDataRoot(QWebEngineProfile *profile);

// The page of the main browser and of the lower pane: every navigation passes
// the main window's before-navigate gate, which may take it over. The page
// knows on whose behalf its document was opened: the program's own loads are
// local unless made for a page (load(url, origin)); a link, a script, a frame
// or a redirect asks on behalf of the shown document; and whatever leaves the
// file: scheme is the web's from then on. A local page or picture too large to
// show, or an SVG, is shown as its name (and size), whoever asked for it; a
// local picture too large is not fetched for a page; a pane whose browser
// process ended says so.
class CommandPage : public QWebEnginePage
{
    Q_OBJECT
public:
    // gate gets the page, the address, whether it is the main frame and the
    // origin of whoever asked; true lets the browser navigate. Without a gate
    // every navigation goes on.
    using Gate = std::function<bool(QWebEnginePage *page, const QUrl &url, bool isMainFrame, CommandOrigin asking)>;

    CommandPage(QWebEngineProfile *profile, Gate gate, QObject *parent = nullptr);

    // The page of a view, when it is one of ours.
    static CommandPage *of(QWebEngineView *view);

    // Loads url on behalf of a document of the given origin.
    void load(const QUrl &url, CommandOrigin origin);
    // Loads into view on behalf of origin; a view without our page just loads.
    static void load(QWebEngineView *view, const QUrl &url, CommandOrigin origin);

    // The origin of the document shown, or being loaded, in the main frame.
    CommandOrigin origin() const { return m_shown; }
    // Counts the documents the main frame went to.
    int loadSerial() const { return m_serial; }

protected:
    bool acceptNavigationRequest(const QUrl &url, NavigationType type, bool isMainFrame) override;

private:
    Gate m_gate;
    CommandOrigin m_requested = CommandOrigin::LocalPage;
    CommandOrigin m_shown = CommandOrigin::LocalPage;
    int m_serial = 0;
    // The load serial of the notice that the browser process ended.
    int m_endedNotice = -1;
};
