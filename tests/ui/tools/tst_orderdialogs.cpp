// The order dialog and the renumber dialog driven as a user would, on a real
// folder under the main window.
#include "ui/app/tform1.h"
#include "core/tools/folderrename.h"
#include "core/tools/ordernumbers.h"
#include "core/tools/renamerecord.h"
#include "core/tools/renameworker.h"
#include "ui/tools/listmessage.h"
#include "ui/tools/ordertools.h"
#include "ui/tools/renameprogress.h"
#include "ui/tools/renamerunner.h"
#include "ui/tools/tform17.h"
#include "ui/tools/tform5.h"

#include "core/navigation/testfiles.h"
#include "ui/app/fakeplatform.h"
#include "ui/editor/modaluser.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSemaphore>
#include <QSignalSpy>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QWebEngineView>

#include <atomic>
#include <memory>
#include <thread>

using namespace Qt::StringLiterals;

// Answers the next list message with OK, while context lasts; keeps its text and its list.
static void answerListMessage(QObject *context, QString *text)
{
    auto *timer = new QTimer(context);
    QObject::connect(timer, &QTimer::timeout, context, [timer, text] {
        auto *box = qobject_cast<ListMessage *>(QApplication::activeModalWidget());
        if (!box)
            return;
        timer->deleteLater();
        *text = box->Text->text();
        for (int i = 0; i < box->List->count(); ++i)
            *text += u'\n' + box->List->item(i)->text();
        box->Ok->click();
    });
    timer->start(10);
}

// Counts the events of one type an object receives.
class EventCounter : public QObject
{
public:
    EventCounter(QEvent::Type type, int *count) : m_type(type), m_count(count) {}
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == m_type)
            ++*m_count;
        return false;
    }

private:
    QEvent::Type m_type;
    int *m_count;
};

class OrderDialogsTest : public QObject
{
    Q_OBJECT
private:
    QTemporaryDir m_dir;
    QString m_home;
    FakePlatform m_platform;
    TForm1 *m_form = nullptr;
    TForm5 *m_form5 = nullptr;
    TForm17 *m_form17 = nullptr;

    // The rename worker holds at the first step of a rewrite of the rest of
    // the data root, while m_holding, until released.
    QSemaphore m_reached;
    QSemaphore m_released;
    std::atomic<bool> m_holding{false};

    RenameWorker &worker() { return renameRunnerOf(*m_form).worker(); }

    // The rename worker has ended every job, and the window has shown what each gave.
    void waitForRenames() { QTRY_VERIFY_WITH_TIMEOUT(!worker().busy(), 30000); }

    // The worker holds at the first step of a job of that kind and stage.
    void holdAt(RenameJob::Kind kind, RenameJob::Stage stage, RenameWorker &on)
    {
        m_holding = true;
        on.setStepHook([this, kind, stage](const RenameJob &job) {
            if (job.kind == kind && job.stage == stage && m_holding.exchange(false)) {
                m_reached.release();
                m_released.tryAcquire(1, 30000);
            }
        });
    }
    // The next rename holds once its folder is done, before the rest of the data root.
    void holdBeforeTheRest() { holdAt(RenameJob::Rename, RenameJob::Rest, worker()); }

    // Folder A of the data root with pages that name each other, and a page
    // of another folder naming them; what a rename of its last page to the
    // first place leaves: A's names, and the other folder's page before and after.
    struct NamedElsewhere
    {
        QString a;
        QStringList renamed;
        QByteArray otherBefore;
        QByteArray otherAfter;
    };
    NamedElsewhere makeFolderNamedElsewhere()
    {
        setPages({}, 0);
        const QString a = m_home + u"/A"_s;
        QDir().mkpath(a);
        QDir().mkpath(m_home + u"/other"_s);
        writeFixture(a + u"/a.html"_s, "<A href=\"b.html\">b</A>");
        writeFixture(a + u"/b.html"_s, "<A href=\"c.html\">c</A>");
        writeFixture(a + u"/c.html"_s, "<A href=\"a.html\">a</A>");
        const QByteArray before = "<A href=\"../A/a.html\">a</A><A href=\"../A/c.html\">c</A>";
        writeFixture(m_home + u"/other/o.html"_s, before);
        return {a, {u"1000_c.html"_s, u"1010_a.html"_s, u"1020_b.html"_s}, before,
                "<A href=\"../A/1010_a.html\">a</A><A href=\"../A/1000_c.html\">c</A>"};
    }
    QByteArray otherPage() const { return readFixture(m_home + u"/other/o.html"_s); }

    // An input event posted now reaches the window.
    void inputIsAnswered()
    {
        int keys = 0;
        EventCounter counter(QEvent::KeyPress, &keys);
        m_form->installEventFilter(&counter);
        QCoreApplication::postEvent(m_form, new QKeyEvent(QEvent::KeyPress, Qt::Key_Shift, Qt::NoModifier));
        QTRY_COMPARE(keys, 1);
    }

    // The data root holds exactly these pages (each titled by its name).
    void setPages(const QStringList &names, int current)
    {
        waitForRenames();
        // The data root itself stays: the program holds it open.
        QDir home(m_home);
        for (const QString &name : home.entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot)) {
            QFileInfo(home.filePath(name)).isDir() && !QFileInfo(home.filePath(name)).isSymLink()
                ? QDir(home.filePath(name)).removeRecursively()
                : home.remove(name);
        }
        for (const QString &name : names)
            QVERIFY(writeFixture(m_home + u'/' + name, "<HTML><HEAD><TITLE>" + name.toUtf8() + "</TITLE></HEAD><BODY>x</BODY></HTML>"));
        m_form->nav.levels().clear();
        m_form->nav.OpenFolderLevel(m_home, current, true);
        m_form->ReMake();
    }
    // The folder's names but the placeholder page.
    QStringList files() const
    {
        QStringList names = QDir(m_home).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
        names.removeAll(u"_XXX.html"_s);
        return names;
    }

    // Runs the page menu's row of that caption for the current page.
    void runMenuRow(const QString &caption)
    {
        m_form->ClearPagePopupMenu();
        m_form->BuildPagePopupMenu();
        QVERIFY(m_form->PagePopup);
        const QList<QAction *> rows = m_form->PagePopup->actions();
        const auto row = std::find_if(rows.cbegin(), rows.cend(), [&](QAction *a) { return a->text() == caption; });
        QVERIFY(row != rows.cend() && (*row)->isEnabled());
        (*row)->trigger();
    }

private slots:
    void initTestCase()
    {
        m_home = m_dir.filePath(u"web"_s);
        QDir().mkpath(m_home);
        m_form = new TForm1(m_platform, m_dir.filePath(u"web.exe"_s));
        m_form5 = new TForm5(m_form);
        m_form17 = new TForm17(m_platform, m_form);
        attachOrderTools(*m_form);
        m_form->show();
        m_form->FormShow();
    }
    void cleanupTestCase() { delete m_form; }
    void cleanup()
    {
        m_holding = false;
        m_released.release(1 - m_released.available());
        worker().setStepHook({});
        waitForRenames();
        m_reached.acquire(m_reached.available());
        m_released.acquire(m_released.available());
    }

    void movingThePageNumbersTheLevel()
    {
        setPages({u"index.html"_s, u"a.html"_s, u"b.html"_s, u"c.html"_s, u"c.%xt"_s}, 3);
        QString shown;
        ModalUser user(*m_form5, [&] {
            shown = m_form5->Memo1->text();
            m_form5->ScrollBar1->setValue(2);
            m_form5->BitBtn1->click();
        });
        runMenuRow(u"ボタン順変更"_s);
        // The menu runs its rows once it has closed.
        QTRY_COMPARE(shown, u"4"_s);
        waitForRenames();
        QCOMPARE(files(), (QStringList{u"1010_a.html"_s, u"1020_c.%xt"_s, u"1020_c.html"_s, u"1030_b.html"_s, u"index.html"_s}));
        QCOMPARE(m_form->nav.currentEntry(), u"1020_c.html"_s);
    }

    // The arrows at the ends of the scroll bar step the number one by one.
    void orderDialogArrowsStepTheNumber_data()
    {
        QTest::addColumn<int>("arrow");
        QTest::addColumn<int>("clicks");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("current");
        QTest::newRow("the lower arrow twice") << int(QStyle::SC_ScrollBarAddLine) << 2 << u"5"_s << u"1040_c.html"_s;
        QTest::newRow("the upper arrow twenty times stops at 1")
            << int(QStyle::SC_ScrollBarSubLine) << 20 << u"1"_s << u"1000_c.html"_s;
    }
    void orderDialogArrowsStepTheNumber()
    {
        QFETCH(int, arrow);
        QFETCH(int, clicks);
        QFETCH(QString, shown);
        QFETCH(QString, current);
        setPages({u"a.html"_s, u"b.html"_s, u"c.html"_s, u"d.html"_s, u"e.html"_s}, 2);
        QStringList numbers;
        ModalUser user(*m_form5, [&] {
            QScrollBar *bar = m_form5->ScrollBar1;
            QStyleOptionSlider option;
            option.initFrom(bar);
            option.orientation = bar->orientation();
            option.minimum = bar->minimum();
            option.maximum = bar->maximum();
            option.sliderPosition = bar->sliderPosition();
            option.sliderValue = bar->value();
            option.singleStep = bar->singleStep();
            option.pageStep = bar->pageStep();
            const QRect at = bar->style()->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SubControl(arrow), bar);
            for (int i = 0; i < clicks; ++i) {
                QTest::mouseClick(bar, Qt::LeftButton, {}, at.center());
                numbers << m_form5->Memo1->text();
            }
            m_form5->BitBtn1->click();
        });
        m_form->ReorderPagesMenu();
        waitForRenames();
        QCOMPARE(numbers.size(), clicks);
        QCOMPARE(numbers.constLast(), shown);
        QCOMPARE(numbers.constFirst(), arrow == QStyle::SC_ScrollBarAddLine ? u"4"_s : u"2"_s);
        QCOMPARE(m_form->nav.currentEntry(), current);
    }

    // A picture of the level that a page uses keeps its place in the page, or its
    // name when that page cannot be rewritten; the user is told.
    void reorderTakesThePicturesAlongInThePages()
    {
        setPages({u"a.html"_s, u"b.html"_s, u"c.jpg"_s, u"photo.jpg"_s}, 0);
        QVERIFY(writeFixture(m_home + u"/a.html"_s, "<HTML><BODY><IMG src=\"c.jpg\"></BODY></HTML>"));
        // A byte no encoding has: the page cannot be rewritten.
        QVERIFY(writeFixture(m_home + u"/b.html"_s, "<HTML><BODY><IMG src=\"photo.jpg\">\xFF</BODY></HTML>"));
        ModalUser user(*m_form5, [&] {
            m_form5->ScrollBar1->setValue(1);
            QTest::mouseClick(m_form5->BitBtn1, Qt::LeftButton);
        });
        QString told;
        answerListMessage(this, &told);
        m_form->ReorderPagesMenu();
        waitForRenames();
        QCOMPARE(files(), (QStringList{u"1000_b.html"_s, u"1010_a.html"_s, u"1020_c.jpg"_s, u"photo.jpg"_s}));
        QCOMPARE(readFixture(m_home + u"/1010_a.html"_s), QByteArray("<HTML><BODY><IMG src=\"1020_c.jpg\"></BODY></HTML>"));
        QVERIFY2(told.contains(u"photo.jpg"_s) && told.contains(m_home + u"/1000_b.html"_s), qPrintable(told));
    }

    // Another copy reordered the folder since this one read its level: no
    // part of the plan made from the old level is applied; the level is read
    // again and the user told.
    void planFromAStaleLevelIsRefused_data()
    {
        QTest::addColumn<int>("operation");
        QTest::newRow("reorder") << 0;
        QTest::newRow("strip") << 1;
    }
    void planFromAStaleLevelIsRefused()
    {
        QFETCH(int, operation);
        setPages({u"1000_a.html"_s, u"1010_b.html"_s, u"1020_c.html"_s, u"1030_d.html"_s}, 0);
        // The other copy moved d to the second place: as many files as before.
        QVERIFY(QFile::rename(m_home + u"/1010_b.html"_s, m_home + u"/1020_b.html"_s)
                && QFile::rename(m_home + u"/1020_c.html"_s, m_home + u"/1030_c.html"_s)
                && QFile::rename(m_home + u"/1030_d.html"_s, m_home + u"/1010_d.html"_s));
        const QStringList theirs{u"1000_a.html"_s, u"1010_d.html"_s, u"1020_b.html"_s, u"1030_c.html"_s};
        QString told, asked;
        answerListMessage(this, &told);
        if (operation == 0) {
            m_form->ReorderPages(0, 3);
        } else {
            answerMessageBox(this, QMessageBox::Yes, &asked);
            m_form->RemoveOrderNumbers();
        }
        waitForRenames();
        QCOMPARE(files(), theirs);
        QCOMPARE(m_form->nav.levels().top().MidashiF, theirs);
        QVERIFY2(told.contains(u"一覧から変わっていました"_s), qPrintable(told));
    }

    // The folder is shown with its own pages rewritten; the pages of other
    // folders are rewritten afterwards, off the window's thread.
    void reorderShowsTheFolderBeforeOtherFoldersAreRewritten()
    {
        setPages({u"a.html"_s, u"b.html"_s}, 0);
        QVERIFY(writeFixture(m_home + u"/a.html"_s, "<HTML><BODY><A href=\"b.html\">b</A></BODY></HTML>"));
        QVERIFY(QDir(m_home).mkdir(u"other"_s));
        QVERIFY(writeFixture(m_home + u"/other/o.html"_s, "<A href=\"../a.html\">a</A>"));
        holdBeforeTheRest();
        m_form->ReorderPages(1, 0);
        QVERIFY(m_reached.tryAcquire(1, 30000));
        QTRY_COMPARE(m_form->nav.currentEntry(), u"1000_b.html"_s);
        QCOMPARE(files(), (QStringList{u"1000_b.html"_s, u"1010_a.html"_s, u"other"_s}));
        QCOMPARE(readFixture(m_home + u"/1010_a.html"_s), QByteArray("<HTML><BODY><A href=\"1000_b.html\">b</A></BODY></HTML>"));
        QCOMPARE(readFixture(m_home + u"/other/o.html"_s), QByteArray("<A href=\"../a.html\">a</A>"));
        QVERIFY(QFile::exists(m_home + u"/.kavuno-renaming"_s));
        m_released.release();
        QTRY_COMPARE_WITH_TIMEOUT(readFixture(m_home + u"/other/o.html"_s), QByteArray("<A href=\"../1010_a.html\">a</A>"),
                                  30000);
        waitForRenames();
        QVERIFY(!QFile::exists(m_home + u"/.kavuno-renaming"_s));
        QVERIFY(!QFile::exists(m_home + u"/.kavuno-renaming.lock"_s));
    }

    // A rename asked for while the one before still rewrites other folders
    // is queued behind it and shown waiting, with a button that gives it up;
    // the window answers input meanwhile. Both end with every link of the
    // other folder right, or the first alone when the second was given up.
    void secondRenameDuringTheRewriteIsQueued_data()
    {
        QTest::addColumn<bool>("givenUp");
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QByteArray>("links");
        QTest::newRow("both made") << false
                                   << QStringList{u"1000_b.html"_s, u"1010_c.html"_s, u"1020_a.html"_s, u"other"_s}
                                   << QByteArray("<A href=\"../1020_a.html\">a</A><A href=\"../1000_b.html\">b</A>"
                                                 "<A href=\"../1010_c.html\">c</A>");
        QTest::newRow("the second given up")
            << true << QStringList{u"1000_c.html"_s, u"1010_a.html"_s, u"1020_b.html"_s, u"other"_s}
            << QByteArray("<A href=\"../1010_a.html\">a</A><A href=\"../1020_b.html\">b</A><A href=\"../1000_c.html\">c</A>");
    }
    void secondRenameDuringTheRewriteIsQueued()
    {
        QFETCH(bool, givenUp);
        QFETCH(QStringList, names);
        QFETCH(QByteArray, links);
        setPages({u"a.html"_s, u"b.html"_s, u"c.html"_s}, 0);
        QVERIFY(QDir(m_home).mkdir(u"other"_s));
        QVERIFY(writeFixture(m_home + u"/other/o.html"_s,
                             "<A href=\"../a.html\">a</A><A href=\"../b.html\">b</A><A href=\"../c.html\">c</A>"));
        holdBeforeTheRest();
        m_form->ReorderPages(2, 0);
        QVERIFY(m_reached.tryAcquire(1, 30000));
        QTRY_COMPARE(m_form->nav.currentEntry(), u"1000_c.html"_s);

        m_form->ReorderPages(2, 0);
        const QList<RenameJob> jobs = worker().jobs();
        QCOMPARE(jobs.size(), 2);
        QCOMPARE(jobs.at(0).stage, RenameJob::Rest);
        QCOMPARE(jobs.at(1).stage, RenameJob::Queued);
        auto *progress = m_form->findChild<RenameProgress *>();
        QVERIFY(progress);
        QPushButton *stop = nullptr;
        QTRY_VERIFY((stop = progress->findChild<QPushButton *>(u"StopRename"_s)) && stop->isVisible());
        // Input reaches the window while the first one still rewrites.
        inputIsAnswered();
        QCOMPARE(worker().jobs().size(), 2);
        if (givenUp)
            stop->click();
        m_released.release();
        waitForRenames();
        QCOMPARE(files(), names);
        QCOMPARE(readFixture(m_home + u"/other/o.html"_s), links);
    }

    // Closing the program while a rename rewrites other folders says what is
    // left and leaves its record; the next start finishes it in the
    // background, on the worker's thread, with the folder never opened.
    void closeDuringTheRewriteIsFinishedAtTheNextStart()
    {
        const NamedElsewhere made = makeFolderNamedElsewhere();
        const QString program = m_dir.filePath(u"web.exe"_s);
        {
            auto closing = std::make_unique<TForm1>(m_platform, program);
            closing->show();
            closing->FormShow();
            attachOrderTools(*closing);
            closing->nav.OpenFolderLevel(made.a, 2, true);
            holdAt(RenameJob::Rename, RenameJob::Rest, renameRunnerOf(*closing).worker());
            closing->ReorderPages(2, 0);
            QVERIFY(m_reached.tryAcquire(1, 30000));
            QString told;
            answerListMessage(this, &told);
            closing->close();
            QVERIFY2(told.contains(u"次にこのプログラムを起動したとき"_s) && told.contains(u"\nA"_s), qPrintable(told));
            m_released.release();
        }
        QVERIFY(QFile::exists(RenameRecord::path(made.a)));
        QCOMPARE(otherPage(), made.otherBefore);

        auto next = std::make_unique<TForm1>(m_platform, program);
        next->show();
        next->FormShow();
        std::atomic<int> stepsAside{0};
        std::atomic<int> stepsHere{0};
        const std::thread::id window = std::this_thread::get_id();
        renameRunnerOf(*next).worker().setStepHook([&](const RenameJob &job) {
            if (job.kind == RenameJob::Settle)
                ++(std::this_thread::get_id() == window ? stepsHere : stepsAside);
        });
        // As the program does once its first page is shown.
        attachOrderTools(*next);
        QTRY_COMPARE_WITH_TIMEOUT(otherPage(), made.otherAfter, 30000);
        QTRY_VERIFY(!QFile::exists(RenameRecord::path(made.a)));
        QCOMPARE(QDir(made.a).entryList(QDir::Files, QDir::Name), made.renamed);
        QCOMPARE(next->nav.CurDir, m_home);
        QVERIFY(stepsAside > 0);
        QCOMPARE(stepsHere.load(), 0);
        QTRY_VERIFY(!renameRunnerOf(*next).worker().busy());
    }

    // A folder a stopped rename left halfway is shown as it stands when it is
    // opened; the worker finishes it while the window answers input, and
    // the level is read again after.
    void openingAHalfRenamedFolderIsFinishedAside()
    {
        const NamedElsewhere made = makeFolderNamedElsewhere();
        const QString &a = made.a;
        {
            // A program closed between the folder's own part and the rest.
            FolderRenameLock lock(a);
            QVERIFY(lock.acquire(0));
            FolderRename rename(a, m_home, ReorderCompanions);
            rename.renameFolder(planReorder({u"a.html"_s, u"b.html"_s, u"c.html"_s}, 2, 0).moves, false);
            QVERIFY(rename.restLeft());
        }
        holdAt(RenameJob::Settle, RenameJob::Folder, worker());
        m_form->nav.OpenFolderLevel(a, 0, true);
        QVERIFY(QFile::exists(RenameRecord::path(a)));
        QCOMPARE(otherPage(), made.otherBefore);
        QVERIFY(m_reached.tryAcquire(1, 30000));
        inputIsAnswered();
        QVERIFY(QFile::exists(RenameRecord::path(a)));
        m_released.release();
        QTRY_COMPARE_WITH_TIMEOUT(otherPage(), made.otherAfter, 30000);
        QTRY_VERIFY(!QFile::exists(RenameRecord::path(a)));
        waitForRenames();
        QCOMPARE(m_form->nav.levels().top().MidashiF, made.renamed);
    }

    // However many files a message names, its window fits on the screen.
    void longListOfKeptFilesFitsOnTheScreen()
    {
        QStringList names{u"a.html"_s};
        QByteArray page = "<HTML><BODY>\xFF";
        for (int i = 0; i < 300; ++i) {
            names << u"photo%1.jpg"_s.arg(i);
            page += "<IMG src=\"photo" + QByteArray::number(i) + ".jpg\">";
        }
        setPages(names, 0);
        // A byte no encoding has: every picture it shows keeps its name.
        QVERIFY(writeFixture(m_home + u"/a.html"_s, page));
        QRect shown;
        QTimer timer;
        connect(&timer, &QTimer::timeout, this, [&] {
            QWidget *box = QApplication::activeModalWidget();
            if (!box || !shown.isNull())
                return;
            shown = box->frameGeometry();
            QMetaObject::invokeMethod(box, "accept", Qt::QueuedConnection);
        });
        timer.start(10);
        m_form->ReorderPages(0, 1);
        QTRY_VERIFY(!shown.isNull());
        waitForRenames();
        const QRect screen = m_form->screen()->availableGeometry();
        QVERIFY2(shown.height() <= screen.height() && shown.width() <= screen.width(),
                 qPrintable(u"%1x%2 on %3x%4"_s.arg(shown.width()).arg(shown.height()).arg(screen.width()).arg(screen.height())));
    }

    void closingTheOrderDialogChangesNothing()
    {
        setPages({u"a.html"_s, u"b.html"_s}, 0);
        ModalUser user(*m_form5, [&] { m_form5->BitBtn2->click(); });
        m_form->ReorderPagesMenu();
        QCOMPARE(files(), (QStringList{u"a.html"_s, u"b.html"_s}));
        // The checking page stays until a page is opened.
        QTRY_VERIFY(m_form->WebBrowser1->url().toLocalFile().endsWith(u"/_XXX.html"_s));
    }

    void stripButtonStripsAndTheHashedPageOpens()
    {
        setPages({u"1000_a.html"_s, u"1010_a.html"_s}, 1);
        ModalUser user(*m_form5, [&] { m_form5->SpeedButton1->click(); });
        QString asked;
        answerMessageBox(this, QMessageBox::Yes, &asked);
        QSignalSpy loaded(m_form->WebBrowser1, &QWebEngineView::loadFinished);
        m_form->ReorderPagesMenu();
        waitForRenames();
        QCOMPARE(asked, u"数字_ を削除していいですか？"_s);
        QCOMPARE(files(), (QStringList{u"a#.html"_s, u"a.html"_s}));
        m_form->nav.PBanSave(0);
        m_form->PageClick();
        QTRY_VERIFY_WITH_TIMEOUT(m_form->WebBrowser1->title() == u"1010_a.html"_s, 30000);
        QCOMPARE(m_form->WebBrowser1->url().toLocalFile(), m_home + u"/a#.html"_s);
    }

    void numberedRenameTakesTheRangeAndKeepsTheFields()
    {
        setPages({u"a.html"_s, u"b.html"_s, u"b.%xt"_s, u"page(101).html"_s}, 0);
        QDir(m_home).mkdir(u"b"_s);
        QString range, preview;
        ModalUser user(*m_form17, [&] {
            range = m_form17->Edit5->text() + u'-' + m_form17->Edit6->text();
            preview = m_form17->Edit7->text();
            m_form17->SpeedButton1->click();
        });
        runMenuRow(u"ファイル名をPage(数)に変更"_s);
        QTRY_COMPARE(range, u"1-3"_s);
        waitForRenames();
        QCOMPARE(preview, u"102"_s);
        QCOMPARE(files(), (QStringList{u"page(100).html"_s, u"page(101)"_s, u"page(101).%xt"_s, u"page(101).html"_s,
                                       u"page(102).html"_s}));
        QCOMPARE(readFixture(m_home + u"/page(101).html"_s).contains("<TITLE>b.html"), true);

        // This page only, with a name typed earlier kept by the dialog.
        setPages({u"a.html"_s, u"b.html"_s, u"c.html"_s}, 1);
        m_form17->Edit1->setText(u"unit"_s);
        m_form17->Edit2->setText(u"7"_s);
        ModalUser only(*m_form17, [&] { m_form17->SpeedButton3->click(); });
        m_form->RenamePagesNumbered();
        waitForRenames();
        QCOMPARE(files(), (QStringList{u"a.html"_s, u"c.html"_s, u"unit(007).html"_s}));
        QCOMPARE(m_form17->Edit1->text(), u"unit"_s);
    }

    void renumberOkBeepsAndCorrectsAField()
    {
        setPages({u"a.html"_s, u"b.html"_s}, 0);
        const int beeps = m_platform.beeps;
        bool stayedOpen = false;
        ModalUser user(*m_form17, [&] {
            m_form17->Edit6->setText(u"9"_s);
            m_form17->SpeedButton1->click();
            stayedOpen = m_form17->isVisible();
            m_form17->SpeedButton2->click();
        });
        m_form->RenamePagesNumbered();
        QVERIFY(stayedOpen);
        QCOMPARE(m_platform.beeps, beeps + 1);
        QCOMPARE(m_form17->Edit6->text(), u"2"_s);
        QCOMPARE(files(), (QStringList{u"a.html"_s, u"b.html"_s}));
    }

    void numberedRenameRefusesNamesNoFileCanHave_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("told");
        QTest::newRow("..") << u".."_s << u"「..」は「.」で始まるため"_s;
        QTest::newRow(".x") << u".x"_s << u"「.x」は「.」で始まるため"_s;
        QTest::newRow("300 characters") << QString(300, u'a') << u"長すぎて"_s;
        QTest::newRow("83 kana, 3 bytes each") << QString(83, QChar(0x30DA)) << u"長すぎて"_s;
        QTest::newRow("a folder") << u"x/y"_s << u"/ \\ $"_s;
    }
    void numberedRenameRefusesNamesNoFileCanHave()
    {
        QFETCH(QString, name);
        QFETCH(QString, told);
        setPages({u"a.html"_s, u"b.html"_s, u"b.%xt"_s}, 0);
        QDir(m_home).mkdir(u"b"_s);
        m_form17->Edit1->setText(name);
        ModalUser user(*m_form17, [&] { QTest::mouseClick(m_form17->SpeedButton1, Qt::LeftButton); });
        QString text;
        answerMessageBox(this, QMessageBox::Ok, &text);
        m_form->RenamePagesNumbered();
        m_form17->Edit1->setText(u"page"_s);
        QVERIFY2(text.contains(told), qPrintable(text));
        QCOMPARE(files(), (QStringList{u"a.html"_s, u"b"_s, u"b.%xt"_s, u"b.html"_s}));
    }

    // Another PC renaming in the folder: the user is told and gives up; nothing is renamed.
    void renameInAFolderAnotherPcRenamesIsGivenUp()
    {
        setPages({u"a.html"_s, u"a.%xt"_s, u"b.html"_s}, 0);
        const QStringList record{u"kavuno-renaming"_s, u"1"_s, u"another-pc"_s, u"77"_s, u"1"_s, u"1"_s, u"0"_s, u"2"_s,
                                 u"0"_s, u"a.html"_s, u"c.html"_s, u"1"_s, u"a.%xt"_s, u"c.%xt"_s};
        QVERIFY(writeFixture(m_home + u"/.kavuno-renaming"_s, (record.join(QChar(0)) + QChar(0)).toUtf8()));
        // That PC holds the folder's lock while it works.
        const QString lock = m_home + u"/.kavuno-renaming.lock"_s;
        QVERIFY(writeFixture(lock, "kavuno-rename-lock\ntoken 0123456789abcdef\nname other-pc\nwriter w#x#y\npid 4242\n"));
        QString told;
        answerMessageBox(this, QMessageBox::No, &told);
        m_form->ReorderPages(0, 1);
        waitForRenames();
        QVERIFY2(told.contains(u"別のパソコンがこのフォルダのファイル名を変更しています"_s), qPrintable(told));
        QCOMPARE(files(), (QStringList{u"a.%xt"_s, u"a.html"_s, u"b.html"_s}));
        QFile::remove(m_home + u"/.kavuno-renaming"_s);
        QFile::remove(lock);
    }

    // Another PC's live lock: the user is asked, told what is waited for, and
    // Yes waits, saying so, until that PC is done; then the pages are renamed.
    void yesWaitsForTheOtherPcToFinish()
    {
        setPages({u"a.html"_s, u"b.html"_s}, 0);
        const QString lock = m_home + u"/.kavuno-renaming.lock"_s;
        const auto beat = [lock] {
            writeFixture(lock, "kavuno-rename-lock\ntoken 0123456789abcdef\nname other-pc\nwriter w#x#y\npid 4242\nbeat 000000000007 "
                                   + QByteArray::number(QDateTime::currentSecsSinceEpoch()).rightJustified(12, '0') + '\n');
        };
        beat();
        QTimer beating;
        connect(&beating, &QTimer::timeout, this, beat);
        beating.start(300);
        QString asked;
        answerMessageBox(this, QMessageBox::Yes, &asked);
        // While the window waits, the other PC finishes: its lock goes.
        QString waited;
        QTimer other;
        connect(&other, &QTimer::timeout, this, [&] {
            auto *waiting = m_form->findChild<QProgressDialog *>(u"WaitingForFolder"_s);
            if (!waiting || !waiting->isVisible())
                return;
            waited = waiting->labelText();
            other.stop();
            beating.stop();
            QFile::remove(lock);
        });
        other.start(50);
        // A window that asks again is answered No.
        QTimer::singleShot(12000, this, [&] {
            beating.stop();
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget()))
                box->button(QMessageBox::No)->click();
        });
        m_form->ReorderPages(0, 1);
        waitForRenames();
        QVERIFY2(asked.contains(u"other-pc"_s), qPrintable(asked));
        QVERIFY2(waited.contains(u"other-pc"_s), qPrintable(waited));
        QCOMPARE(files(), (QStringList{u"1000_b.html"_s, u"1010_a.html"_s}));
    }

    void searchLevelIsRefused_data()
    {
        QTest::addColumn<int>("operation");
        QTest::newRow("reorder") << 0;
        QTest::newRow("strip") << 1;
        QTest::newRow("number") << 2;
    }
    void searchLevelIsRefused()
    {
        QFETCH(int, operation);
        setPages({u"a.html"_s}, 0);
        QDir(m_home).mkdir(u"sub"_s);
        QVERIFY(writeFixture(m_home + u"/sub/1000_x.html"_s));
        m_form->nav.PushLevel({u"sub\\1000_x.html"_s, u"a.html"_s}, {}, 0);
        QString told;
        answerMessageBox(this, QMessageBox::Ok, &told);
        if (operation == 0)
            m_form->ReorderPages(0, 1);
        else if (operation == 1)
            m_form->RemoveOrderNumbers();
        else
            m_form->RenamePagesNumbered();
        QVERIFY(told.contains(u"フォルダのページ一覧ではない"_s));
        QCOMPARE(files(), (QStringList{u"a.html"_s, u"sub"_s}));
        QVERIFY(QFile::exists(m_home + u"/sub/1000_x.html"_s));
    }
};

QTEST_MAIN(OrderDialogsTest)
#include "tst_orderdialogs.moc"
