#include "ui/editor/editlaunch.h"

#include "core/editor/editorstrings.h"
#include "core/navigation/navigator.h"
#include "core/navigation/navigatorhost.h"
#include "core/pages/templates.h"
#include "platform/platform.h"
#include "ui/editor/editorwidgets.h"
#include "ui/editor/tform2.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QTimer>
#include <QUrl>

using namespace Qt::StringLiterals;

MainWindowEditHost::MainWindowEditHost(Navigator &nav, QWidget &mainWindow, TForm2 &editor, Platform &platform)
    : m_nav(nav)
    , m_main(mainWindow)
    , m_editor(editor)
    , m_platform(platform)
{
}

void MainWindowEditHost::editCurrentPage()
{
    EditLauncher::EditPage(*this, {}, {});
}

void MainWindowEditHost::newDailyPage()
{
    EditLauncher::NewDailyPage(*this, QDateTime::currentDateTime());
}

QString MainWindowEditHost::currentFolder() const
{
    return m_nav.CurDir;
}

int MainWindowEditHost::currentIndex() const
{
    return m_nav.PBan();
}

QString MainWindowEditHost::currentFileName() const
{
    QString entry = m_nav.currentEntry();
    return entry.replace(u'\\', u'/');
}

QStringList MainWindowEditHost::levelFileNames() const
{
    return m_nav.levels().isEmpty() ? QStringList() : m_nav.levels().top().MidashiF;
}

QString MainWindowEditHost::dailyReportFolder() const
{
    return dailyReportDirectory ? dailyReportDirectory() : QString();
}

void MainWindowEditHost::pausePoll()
{
    if (NavigatorHost *host = m_nav.host())
        host->pausePoll();
    if (hidePictureView)
        hidePictureView();
}

void MainWindowEditHost::resumePoll()
{
    if (NavigatorHost *host = m_nav.host())
        host->resumePoll();
}

void MainWindowEditHost::showPlaceholder(const QString &status)
{
    const QString path = NEWHTMLSAVE(m_nav.CurDir, status);
    QCoreApplication::processEvents();
    if (NavigatorHost *host = m_nav.host())
        host->showPage(QUrl::fromLocalFile(path).toString());
}

EditorOutcome MainWindowEditHost::runEditor(const QString &path, const QString &content, const PageSnapshot &read)
{
    m_editor.openPage(path, content, read);
    QCoreApplication::processEvents();
    const bool saved = m_editor.exec() == QDialog::Accepted;
    QCoreApplication::processEvents();
    if (saved)
        m_nav.HighlightCurrent = true;
    return {saved, m_editor.caption(), saved ? m_editor.Label3->text() : QString()};
}

void MainWindowEditHost::tellUndecodablePage(const QString &path)
{
    QMessageBox::warning(&m_main, EditorStrings::WindowCaption,
                         EditorStrings::UndecodablePage.arg(QFileInfo(path).fileName()));
}

QString MainWindowEditHost::removeLookLinks(const QString &text)
{
    return buildLookLinks ? buildLookLinks(1, text) : text;
}

QString MainWindowEditHost::restoreLookLinks(const QString &text)
{
    return buildLookLinks ? buildLookLinks(0, text) : text;
}

QString MainWindowEditHost::paintProgram()
{
    return m_platform.paintProgram();
}

bool MainWindowEditHost::runProgramAndWait(const QString &program, const QStringList &arguments)
{
    QCoreApplication::processEvents();
    m_main.setEnabled(false);
    const bool started = m_platform.startProgram(program, arguments, true);
    m_main.setEnabled(true);
    return started;
}

QString MainWindowEditHost::spreadsheetProgram()
{
    return excelPath ? excelPath() : m_platform.spreadsheetProgram();
}

bool MainWindowEditHost::startProgram(const QString &program, const QStringList &arguments)
{
    return m_platform.startProgram(program, arguments, false);
}

bool MainWindowEditHost::openWithShell(const QString &path)
{
    return m_platform.openWithShell(path);
}

void MainWindowEditHost::tellNotOpened(const QString &message)
{
    // Said without holding up the launcher, which shows the page again.
    auto *box = new QMessageBox(QMessageBox::Warning, EditorStrings::WindowCaption, message, QMessageBox::Ok, &m_main);
    box->setObjectName(u"editorNotOpened"_s);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}

void MainWindowEditHost::waitForOutsideProgram()
{
    // The window stays painted but takes no second edit or command meanwhile.
    m_main.setEnabled(false);
    QEventLoop loop;
    QTimer::singleShot(outsideWaitMs, &loop, &QEventLoop::quit);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    m_main.setEnabled(true);
}

bool MainWindowEditHost::copyFile(const QString &from, const QString &to)
{
    return m_platform.copyFile(from, to, true);
}

void MainWindowEditHost::refreshAfterEditor(const QString &baseName)
{
    m_nav.OpenFolderLevel(m_nav.CurDir, m_nav.PBan(), false);
    if (NavigatorHost *host = m_nav.host())
        host->ReMake();
    if (runCommand)
        runCommand(u"GO "_s + baseName);
    if (m_nav.PBan() >= 0)
        refreshCurrentPage();
}

void MainWindowEditHost::refreshCurrentPage()
{
    const int index = m_nav.PBan();
    if (index < 0)
        return;
    m_nav.TiteleLoad(index);
    if (refreshPageButton)
        refreshPageButton(index);
    if (NavigatorHost *host = m_nav.host())
        host->PageClick();
}
