#pragma once

#include "core/navigation/levelprefetch.h"
#include "core/navigation/levelstack.h"

#include <QString>

#include <memory>
#include <optional>

class LevelPrefetch;
class NavigatorHost;

// The navigation state of the main window: the data root, the shown folder
// and the stack of entered levels, with the operations every part of the
// program moves through. Paths use "/"; CurDir and HomeDir have no trailing
// separator, ExeDir has one.
class Navigator
{
public:
    explicit Navigator(NavigatorHost *host = nullptr);
    ~Navigator();

    NavigatorHost *host() const { return m_host; }
    void setHost(NavigatorHost *host);

    // Derives ExeBaseName, ExeDir, HomeDir and CurDir from the program file.
    void setProgramPath(const QString &programFile);

    QString ExeBaseName;
    QString ExeDir;
    QString HomeDir;
    QString CurDir;
    // The page-command counter, 0 whenever a page is opened.
    int CommandCounter = 0;
    // The number of files listed in CurDir at the last listing (the poll compares it).
    int FileCountSeen = 0;
    // Makes FileCountSeen the count of CurDir again after CurDir was set
    // directly (it counts the folder only then).
    void keepFileCountWithCurDir();
    // Whether the next page opening highlights the current button.
    bool HighlightCurrent = true;

    // The entered levels, their titles complete.
    LevelStack &levels()
    {
        completeTitles();
        return m_levels;
    }
    const LevelStack &levels() const
    {
        completeTitles();
        return m_levels;
    }
    // The top level's entries, and the title of its entry i: these do not wait
    // for titles still being read beyond the first ones (see LevelPrefetch),
    // so that the start shows its first page and buttons without them.
    const QStringList &entries() const;
    QString title(int i) const;
    // Lets the titles the start left for later be read now, on their own thread.
    void readRemainingTitles();

    // Makes folder the current folder and its page list the top level with
    // index as current page; push adds a level, otherwise the top level is
    // replaced (re-read in place). Returns false when the folder could not be
    // listed: the level is then empty. A folder out of the data root (a link
    // another PC made, a path named elsewhere) is not entered: the user is told,
    // nothing changes, and false is returned.
    bool OpenFolderLevel(const QString &folder, int index, bool push);
    // Whether OpenFolderLevel enters folder: it lies in the data root.
    bool entersFolder(const QString &folder) const;
    // Starts reading folder's level ahead, for the next OpenFolderLevel of that
    // folder to take while the folder has not changed (see LevelPrefetch).
    void prefetchLevel(const QString &folder);
    // The same with a reading started earlier (before the window existed): it
    // is kept when it reads that folder's level for this program, else
    // dropped and the level read ahead anew.
    void prefetchLevel(const QString &folder, std::unique_ptr<LevelPrefetch> started);
    // What was read ahead is no longer what the folder holds (this program wrote there).
    void forgetPrefetch();
    // The level of a folder as another thread read it a moment ago (the
    // rename worker after its moves): the next OpenFolderLevel of that folder
    // takes it instead of reading the folder on this thread.
    void useListing(LevelListing listing);
    // Reads the titles of the top level's entries.
    void LoadPageTitles();
    // Reads one title of the top level again after its page was edited.
    void TiteleLoad(int index);

    // The current page index of the top level, -1 without a level.
    int PBan() const;
    // Sets the top level's current index (never below 0); nothing without a level.
    void PBanSave(int index);
    // The number of entries of the top level, 0 without a level.
    int PBanSu() const;

    // Pushes a level of one's own (search results, keyword links, link pages),
    // its entries relative to CurDir; origin: whose behalf its pages open on.
    void PushLevel(const QStringList &entries, const QStringList &titles, int index,
                   CommandOrigin origin = CommandOrigin::LocalPage);
    // On whose behalf the current page opens: the web's for the pages of a level
    // made from a web link page, and for every page from the moment a command
    // that a web page sent moved between pages until the user acts on the
    // program himself. A local page the web chose then runs no command of its own.
    CommandOrigin pageOrigin() const;
    // A command of origin is about to move between pages.
    void movedOnBehalfOf(CommandOrigin origin);
    // The user pressed a key or a button of the program's own.
    void userActed() { m_webChosePage = false; }

    // Returns from a pushed level to the one below and its folder; with one
    // level, moves to its first page.
    void PopLevel();
    // Leaves a sub-list (NEXT past the last page): pops and rebuilds the buttons.
    void GoBackLevel();
    // Back to the data root as the only level, first page, shown.
    void GoHome();
    // The current page's file is gone: another PC renamed or removed it after
    // the level was read. A folder's own level is read again in place, the
    // buttons rebuilt, the user told that the folder changed, and the page now
    // at that place in the order opened; true when so. False for a level that
    // is no folder's listing (search results, keywords, a link page) and while
    // the level read again for this still finds the page gone.
    bool openAfterPageGone();

    // Entry i of the top level; empty when there is none.
    QString entry(int i) const;
    QString currentEntry() const { return entry(PBan()); }
    // The local path of entry i against CurDir; empty for a web address.
    QString entryPath(int i) const;

private:
    NavigatorHost *m_host;
    mutable LevelStack m_levels;
    void keepCountOfShownLevel();
    // The folder whose files FileCountSeen counts.
    QString m_countFolder;
    bool m_goingHome = false;
    bool m_rereadingGone = false;
    bool m_webChosePage = false;
    std::unique_ptr<LevelPrefetch> m_prefetch;
    std::optional<LevelListing> m_listing;
    // The reading that still owes the top level its titles from m_restFrom
    // on; every look at the levels and every change of them takes them first.
    void completeTitles() const;
    mutable std::unique_ptr<LevelPrefetch> m_restTitles;
    mutable qsizetype m_restFrom = 0;
};

// The data root of a program file: the folder beside it named after its base
// name, or base name + "_data" when the program file has no extension (a folder
// of that name cannot sit beside it).
QString dataRootFor(const QString &programFile);
