#include "core/present/viewernavigation.h"

#include "core/app/beneath.h"
#include "core/commands/commandline.h"
#include "core/commands/navigationgate.h"

#include <QUrl>

ViewerStep viewerNavigation(const QString &address, bool mainFrame, const QString &homeDir)
{
    const QString decoded = decodeAddress(address);
    // The main window's gate, without a level: the viewer has none to follow.
    const GateDecision decision = decideNavigation(decoded, mainFrame, {}, 0, {}, homeDir);
    switch (decision.action) {
    case GateAction::RunCommands:
    case GateAction::RefuseOutside:
    case GateAction::ExploreFolder:
        return {ViewerStep::Stay, {}};
    case GateAction::OpenFile:
        return {ViewerStep::Open, decision.target};
    default:
        break;
    }
    // A local page that names nothing would show the browser's error page.
    const QUrl url(address);
    if (mainFrame && url.isLocalFile() && !Beneath::exists(url.toLocalFile()))
        return {ViewerStep::Stay, {}};
    return {ViewerStep::Follow, {}};
}
