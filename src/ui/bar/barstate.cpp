#include "ui/bar/barstate.h"

#include "core/commands/commandline.h"
#include "core/navigation/pagebuttontext.h"
#include "ui/app/tform1.h"
#include "ui/bar/holdofftimer.h"
#include "ui/commands/commandpage.h"
#include "ui/navigation/pagebutton.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <QUrl>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineView>

using namespace Qt::StringLiterals;

BarState::BarState(TForm1 &form)
    : QObject(&form)
    , afterLoad(form.nav, *this, form.LastLoadedUrl)
    , f(form)
{
    setObjectName(u"bar"_s);
}

QString BarState::locationUrl() const
{
    return f.WebBrowser1->url().toString();
}

void BarState::setCaption(const QString &caption)
{
    f.setCaption(caption);
}

void BarState::setPostButtonEnabled(bool enabled)
{
    f.SpeedButton16->setEnabled(enabled);
}

void BarState::processEvents()
{
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void BarState::documentHtml(const std::function<void(const QString &)> &done)
{
    // The body only, read in a world of our own: the page's scripts cannot
    // stand in for the document's properties there.
    QPointer<BarState> self(this);
    f.WebBrowser1->page()->runJavaScript(u"document.body ? document.body.innerHTML : ''"_s,
                                         QWebEngineScript::ApplicationWorld, [self, done](const QVariant &html) {
                                             if (self)
                                                 done(html.toString());
                                         });
}

int BarState::loadSerial() const
{
    const CommandPage *page = CommandPage::of(f.WebBrowser1);
    return page ? page->loadSerial() : 0;
}

CommandOrigin BarState::documentOrigin() const
{
    const CommandPage *page = CommandPage::of(f.WebBrowser1);
    return page ? page->origin() : AfterLoadHost::documentOrigin();
}

bool BarState::pageHasSound() const
{
    // The page-sound button's Tag: 1 when the open page has a sound file.
    return f.BitBtn1->property("Tag").toInt() >= 1;
}

bool BarState::soundHeldOff() const
{
    return f.Timer4 && f.Timer4->Tag >= 1;
}

void BarState::armPageSound()
{
    if (auto *timer3 = f.findChild<QTimer *>(u"Timer3"_s))
        timer3->start();
}

void BarState::showInLowerPane(const QString &url)
{
    // The copy is opened on the behalf the page itself was.
    CommandPage::load(f.WebBrowser2, QUrl(url), documentOrigin());
}

void BarState::RunCommandLine(const QString &line)
{
    if (f.RunCommandLine)
        return f.RunCommandLine(line);
    if (!f.TXTcommand)
        return;
    for (const QString &command : splitCommandLine(line)) {
        if (command.isEmpty())
            break;
        f.TXTcommand(command);
    }
}

void BarState::setDirIndexStep(int step)
{
    f.DirIndexStep = step;
}

void BarState::setCurrentButtonLabel(const QString &label)
{
    if (PageButton *button = f.PageButtons.value(f.nav.PBan()))
        button->setLabel(PadButtonCaption(label, 1));
}

void BarState::followLink(const QString &target)
{
    f.CurPageUrl = target;
    f.LastPageUrl = target;
    if (f.RememberPageStamp)
        f.RememberPageStamp(target);
    f.Panel10->hide();
    CommandPage::load(f.WebBrowser1, QUrl(target), documentOrigin());
    f.setCaption(target);
}

void BarState::showPosition(const QString &text)
{
    f.Panel7->setText(text);
}

void BarState::focusCurrentButton()
{
    if (PageButton *button = f.PageButtons.value(f.nav.PBan()))
        button->setFocus(Qt::OtherFocusReason);
}

bool BarState::eventFilter(QObject *watched, QEvent *event)
{
    const QString name = watched->objectName();
    switch (event->type()) {
    case QEvent::Enter:
        if (name == u"SpeedButton2"_s || name == u"SpeedButton9"_s) {
            if (hover.enter(name))
                f.Panel11MouseEnter();
        } else if (name == u"SpeedButton6"_s || name == u"SpeedButton10"_s) {
            if (hover.enter(name))
                f.Panel12MouseEnter();
        }
        break;
    case QEvent::Leave:
        if (watched != f.SpeedButton7 && watched != f.kabeRight)
            hover.leave();
        break;
    case QEvent::MouseButtonPress:
        if (watched == f.SpeedButton7)
            RightButtonDown = static_cast<QMouseEvent *>(event)->buttons() & Qt::RightButton;
        break;
    case QEvent::MouseButtonRelease:
        if (watched == f.SpeedButton7)
            f.textup();
        break;
    case QEvent::Resize:
        if (watched == f.kabeRight)
            f.kabeRightResize();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}
