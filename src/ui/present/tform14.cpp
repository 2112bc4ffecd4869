#include "ui/present/tform14.h"

#include "core/present/viewernavigation.h"
#include "ui/commands/commandpage.h"

#include <QCloseEvent>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>
#include <QWebEngineLoadingInfo>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <QWebEngineView>

using namespace Qt::StringLiterals;

TForm14::TForm14(QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint)
{
    setObjectName(u"Form14"_s);
    WebBrowser1 = new QWebEngineView(this);
    WebBrowser1->setObjectName(u"WebBrowser1"_s);
    // A peer names the page: one too large is shown as its name and size. The
    // viewer shows what a copy presents: a link in it runs no command here.
    auto *page = new CommandPage(
        QWebEngineProfile::defaultProfile(),
        [this](QWebEnginePage *p, const QUrl &url, bool mainFrame, CommandOrigin) {
            const ViewerStep step = viewerNavigation(url.toString(QUrl::FullyEncoded), mainFrame, m_homeDir);
            // A page is not loaded from inside its own navigation request.
            if (step.action == ViewerStep::Open)
                QTimer::singleShot(0, p, [p, path = step.path] { p->setUrl(QUrl::fromLocalFile(path)); });
            return step.action == ViewerStep::Follow;
        },
        WebBrowser1);
    WebBrowser1->setPage(page);
    page->settings()->setAttribute(QWebEngineSettings::ErrorPageEnabled, false);
    connect(page, &QWebEnginePage::loadingChanged, this, &TForm14::loadEnded);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(WebBrowser1);
}

void TForm14::setSizeReference(QWidget *reference)
{
    m_sizeReference = reference;
}

void TForm14::setHomeDir(const QString &homeDir)
{
    m_homeDir = homeDir;
}

bool TForm14::isShown() const
{
    return Tag > 0;
}

QString TForm14::target() const
{
    return m_target;
}

void TForm14::showViewer()
{
    setWindowState(windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized));
    show();
    raise();
}

void TForm14::showPage(const QString &path)
{
    WebBrowser1->load(QUrl::fromLocalFile(path));
}

void TForm14::showTarget(const QString &path)
{
    m_target = path;
    setWindowTitle(path);
    setWindowState(windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized));
    WebBrowser1->load(QUrl::fromLocalFile(path));
}

void TForm14::reload()
{
    // A file under the same name changed: never show the cached one.
    const QUrl url = QUrl::fromLocalFile(m_target);
    if (WebBrowser1->url() == url)
        WebBrowser1->triggerPageAction(QWebEnginePage::ReloadAndBypassCache);
    else
        WebBrowser1->load(url);
}

void TForm14::loadEnded(const QWebEngineLoadingInfo &info)
{
    if (info.status() != QWebEngineLoadingInfo::LoadFailedStatus || m_target.isEmpty()
        || info.url() == QUrl::fromLocalFile(m_target))
        return;
    QTimer::singleShot(0, this, [this] { WebBrowser1->load(QUrl::fromLocalFile(m_target)); });
}

void TForm14::closeViewer()
{
    m_closingByPoll = true;
    close();
    m_closingByPoll = false;
}

void TForm14::programClosing()
{
    m_programClosing = true;
    if (Tag > 0)
        close();
}

void TForm14::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TForm14::closeEvent(QCloseEvent *event)
{
    QWidget::closeEvent(event);
    FormClose();
}

void TForm14::FormShow()
{
    Tag = 1;
    if (m_sizeReference)
        resize(m_sizeReference->width(), std::max(m_sizeReference->height() - 10, 1));
    move(0, 0);
}

void TForm14::FormClose()
{
    Tag = 0;
    if (!m_closingByPoll && !m_programClosing)
        emit closedByUser();
}
