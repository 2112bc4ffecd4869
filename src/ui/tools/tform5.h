#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;
class QScrollBar;
class QToolButton;

// The order dialog: the target position of the current page on a scroll bar.
// " 移 動" accepts; "閉じる" and the strip button reject, the strip button with
// Tag 1 so that the caller strips the order numbers instead.
class TForm5 : public QDialog
{
    Q_OBJECT
public:
    explicit TForm5(QWidget *parent = nullptr);

    QScrollBar *ScrollBar1 = nullptr;
    QLineEdit *Memo1 = nullptr;
    QPushButton *BitBtn1 = nullptr;
    QPushButton *BitBtn2 = nullptr;
    QToolButton *SpeedButton1 = nullptr;
    int Tag = 0;

    // Positions 0 .. count - 1, current at position (Memo1 shows it 1-based).
    void setPositions(int count, int position);

public slots:
    void ScrollBar1Change();
    void BitBtn1Click();
    void BitBtn2Click();
    void SpeedButton1Click();

protected:
    void showEvent(QShowEvent *event) override;
};
