#pragma once

#include <QDialog>

class QFileDialog;
class QLineEdit;
class QPushButton;
class QToolButton;

// The link dialog: asks for a link target (a file or an address). The caller
// runs it modally and reads Caption(): the target, or empty when cancelled.
class TForm15 : public QDialog
{
    Q_OBJECT
public:
    explicit TForm15(QWidget *parent = nullptr);

    QLineEdit *Edit1 = nullptr;
    QToolButton *SpeedButton1 = nullptr;
    QPushButton *BitBtn1 = nullptr;
    QPushButton *BitBtn2 = nullptr;
    QFileDialog *OpenDialog1 = nullptr;

    QString Caption() const { return m_caption; }

    // Runs the dialog modally and returns the target, empty when cancelled.
    QString askTarget();

public slots:
    void BitBtn1Click();
    void BitBtn2Click();
    void SpeedButton1Click();

    // Every way out but OK (Cancel, Esc, the close box) is a cancel, so no
    // earlier answer is ever taken for this one.
    void reject() override;

private:
    void setCaption(const QString &caption);

    QString m_caption;
};
