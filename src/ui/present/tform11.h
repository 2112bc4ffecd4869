#pragma once

#include <QWidget>

class TForm1;

// The full-screen frame of the presentation mode: a black, borderless,
// stay-on-top window over the whole screen with a hole over the main window's
// page area. Clicks on the black turn the pages; clicks in the hole reach the
// main window below.
class TForm11 : public QWidget
{
    Q_OBJECT
public:
    explicit TForm11(TForm1 &main);

    // 1 once the frame was shown by the main window's one-shot timer.
    int Tag = 0;

    // The hole in the frame's own coordinates, from the main window's panels now.
    QRect hole() const;

    void FormResize();
    void FormMouseDown(Qt::MouseButton button, const QPoint &pos);
    void FormClose();

protected:
    void resizeEvent(QResizeEvent *event) override;
    void moveEvent(QMoveEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    TForm1 &m_main;
};
