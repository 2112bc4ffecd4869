#include "ui/app/afterfirstpage.h"

#include "ui/app/tform1.h"
#include "ui/commands/linkcommands.h"

#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <QWebEngineView>

AfterFirstPage::AfterFirstPage(TForm1 &form, std::function<void()> step)
    : QObject(&form)
    , m_step(std::move(step))
{
    // The link commands run the work a page asks for queued, on themselves.
    m_commands = form.findChild<LinkCommands *>(QString(), Qt::FindDirectChildrenOnly);
    // Queued: the other handlers of the first page's end run first.
    connect(form.WebBrowser1, &QWebEngineView::loadFinished, this,
            [this] { QTimer::singleShot(0, this, &AfterFirstPage::run); });
    for (std::function<void(const QString &)> *hook : {&form.TXTcommand, &form.RunCommandLine}) {
        if (!*hook)
            continue;
        *hook = [this, inner = *hook](const QString &line) {
            run();
            inner(line);
        };
    }
    qApp->installEventFilter(this);
}

void AfterFirstPage::run()
{
    if (!m_step)
        return;
    qApp->removeEventFilter(this);
    const std::function<void()> step = std::move(m_step);
    m_step = nullptr;
    step();
}

bool AfterFirstPage::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::ContextMenu:
    case QEvent::ToolTip:
    case QEvent::WhatsThis:
    case QEvent::DragEnter:
    case QEvent::Drop:
    case QEvent::TouchBegin:
    case QEvent::TabletPress:
    case QEvent::Close:
        run();
        break;
    case QEvent::MetaCall:
    case QEvent::Timer:
        if (m_commands && watched == m_commands)
            run();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}
