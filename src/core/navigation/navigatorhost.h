#pragma once

#include <QString>

// What the navigation state asks of the window that shows it. The main window
// implements it; tests give a fake. Every call has a harmless default so that a
// fake implements only what it watches.
class NavigatorHost
{
public:
    virtual ~NavigatorHost() = default;

    // Opens the current page of the top level by its type (the page buttons'
    // click, every command that moves the current page).
    virtual void PageClick() {}
    // Rebuilds the page buttons of the top level (after any change of the level).
    virtual void ReMake() {}
    // Builds the page buttons of the top level anew after they were dropped.
    virtual void BuildPageButtons() {}
    // Shows the page area without (true) or with (false) the side panels.
    virtual void ShowBrowserOnly(bool browserOnly) { Q_UNUSED(browserOnly); }
    // Shows folder in the folder tree.
    virtual void showFolderInTree(const QString &folder) { Q_UNUSED(folder); }

    // Shows an address (a file URL or a web address) in the main browser.
    virtual void showPage(const QString &url) { Q_UNUSED(url); }
    // Shows a picture file on the picture view.
    virtual void showPicture(const QString &path) { Q_UNUSED(path); }
    // Offers a file on the open panel ("起動", "コピー").
    virtual void showOpenPanel(const QString &path) { Q_UNUSED(path); }
    // Shows the placeholder page "*** NO PAGE ***" of the current folder.
    virtual void showNoPage() {}

    // A short message over the window for ms milliseconds.
    virtual void ShowFlashMessage(const QString &text, int ms) { Q_UNUSED(text); Q_UNUSED(ms); }
    // The update poll: paused while a page opens or a folder changes.
    virtual void pausePoll() {}
    virtual void resumePoll() {}

    // A folder being opened holds the record of a rename that did not end:
    // the host has it finished off the window's thread.
    virtual void renameLeftIn(const QString &folder) { Q_UNUSED(folder); }

    // The address of the document the main browser shows (its caption).
    virtual QString shownAddress() const { return {}; }
};
