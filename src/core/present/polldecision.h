#pragma once

#include <QString>

// What one tick of the update poll does, decided from what it has seen. The
// tick gathers the inputs (marker, stamps, file count), asks decidePoll and
// carries the decision out; the rules live here, free of files and windows.

struct PollInputs
{
    // The presented file as found in our data root (empty when no marker names
    // one), whether it exists, and its stamp text.
    QString target;
    bool targetExists = false;
    QString targetStamp;

    // The viewer window: shown or not, the file it shows, and that file's stamp
    // when the viewer last loaded it.
    bool viewerShown = false;
    QString viewerTarget;
    QString viewerStamp;

    // The open page; looked at only while nothing is presented. pageStamp is the
    // stamp just read, or the watched stamp when it could not be read.
    QString pagePath;
    QString pageStamp;
    QString watchedPath;
    QString watchedStamp;

    // The current folder: files listed now and at the last look, the open page's
    // index in the level and its entry.
    int fileCount = 0;
    int fileCountSeen = 0;
    int pageIndex = 0;
    QString pageEntry;
};

struct PollDecision
{
    enum class Viewer {
        None,
        Open,     // show the viewer and load the target
        Retarget, // the viewer shows another file: load the target
        Reload,   // the presented file changed: load it again
        Close,    // nothing presented any more
    };
    enum class Page {
        None,
        Refresh, // a web page changed: refresh it in the browser
        Reopen,  // another file changed: open it again
    };
    enum class Level {
        None,
        Reread,        // re-read the level at the same index and open that page
        RereadAndFind, // re-read it, find the open page again by name, open it
    };

    Viewer viewer = Viewer::None;
    Page page = Page::None;
    QString watchedStamp;
    Level level = Level::None;
    int fileCountSeen = 0;
    QString findName; // for RereadAndFind: the entry's file name without extension
};

PollDecision decidePoll(const PollInputs &in);

// The viewer's part of decidePoll: it needs only the presented file and the
// viewer's inputs.
PollDecision::Viewer decideViewer(const PollInputs &in);

// The file name of a level entry ("sub\page.html" or "page.html") without its
// folders and its extension.
QString entryNameWithoutExtension(const QString &entry);
