#pragma once

#include <QWebEnginePage>

#include <functional>

// The page of the main browser and of the lower pane: every navigation passes
// the main window's before-navigate gate, which may take it over.
class CommandPage : public QWebEnginePage
{
    Q_OBJECT
public:
    // gate gets the page, the address and whether it is the main frame; true lets
    // the browser navigate.
    using Gate = std::function<bool(QWebEnginePage *page, const QUrl &url, bool isMainFrame)>;

    CommandPage(QWebEngineProfile *profile, Gate gate, QObject *parent = nullptr);

protected:
    bool acceptNavigationRequest(const QUrl &url, NavigationType type, bool isMainFrame) override;

private:
    Gate m_gate;
};
