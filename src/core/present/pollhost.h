#pragma once

#include "core/present/polllook.h"

#include <QString>

// What the update poll needs of the main window. Each operation names the
// main window's own step it stands for.
class PollHost
{
public:
    virtual ~PollHost() = default;

    // HomeDir, the shared data root.
    virtual QString homeDir() const = 0;
    // TForm1.CutNN: the local path of a page address, empty for web addresses.
    virtual QString localPath(const QString &url) const = 0;
    // The address of the page the browser shows (the main window's caption).
    virtual QString openPageAddress() const = 0;

    // SpeedButton12's caption and picture.
    virtual void showPollLook(const PollLook &look) = 0;
    // SpeedButton13, the stop button.
    virtual void setStopEnabled(bool enabled) = 0;

    // The file to present: the picture or drawing on the picture panel (a
    // drawing saved first, so that the others see the latest strokes), else the
    // open page's local path. Empty when there is none.
    virtual QString fileToPresent() = 0;
    // The presentation was stopped here: end-drawing button hidden, start-drawing shown.
    virtual void presentationStopped() = 0;

    // Opening the viewer: the picture panel hidden, the placeholder page with
    // the given heading written into the data root (its path returned, empty
    // when it could not be written), and one wait of the wait timer.
    virtual void hidePicturePanel() = 0;
    virtual QString writeProgressPage(const QString &heading) = 0;
    virtual void waitOneTimerTick() = 0;

    // The open page: refreshed in the browser, or opened again (TForm1.PageClick).
    virtual void refreshPage() = 0;
    virtual void reopenPage() = 0;

    // The number of files the current folder lists now (FileListBox1), and the
    // count last looked at (FileCountSeen, which operations that add or remove
    // files themselves also set). A folder that cannot be listed reports the
    // count last seen.
    virtual int listedFileCount() const = 0;
    virtual int fileCountSeen() const = 0;
    virtual void setFileCountSeen(int count) = 0;

    // The level: the open page's index (TForm1.PBan) and entry, re-reading the
    // level at that index with the buttons rebuilt, and finding a page by name
    // ("GO " + name).
    virtual int pageIndex() const = 0;
    virtual QString pageEntry() const = 0;
    virtual void rereadLevel() = 0;
    virtual void goToPage(const QString &name) = 0;
};

// The stay-on-top viewer of the presented file.
class PresentationViewer
{
public:
    virtual ~PresentationViewer() = default;

    virtual bool isShown() const = 0;
    // The file the viewer shows (kept after it closes).
    virtual QString target() const = 0;
    // Shown in its normal state.
    virtual void showViewer() = 0;
    // Shows a page without taking it as its target (the placeholder page).
    virtual void showPage(const QString &path) = 0;
    // Takes path as its target, in its normal state, and loads it.
    virtual void showTarget(const QString &path) = 0;
    // Loads its target again, bypassing any cache.
    virtual void reload() = 0;
    // Closed by the poll: the presentation goes on for the others.
    virtual void closeViewer() = 0;
};
