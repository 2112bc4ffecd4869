// The main window starting, flashing, importing and ending.
#include "ui/app/tform1.h"

#include "ui/app/afterfirstpage.h"

#include "ui/app/fakeplatform.h"

#include <QAction>
#include <QLabel>
#include <QMessageBox>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QWebEngineView>

#include "core/navigation/testfiles.h"

using namespace Qt::StringLiterals;

class TForm1Test : public QObject
{
    Q_OBJECT
private slots:
    void createsTheDataRootAndOpensTheFirstPage()
    {
        QTemporaryDir dir;
        QVERIFY(copyExamples(dir.filePath(u"web"_s)));
        FakePlatform platform;
        TForm1 form(platform, dir.filePath(u"web.exe"_s));
        QSignalSpy loaded(form.WebBrowser1, &QWebEngineView::loadFinished);
        form.show();
        form.FormShow();

        QVERIFY(QFileInfo(dir.filePath(u"web/00_RESUME"_s)).isDir());
        QVERIFY(QFileInfo(dir.filePath(u"web/00_日報の保存"_s)).isDir());
        QCOMPARE(form.windowTitle().section(u" - "_s, 0, 0), u"web"_s);
        QVERIFY(form.width() <= 1265 && form.height() <= 742);
        QCOMPARE(form.SpeedButton17->toolTip(), u"webに戻る"_s);
        QCOMPARE(form.Paste2->text(), u"文書を選んで「web」の中に保存"_s);
        QCOMPARE(form.nav.levels().top().MidashiF.first(), u"index.html"_s);
        QCOMPARE(form.Panel7->text(), u"1 / %1"_s.arg(form.nav.PBanSu()));

        QVERIFY(loaded.wait(30000));
        QVERIFY(loaded.first().first().toBool());
        QCOMPARE(form.WebBrowser1->url(), QUrl::fromLocalFile(dir.filePath(u"web/index.html"_s)));
        QCOMPARE(form.WebBrowser1->title(), u"\"_star.bmp\"はじめに?このウェブテキストの使い方"_s);
        // Looked up once the first page is shown.
        QTRY_COMPARE(form.ExcelPath, platform.spreadsheet);
    }

    // The windows made after the first page exist before anything could use them.
    void laterWindowsComeBeforeTheirFirstUse_data()
    {
        QTest::addColumn<QString>("trigger");
        QTest::newRow("first page loaded") << u"page"_s;
        QTest::newRow("a key") << u"key"_s;
        QTest::newRow("a click") << u"click"_s;
        QTest::newRow("a command line") << u"command"_s;
    }
    void laterWindowsComeBeforeTheirFirstUse()
    {
        QFETCH(QString, trigger);
        QTemporaryDir dir;
        QVERIFY(copyExamples(dir.filePath(u"web"_s)));
        FakePlatform platform;
        TForm1 form(platform, dir.filePath(u"web.exe"_s));
        QStringList steps;
        form.TXTcommand = [&steps](const QString &line) { steps << line; };
        new AfterFirstPage(form, [&steps] { steps << u"made"_s; });
        form.show();
        if (trigger == "page"_L1) {
            form.FormShow();
            QTRY_COMPARE_WITH_TIMEOUT(steps, QStringList{u"made"_s}, 30000);
        } else if (trigger == "key"_L1) {
            QTest::keyClick(&form, Qt::Key_Down);
        } else if (trigger == "click"_L1) {
            QTest::mouseClick(form.SpeedButton11, Qt::LeftButton);
        } else {
            form.TXTcommand(u"NEXT"_s);
        }
        QCOMPARE(steps.value(0), u"made"_s);
        // Once only.
        QTest::keyClick(&form, Qt::Key_Down);
        form.TXTcommand(u"NEXT"_s);
        QCOMPARE(steps.count(u"made"_s), 1);
    }

    void unusableDataRootGivesAMessageAndAnEmptyLevel()
    {
        FakePlatform platform;
        TForm1 form(platform, u"/proc/kavuno-none/web.exe"_s);
        form.FormShow();
        QCOMPARE(form.nav.PBanSu(), 0);
        QCOMPARE(form.Panel7->text(), u"0 / 0"_s);
        QVERIFY(form.findChild<QMessageBox *>());
    }

    void flashMessageShowsTextFrom1500_data()
    {
        QTest::addColumn<int>("ms");
        QTest::addColumn<bool>("shown");
        QTest::newRow("1499") << 1499 << false;
        QTest::newRow("1500") << 1500 << true;
    }
    void flashMessageShowsTextFrom1500()
    {
        QFETCH(int, ms);
        QFETCH(bool, shown);
        FakePlatform platform;
        TForm1 form(platform, u"/nonexistent/web.exe"_s);
        form.show();
        form.ShowFlashMessage(u"保存しました"_s, ms);
        QCOMPARE(form.Pmathu->isVisible(), shown);
        QCOMPARE(form.Pmathu->text(), shown ? u"保存しました"_s : QString());
        QVERIFY(form.Timer1->isActive());
        QCOMPARE(form.Timer1->interval(), ms);
        QTRY_VERIFY_WITH_TIMEOUT(!form.Timer1->isActive(), 5000);
        QVERIFY(!form.Pmathu->isVisible());
        QVERIFY(!form.Pmathub->isVisible());
        QVERIFY(form.Pmathu->text().isEmpty());
    }

    void batchModeCopiesBeepsAndEnds()
    {
        QTemporaryDir dir;
        QVERIFY(writeFixture(dir.filePath(u"a.pdf"_s), "pdf"));
        QVERIFY(writeFixture(dir.filePath(u"b.html"_s), "html"));
        FakePlatform platform;
        TForm1 form(platform, dir.filePath(u"notes"_s));
        QSignalSpy ended(&form, &TForm1::closedDown);
        form.FormShow({dir.filePath(u"a.pdf"_s), dir.filePath(u"b.html"_s)});
        QVERIFY(form.BatchMode);
        QVERIFY(!form.isVisible());
        QCOMPARE(readFixture(dir.filePath(u"notes_data/a.pdf"_s)), QByteArray("pdf"));
        QCOMPARE(readFixture(dir.filePath(u"notes_data/b.html"_s)), QByteArray("html"));
        QCOMPARE(platform.beeps, 1);
        QVERIFY(form.nav.levels().isEmpty());
        // No poll tick may open a level before the end.
        QVERIFY(!form.Timer5->isActive());
        QVERIFY(ended.wait(5000));
        QVERIFY(form.ListBox1.isEmpty());
    }

    void cancelledImportCopiesNothingButRereadsTheLevel()
    {
        QTemporaryDir dir;
        QVERIFY(copyExamples(dir.filePath(u"web"_s)));
        QVERIFY(writeFixture(dir.filePath(u"new.txt"_s), "new"));
        FakePlatform platform;
        TForm1 form(platform, dir.filePath(u"web.exe"_s));
        form.FormShow();
        const int pages = form.nav.PBanSu();
        // An earlier import stays in the list; a cancel must not copy it again.
        form.importChosenFiles({dir.filePath(u"new.txt"_s)});
        QCOMPARE(form.nav.PBanSu(), pages + 1);
        QVERIFY(QFile::remove(dir.filePath(u"web/new.txt"_s)));
        form.importChosenFiles({});
        QVERIFY(!QFile::exists(dir.filePath(u"web/new.txt"_s)));
        QCOMPARE(form.nav.PBanSu(), pages);
        QCOMPARE(form.PageButtons.size(), pages);
    }
};

QTEST_MAIN(TForm1Test)
#include "tst_tform1.moc"
