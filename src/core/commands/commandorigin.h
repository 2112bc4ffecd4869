#pragma once

#include <QList>
#include <QString>

#include <optional>

// Where a command line comes from. Pages loaded from the web may only move
// between pages and search. Every navigation the program makes on a page's
// behalf (a followed link page, a level of links, a frame, a redirect) keeps the
// origin of the page that asked, so a chain that began on the web stays web.
enum class CommandOrigin { LocalPage, WebPage };

// The origin of the document a browser shows after it went to address on
// behalf of asking: a file: address keeps the asker's origin; the web and every
// other scheme (data:, blob:, about:) count as the web.
CommandOrigin originAfterNavigation(CommandOrigin asking, const QString &address);

// The origin the commands of a command address run with, asked by asking:
// file: addresses and text without a scheme keep it, web addresses are web.
// Empty when the scheme can never run commands (data:, javascript:, blob: ...).
std::optional<CommandOrigin> commandOriginOf(CommandOrigin asking, const QString &address);

// A command that reopens its own page must not run again by itself: a page
// that auto-runs a command which lists the folder and opens the page again
// would start over for ever. A page may run commands as often as it likes
// within one load; once it has run one, its later loads run none until the
// user presses a key or a mouse button.
class CommandLoopGuard
{
public:
    // True when the page at pageAddress, in its load number load, may run a command.
    bool mayRun(const QString &pageAddress, int load);
    void userActed() { m_runs.clear(); }

private:
    struct Run
    {
        QString page;
        int load;
    };
    QList<Run> m_runs;
};
