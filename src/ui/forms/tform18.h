#pragma once

#include "core/commands/answersheet.h"

#include <QDialog>

#include <functional>

class QLabel;
class QPlainTextEdit;
class QPushButton;

// The answer sheet: the last paragraph of a worksheet page, filled in between its
// brackets and appended as one row to the page's answer CSV.
class TForm18 : public QDialog, public AnswerSheet
{
    Q_OBJECT
public:
    explicit TForm18(QWidget *parent = nullptr);

    QPlainTextEdit *Memo1 = nullptr;
    QPushButton *SpeedButton1 = nullptr; // 回答の書き込み
    QPushButton *SpeedButton2 = nullptr; // 中止する
    QLabel *Label1 = nullptr;            // the instruction

    // How long a submission waits for another computer's.
    int LockTimeoutMs = 5000;
    // Where the sheet goes and how large, from the main window's size at the time.
    std::function<QRect()> placement;

    // ANSWER: the sheet of the page, shown modally.
    void showAnswerSheet(const QString &pagePath) override;
    // Fills the sheet from the page; false (and said) when the page cannot be read.
    bool FormShow(const QString &pagePath);
    void SpeedButton1Click();

private:
    QString m_csv;
};
