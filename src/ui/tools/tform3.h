#pragma once

#include <QDialog>
#include <QSet>

#include <functional>

class Platform;
struct PictureRenameOutcome;
class QLineEdit;
class QListWidget;
class QPushButton;

// The file tool: a list of files gathered by "ページ削除" or "LINK切れ削除",
// from which the selected ones go to the trash, or selected pictures get
// numbered names (and the pages that show them are fixed). The caller fills
// ListBox1, sets the caption and the folders, and shows it modally.
class TForm3 : public QDialog
{
    Q_OBJECT
public:
    TForm3(Platform &platform, QWidget *parent = nullptr);

    QListWidget *ListBox1 = nullptr;
    QPushButton *BitBtn1 = nullptr;
    QPushButton *BitBtn4 = nullptr;
    QLineEdit *Edit1 = nullptr;
    QPushButton *BitBtn2 = nullptr;

    // The data root and the shown folder: links resolve against them.
    QString HomeDir;
    QString CurDir;
    // Shows the placeholder page "--- チェック中 ---" in the main window.
    std::function<void()> showPlaceholder;

    // Lists files, all of them chosen when the tool shows but those in
    // unselected (compared without regard to case).
    void setFiles(const QStringList &files, const QStringList &unselected = {});
    QStringList selectedFiles() const;

    void BitBtn1Click();
    void BitBtn2Click();
    void BitBtn4Click();

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void kataduke();
    void placeholder();
    void showRenamed(const PictureRenameOutcome &outcome);
    Platform &m_platform;
    QSet<QString> m_unselected;
};
