#pragma once

#include <QString>

// What the presentation viewer does with a navigation its page asks for (a
// click, a script, a redirect). The viewer shows what a copy presents: it runs
// no command and never shows the browser's error page; an ordinary link is
// followed as in a browser.
struct ViewerStep
{
    enum Action {
        Follow, // the viewer navigates
        Stay,   // nothing happens: a command, a folder, a name that names nothing or leads out of the data root
        Open,   // path: the file the address names in another case, opened in its place
    };
    Action action = Follow;
    QString path;
};

// address: as the browser reports it (percent escapes kept); mainFrame: the
// viewer's own document navigates, not a frame in it; homeDir: the data root.
ViewerStep viewerNavigation(const QString &address, bool mainFrame, const QString &homeDir);
