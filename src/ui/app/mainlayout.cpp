// The main window's parts and where they sit.
#include "ui/app/tform1.h"

#include "core/navigation/pathtext.h"
#include "core/search/searchtexts.h"
#include "core/tools/foldertexts.h"
#include "platform/platform.h"
#include "ui/app/uitexts.h"
#include "ui/commands/commandpage.h"

#include <QAction>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QResizeEvent>
#include <QScrollArea>
#include <QStyle>
#include <QToolButton>
#include <QTreeView>
#include <QUrl>
#include <QVBoxLayout>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <QWebEngineView>

using namespace Qt::StringLiterals;

template<typename T>
static T *named(T *widget, const QString &name)
{
    widget->setObjectName(name);
    return widget;
}

static QToolButton *toolButton(QWidget *parent, const QString &name, QStyle::StandardPixmap icon,
                               const QString &hint = QString())
{
    auto *button = named(new QToolButton(parent), name);
    button->setIcon(parent->style()->standardIcon(icon));
    button->setAutoRaise(true);
    button->setFixedSize(30, 30);
    button->setToolTip(hint);
    return button;
}

static QWebEngineView *browser(QWidget *parent, const QString &name)
{
    auto *view = named(new QWebEngineView(parent), name);
    // On the profile, not the page: the link commands give each browser a page
    // of their own, which takes its settings from the profile.
    QWebEngineSettings *settings = QWebEngineProfile::defaultProfile()->settings();
    settings->setAttribute(QWebEngineSettings::PluginsEnabled, true);
    settings->setAttribute(QWebEngineSettings::PdfViewerEnabled, true);
    settings->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, true);
    keepBrowsersInDataRoot(QWebEngineProfile::defaultProfile());
    return view;
}

void TForm1::buildControls()
{
    kabeBASE = named(new QWidget(this), u"kabeBASE"_s);
    setCentralWidget(kabeBASE);
    auto *base = new QVBoxLayout(kabeBASE);
    base->setContentsMargins(0, 0, 0, 0);
    base->setSpacing(0);
    auto *columns = new QHBoxLayout;
    columns->setSpacing(0);
    base->addLayout(columns, 1);

    buildFolderPanel();
    buildPageArea();
    buildRightColumn();
    buildBottomBar();
    columns->addWidget(hyoushi);
    columns->addWidget(kabe, 1);
    columns->addWidget(kabeRight);
    base->addWidget(kabedown);

    PopupMenu2 = named(new QMenu(this), u"PopupMenu2"_s);
    Kavuno1 = named(PopupMenu2->addAction(UiTexts::HelpItem), u"Kavuno1"_s);
    N1 = named(PopupMenu2->addAction(UiTexts::CurrentFolderItem), u"N1"_s);
    Paste2 = named(PopupMenu2->addAction(QString()), u"Paste2"_s);
    PopupMenu2->addSeparator();
    Exit1 = named(PopupMenu2->addAction(UiTexts::ExitItem), u"Exit1"_s);
    connect(Kavuno1, &QAction::triggered, this, &TForm1::Kavuno1Click);
    connect(N1, &QAction::triggered, this, &TForm1::N1Click);
    connect(Paste2, &QAction::triggered, this, &TForm1::Paste2Click);
    // The folder shown changes after start-up; the import goes into that one.
    connect(PopupMenu2, &QMenu::aboutToShow, this, &TForm1::setImportCaption);
    connect(Exit1, &QAction::triggered, this, &TForm1::ExitApp);
    // search: "検索" after the help item
    Find1 = named(new QAction(SearchTexts::FindItem, PopupMenu2), u"Find1"_s);
    Find1->setToolTip(SearchTexts::FindItemHint);
    PopupMenu2->setToolTipsVisible(true);
    PopupMenu2->insertAction(N1, Find1);
    connect(Find1, &QAction::triggered, this, &TForm1::Find1Click);
    // forms: the folder-name list, after the current folder
    N3 = named(new QAction(FolderTexts::MenuItem, PopupMenu2), u"N3"_s);
    PopupMenu2->insertAction(Paste2, N3);
    // presentation mode: right after the help item
    N4 = named(new QAction(UiTexts::PresentationModeItem, PopupMenu2), u"N4"_s);
    PopupMenu2->insertAction(PopupMenu2->actions().value(PopupMenu2->actions().indexOf(Kavuno1) + 1), N4);
    connect(N4, &QAction::triggered, this, &TForm1::N4Click);
}

void TForm1::buildFolderPanel()
{
    hyoushi = named(new QFrame(kabeBASE), u"hyoushi"_s);
    hyoushi->setFrameShape(QFrame::StyledPanel);
    hyoushi->setFixedWidth(0);
    auto *layout = new QVBoxLayout(hyoushi);
    layout->setContentsMargins(2, 2, 2, 2);
    hyoushiup = named(new QWidget(hyoushi), u"hyoushiup"_s);
    auto *row = new QHBoxLayout(hyoushiup);
    row->setContentsMargins(0, 0, 0, 0);
    SpeedButton17 = toolButton(hyoushiup, u"SpeedButton17"_s, QStyle::SP_DirHomeIcon);
    SpeedButton21 = toolButton(hyoushiup, u"SpeedButton21"_s, QStyle::SP_DirOpenIcon, UiTexts::CurrentFolderItem);
    SpeedButton1 = toolButton(hyoushiup, u"SpeedButton1"_s, QStyle::SP_FileDialogListView);
    row->addWidget(SpeedButton17);
    row->addWidget(SpeedButton21);
    row->addWidget(SpeedButton1);
    row->addStretch();
    layout->addWidget(hyoushiup);

    // The tree reads its folders each time the panel opens (ui/navigation/foldertree.cpp).
    DirectoryListBox1 = named(new QTreeView(hyoushi), u"DirectoryListBox1"_s);
    DirectoryListBox1->setHeaderHidden(true);
    layout->addWidget(DirectoryListBox1, 1);
    hyoushi->installEventFilter(this);

    connect(DirectoryListBox1, &QTreeView::clicked, this, &TForm1::DirectoryListBox1Click);
    connect(DirectoryListBox1, &QTreeView::expanded, this, [this](const QModelIndex &index) { folderTreeOpened(index, true); });
    connect(DirectoryListBox1, &QTreeView::collapsed, this, [this](const QModelIndex &index) { folderTreeOpened(index, false); });
    connect(SpeedButton21, &QToolButton::clicked, this, &TForm1::N1Click);
    // The home button: the left button also re-lays the panels.
    SpeedButton17->installEventFilter(this);
}

void TForm1::buildPageArea()
{
    kabe = named(new QWidget(kabeBASE), u"kabe"_s);
    kabe->installEventFilter(this);

    kabeBrowser = named(new QWidget(kabe), u"kabeBrowser"_s);
    auto *stack = new QVBoxLayout(kabeBrowser);
    stack->setContentsMargins(0, 0, 0, 0);
    stack->setSpacing(0);
    WebBrowser1 = browser(kabeBrowser, u"WebBrowser1"_s);
    kabeKR = named(new QWidget(kabeBrowser), u"kabeKR"_s);
    auto *lower = new QVBoxLayout(kabeKR);
    lower->setContentsMargins(0, 0, 0, 0);
    WebBrowser2 = browser(kabeKR, u"WebBrowser2"_s);
    lower->addWidget(WebBrowser2);
    // A browser without height stays hidden: a shown one starts a page
    // process of its own, which the first page would wait behind.
    kabeKR->setFixedHeight(0);
    kabeKR->hide();
    WebBrowser3 = browser(kabeBrowser, u"WebBrowser3"_s);
    WebBrowser3->setFixedHeight(0);
    WebBrowser3->hide();
    stack->addWidget(WebBrowser1, 1);
    stack->addWidget(kabeKR);
    stack->addWidget(WebBrowser3);

    Pmathub = named(new QLabel(kabeBrowser), u"Pmathub"_s);
    Pmathub->setStyleSheet(u"background: #202020;"_s);
    Pmathub->hide();
    Pmathu = named(new QLabel(kabeBrowser), u"Pmathu"_s);
    Pmathu->setAlignment(Qt::AlignCenter);
    Pmathu->setStyleSheet(u"background: #ffffe0; color: black; font-size: 28pt; border: 2px solid #202020;"_s);
    Pmathu->hide();
    BitBtn1 = named(new QPushButton(kabeBrowser), u"BitBtn1"_s);
    BitBtn1->setIcon(style()->standardIcon(QStyle::SP_MediaVolume));
    BitBtn1->setFixedSize(25, 25);
    BitBtn1->move(0, 4);
    BitBtn1->hide();

    Panel10 = named(new QFrame(kabe), u"Panel10"_s);
    auto *pictureLayout = new QVBoxLayout(Panel10);
    pictureLayout->setContentsMargins(0, 0, 0, 0);
    ScrollBox2 = named(new QScrollArea(Panel10), u"ScrollBox2"_s);
    ScrollBox2->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ScrollBox2->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Image11 = named(new QLabel, u"Image11"_s);
    ScrollBox2->setWidget(Image11);
    pictureLayout->addWidget(ScrollBox2);
    Panel10->hide();

    Panel1 = named(new QFrame(kabe), u"Panel1"_s);
    Panel1->setAutoFillBackground(true);
    Panel1->setFrameShape(QFrame::StyledPanel);
    Panel1Caption = named(new QLabel(Panel1), u"Panel1Caption"_s);
    Panel1Caption->setAlignment(Qt::AlignCenter);
    Label1 = named(new QLabel(Panel1), u"Label1"_s);
    Label1->setAlignment(Qt::AlignCenter);
    SpeedButton3 = named(new QPushButton(UiTexts::StartButton, Panel1), u"SpeedButton3"_s);
    SpeedButton4 = named(new QPushButton(UiTexts::CopyButton, Panel1), u"SpeedButton4"_s);
    SpeedButton3->setFixedSize(100, 36);
    SpeedButton4->setFixedSize(100, 36);
    SpeedButton4->setToolTip(UiTexts::CopyHint);
    Panel1->installEventFilter(this);
    Panel1->hide();
    connect(SpeedButton3, &QPushButton::clicked, this, &TForm1::SpeedButton3Click);
    connect(SpeedButton4, &QPushButton::clicked, this, &TForm1::SpeedButton4Click);
}

void TForm1::buildRightColumn()
{
    kabeRight = named(new QFrame(kabeBASE), u"kabeRight"_s);
    kabeRight->setFixedWidth(220);
    auto *layout = new QVBoxLayout(kabeRight);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    Panel6 = named(new QWidget(kabeRight), u"Panel6"_s);
    auto *row = new QHBoxLayout(Panel6);
    row->setContentsMargins(2, 2, 2, 2);
    SpeedButton16 = toolButton(Panel6, u"SpeedButton16"_s, QStyle::SP_FileDialogNewFolder);
    SpeedButton16->setEnabled(false);
    row->addStretch();
    row->addWidget(SpeedButton16);
    // Keeps its height when the post button hides, so the page buttons do not jump.
    Panel6->setFixedHeight(SpeedButton16->height() + 4);
    layout->addWidget(Panel6);

    ScrollBox1 = named(new QScrollArea(kabeRight), u"ScrollBox1"_s);
    ScrollBox1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    pageColumn = named(new QWidget, u"pageColumn"_s);
    pageColumn->setStyleSheet(u"QPushButton { text-align: left; color: black; }"
                              "QPushButton[highlighted=\"true\"] { color: #0000ff; }"_s);
    ScrollBox1->setWidget(pageColumn);
    ScrollBox1->viewport()->installEventFilter(this);
    layout->addWidget(ScrollBox1, 1);
}

void TForm1::buildBottomBar()
{
    kabedown = named(new QFrame(kabeBASE), u"kabedown"_s);
    kabedown->setFixedHeight(34);
    kabedown->installEventFilter(this);
    SpeedButton11 = toolButton(kabedown, u"SpeedButton11"_s, QStyle::SP_FileDialogDetailedView, UiTexts::FileMenuHint);
    SpeedButton2 = toolButton(kabedown, u"SpeedButton2"_s, QStyle::SP_ArrowRight);
    SpeedButton9 = toolButton(kabedown, u"SpeedButton9"_s, QStyle::SP_ArrowLeft);
    Image6 = toolButton(kabedown, u"Image6"_s, QStyle::SP_ArrowBack);
    Image7 = toolButton(kabedown, u"Image7"_s, QStyle::SP_ArrowForward);
    Image10 = toolButton(kabedown, u"Image10"_s, QStyle::SP_BrowserReload);
    Panel8 = named(new QLabel(kabedown), u"Panel8"_s);
    Panel7 = named(new QLabel(kabedown), u"Panel7"_s);
    Panel7->setAlignment(Qt::AlignCenter);
    SpeedButton12 = named(new QToolButton(kabedown), u"SpeedButton12"_s);
    SpeedButton12->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    SpeedButton12->setAutoRaise(true);
    SpeedButton13 = toolButton(kabedown, u"SpeedButton13"_s, QStyle::SP_MediaStop);
    SpeedButton14 = toolButton(kabedown, u"SpeedButton14"_s, QStyle::SP_DriveNetIcon);
    SpeedButton8 = toolButton(kabedown, u"SpeedButton8"_s, QStyle::SP_DialogCancelButton);
    SpeedButton19 = toolButton(kabedown, u"SpeedButton19"_s, QStyle::SP_DesktopIcon);
    SpeedButton6 = toolButton(kabedown, u"SpeedButton6"_s, QStyle::SP_ComputerIcon);
    SpeedButton10 = toolButton(kabedown, u"SpeedButton10"_s, QStyle::SP_ComputerIcon);
    SpeedButton7 = toolButton(kabedown, u"SpeedButton7"_s, QStyle::SP_FileDialogContentsView);
    SpeedButton9->hide();
    SpeedButton8->hide();
    SpeedButton10->hide();
}

void TForm1::ArrangeMainPanels()
{
    hyoushiup->show();
    Panel6->show();
    SpeedButton7->show();
    kabeRight->setFixedWidth(220);
    kabeRightResize();
    SpeedButton6->show();
    SpeedButton10->hide();
    kabedownResize();
    HighlightCurrent = true;
}

void TForm1::ShowBrowserOnly(bool browserOnly)
{
    kabeKR->setFixedHeight(0);
    kabeKR->hide();
    WebBrowser3->setFixedHeight(0);
    BrowserOnly = browserOnly;
    // The capture and its button (drawing)
    if (Image1)
        Image1->setVisible(browserOnly);
    if (SpeedButton22)
        SpeedButton22->setVisible(browserOnly);
}

void TForm1::placeFlashPanel()
{
    const QSize area = kabeBrowser->size();
    const QSize text = Pmathu->sizeHint().expandedTo(QSize(240, 80));
    Pmathu->setGeometry((area.width() - text.width()) / 2, (area.height() - text.height()) / 2, text.width(),
                        text.height());
    Pmathub->setGeometry(Pmathu->geometry().adjusted(6, 6, 6, 6));
    Pmathub->raise();
    Pmathu->raise();
}

void TForm1::placeOpenPanelButtons()
{
    const int w = Panel1->width();
    const int h = Panel1->height();
    Panel1Caption->setGeometry(0, h / 2 - 80, w, 40);
    Label1->setGeometry(0, h / 2 - 30, w, 40);
    SpeedButton3->move(w / 2 + 20, h / 2 + 70);
    SpeedButton4->move(w / 2 - SpeedButton3->width() - 20, h / 2 + 70);
}

bool TForm1::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Resize) {
        if (watched == kabe) {
            for (QWidget *w : {kabeBrowser, static_cast<QWidget *>(Panel10), static_cast<QWidget *>(Panel1)})
                w->setGeometry(kabe->rect());
        } else if (watched == Panel1) {
            placeOpenPanelButtons();
        } else if (watched == ScrollBox1->viewport()) {
            layoutPageButtons();
        } else if (watched == kabedown) {
            kabedownResize();
        } else if (watched == hyoushi) {
            const auto *resize = static_cast<QResizeEvent *>(event);
            if (resize->size().width() > 0 && resize->oldSize().width() <= 0)
                readFolderTree(); // the panel opens
        }
    } else if (watched == SpeedButton17 && event->type() == QEvent::MouseButtonRelease) {
        // The left button also lays the side panels out again; the right one only goes home.
        if (static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
            SearchIndexKey = u"xxx"_s;
            nav.GoHome();
            kabeRightResize();
            ArrangeMainPanels();
        } else {
            nav.GoHome();
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void TForm1::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    placeFlashPanel();
}

void TForm1::DirectoryListBox1Click(const QModelIndex &index)
{
    const QString folder = treeFolder(index);
    if (folder.isEmpty())
        return;
    if (TXTcommand)
        return TXTcommand(u"DIR "_s + folder);
    nav.OpenFolderLevel(folder, 0, true);
    ReMake();
    PageClick();
}

void TForm1::N1Click()
{
    platform.openWithShell(nav.CurDir + u'/');
}

void TForm1::OpenFolderHelp()
{
    const QString help = joinPath(nav.CurDir, HelpPageName);
    if (QFileInfo::exists(help))
        platform.openWithShell(help);
}

void TForm1::Kavuno1Click()
{
    // The open panel would hide the help as the picture view would.
    Panel10->hide();
    Panel1->hide();
    const QString local = nav.ExeDir + UiTexts::HelpFolderIndex;
    WebBrowser1->setUrl(QFileInfo::exists(local) ? QUrl::fromLocalFile(local) : QUrl(UiTexts::HelpWebPage));
}
