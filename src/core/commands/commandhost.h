#pragma once

#include "core/commands/commandparse.h"

#include <QString>

#include <functional>

// How a download ended.
enum class FetchResult { Saved, NotFetched, WriteFailed };

// What the command interpreter asks of the main window beyond the navigation
// host: the lower pane, outside programs, files and the caption. The main window
// implements it; tests give a fake. Every call has a harmless default.
class CommandHost
{
public:
    virtual ~CommandHost() = default;

    // Opens the current page again without loading it: restyles the buttons and
    // closes the lower pane (the empty command).
    virtual void refreshPage() {}

    // Scrolls the lower pane to its top (search false) or shows the first place
    // of text in it (search true). A text beginning with "_" opens the pane; see
    // lowerPaneSearch().
    virtual void FindInPage(const QString &text, bool search)
    {
        Q_UNUSED(text);
        Q_UNUSED(search);
    }

    // The desktop folder, without a trailing separator.
    virtual QString desktopFolder() const { return {}; }

    // The window caption, for the download progress; afterwards it shows the
    // open page's address again (the navigation host's shownAddress()).
    virtual void setCaption(const QString &caption) { Q_UNUSED(caption); }

    // Opens a folder in the file manager ("dir").
    virtual void exploreFolder(const QString &folder) { Q_UNUSED(folder); }
    // Records the page sound into file ("WAV").
    virtual void RecordSound(const QString &file) { Q_UNUSED(file); }
    // Starts the paint program on a picture without waiting ("PAINT").
    virtual void startPaint(const QString &picture) { Q_UNUSED(picture); }

    // Fetches url into file; progress gets the running byte count.
    virtual FetchResult download(const QString &url, const QString &file, const std::function<void(qint64)> &progress)
    {
        Q_UNUSED(url);
        Q_UNUSED(file);
        Q_UNUSED(progress);
        return FetchResult::NotFetched;
    }
    // Copies a file, replacing the target, through a temporary file beside it.
    virtual bool copyFile(const QString &from, const QString &to)
    {
        Q_UNUSED(from);
        Q_UNUSED(to);
        return false;
    }
    // Starts a program; when the call waits, the window is disabled until it ends
    // and input made meanwhile is dropped.
    virtual bool runProgram(const ProgramCall &call)
    {
        Q_UNUSED(call);
        return false;
    }
    // Moves a file to the trash; false when it stays.
    virtual bool moveToTrash(const QString &file)
    {
        Q_UNUSED(file);
        return false;
    }
    // Lets pending window events run (before a variable file changes, as the
    // page may still be posting its script).
    virtual void processEvents() {}
};
