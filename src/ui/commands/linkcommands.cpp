#include "ui/commands/linkcommands.h"

#include "core/commands/commandline.h"
#include "core/commands/commandtexts.h"
#include "core/commands/navigationgate.h"
#include "core/navigation/pageopening.h"
#include "core/present/pollcontrol.h"
#include "core/navigation/pathtext.h"
#include "platform/download.h"
#include "platform/platform.h"
#include "platform/programrunner.h"
#include "ui/app/tform1.h"
#include "ui/commands/commandpage.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFileInfo>
#include <QFrame>
#include <QJsonArray>
#include <QJsonDocument>
#include <QKeyEvent>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <QUrl>
#include <QWebEngineProfile>
#include <QWebEngineView>

#include <optional>
#include <utility>

using namespace Qt::StringLiterals;

namespace {

// Shows the first place of a text in the document, aligned to the top of the
// view; falls back to the heading "【その他】", else shows the end. Without a text
// it shows the top. Arguments: [text, fallback, search].
constexpr auto LowerPaneScript = R"JS(
(function (args) {
  var text = args[0], other = args[1], search = args[2];
  var root = document.body || document.documentElement;
  function show(t) {
    if (!t || !root) return false;
    var wanted = t.toLowerCase();
    // Only text that is drawn: a quiz page names its headings in its own script too.
    var walker = document.createTreeWalker(root, NodeFilter.SHOW_TEXT, {
      acceptNode: function (n) {
        var e = n.parentElement;
        return e && e.closest('script, style, noscript, template')
          ? NodeFilter.FILTER_REJECT : NodeFilter.FILTER_ACCEPT;
      }
    });
    for (var n = walker.nextNode(); n; n = walker.nextNode()) {
      var at = n.nodeValue.toLowerCase().indexOf(wanted);
      if (at < 0) continue;
      var range = document.createRange();
      range.setStart(n, at);
      range.setEnd(n, at + t.length);
      var selection = window.getSelection();
      selection.removeAllRanges();
      selection.addRange(range);
      window.scrollTo(0, range.getBoundingClientRect().top + window.pageYOffset);
      return true;
    }
    // A text split by markup ("【<B>×</B>】") is found by the browser's own search.
    var selection = window.getSelection();
    selection.removeAllRanges();
    if (!window.find(t, false, false, false) || !selection.rangeCount) return false;
    window.scrollTo(0, selection.getRangeAt(0).getBoundingClientRect().top + window.pageYOffset);
    return true;
  }
  if (!search) { window.scrollTo(0, 0); return 'top'; }
  if (show(text)) return 'found';
  if (show(other)) return 'other';
  window.scrollTo(0, root ? root.scrollHeight : 0);
  return 'none';
})
)JS";

} // namespace

LinkCommands::LinkCommands(TForm1 &form)
    : QObject(&form)
    , m_form(form)
    , m_interpreter(form.nav, *this, &form.DirIndexStep, &form.HistoryPath)
{
    installGate();
    m_clock.start();
    QCoreApplication::instance()->installEventFilter(this);
    // The form outlives its children's destructors only in part: rather than
    // unhooking itself there, each hook checks that the commands still exist.
    const QPointer<LinkCommands> self(this);
    m_form.TXTcommand = [self](const QString &command) {
        if (self)
            self->TXTcommand(command);
    };
    m_form.RunCommandLine = [self](const QString &line) {
        if (self)
            self->RunCommandLine(line);
    };
}

LinkCommands::~LinkCommands() = default;

void LinkCommands::installGate()
{
    const QPointer<LinkCommands> self(this);
    for (QWebEngineView *view : {m_form.WebBrowser1, m_form.WebBrowser2}) {
        auto *page = new CommandPage(QWebEngineProfile::defaultProfile(),
                                     [self](QWebEnginePage *p, const QUrl &url, bool main, CommandOrigin asking) {
                                         return !self || self->WebBrowser1BeforeNavigate2(p, url, asking, main);
                                     },
                                     view);
        view->setPage(page);
    }
}

bool LinkCommands::eventFilter(QObject *watched, QEvent *event)
{
    const bool press = event->type() == QEvent::MouseButtonPress
                       || (event->type() == QEvent::KeyPress && !static_cast<QKeyEvent *>(event)->isAutoRepeat());
    if (press) {
        m_loopGuard.userActed();
        // A press on the program's own controls (a page button, the bar, another
        // window), not on a page a browser shows, is the user's own choice; a
        // press on a page counts for the document shown there.
        if (auto *widget = qobject_cast<QWidget *>(watched)) {
            QWebEngineView *view = nullptr;
            for (QWidget *w = widget; w && !view; w = w->parentWidget())
                view = qobject_cast<QWebEngineView *>(w);
            if (!view)
                m_form.nav.userActed();
            else if (const CommandPage *page = CommandPage::of(view))
                m_press.pressed(quintptr(page), page->loadSerial(), m_clock.elapsed());
        }
    }
    return QObject::eventFilter(watched, event);
}

bool LinkCommands::mayOpenOutside(QWebEnginePage *page, CommandOrigin asking)
{
    if (asking != CommandOrigin::WebPage)
        return true;
    const auto *ours = qobject_cast<CommandPage *>(page);
    return ours && m_press.take(quintptr(ours), ours->loadSerial(), m_clock.elapsed());
}

bool LinkCommands::mayRunFrom(QWebEnginePage *page)
{
    if (m_waitingForProgram)
        return false;
    const auto *ours = qobject_cast<CommandPage *>(page);
    return m_loopGuard.mayRun(page->url().toString(), ours ? ours->loadSerial() : 0);
}

bool LinkCommands::WebBrowser1BeforeNavigate2(QWebEnginePage *page, const QUrl &url, CommandOrigin asking,
                                              bool isMainFrame)
{
    Navigator &nav = m_form.nav;
    if (nav.PBan() < 0)
        return true;
    const QString address = decodeAddress(url.toString(QUrl::FullyEncoded));
    applyNavigationLayout(address);

    const GateDecision decision =
        decideNavigation(address, isMainFrame, nav.entries(), nav.PBan(), nav.CurDir, nav.HomeDir);
    // Commands and page switches run once the browser has its answer: a page may
    // not be loaded from inside its own navigation request.
    switch (decision.action) {
    case GateAction::Proceed:
        return true;
    case GateAction::SyncPageList:
        QTimer::singleShot(0, this, [this, index = decision.index, asking] {
            // A page from the web that goes to a page of the level opens it on the web's behalf.
            m_form.nav.movedOnBehalfOf(asking);
            m_form.nav.PBanSave(index);
            m_form.PageClick();
        });
        return true;
    case GateAction::ExploreFolder:
        // Like the "dir" command, a page from the web opens no file manager.
        if (asking == CommandOrigin::WebPage)
            return false;
        m_form.platform.openWithShell(decision.target.endsWith(u'/') ? decision.target : decision.target + u'/');
        return false;
    case GateAction::PlaySound:
        if (QFileInfo::exists(decision.target))
            m_form.PlayWav(decision.target);
        return false;
    case GateAction::OpenExternally:
        if (mayOpenOutside(page, asking))
            m_form.platform.openWithShell(decision.target);
        return false;
    case GateAction::PlayVideo:
        if (!mayOpenOutside(page, asking))
            return false;
        QTimer::singleShot(0, this, [this, address = decision.target] {
            const QString file = QUrl(address, QUrl::TolerantMode).toLocalFile();
            if (playVideo)
                playVideo(address);
            else if (QFileInfo::exists(file)) // a command naming a video is no file
                m_form.platform.openWithShell(file);
        });
        return false;
    case GateAction::OpenFile:
        QTimer::singleShot(0, page, [page, target = decision.target, asking] {
            if (auto *ours = qobject_cast<CommandPage *>(page))
                ours->load(QUrl::fromLocalFile(target), asking);
            else
                page->setUrl(QUrl::fromLocalFile(target));
        });
        return false;
    case GateAction::RefuseOutside:
        if (isMainFrame)
            QTimer::singleShot(0, page, [page, html = outsideRootPageHtml(decision.target, m_form.nav.HomeDir)] {
                page->setHtml(html);
            });
        return false;
    case GateAction::RunCommands: {
        // data:, blob: and the like never run commands; a page never runs one
        // while a program is waited for.
        const std::optional<CommandOrigin> origin = commandOriginOf(asking, address);
        if (!origin || !mayRunFrom(page))
            return false;
        // The interpreter decodes the address itself: decoded twice, a "%25" the
        // page wrote for "%" would become another character.
        QTimer::singleShot(0, this, [this, encoded = url.toString(QUrl::FullyEncoded), origin = *origin] {
            if (!m_waitingForProgram)
                m_interpreter.runAddress(encoded, origin);
        });
        return false;
    }
    }
    return true;
}

// Title pages are shown without the folder panel and the page-button column;
// any other page brings the column back unless the user closed it.
void LinkCommands::applyNavigationLayout(const QString &address)
{
    TForm1 &f = m_form;
    const QString title = navigationTitle(address, f.nav.title(f.nav.PBan()), f.nav.PBan());
    if (isTitlePageTitle(title)) {
        f.hyoushi->setFixedWidth(0);
        f.SpeedButton9->hide();
        f.SpeedButton2->show();
        f.kabeRight->setFixedWidth(1);
        f.SpeedButton7->show();
        f.SpeedButton6->hide();
        f.SpeedButton10->show();
    } else if (f.kabeRight->property("Tag").toInt() < 1) {
        f.kabeRight->setFixedWidth(220);
        f.SpeedButton7->show();
        f.SpeedButton6->show();
        f.SpeedButton10->hide();
    }
    f.BitBtn1->move(f.kabeBASE->width() - f.BitBtn1->width() - 12 - f.kabeRight->width() - f.hyoushi->width(),
                    f.BitBtn1->y());
    f.SpeedButton6->move(f.kabedown->width() - 90, f.SpeedButton6->y());
    f.SpeedButton10->move(f.SpeedButton6->pos());
    f.SpeedButton7->move(f.SpeedButton6->x() + f.SpeedButton6->width() + 4, f.SpeedButton7->y());
}

void LinkCommands::RunCommandLine(const QString &line)
{
    // The line comes from the one link of the page just loaded: it runs on the
    // behalf that page was opened on.
    QWebEnginePage *page = m_form.WebBrowser1->page();
    const CommandPage *ours = CommandPage::of(m_form.WebBrowser1);
    const std::optional<CommandOrigin> origin =
        commandOriginOf(ours ? ours->origin() : originOf(page->url().toString()), page->url().toString());
    if (origin && mayRunFrom(page))
        m_interpreter.RunCommandLine(line, *origin);
}

void LinkCommands::TXTcommand(const QString &command)
{
    m_interpreter.TXTcommand(command);
}

void LinkCommands::F10Click(const QString &shortcutName)
{
    const QString address = m_form.Caption;
    const qsizetype dot = address.lastIndexOf(u'.');
    const bool hasExtension = dot > address.lastIndexOf(u'/');
    m_form.ShowFlashMessage((hasExtension ? address.left(dot) : address) + u' ', 2000);
    launchShortcut(m_form.platform, joinPath(m_form.nav.CurDir, shortcutName), CutNN(address, address));
    QCoreApplication::processEvents();
    m_form.PageClick();
}

void LinkCommands::refreshPage()
{
    m_form.PageClick(false, false);
}

void LinkCommands::FindInPage(const QString &text, bool search)
{
    QCoreApplication::processEvents();
    const LowerPaneSearch pane = lowerPaneSearch(text);
    if (pane.tenths > 0) {
        LowerPaneHeight = pane.tenths * m_form.kabe->height() / 10;
        m_form.kabeKR->setFixedHeight(LowerPaneHeight);
        m_form.kabeKR->setVisible(LowerPaneHeight > 0);
    }
    const QJsonArray args{pane.text, CommandTexts::OtherHeading, search};
    const QString arguments = QString::fromUtf8(QJsonDocument(args).toJson(QJsonDocument::Compact));
    m_form.WebBrowser2->page()->runJavaScript(QString::fromUtf8(LowerPaneScript) + u'(' + arguments + u')');
}

QString LinkCommands::desktopFolder() const
{
    return m_form.platform.desktopFolder();
}

void LinkCommands::setCaption(const QString &caption)
{
    // The progress only passes through the title; the open page's address stays.
    if (caption == m_form.Caption)
        m_form.setCaption(caption);
    else
        m_form.setWindowTitle(m_form.nav.ExeBaseName + u" - "_s + caption);
}

void LinkCommands::exploreFolder(const QString &folder)
{
    m_form.platform.openWithShell(folder.endsWith(u'/') ? folder : folder + u'/');
}

void LinkCommands::RecordSound(const QString &file)
{
    if (recordSound)
        recordSound(file);
}

void LinkCommands::startPaint(const QString &picture)
{
    const QString paint = m_form.platform.paintProgram();
    if (paint.isEmpty() || !m_form.platform.startProgram(paint, {picture}, false))
        m_form.platform.openWithShell(picture);
}

FetchResult LinkCommands::download(const QString &url, const QString &file,
                                   const std::function<void(qint64)> &progress)
{
    // The window stays live while the bytes come in, but the poll must not take
    // the half-written file beside the target for a new page.
    const PollPause pause(m_form);
    switch (downloadToFile(QUrl(url, QUrl::TolerantMode), file, progress)) {
    case DownloadResult::Saved:
        return FetchResult::Saved;
    case DownloadResult::NotFetched:
        return FetchResult::NotFetched;
    case DownloadResult::WriteFailed:
        return FetchResult::WriteFailed;
    }
    return FetchResult::NotFetched;
}

bool LinkCommands::copyFile(const QString &from, const QString &to)
{
    return m_form.platform.copyFile(from, to, true);
}

bool LinkCommands::runProgram(const ProgramCall &call)
{
    // Nothing of the window runs while it waits for a program: not even the
    // poll, which would take the program's new files for another PC's changes.
    std::optional<PollPause> pause;
    if (call.wait)
        pause.emplace(m_form);
    // Clicks made while the program runs reach a disabled window and are lost;
    // a page's own timers still reach the gate, which then runs nothing.
    m_form.setEnabled(false);
    const bool wasWaiting = std::exchange(m_waitingForProgram, m_waitingForProgram || call.wait);
    const bool started = ::runProgram(m_form.platform, call.program, call.arguments, call.wait);
    QCoreApplication::processEvents();
    m_waitingForProgram = wasWaiting;
    m_form.setEnabled(true);
    return started;
}

bool LinkCommands::moveToTrash(const QString &file)
{
    return m_form.platform.moveToTrash({file}).isEmpty();
}

void LinkCommands::processEvents()
{
    QCoreApplication::processEvents();
}
