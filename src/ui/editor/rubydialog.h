#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

// "ルビふり": asks for the reading of the selected text, shown large below the
// entry. After "OK" the entry holds the reading; every other way out empties it.
class RubyDialog : public QDialog
{
    Q_OBJECT
public:
    explicit RubyDialog(QWidget *parent = nullptr);

    QLineEdit *Edit1 = nullptr;
    QLabel *Label1 = nullptr;
    QPushButton *BitBtn1 = nullptr;
    QPushButton *BitBtn2 = nullptr;

    // Empties the entry and the label.
    void clear();
    // Shows base, runs modally and returns the reading ("" when cancelled).
    QString askReading(const QString &base);

    void reject() override;
};
