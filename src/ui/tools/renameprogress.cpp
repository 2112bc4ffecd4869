#include "ui/tools/renameprogress.h"

#include "core/tools/ordertexts.h"
#include "core/tools/renameworker.h"
#include "ui/tools/renamerunner.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSet>

namespace T = OrderTexts;

// What the job under way is doing, as the user is told.
static QString doing(const RenameJob &job, const QString &folder)
{
    if (job.kind == RenameJob::Settle)
        return T::FinishingLeftRename.arg(folder);
    switch (job.stage) {
    case RenameJob::Asking:
    case RenameJob::Waiting:
        return T::RenameWaitsForFolder.arg(folder);
    case RenameJob::Rest:
        return T::FinishingRename.arg(job.pages);
    default:
        return T::RenamingFolder.arg(folder);
    }
}

RenameProgress::RenameProgress(RenameWorker &worker, const QString &root, QWidget *window, QWidget *area)
    : QFrame(window)
    , m_worker(worker)
    , m_root(root)
    , m_area(area ? area : window)
{
    setObjectName(QStringLiteral("RenameProgress"));
    setFrameShape(QFrame::StyledPanel);
    setAutoFillBackground(true);
    m_rows = new QVBoxLayout(this);
    auto *now = new QHBoxLayout;
    Text = new QLabel(this);
    Bar = new QProgressBar(this);
    // How many pages there are is known only at the end.
    Bar->setRange(0, 0);
    Bar->setFixedWidth(120);
    now->addWidget(Text);
    now->addWidget(Bar);
    m_rows->addLayout(now);
    hide();
    m_area->installEventFilter(this);
    connect(&worker, &RenameWorker::jobsChanged, this, &RenameProgress::refresh);
}

void RenameProgress::refresh()
{
    QList<RenameJob> jobs = m_worker.jobs();
    // The look for what stopped renames left is no work of the user's.
    jobs.removeIf([](const RenameJob &job) { return job.kind == RenameJob::Find; });
    if (jobs.isEmpty()) {
        hide();
        return;
    }
    Text->setText(doing(jobs.constFirst(), folderForUser(jobs.constFirst().folder, m_root)));
    QSet<quint64> waiting;
    for (qsizetype i = 1; i < jobs.size(); ++i) {
        const RenameJob &job = jobs.at(i);
        if (job.kind != RenameJob::Rename)
            continue;
        waiting.insert(job.id);
        if (m_waiting.contains(job.id))
            continue;
        auto *row = new QWidget(this);
        auto *layout = new QHBoxLayout(row);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(new QLabel(T::RenameQueued.arg(folderForUser(job.folder, m_root)), row), 1);
        auto *stop = new QPushButton(T::StopQueuedRename, row);
        stop->setObjectName(QStringLiteral("StopRename"));
        const quint64 id = job.id;
        connect(stop, &QPushButton::clicked, this, [this, id] { m_worker.cancel(id); });
        layout->addWidget(stop);
        m_rows->addWidget(row);
        m_waiting.insert(id, row);
    }
    for (auto it = m_waiting.begin(); it != m_waiting.end();) {
        if (waiting.contains(it.key())) {
            ++it;
            continue;
        }
        delete it.value();
        it = m_waiting.erase(it);
    }
    // The texts changed: the sizes follow before the panel takes its size.
    m_rows->activate();
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
