#pragma once

#include <QDialog>

#include <functional>

class QLabel;
class QPlainTextEdit;
class QPushButton;

// The folder-name list: the folder structure of a course as lines of text in
// "_folder.txt", made into folders below the program's folder in one go.
class TForm10 : public QDialog
{
    Q_OBJECT
public:
    explicit TForm10(QWidget *parent = nullptr);

    QLabel *Panel1 = nullptr; // the top panel
    QPlainTextEdit *Memo1 = nullptr;
    QPushButton *SpeedButton1 = nullptr; // 今のフォルダ名の取得
    QPushButton *SpeedButton2 = nullptr; // 一覧表の上書き保存
    QPushButton *SpeedButton3 = nullptr; // フォルダ作成
    QPushButton *SpeedButton4 = nullptr; // 閉じる

    // The program's folder (with its trailing "/"), its base name and the data root.
    QString ExeDir;
    QString ExeBaseName;
    QString HomeDir;
    // Where the window goes and how large, from the main window's size at the time.
    std::function<QRect()> placement;

    // Shows the list file named by path modally.
    void showList(const QString &path);
    void FormShow();
    void SpeedButton1Click();
    void SpeedButton2Click();
    void SpeedButton3Click();
};
