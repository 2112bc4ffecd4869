#pragma once

#include <QWidget>

class QLabel;

// The splash window: borderless, on top, maximised, and cut down by its
// region to one small red mark while the main window starts under it.
class TForm8 : public QWidget
{
    Q_OBJECT
public:
    explicit TForm8(QWidget *parent = nullptr);

    QLabel *Image2 = nullptr;

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    QRegion textRegion() const;
};
