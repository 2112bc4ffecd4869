#pragma once

#include <QDateTime>
#include <QDialog>

#include <functional>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// The post window: a date line, a poster and a message, posted into the page
// named by Label2. The poster and the message stay for the next post.
class TForm16 : public QDialog
{
    Q_OBJECT
public:
    explicit TForm16(QWidget *parent = nullptr);

    QLabel *Label4 = nullptr; // the prompt with the page's title
    QLabel *Label2 = nullptr; // hidden: the page file
    QLineEdit *Edit1 = nullptr; // date line
    QLineEdit *Edit2 = nullptr; // poster
    QPlainTextEdit *Memo1 = nullptr; // message
    QPushButton *SpeedButton1 = nullptr; // 投稿
    QPushButton *SpeedButton2 = nullptr; // キャンセル
    QPushButton *SpeedButton3 = nullptr; // 日時の更新

    // How long a post waits for another computer's post into the same page.
    int LockTimeoutMs = 3000;
    // The present time (tests set their own).
    std::function<QDateTime()> now = [] { return QDateTime::currentDateTime(); };

    // Fills the window for the page and shows it modally; true when a post was written.
    bool postInto(const QString &pagePath, const QString &title);

    void FormShow();
    void SpeedButton1Click();
    void SpeedButton3Click();

protected:
    void showEvent(QShowEvent *event) override;
};
