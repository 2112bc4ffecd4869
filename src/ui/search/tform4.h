#pragma once

#include "core/search/pagetextcache.h"
#include "core/search/searchlisting.h"

#include <QDialog>
#include <QElapsedTimer>

class QFileDialog;
class QFrame;
class QLabel;
class QLineEdit;
class QListView;
class QStringListModel;
class QPushButton;
class QToolButton;
class QWebEngineView;
class TForm1;

// The search window: every document below the current folder with its title,
// a preview of the chosen one, and searches that narrow the list by full text
// or by the words of page titles. Made once; keeps its listing between uses.
class TForm4 : public QDialog
{
    Q_OBJECT
public:
    explicit TForm4(TForm1 &main);

    // The modes (Tag): 0 listing by title, full-text search; 1 keyword search
    // of the LOOK command, run on activation; 2 the listing in keyword-length
    // order for the keyword links.
    int Tag = 0;

    // Shown modally for the file menu's search: the listing, then what the user
    // does. Accepted: ListBox1 holds the list to make a level of.
    int showModalSearch();
    // Runs modes 1 and 2 without showing the window (there is nothing to wait
    // for): the listing, the mode's search, and the close. Returns the list on
    // screen at the end (the hits in mode 1, empty when there were none).
    SearchListing runWithoutShowing();

    // ---- state
    QString SearchRoot;      // ends with "/"
    QString LastSearchQuery;
    QString Edit2;           // the root the caller asks for; empty: the current folder
    QString Label2;          // mode 1: the asking page's full path, upper-cased
    QString Label3;          // the file on the open-or-copy panel
    // While open: the list before the last search; after closing: the list handed over.
    SearchListing ListBox1;
    // The cached listing of SearchIndexKey's folder, unsorted.
    SearchListing ListBox1bk;
    // The list on screen.
    SearchListing Shown;
    // The entry previewed last (its path), and its address as the caption.
    QString PreviewedPath;
    QString Caption() const { return m_caption; }
    // The position in ListBox1 of the entry previewed last (0 when it is not there).
    int previewedIndex() const;

    // ---- controls
    QToolButton *SpeedButton1 = nullptr; // 全部
    QLineEdit *Edit1 = nullptr;
    QToolButton *SpeedButton2 = nullptr; // 全文検索
    QToolButton *SpeedButton3 = nullptr; // １つ前
    QLabel *Label1 = nullptr;
    QToolButton *SpeedButton4 = nullptr; // 一覧
    QToolButton *SpeedButton5 = nullptr; // 戻る
    QLabel *Panel11 = nullptr;
    QWidget *Panel1 = nullptr;           // the preview area
    QWebEngineView *WebBrowser1 = nullptr;
    // The results column: one row per title, all of one height, so that a list
    // of tens of thousands is laid out without measuring each row.
    QListView *ListBox3 = nullptr;
    QStringListModel *ListBox3Titles = nullptr;
    QFrame *Panel3 = nullptr;            // open or copy
    QLabel *Panel3Caption = nullptr;
    QPushButton *SpeedButton6 = nullptr; // 起動
    QPushButton *SpeedButton7 = nullptr; // コピー
    QFileDialog *SavePictureDialog1 = nullptr;

    void FormShow();
    void FormActivate();
    void DoSearch();
    void Preview(int row);
    void SpeedButton1Click();
    void SpeedButton2Click();
    void SpeedButton3Click();
    void SpeedButton4Click();
    void SpeedButton5Click();
    void SpeedButton6Click();
    void SpeedButton7Click();

    // Every way out but "一覧" is "戻る"; none while the window is busy.
    void reject() override;
    void done(int result) override;

    PageTextCache &pageTexts() { return m_texts; }

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void setCaption(const QString &caption);
    void showList(const SearchListing &list);
    void setBusy(bool busy);
    // Whether it is time to show progress and let the window repaint.
    bool progressDue() const;
    void keepResponsive();
    void FormClose();
    void placeOpenPanel();

    TForm1 &m_main;
    PageTextCache m_texts;
    QString m_caption;
    bool m_busy = false;
    bool m_interactive = false;
    QElapsedTimer m_sinceYield;
};
