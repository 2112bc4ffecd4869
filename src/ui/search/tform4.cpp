#include "ui/search/tform4.h"

#include "core/navigation/pageopening.h"
#include "core/navigation/pathtext.h"
#include "core/search/searchquery.h"
#include "core/search/searchtexts.h"
#include "platform/platform.h"
#include "ui/app/copydialog.h"
#include "ui/app/tform1.h"
#include "ui/app/uitexts.h"
#include "ui/commands/commandpage.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QPushButton>
#include <QSplitter>
#include <QStyledItemDelegate>
#include <QStringListModel>
#include <QTimer>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>
#include <QWebEngineProfile>
#include <QWebEngineView>

using namespace Qt::StringLiterals;

namespace {
// Rows ask for no width of their own: the list lays each out over the whole column.
class ColumnWideRows : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        return {1, QStyledItemDelegate::sizeHint(option, index).height()};
    }
};
} // namespace
namespace T = SearchTexts;

// How often progress shows and pending events run while the window is busy:
// a few times a second, not after every file.
static constexpr qint64 HumanRateMs = 100;

static QToolButton *barButton(QWidget *parent, const QString &name, const QString &caption,
                              const QString &hint = QString())
{
    auto *button = new QToolButton(parent);
    button->setObjectName(name);
    button->setText(caption);
    button->setToolTip(hint);
    return button;
}

TForm4::TForm4(TForm1 &main)
    : QDialog(&main, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
    , m_main(main)
{
    setObjectName(u"Form4"_s);
    setSizeGripEnabled(true);

    auto *bar = new QWidget(this);
    auto *top = new QHBoxLayout(bar);
    top->setContentsMargins(2, 2, 2, 2);
    SpeedButton1 = barButton(bar, u"SpeedButton1"_s, T::AllButton);
    Edit1 = new QLineEdit(bar);
    Edit1->setObjectName(u"Edit1"_s);
    Edit1->setToolTip(T::QueryHint);
    SpeedButton2 = barButton(bar, u"SpeedButton2"_s, T::FullTextButton, T::FullTextHint);
    SpeedButton3 = barButton(bar, u"SpeedButton3"_s, T::UndoButton, T::UndoHint);
    Label1 = new QLabel(bar);
    Label1->setObjectName(u"Label1"_s);
    Label1->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Label1->setMinimumWidth(60);
    Panel11 = new QLabel(bar);
    Panel11->setObjectName(u"Panel11"_s);
    Panel11->setFrameShape(QFrame::Panel);
    Panel11->hide();
    SpeedButton4 = barButton(bar, u"SpeedButton4"_s, T::ListButton, T::ListHint);
    SpeedButton5 = barButton(bar, u"SpeedButton5"_s, T::BackButton, T::BackHint);
    top->addWidget(SpeedButton1);
    top->addWidget(Edit1, 1);
    top->addWidget(SpeedButton2);
    top->addWidget(SpeedButton3);
    top->addWidget(Label1);
    top->addWidget(Panel11, 1);
    top->addWidget(SpeedButton4);
    top->addWidget(SpeedButton5);

    auto *splitter = new QSplitter(Qt::Horizontal, this);
    Panel1 = new QWidget(splitter);
    Panel1->setObjectName(u"Panel1"_s);
    auto *previewLayout = new QVBoxLayout(Panel1);
    previewLayout->setContentsMargins(0, 0, 0, 0);
    WebBrowser1 = new QWebEngineView(Panel1);
    WebBrowser1->setObjectName(u"WebBrowser1"_s);
    // Page commands never run here: an address holding "$" is not followed.
    WebBrowser1->setPage(new CommandPage(
        QWebEngineProfile::defaultProfile(),
        [](QWebEnginePage *, const QUrl &url, bool, CommandOrigin) {
            return !QUrl::fromPercentEncoding(url.toEncoded()).contains(u'$');
        },
        WebBrowser1));
    previewLayout->addWidget(WebBrowser1);
    Panel1->installEventFilter(this);

    Panel3 = new QFrame(Panel1);
    Panel3->setObjectName(u"Panel3"_s);
    Panel3->setFrameShape(QFrame::StyledPanel);
    Panel3->setAutoFillBackground(true);
    Panel3->installEventFilter(this);
    Panel3Caption = new QLabel(Panel3);
    Panel3Caption->setObjectName(u"Panel3Caption"_s);
    Panel3Caption->setAlignment(Qt::AlignCenter);
    QFont big = Panel3Caption->font();
    big.setPointSize(20);
    Panel3Caption->setFont(big);
    SpeedButton6 = new QPushButton(UiTexts::StartButton, Panel3);
    SpeedButton6->setObjectName(u"SpeedButton6"_s);
    SpeedButton6->setToolTip(T::StartHint);
    SpeedButton7 = new QPushButton(UiTexts::CopyButton, Panel3);
    SpeedButton7->setObjectName(u"SpeedButton7"_s);
    SpeedButton7->setToolTip(UiTexts::CopyHint);
    for (QPushButton *b : {SpeedButton6, SpeedButton7}) {
        b->setFixedSize(100, 36);
        // Enter in the query box must never start or copy a file.
        b->setAutoDefault(false);
    }
    Panel3->hide();

    auto *results = new QWidget(splitter);
    auto *resultsLayout = new QVBoxLayout(results);
    resultsLayout->setContentsMargins(0, 0, 0, 0);
    ListBox3 = new QListView(results);
    ListBox3->setObjectName(u"ListBox3"_s);
    ListBox3Titles = new QStringListModel(ListBox3);
    ListBox3->setModel(ListBox3Titles);
    // One row height for tens of thousands of rows; every row as wide as the
    // column, so that any long title is cut the same way (with "…"), whatever
    // the first row's width that uniform sizes would otherwise give them all.
    ListBox3->setUniformItemSizes(true);
    ListBox3->setItemDelegate(new ColumnWideRows(ListBox3));
    ListBox3->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ListBox3->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ListBox3->setCursor(Qt::PointingHandCursor);
    ListBox3->setToolTip(T::ResultsHint);
    resultsLayout->addWidget(ListBox3);
    splitter->addWidget(Panel1);
    splitter->addWidget(results);
    splitter->setStretchFactor(0, 1);
    splitter->setSizes({600, 120});

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(bar);
    layout->addWidget(splitter, 1);

    SavePictureDialog1 = new QFileDialog(this);
    SavePictureDialog1->setObjectName(u"SavePictureDialog1"_s);

    connect(SpeedButton1, &QToolButton::clicked, this, &TForm4::SpeedButton1Click);
    connect(SpeedButton2, &QToolButton::clicked, this, &TForm4::SpeedButton2Click);
    connect(SpeedButton3, &QToolButton::clicked, this, &TForm4::SpeedButton3Click);
    connect(SpeedButton4, &QToolButton::clicked, this, &TForm4::SpeedButton4Click);
    connect(SpeedButton5, &QToolButton::clicked, this, &TForm4::SpeedButton5Click);
    connect(SpeedButton6, &QPushButton::clicked, this, &TForm4::SpeedButton6Click);
    connect(SpeedButton7, &QPushButton::clicked, this, &TForm4::SpeedButton7Click);
    connect(ListBox3, &QListView::clicked, this, [this](const QModelIndex &index) { Preview(index.row()); });
}

int TForm4::showModalSearch()
{
    m_interactive = true;
    const int result = exec();
    m_interactive = false;
    return result;
}

SearchListing TForm4::runWithoutShowing()
{
    m_interactive = false;
    FormShow();
    FormActivate();
    const SearchListing onScreen = Shown;
    FormClose();
    return onScreen;
}

void TForm4::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!m_interactive)
        return;
    FormShow();
    // The listing starts once the window is on screen, so its progress shows.
    QTimer::singleShot(0, this, &TForm4::FormActivate);
}

void TForm4::FormShow()
{
    if (m_interactive) {
        const QSize client = m_main.centralWidget() ? m_main.centralWidget()->size() : m_main.size();
        const int right = m_main.kabeRight ? m_main.kabeRight->width() : 0;
        move(0, 0);
        resize(std::max(200, client.width() - right + 50), std::max(150, client.height() - 35));
    }
    ListBox1.clear();
    // Nothing of the last use shows, and nothing is pressed, until the listing is made.
    showList({});
    setBusy(true);
    SearchRoot = Edit2.isEmpty() ? m_main.nav.CurDir + u'/' : Edit2;
    if (!SearchRoot.endsWith(u'/'))
        SearchRoot += u'/';
}

void TForm4::setBusy(bool busy)
{
    m_busy = busy;
    for (QWidget *w : {static_cast<QWidget *>(SpeedButton1), static_cast<QWidget *>(SpeedButton2),
                       static_cast<QWidget *>(SpeedButton3), static_cast<QWidget *>(SpeedButton4),
                       static_cast<QWidget *>(SpeedButton5), static_cast<QWidget *>(ListBox3)})
        w->setEnabled(!busy);
    if (busy)
        m_sinceYield.start();
}

bool TForm4::progressDue() const
{
    return !m_sinceYield.isValid() || m_sinceYield.elapsed() >= HumanRateMs;
}

void TForm4::keepResponsive()
{
    // The window repaints and the progress moves.
    m_sinceYield.start();
    QCoreApplication::processEvents();
}

void TForm4::FormActivate()
{
    setBusy(true);
    Panel11->show();
    LastSearchQuery = Edit1->text();
    ListBox1.clear();
    if (m_main.SearchIndexKey != SearchRoot) {
        // A new walk: the kept page texts go with the old listing.
        m_texts.reset(SearchRoot);
        m_main.SearchIndexKey = SearchRoot;
        WalkCallbacks callbacks;
        callbacks.listed = [this](const QString &title) {
            if (!m_interactive || !progressDue())
                return;
            Panel11->setText(title);
            keepResponsive();
        };
        m_texts.keepWhileWalking(callbacks);
        callbacks.unreadable = [this] { m_main.platform.beep(); };
        ListBox1 = ZENBU(SearchRoot, callbacks);
        ListBox1bk = ListBox1;
    } else {
        ListBox1 = ListBox1bk;
    }
    if (!ListBox1.isEmpty()) {
        Panel11->setText(T::Sorting);
        keepResponsive();
        SortResults(ListBox1, Tag == 2 ? SearchOrder::ByKeywordLength : SearchOrder::ByTitle);
    }
    showList(ListBox1);
    Edit1->setFocus();
    if (!Shown.isEmpty()) {
        if (m_interactive)
            ListBox3->setCurrentIndex(ListBox3Titles->index(0));
        Preview(0);
    }
    setBusy(false);
    if (Tag == 1)
        DoSearch();
    Panel11->hide();
}

void TForm4::showList(const SearchListing &list)
{
    Shown = list;
    if (m_interactive) {
        QStringList titles;
        titles.reserve(list.size());
        for (const SearchEntry &e : list)
            titles << e.title;
        ListBox3Titles->setStringList(titles);
    }
    Label1->setText(QString::number(list.size()));
}

void TForm4::DoSearch()
{
    setBusy(true);
    ListBox1 = Shown;
    SearchRequest request;
    request.root = SearchRoot;
    request.mode = Tag == 1 ? SearchMode::Heading : SearchMode::FullText;
    request.excludedUpper = Label2;
    request.texts = &m_texts;
    request.progress = [this](qsizetype hits) {
        if (!m_interactive || !progressDue())
            return;
        Label1->setText(QString::number(hits));
        keepResponsive();
    };
    showList(::DoSearch(Shown, Edit1->text(), request));
    setBusy(false);
    if (!Shown.isEmpty()) {
        if (m_interactive)
            ListBox3->setCurrentIndex(ListBox3Titles->index(0));
        Preview(0);
    }
    Edit1->setFocus();
}

void TForm4::Preview(int row)
{
    if (row < 0 || row >= Shown.size())
        return;
    Panel3->hide();
    const QString path = SearchRoot + Shown.at(row).path;
    const QString url = QUrl::fromLocalFile(path).toString();
    PreviewedPath = Shown.at(row).path;
    setCaption(url);
    // Without a window on screen there is nothing to show; the main window's
    // open page stays its own.
    if (!m_interactive)
        return;
    m_main.CurPagePath = path;
    m_main.CurPageUrl = url;
    m_main.LastPageUrl = url;
    if (pageKindOf(path) == PageKind::Browser) {
        WebBrowser1->setUrl(QUrl::fromLocalFile(path));
        return;
    }
    Panel3Caption->setText(fileNameOf(path));
    Label3 = path;
    Panel3->setGeometry(Panel1->rect());
    placeOpenPanel();
    Panel3->show();
    Panel3->raise();
}

void TForm4::placeOpenPanel()
{
    const int w = Panel3->width();
    const int h = Panel3->height();
    Panel3Caption->setGeometry(0, h / 2 - 60, w, 50);
    SpeedButton6->move(w / 2 + 20, h / 2 + 70);
    SpeedButton7->move(w / 2 - SpeedButton6->width() - 20, h / 2 + 70);
}

bool TForm4::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Resize) {
        if (watched == Panel1 && Panel3->isVisible())
            Panel3->setGeometry(Panel1->rect());
        else if (watched == Panel3)
            placeOpenPanel();
    }
    return QDialog::eventFilter(watched, event);
}

int TForm4::previewedIndex() const
{
    for (qsizetype i = 0; i < ListBox1.size(); ++i) {
        if (ListBox1.at(i).path == PreviewedPath)
            return int(i);
    }
    return 0;
}

void TForm4::setCaption(const QString &caption)
{
    m_caption = caption;
    setWindowTitle(caption);
}

void TForm4::SpeedButton1Click()
{
    Tag = 0;
    FormActivate();
}

void TForm4::SpeedButton2Click()
{
    if (m_busy)
        return;
    LastSearchQuery = Edit1->text();
    Tag = 0;
    DoSearch();
}

void TForm4::SpeedButton3Click()
{
    showList(ListBox1);
    Edit1->setText(LastSearchQuery);
    Edit1->setFocus();
}

void TForm4::SpeedButton4Click()
{
    if (Shown.isEmpty())
        return QDialog::reject();
    accept();
}

void TForm4::SpeedButton5Click()
{
    setCaption({});
    QDialog::reject();
}

void TForm4::reject()
{
    if (!m_busy)
        SpeedButton5Click();
}

void TForm4::closeEvent(QCloseEvent *event)
{
    if (m_busy)
        event->ignore();
    else
        QDialog::closeEvent(event);
}

void TForm4::done(int result)
{
    FormClose();
    QDialog::done(result);
}

void TForm4::FormClose()
{
    Edit2.clear();
    if (!Shown.isEmpty())
        ListBox1 = Shown;
    Shown.clear();
}

void TForm4::SpeedButton6Click()
{
    m_main.platform.openWithShell(Label3);
}

void TForm4::SpeedButton7Click()
{
    prepareCopyDialog(*SavePictureDialog1, Label3, m_main.platform.desktopFolder());
    if (SavePictureDialog1->exec() != QDialog::Accepted || SavePictureDialog1->selectedFiles().isEmpty())
        return;
    const QString to = SavePictureDialog1->selectedFiles().constFirst();
    if (Label3.isEmpty() || to.isEmpty())
        return;
    if (!m_main.platform.copyFile(Label3, to, true))
        QMessageBox::warning(this, UiTexts::CopyButton, UiTexts::CopyFailed.arg(to));
}
