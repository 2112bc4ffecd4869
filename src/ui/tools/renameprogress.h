#pragma once

#include <QFrame>
#include <QHash>

class QLabel;
class QProgressBar;
class QVBoxLayout;
class RenameWorker;

// Shows in a corner of the main window what the rename worker does while the
// window goes on: the job under way (and how many pages of the rest of the
// data root it has read), then each rename waiting behind it, with a button
// that gives it up.
class RenameProgress : public QFrame
{
    Q_OBJECT
public:
    // Shown at the lower right of area (a widget of window); root names the folders.
    RenameProgress(RenameWorker &worker, const QString &root, QWidget *window, QWidget *area);

    QLabel *Text = nullptr;
    QProgressBar *Bar = nullptr;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void refresh();
    void place();

    RenameWorker &m_worker;
    QString m_root;
    QWidget *m_area;
    QVBoxLayout *m_rows;
    // The rows of the renames waiting, by job.
    QHash<quint64, QWidget *> m_waiting;
};
