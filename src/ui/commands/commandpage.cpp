#include "ui/commands/commandpage.h"

CommandPage::CommandPage(QWebEngineProfile *profile, Gate gate, QObject *parent)
    : QWebEnginePage(profile, parent)
    , m_gate(std::move(gate))
{
}

bool CommandPage::acceptNavigationRequest(const QUrl &url, NavigationType type, bool isMainFrame)
{
    if (m_gate && !m_gate(this, url, isMainFrame))
        return false;
    return QWebEnginePage::acceptNavigationRequest(url, type, isMainFrame);
}
