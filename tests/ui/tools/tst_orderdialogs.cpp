// The order dialog and the renumber dialog driven as a user would, on a real
// folder under the main window.
#include "ui/app/tform1.h"
#include "core/tools/renamefinisher.h"
#include "ui/tools/listmessage.h"
#include "ui/tools/ordertools.h"
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
#include <QSignalSpy>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QWebEngineView>

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

    // The data root holds exactly these pages (each titled by its name).
    // The worker that finishes renames in the rest of the data root has ended.
    void waitForFinisher()
    {
        if (auto *finisher = m_form->findChild<RenameFinisher *>())
            QTRY_VERIFY_WITH_TIMEOUT(!finisher->busy(), 30000);
    }

    void setPages(const QStringList &names, int current)
    {
        waitForFinisher();
        QDir home(m_home);
        home.removeRecursively();
        QDir().mkpath(m_home);
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
        m_form->ReorderPages(1, 0);
        QCOMPARE(files(), (QStringList{u"1000_b.html"_s, u"1010_a.html"_s, u"other"_s}));
        QCOMPARE(readFixture(m_home + u"/1010_a.html"_s), QByteArray("<HTML><BODY><A href=\"1000_b.html\">b</A></BODY></HTML>"));
        QCOMPARE(readFixture(m_home + u"/other/o.html"_s), QByteArray("<A href=\"../a.html\">a</A>"));
        QVERIFY(QFile::exists(m_home + u"/.kavuno-renaming"_s));
        QTRY_COMPARE_WITH_TIMEOUT(readFixture(m_home + u"/other/o.html"_s), QByteArray("<A href=\"../1010_a.html\">a</A>"),
                                  30000);
        waitForFinisher();
        QVERIFY(!QFile::exists(m_home + u"/.kavuno-renaming"_s));
        QVERIFY(!QFile::exists(m_home + u"/.kavuno-renaming.lock"_s));
    }

    // A rename started while the one before is still rewriting other folders
    // waits for it: both end with every link of the other folder right.
    void secondRenameWaitsForTheFirstToFinish()
    {
        setPages({u"a.html"_s, u"b.html"_s, u"c.html"_s}, 0);
        QVERIFY(QDir(m_home).mkdir(u"other"_s));
        QVERIFY(writeFixture(m_home + u"/other/o.html"_s,
                             "<A href=\"../a.html\">a</A><A href=\"../b.html\">b</A><A href=\"../c.html\">c</A>"));
        m_form->ReorderPages(2, 0);
        m_form->ReorderPages(2, 0);
        waitForFinisher();
        QCOMPARE(files(), (QStringList{u"1000_b.html"_s, u"1010_c.html"_s, u"1020_a.html"_s, u"other"_s}));
        QCOMPARE(readFixture(m_home + u"/other/o.html"_s),
                 QByteArray("<A href=\"../1020_a.html\">a</A><A href=\"../1000_b.html\">b</A><A href=\"../1010_c.html\">c</A>"));
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
        QVERIFY(!shown.isNull());
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
