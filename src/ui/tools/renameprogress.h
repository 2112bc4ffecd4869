#pragma once

#include <QFrame>

class QLabel;
class QProgressBar;
class RenameFinisher;

// Shows in a corner of the main window how far the finishing of a rename in
// the rest of the data root is, while the window goes on; once it ends, says
// which pages it could not rewrite.
class RenameProgress : public QFrame
{
    Q_OBJECT
public:
    // Shown at the lower right of area (a widget of window).
    RenameProgress(RenameFinisher &finisher, const QString &caption, QWidget *window, QWidget *area);

    QLabel *Text = nullptr;
    QProgressBar *Bar = nullptr;

signals:
    // The finishing ended; what it could not do was told.
    void ended();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void showPages(qint64 pages);
    void place();
    void finished();

    RenameFinisher &m_finisher;
    QString m_caption;
    QWidget *m_area;
};
