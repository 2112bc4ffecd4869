#include "ui/tools/renameprogress.h"

#include "core/tools/ordertexts.h"
#include "core/tools/renamefinisher.h"
#include "ui/tools/listmessage.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QTimer>

namespace T = OrderTexts;

RenameProgress::RenameProgress(RenameFinisher &finisher, const QString &caption, QWidget *window)
    : QFrame(window)
    , m_finisher(finisher)
    , m_caption(caption)
{
    setObjectName(QStringLiteral("RenameProgress"));
    setFrameShape(QFrame::StyledPanel);
    setAutoFillBackground(true);
    auto *layout = new QHBoxLayout(this);
    Text = new QLabel(this);
    Bar = new QProgressBar(this);
    // How many pages there are is known only at the end.
    Bar->setRange(0, 0);
    Bar->setFixedWidth(120);
    layout->addWidget(Text);
    layout->addWidget(Bar);
    hide();
    window->installEventFilter(this);
    connect(&finisher, &RenameFinisher::progress, this, &RenameProgress::showPages);
    connect(&finisher, &RenameFinisher::finished, this, &RenameProgress::finished);
    // Shown once the worker has started, and kept up to date while it runs.
    QTimer::singleShot(0, this, [this] { showPages(m_finisher.pagesRead()); });
}

void RenameProgress::showPages(qint64 pages)
{
    if (!m_finisher.busy())
        return;
    Text->setText(T::FinishingRename.arg(pages));
    adjustSize();
    place();
    show();
    raise();
}

void RenameProgress::place()
{
    const QWidget *window = parentWidget();
    move(window->width() - width() - 8, window->height() - height() - 8);
}

bool RenameProgress::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == parentWidget() && event->type() == QEvent::Resize && isVisible())
        place();
    return QFrame::eventFilter(watched, event);
}

void RenameProgress::finished()
{
    hide();
    const FolderRenameOutcome outcome = m_finisher.outcome();
    emit ended();
    QWidget *window = parentWidget();
    if (!outcome.pagesNotWritten.isEmpty())
        showListMessage(window, m_caption, T::RenameUnfinished, outcome.pagesNotWritten);
    if (!outcome.pagesLeftNaming.isEmpty())
        showListMessage(window, m_caption, T::PagesLeftNaming, outcome.pagesLeftNaming);
}
