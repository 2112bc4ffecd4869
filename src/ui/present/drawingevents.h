#pragma once

#include <QObject>

class TForm1;

// The mouse on the drawing controls of the main window: strokes and the pen
// menu on Image11, the two mouse-down buttons SpeedButton19 and SpeedButton8,
// the sound button's mouse-up, a click on the capture, and a left press in the
// page-button column, which wipes the capture.
class DrawingEvents : public QObject
{
    Q_OBJECT
public:
    explicit DrawingEvents(TForm1 &form);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool inPageColumn(QObject *watched) const;
    TForm1 &f;
};
