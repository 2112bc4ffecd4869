// The main window starting, flashing, importing and ending.
#include "ui/app/tform1.h"

#include "ui/app/afterfirstpage.h"

#include "ui/app/fakeplatform.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
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

namespace {
// Moves files into a trash folder of its own, or refuses as a full trash does.
class TrashingPlatform : public FakePlatform
{
public:
    QString trash;
    bool refuse = false;
    QStringList moveToTrash(const QStringList &paths) override
    {
        QStringList kept;
        for (const QString &path : paths) {
            if (refuse || !QFile::rename(path, trash + u'/' + QFileInfo(path).fileName()))
                kept << path;
        }
        return kept;
    }
};

// Answers each message box that comes up (a question with answer, a
// warning with OK) and keeps the names of the boxes and their texts.
class BoxAnswerer : public QObject
{
public:
    explicit BoxAnswerer(QMessageBox::StandardButton answer)
    {
        connect(&m_timer, &QTimer::timeout, this, [this, answer] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box)
                return;
            seen << box->objectName();
            texts << box->text();
            QAbstractButton *button = box->button(answer);
            (button ? button : box->buttons().constFirst())->click();
        });
        m_timer.start(10);
    }
    QStringList seen;
    QStringList texts;

private:
    QTimer m_timer;
};
} // namespace

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
        BoxAnswerer user(QMessageBox::No);
        form.importChosenFiles({dir.filePath(u"new.txt"_s)});
        // A free name comes in without a question.
        QVERIFY(user.seen.isEmpty());
        QCOMPARE(form.nav.PBanSu(), pages + 1);
        QVERIFY(QFile::remove(dir.filePath(u"web/new.txt"_s)));
        form.importChosenFiles({});
        QVERIFY(!QFile::exists(dir.filePath(u"web/new.txt"_s)));
        QCOMPARE(form.nav.PBanSu(), pages);
        QCOMPARE(form.PageButtons.size(), pages);
    }

    // A page of the folder is replaced only when the user says so, and then
    // through the trash; a name that is free is imported either way.
    void importAsksBeforeReplacingAndTrashesTheOldFile_data()
    {
        QTest::addColumn<bool>("yes");
        QTest::addColumn<bool>("trashRefuses");
        QTest::addColumn<bool>("replaced");
        QTest::newRow("yes") << true << false << true;
        QTest::newRow("no") << false << false << false;
        QTest::newRow("yes, but the trash refuses") << true << true << false;
    }
    void importAsksBeforeReplacingAndTrashesTheOldFile()
    {
        QFETCH(bool, yes);
        QFETCH(bool, trashRefuses);
        QFETCH(bool, replaced);
        QTemporaryDir dir;
        QVERIFY(copyExamples(dir.filePath(u"web"_s)));
        QVERIFY(QDir().mkpath(dir.filePath(u"trash"_s)));
        QVERIFY(QDir().mkpath(dir.filePath(u"chosen"_s)));
        const QString page = dir.filePath(u"web/1020_lesson2.html"_s);
        const QByteArray old = readFixture(page);
        QVERIFY(!old.isEmpty());
        QVERIFY(writeFixture(dir.filePath(u"chosen/1020_lesson2.html"_s), "imported"));
        QVERIFY(writeFixture(dir.filePath(u"chosen/new.txt"_s), "new"));
        TrashingPlatform platform;
        platform.trash = dir.filePath(u"trash"_s);
        platform.refuse = trashRefuses;
        TForm1 form(platform, dir.filePath(u"web.exe"_s));
        form.FormShow();

        BoxAnswerer user(yes ? QMessageBox::Yes : QMessageBox::No);
        form.importChosenFiles({dir.filePath(u"chosen/1020_lesson2.html"_s), dir.filePath(u"chosen/new.txt"_s)});
        QCOMPARE(user.seen.value(0), u"importReplaceQuestion"_s);
        QVERIFY(user.texts.value(0).contains(u"「1020_lesson2.html」"_s));
        QCOMPARE(readFixture(page), replaced ? QByteArray("imported") : old);
        QCOMPARE(readFixture(dir.filePath(u"trash/1020_lesson2.html"_s)), replaced ? old : QByteArray());
        // A refusing trash keeps the page, and says so.
        QCOMPARE(user.seen.size(), trashRefuses ? 2 : 1);
        if (trashRefuses)
            QVERIFY(user.texts.value(1).contains(u"ごみ箱に移せませんでした"_s));
        QCOMPARE(readFixture(dir.filePath(u"web/new.txt"_s)), QByteArray("new"));
        QVERIFY(form.nav.levels().top().MidashiF.contains(u"new.txt"_s));
    }
};

QTEST_MAIN(TForm1Test)
#include "tst_tform1.moc"
