#pragma once

#include <QString>
#include <QStringList>

// The decision the browsers' before-navigate gate takes for an address, in this
// order: page-list sync, folder, sound, video, command line; else the browser
// navigates. The address is the one the browser reports, percent escapes decoded.
enum class GateAction {
    Proceed,        // the browser navigates
    SyncPageList,   // entry index becomes current and opens; the browser navigates too
    ExploreFolder,  // target: the local folder, shown in the file manager
    PlaySound,      // target: the sound file or address
    OpenExternally, // target: a video on the web, opened whole by the desktop
    PlayVideo,      // target: a local video address for the media player
    RunCommands,    // the address is a command line
    OpenFile,       // target: the file a local address names in another case
    RefuseOutside,  // target: a file of the data root that is a link out of it: not shown
};

struct GateDecision
{
    GateAction action = GateAction::Proceed;
    int index = -1;
    QString target;
};

// mainFrame: the window's own document navigates, not a frame in it. entries,
// current and curDir: the shown level and its folder; current is -1 without a
// level (then every navigation goes on). The level follows only the main frame
// going to exactly the address an entry opens at. homeDir: the data root, below
// which a local address of the main frame that names nothing is looked up
// without regard to case (links written on Windows); none without it.
GateDecision decideNavigation(const QString &address, bool mainFrame, const QStringList &entries, int current,
                              const QString &curDir, const QString &homeDir = {});

// The title the gate lays the window out by: the TITLE element of the page the
// address names (one of our own pages), else currentTitle, the shown level's
// title at current (none at index 0).
QString navigationTitle(const QString &address, const QString &currentTitle, int current);

// A title page is shown without the side panels.
bool isTitlePageTitle(const QString &title);
