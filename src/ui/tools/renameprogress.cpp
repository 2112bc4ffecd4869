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

RenameProgress::RenameProgress(RenameFinisher &finisher, const QString &caption, QWidget *window, QWidget *area)
    : QFrame(window)
    , m_finisher(finisher)
    , m_caption(caption)
    , m_area(area ? area : window)
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
    m_area->installEventFilter(this);
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
    const QPoint corner = m_area->mapTo(parentWidget(), QPoint(m_area->width(), m_area->height()));
    move(corner.x() - width() - 8, corner.y() - height() - 8);
}

bool RenameProgress::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_area && (event->type() == QEvent::Resize || event->type() == QEvent::Move) && isVisible())
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
