#pragma once

#include "core/editor/editlauncher.h"

#include <functional>

class Navigator;
class Platform;
class QWidget;
class TForm2;

// The edit launcher's way into the main window, the editor and the desktop.
// The main window makes one and sets the hooks that only it can serve.
class MainWindowEditHost : public EditLauncherHost
{
public:
    MainWindowEditHost(Navigator &nav, QWidget &mainWindow, TForm2 &editor, Platform &platform);

    // Edits the current page (the edit button and the page popup's edit item).
    void editCurrentPage();
    // Makes a new dated page and opens it in the editor.
    void newDailyPage();

    // Hooks the main window sets.
    std::function<void(int index)> refreshPageButton;       // a page button's title again
    std::function<void(const QString &command)> runCommand; // the command interpreter ("GO " + name)
    std::function<QString(int mode, const QString &text)> buildLookLinks; // 1 out, 0 back in
    std::function<QString()> dailyReportDirectory;
    std::function<QString()> excelPath;                     // empty: none found
    std::function<void()> hidePictureView;
    // The wait after handing a file to another program.
    int outsideWaitMs = 5000;

    QString currentFolder() const override;
    int currentIndex() const override;
    QString currentFileName() const override;
    QStringList levelFileNames() const override;
    QString dailyReportFolder() const override;
    void pausePoll() override;
    void resumePoll() override;
    void showPlaceholder(const QString &status) override;
    EditorOutcome runEditor(const QString &path, const QString &content, const PageSnapshot &read) override;
    void tellUndecodablePage(const QString &path) override;
    QString removeLookLinks(const QString &text) override;
    QString restoreLookLinks(const QString &text) override;
    QString paintProgram() override;
    bool runProgramAndWait(const QString &program, const QStringList &arguments) override;
    QString spreadsheetProgram() override;
    bool startProgram(const QString &program, const QStringList &arguments) override;
    bool openWithShell(const QString &path) override;
    void tellNotOpened(const QString &message) override;
    void waitForOutsideProgram() override;
    bool copyFile(const QString &from, const QString &to) override;
    void refreshAfterEditor(const QString &baseName) override;
    void refreshCurrentPage() override;

private:
    Navigator &m_nav;
    QWidget &m_main;
    TForm2 &m_editor;
    Platform &m_platform;
};
