#pragma once

#include "core/tools/ordernumbers.h"

#include <QDialog>

class Platform;
class QLineEdit;
class QToolButton;

// The renumber dialog: name, start number, step, digits and the range of page
// buttons for the numbered rename. Its fields keep their texts between uses;
// the caller presets only the range. SpeedButton1Tag is 1 when the caller is
// to rename.
class TForm17 : public QDialog
{
    Q_OBJECT
public:
    TForm17(Platform &platform, QWidget *parent = nullptr);

    QLineEdit *Edit1 = nullptr;
    QLineEdit *Edit2 = nullptr;
    QLineEdit *Edit3 = nullptr;
    QLineEdit *Edit4 = nullptr;
    QLineEdit *Edit5 = nullptr;
    QLineEdit *Edit6 = nullptr;
    QLineEdit *Edit7 = nullptr;
    QToolButton *SpeedButton1 = nullptr;
    QToolButton *SpeedButton2 = nullptr;
    QToolButton *SpeedButton3 = nullptr;
    // The numbers stored when the dialog was shown: step, current page, page count.
    int Edit3Tag = 1;
    int Edit5Tag = 1;
    int Edit6Tag = 1;
    int SpeedButton1Tag = 0;

    // The rename the fields ask for (after OK passed its checks).
    NumberedRename rename() const;

public slots:
    void Edit5Change();
    void SpeedButton1Click();
    void SpeedButton2Click();
    void SpeedButton3Click();

protected:
    void showEvent(QShowEvent *event) override;

private:
    Platform &m_platform;
};
