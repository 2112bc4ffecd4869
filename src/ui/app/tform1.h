#pragma once

#include "core/navigation/navigator.h"
#include "core/navigation/navigatorhost.h"
#include "core/present/pollcontrol.h"
#include "ui/tools/pagepopupactions.h"
#include "ui/navigation/pagebuttonlist.h"

#include <QMainWindow>
#include <QPointer>
#include <QSet>
#include <QStringList>
#include <QUrl>

#include <functional>
#include <memory>

class BarState;
class HoldOffTimer;
class Platform;
class QAction;
class QFileSystemModel;
class QSortFilterProxyModel;
class QFrame;
class QLabel;
class QMenu;
class QModelIndex;
class QPushButton;
class QScrollArea;
class QSoundEffect;
class QTimer;
class QToolButton;
class QTreeView;
class QWebEngineView;
class PageButton;
class TForm12;
class TForm11;
class TForm14;
class TForm3;
class TForm4;
class UpdatePoll;
// forms
class TForm10;
class TForm16;

// The main window: one folder level of pages as a column of buttons beside the
// browser. It owns the navigation state (nav) and shows it; every other window
// moves through its operations.
class TForm1 : public QMainWindow, public NavigatorHost, public PollControl
{
    Q_OBJECT
public:
    // Sets the defaults and derives the data root from programFile (FormCreate).
    TForm1(Platform &platform, const QString &programFile, QWidget *parent = nullptr);
    // The same, taking the home level's reading started before the window (see
    // Navigator::prefetchLevel).
    TForm1(Platform &platform, const QString &programFile, std::unique_ptr<LevelPrefetch> readAhead,
           QWidget *parent = nullptr);
    ~TForm1() override;

    // ---- start-up and close-down
    // The first display: with no file arguments the data root's folders, the
    // daily-report restore, the spreadsheet lookup, the size and the first page;
    // with file arguments the batch import, which ends the program 1.5 s later.
    void FormShow(const QStringList &fileArguments = {});
    // The normal first display: the home level, its buttons and its first page.
    void FormShowICHI();
    // Copies the files listed in ListBox1 into CurDir (folder is CurDir).
    void ImportListedFiles(const QString &folder, bool doCopy);
    // Imports files the user chooses into the current folder.
    void Paste2Click();
    // Paste2 names the current folder, where the import puts the files.
    void setImportCaption();
    // The program's end (menu item Exit1).
    void ExitApp();
    void Timer1Timer();

    // ---- layout
    void ArrangeMainPanels();
    void DirectoryListBox1Click(const QModelIndex &index);
    void N1Click();
    void OpenFolderHelp();
    void Kavuno1Click();

    // ---- page buttons
    void RefreshPageButton(int index);
    void PageButtonMouseDown(PageButton *button, bool rightButton, const QPoint &globalPos);
    // Space opens the current page, Esc the first one; true when handled.
    bool PageButtonKeyPress(int key);
    void PageButtonEnter(PageButton *button);
    // Enter, the arrows and Tab on the page buttons; true when handled.
    bool CMDialogKey(int key);
    PageButtonList PageButtons;

    // ---- opening a page
    // placeholder asks for the empty-level page instead of the page; open false
    // only restyles the buttons and the position.
    void PageClick(bool placeholder, bool open);
    int CurrentPagePos(const QString &url) const;
    // Plays a sound file and returns at once.
    void PlayWav(const QString &fileName);
    // Moves a file to the trash after asking, then opens the current page again.
    void RecycleFile(const QString &fileName);

    // ---- bottom bar, side panels, file menu, page note, after-load (ui/bar)
    void kabedownResize();
    void kabeRightResize();
    void Image6Click();
    void Image7Click();
    void Image10Click();
    void Panel11MouseEnter();
    void Panel12MouseEnter();
    void textup();
    void SpeedButton11Click();
    void WebBrowser1DocumentComplete();
    void WebBrowser2DocumentComplete();
    // The wait timer; the page note window (set when it is created).
    HoldOffTimer *Timer4 = nullptr;
    QPointer<TForm12> Form12;
    // Runs a command line (the text after its first "$", ending in ","); the
    // command interpreter sets it. Without one each command goes to TXTcommand.
    std::function<void(const QString &)> RunCommandLine;

    // ---- NavigatorHost
    void PageClick() override { PageClick(false, true); }
    void ReMake() override;
    void BuildPageButtons() override;
    void ShowBrowserOnly(bool browserOnly) override;
    void showFolderInTree(const QString &folder) override;
    // The folder of a row of the folder tree, and the row of a folder.
    QString treeFolder(const QModelIndex &index) const;
    QModelIndex treeIndex(const QString &folder) const;
    void showPage(const QString &url) override;
    void showPicture(const QString &path) override;
    void showOpenPanel(const QString &path) override;
    void showNoPage() override;
    void ShowFlashMessage(const QString &text, int ms) override;
    void pausePoll() override;
    void resumePoll() override;
    QString shownAddress() const override;
    void renameLeftIn(const QString &folder) override
    {
        if (FinishLeftRename)
            FinishLeftRename(folder);
    }

    // ---- presenting and the update poll (Timer5)
    UpdatePoll *Poll = nullptr;
    // The viewer that shows what a copy presents.
    void setPresentationViewer(TForm14 *viewer);
    void SpeedButton12Click();
    void SpeedButton13Click();
    void SpeedButton14Click();

    // ---- order numbers and numbered rename (ui/tools)
    // "ボタン順変更": shows the checking page and asks where the current page goes.
    void ReorderPagesMenu();
    // Moves entry from to position to and gives every page its order number; to < 0
    // asks through the order dialog.
    void ReorderPages(int from, int to);
    // Strips the order numbers of the level's pages, after asking.
    void RemoveOrderNumbers();
    // "ファイル名をPage(数)に変更": a range of pages gets one name with running numbers.
    void RenamePagesNumbered();
    // Has what a stopped rename left in a folder being opened finished off the
    // window's thread (the order tools set it).
    std::function<void(const QString &folder)> FinishLeftRename;

    Navigator nav;
    Platform &platform;

    // Runs a link command line; the command interpreter sets it. Without one the
    // folder tree pushes its folder itself.
    std::function<void(const QString &)> TXTcommand;
    // Opens the page popup menu at a position; the popup menu sets it.
    std::function<void(const QPoint &)> showPagePopup;
    // Watches the opened page for changes (the update poll sets it).
    std::function<void(const QString &url)> RememberPageStamp;
    // Closes the media player when it plays something (before a page opens).
    std::function<void()> CloseMediaPlayer;
    // The page-note and page-sound steps of every page opening after the first.
    std::function<void()> ShowPageNote;
    std::function<void()> UpdateSoundButton;

    // The open document's address, which the window title shows after the
    // program's name; empty for none.
    QString Caption;
    void setCaption(const QString &caption);

    // Imports the chosen files (none when the dialog was cancelled), asking
    // before other files of their names are replaced (those go to the trash),
    // then reads the level again and reopens the page.
    void importChosenFiles(const QStringList &files);
    // The "コピー" button: saves a copy of the offered file where the user chooses.
    void SpeedButton4Click();
    void SpeedButton3Click();

    // ---- search window and keyword links (ui/search)
    TForm4 *Form4 = nullptr;
    QAction *Find1 = nullptr;
    // The file menu's search: the result list becomes a level.
    void Find1Click();
    // The page text with its keyword links taken out (mode 1) or made anew (mode 0).
    QString BuildLookLinks(int mode, const QString &text);
    void AddLookLinks();
    void RemoveLookLinks();
    // ---- posts, answers and the folder-name list (ui/forms)
    // Posts into the current page: the post button and the page menu's "ページに投稿".
    void PostToPage();
    void SpeedButton16Click();
    // The folder-name list (file menu N3) and the desk copy of the tree's folder.
    void N3Click();
    void SpeedButton1Click();
    QAction *N3 = nullptr;
    QPointer<TForm16> Form16;
    QPointer<TForm10> Form10;

signals:
    // The close-down begins: windows that keep something (the page note) save it.
    void closingDown();
    // The close-down has ended; the program may end.
    void closedDown();

public:
    // ---- state other windows read
    QString ResumeDir;
    QString DailyReportDir;
    QString ExcelPath;
    QString HistoryPath;
    QString HelpPageName;
    QString SearchIndexKey;
    QString CurPagePath;
    QString CurPageUrl;
    QString LastPageUrl;
    QString DrawImagePath;
    // The address last processed after loading; cleared so that a page opened
    // again from its button is processed again.
    QString LastLoadedUrl;
    int ResumeTableWidth = 640;
    int ButtonMargin = 2;
    int MaxWindowWidth = 0;
    int WindowWidth = 0;
    int WindowHeight = 0;
    int PrevPageIndex = -1;
    int DirIndexStep = 0;
    bool BatchMode = false;
    bool BrowserOnly = false;
    // 0 until the first page was opened: the page note and sound wait until then.
    int FormTag = 0;
    // The files to import (a hidden list).
    QStringList ListBox1;

    // ---- controls
    QWidget *kabeBASE = nullptr;
    QFrame *hyoushi = nullptr;
    QWidget *hyoushiup = nullptr;
    QToolButton *SpeedButton17 = nullptr;
    QToolButton *SpeedButton21 = nullptr;
    QToolButton *SpeedButton1 = nullptr;
    QTreeView *DirectoryListBox1 = nullptr;
    QFileSystemModel *folderModel = nullptr;
    // The rows of folderModel that the tree shows: none that leads out of the data root.
    QSortFilterProxyModel *folderRows = nullptr;
    QWidget *kabe = nullptr;
    QWidget *kabeBrowser = nullptr;
    QWebEngineView *WebBrowser1 = nullptr;
    QWidget *kabeKR = nullptr;
    QWebEngineView *WebBrowser2 = nullptr;
    QWebEngineView *WebBrowser3 = nullptr;
    QLabel *Pmathub = nullptr;
    QLabel *Pmathu = nullptr;
    QPushButton *BitBtn1 = nullptr;
    QFrame *Panel10 = nullptr;
    QScrollArea *ScrollBox2 = nullptr;
    QLabel *Image11 = nullptr;
    QFrame *Panel1 = nullptr;
    QLabel *Panel1Caption = nullptr;
    QLabel *Label1 = nullptr;
    QPushButton *SpeedButton3 = nullptr;
    QPushButton *SpeedButton4 = nullptr;
    QFrame *kabeRight = nullptr;
    QWidget *Panel6 = nullptr;
    QToolButton *SpeedButton16 = nullptr;
    QScrollArea *ScrollBox1 = nullptr;
    QWidget *pageColumn = nullptr;
    QFrame *kabedown = nullptr;
    QToolButton *Image6 = nullptr;
    QToolButton *Image7 = nullptr;
    QToolButton *Image10 = nullptr;
    QLabel *Panel8 = nullptr;
    QLabel *Panel7 = nullptr;
    QToolButton *SpeedButton11 = nullptr;
    QToolButton *SpeedButton2 = nullptr;
    QToolButton *SpeedButton9 = nullptr;
    QToolButton *SpeedButton6 = nullptr;
    QToolButton *SpeedButton10 = nullptr;
    QToolButton *SpeedButton7 = nullptr;
    QToolButton *SpeedButton8 = nullptr;
    QToolButton *SpeedButton19 = nullptr;
    QToolButton *SpeedButton12 = nullptr;
    QToolButton *SpeedButton13 = nullptr;
    QToolButton *SpeedButton14 = nullptr;
    QMenu *PopupMenu2 = nullptr;
    QAction *Kavuno1 = nullptr;
    QAction *N1 = nullptr;
    QAction *Paste2 = nullptr;
    QAction *Exit1 = nullptr;
    QSoundEffect *pageSound = nullptr;
    QTimer *Timer1 = nullptr;
    QTimer *Timer5 = nullptr;

    // Whether the next page opening highlights the current button (shared
    // with the navigation state).
    bool &HighlightCurrent;

    // ---- drawing on a capture and the page sound (ui/present)
    // Captures the page area of this window into Image1 and onto the
    // clipboard; with a file name also saves it as JPEG of quality 90. Needs no
    // drawing state: printing and presenting call it too. False when a file
    // was asked for and not written.
    bool CaptureToImage1(const QString &fileName = QString());
    // 1: a fresh capture to draw on; 0: the last saved drawing of the page.
    void StartDrawing(int mode);
    void SpeedButton8MouseDown(bool rightButton);
    void Image11MouseDown(const QPoint &pos, const QPoint &globalPos);
    void Image11MouseMove(const QPoint &pos, bool leftButtonDown);
    // N10Click .. N14Click: the pen colour; N16Click, N17Click: its width.
    void choosePen(int index);
    void choosePenWidth(int width);
    void N15Click();
    void N18Click();
    void N19Click();
    void SpeedButton20Click();
    void SpeedButton5Click();
    void Image1Click(const QPoint &pos);
    // A left press on a page button: the capture is wiped.
    void wipeCapture();
    // UpdateSoundButton: shows the sound button when the open page has a sound; returns its path.
    QString refreshSoundButton();
    void RecordSound(const QString &path);
    void Timer3Timer();
    void hSAISEIMouseUp(bool rightButton);
    QString DrawingPath;
    int PenColorIndex = 0;
    int PenWidth = 0;
    QPoint LastPenPoint;
    int LastMenuX = -1;
    QLabel *Image1 = nullptr;
    QToolButton *SpeedButton5 = nullptr;
    QToolButton *SpeedButton20 = nullptr;
    QToolButton *SpeedButton22 = nullptr;
    QMenu *PopupMenu1 = nullptr;
    QAction *N18 = nullptr;
    QAction *N19 = nullptr;
    QTimer *Timer3 = nullptr;
    // The picture dialogs (tests answer them): the name to save under, empty when cancelled.
    std::function<QString(const QString &proposed)> askSavePictureName;
    std::function<QString()> askOpenPictureName;
    // ---- page popup menu and folder tools (ui/tools)
    // The menu of the current page, built afresh before it pops up.
    void BuildPagePopupMenu();
    void ClearPagePopupMenu();
    // The edit-menu button: the page menu, or the placeholder page without one.
    void SpeedButton18Click();
    // Builds the page menu and pops it up at globalPos (the right press).
    void PopupPageMenu(const QPoint &globalPos);
    void CopyPage();
    void DeletePageMenu();
    void DeletePageFiles();
    void RemoveUnlinkedFiles();
    // The placeholder page with status while a folder tool works.
    void ShowProgressPage(const QString &status);
    // The copy's save dialog (SaveDialog2); returns the chosen file, empty on Cancel.
    std::function<QString(const QString &source)> SaveDialog2;
    QMenu *PagePopup = nullptr;
    // The shortcut files the menu on screen offers, by their rows' Tag.
    QStringList ListBox3;
    QToolButton *SpeedButton18 = nullptr;
    PagePopupActions popupActions;
    QPointer<TForm3> Form3;
    // ---- presentation mode and printing (ui/present)
    QAction *N4 = nullptr;
    void N4Click();
    void Timer2Timer();
    // A press on the window's own surface, where no control acts on it:
    // panels, the bar's background, margins.
    void FormMouseDown(Qt::MouseButton button, const QPoint &pos);
    // On from the menu item until a right press on the window's surface.
    bool PresentationMode = false;
    void Panel4MouseUp();
    void Panel4Resize();
    QPointer<TForm11> Form11;
    QFrame *Panel4 = nullptr;
    QLabel *Image4 = nullptr;
    QTimer *Timer2 = nullptr;
    void PrintResume();
    void PrintWithNameField();
    void PrintWithNameFieldRed();
    // Writes the worksheet of the current page; false when there is none or
    // it could not be made (the user is told).
    bool BuildTestPage(int mode);
    void N6Click();
    // A print page loaded: its preview opens. A failed load is tried once
    // more, then the user is told.
    void WebBrowser3DocumentComplete(bool ok);
    // Opens the print preview of a loaded browser (tests look instead).
    std::function<void(QWebEngineView *view)> PrintPreview;
    // This copy's own folder for print pages inside ResumeDir.
    QString PrintDir;
    int WebBrowser3Tag = 0;
    // The print page on its way, and whether its load was tried again.
    QUrl PrintPageUrl;
    bool PrintPageRetried = false;
    bool WalkingPages = false;

protected:
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildBar();
    void LoadPageNote();
    BarState *bar = nullptr;
    void buildControls();
    void buildFolderPanel();
    void buildPageArea();
    void buildRightColumn();
    void buildBottomBar();
    void setupUpdatePoll();
    void NormalStart();
    void BatchStart(const QStringList &fileArguments);
    void restoreDailyReport();
    void lookUpSpreadsheetLater();
    void applyWindowSize();
    void layoutPageButtons();
    void stylePageButtons(int current);
    void applyButtonTitle(PageButton *button, const QString &title, int index, bool keepHintWithoutOne);
    // ---- page buttons: only those in view exist (ui/navigation/pagebuttons.cpp)
    PageButton *makePageButton(int i);
    void putButtonAside(PageButton *button);
    void applyButtonState(PageButton *button);
    void placePageButton(PageButton *button);
    void showButtonsInView();
    void markCurrentButton(int current);
    QList<PageButton *> m_spareButtons;
    QHash<int, QString> m_refreshedTitles;
    int m_highlightedButton = -1;
    int m_currentButton = -1;
    // ---- folder tree, read each time its panel opens (ui/navigation/foldertree.cpp)
    QString m_treeFolder;
    QSet<QString> m_openFolders; // expanded in the tree, opened again when it is read again
    void readFolderTree();
    void folderTreeOpened(const QModelIndex &index, bool open);
    void showPictureView(const QString &path);
    void placeOpenPanelButtons();
    void placeFlashPanel();
    bool FormCloseQuery();
    // drawing and page sound (ui/present)
    void buildDrawing();
    void buildPageSound();
};
