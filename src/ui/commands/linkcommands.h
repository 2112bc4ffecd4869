#pragma once

#include "core/commands/commandhost.h"
#include "core/commands/commandinterpreter.h"
#include "core/commands/userpress.h"

#include <QElapsedTimer>
#include <QObject>

#include <functional>

class QUrl;
class QWebEnginePage;
class TForm1;

// The link commands of the main window: the before-navigate gate of WebBrowser1
// and WebBrowser2, the command interpreter, and what commands ask of the window
// (the lower pane, the caption, programs, downloads). Made once, right after the
// main window and before its first page, which it must see already.
class LinkCommands : public QObject, public CommandHost
{
    Q_OBJECT
public:
    explicit LinkCommands(TForm1 &form);
    ~LinkCommands() override;

    // The before-navigate gate: true lets the browser navigate. Commands, page
    // switches and players run after it has answered. asking: the origin of
    // whoever asked for the navigation.
    bool WebBrowser1BeforeNavigate2(QWebEnginePage *page, const QUrl &url, CommandOrigin asking,
                                    bool isMainFrame = true);

    // TForm1.RunCommandLine and TForm1.TXTcommand.
    void RunCommandLine(const QString &line);
    void TXTcommand(const QString &command);

    // A program item of the page menu: starts the shortcut shortcutName of the
    // current folder on the open page, then opens the page again.
    void F10Click(const QString &shortcutName);

    CommandInterpreter &interpreter() { return m_interpreter; }

    // The height of the lower pane set by the last search that opened it.
    int LowerPaneHeight = 0;

    // Set by the windows that later issues build; without them the step does
    // nothing, or opens the file with its program where that serves the user.
    std::function<void(const QString &file)> recordSound;  // WAV: the sound recorder
    std::function<void(const QString &address)> playVideo; // local videos: the media player

    // ---- CommandHost
    void refreshPage() override;
    void FindInPage(const QString &text, bool search) override;
    QString desktopFolder() const override;
    void setCaption(const QString &caption) override;
    void exploreFolder(const QString &folder) override;
    void RecordSound(const QString &file) override;
    void startPaint(const QString &picture) override;
    FetchResult download(const QString &url, const QString &file,
                         const std::function<void(qint64)> &progress) override;
    bool copyFile(const QString &from, const QString &to) override;
    bool runProgram(const ProgramCall &call) override;
    bool moveToTrash(const QString &file) override;
    void processEvents() override;

protected:
    // Any key or mouse press is the user's action (see CommandLoopGuard).
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void installGate();
    void applyNavigationLayout(const QString &address);
    // Whether the document of page may run a command now: not while a program
    // is waited for, and not again after reopening itself without the user.
    bool mayRunFrom(QWebEnginePage *page);
    // Whether the document of page, asking with origin asking, may open a video now.
    bool mayOpenOutside(QWebEnginePage *page, CommandOrigin asking);

    TForm1 &m_form;
    CommandInterpreter m_interpreter;
    CommandLoopGuard m_loopGuard;
    bool m_waitingForProgram = false;
    // The user's last press on a document, for a page from the web to open one thing.
    UserPress m_press;
    QElapsedTimer m_clock;
};
