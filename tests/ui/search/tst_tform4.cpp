// The search window in the main window: the file menu's search, LOOK and the
// keyword links of the open page.
#include "ui/search/tform4.h"

#include "core/forms/pagepost.h"
#include "core/search/searchtexts.h"
#include "ui/app/tform1.h"
#include "ui/search/searchwiring.h"

#include "ui/app/copydialoguser.h"
#include "ui/app/fakeplatform.h"

#include <QAction>
#include <QApplication>
#include <QMessageBox>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include "core/navigation/testfiles.h"

using namespace Qt::StringLiterals;

static QByteArray ownPage(const QByteArray &title, const QByteArray &body)
{
    return "\xEF\xBB\xBF<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">\r\n<HTML><HEAD><TITLE>" + title
           + "</TITLE></HEAD>\r\n<BODY>" + body + "</BODY></HTML>\r\n";
}

class TForm4Test : public QObject
{
    Q_OBJECT
private:
    QTemporaryDir dir;
    FakePlatform platform;
    std::unique_ptr<TForm1> form;
    std::unique_ptr<TForm4> search;
    std::unique_ptr<SearchWindowLookup> lookup;
    QString home;

private slots:
    void init()
    {
        home = dir.filePath(u"web"_s);
        for (const auto &[name, bytes] : QList<std::pair<QString, QByteArray>>{
                 {u"1010_start.html"_s, ownPage("Start#intro", "<P>An Apple a day.</P>")},
                 {u"sub1/same.html"_s, ownPage("Same one#apple", "<P>first</P>")},
                 {u"sub2/same.html"_s, ownPage("Same two#pear", "<P>second apple</P>")},
                 {u"empty/.keep"_s, QByteArray()}}) {
            QDir().mkpath(QFileInfo(home + u'/' + name).absolutePath());
            QVERIFY(writeFixture(home + u'/' + name, bytes));
        }
        form = std::make_unique<TForm1>(platform, dir.filePath(u"web.exe"_s));
        form->FormShow();
        search = std::make_unique<TForm4>(*form);
        lookup = attachSearchWindow(*form, *search, nullptr);
    }
    void cleanup()
    {
        lookup.reset();
        search.reset();
        form.reset();
    }

    void fileMenuSearchOpensTheChosenEntry()
    {
        QCOMPARE(form->Find1->text(), SearchTexts::FindItem);
        QCOMPARE(form->PopupMenu2->actions().indexOf(form->Find1), form->PopupMenu2->actions().indexOf(form->N1) - 1);
        const QString before = form->CurPagePath;
        // Cancelled: the page that was open stays the main window's.
        QTimer::singleShot(0, this, [this] {
            QTRY_COMPARE(search->ListBox3->model()->rowCount(), 3);
            QVERIFY(!search->SpeedButton5->isVisible() || search->SpeedButton5->isEnabled());
            search->SpeedButton5->click();
        });
        form->Find1Click();
        QCOMPARE(form->nav.levels().height(), 1);
        QCOMPARE(form->CurPagePath, before);
        QCOMPARE(search->Caption(), QString());

        QTimer::singleShot(0, this, [this] {
            QTRY_COMPARE(search->ListBox3->model()->rowCount(), 3);
            search->Edit1->setText(u"APPLE"_s);
            search->SpeedButton2->click();
            QCOMPARE(search->ListBox3->model()->rowCount(), 3);
            search->Edit1->setText(u"same"_s);
            search->SpeedButton2->click();
            QCOMPARE(search->ListBox3->model()->rowCount(), 2);
            search->SpeedButton3->click(); // one step back
            QCOMPARE(search->ListBox3->model()->rowCount(), 3);
            search->SpeedButton2->click();
            // The second entry of the one base name is chosen.
            const QRect row = search->ListBox3->visualRect(search->ListBox3->model()->index(1, 0));
            QTest::mouseClick(search->ListBox3->viewport(), Qt::LeftButton, {}, row.center());
            QCOMPARE(search->PreviewedPath, u"sub2/same.html"_s);
            search->SpeedButton4->click();
        });
        form->Find1Click();
        QCOMPARE(form->nav.levels().height(), 2);
        QCOMPARE(form->nav.levels().top().MidashiF, (QStringList{u"sub1/same.html"_s, u"sub2/same.html"_s}));
        QCOMPARE(form->nav.PBan(), 1);
        QCOMPARE(form->SearchIndexKey, home + u'/');
    }

    void everyResultRowSpansTheColumn()
    {
        QList<int> widths;
        int column = 0;
        QTimer::singleShot(0, this, [&] {
            (void)QTest::qWaitFor([&] { return search->ListBox3->model()->rowCount() == 3; });
            // A column narrower than the titles: no row may take the first one's width.
            search->ListBox3->setFixedWidth(40);
            (void)QTest::qWaitFor([&] { return search->ListBox3->viewport()->width() < 40; });
            column = search->ListBox3->viewport()->width();
            for (int row = 0; row < search->ListBox3->model()->rowCount(); ++row)
                widths << search->ListBox3->visualRect(search->ListBox3->model()->index(row, 0)).width();
            search->SpeedButton5->click();
        });
        form->Find1Click();
        QCOMPARE(widths, QList<int>(3, column));
    }

    void lookFindsTitleWordsAndNothingIsNoResult()
    {
        const QString self = (home + u"/sub1/same.html"_s).toUpper();
        KeywordResult found = lookup->lookUp(u"apple"_s, self);
        QCOMPARE(found.paths, QStringList{});
        found = lookup->lookUp(u"PEAR"_s, self);
        QCOMPARE(found.paths, QStringList{u"sub2/same.html"_s});
        QCOMPARE(found.titles, QStringList{u"Same two#pear"_s});

        // A folder without documents is listed (empty) and that listing kept.
        form->nav.OpenFolderLevel(home + u"/empty"_s, 0, true);
        QCOMPARE(lookup->lookUp(u"pear"_s, {}).paths, QStringList{});
        QCOMPARE(form->SearchIndexKey, home + u"/empty/"_s);
        search->Tag = 2;
        QCOMPARE(search->runWithoutShowing(), SearchListing{});
    }

    void previewOffersDocumentsTheBrowserWouldDownload_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("panel");
        QTest::newRow("page") << u"p.html"_s << false;
        QTest::newRow("word processor") << u"w.jxw"_s << true;
        QTest::newRow("ichitaro") << u"t.jtd"_s << true;
        QTest::newRow("spreadsheet") << u"s.xlsx"_s << true;
    }
    void previewOffersDocumentsTheBrowserWouldDownload()
    {
        QFETCH(QString, name);
        QFETCH(bool, panel);
        QVERIFY(QDir().mkpath(home + u"/only"_s));
        QVERIFY(writeFixture(home + u"/only/"_s + name, "x"));
        form->nav.OpenFolderLevel(home + u"/only"_s, 0, true);
        QTimer::singleShot(0, this, [&] {
            QTRY_COMPARE(search->ListBox3->model()->rowCount(), 1);
            QCOMPARE(search->Panel3->isVisible(), panel);
            QCOMPARE(search->Label3, panel ? home + u"/only/"_s + name : QString());
            QCOMPARE(form->CurPagePath, home + u"/only/"_s + name);
            search->reject(); // Esc
        });
        form->Find1Click();
        QCOMPARE(form->nav.levels().height(), 2);
        QVERIFY(QDir(home + u"/only"_s).removeRecursively());
    }

    void copyKeepsTheFilesOwnNameWhateverFilter()
    {
        QVERIFY(QDir().mkpath(home + u"/only"_s));
        QVERIFY(writeFixture(home + u"/only/名簿.xlsx"_s, "PK"));
        form->nav.OpenFolderLevel(home + u"/only"_s, 0, true);
        QTemporaryDir desktop;
        platform.desktop = desktop.path();
        // Twice: the same dialog serves each copy.
        QStringList names;
        QString hint;
        QTimer::singleShot(0, this, [&] {
            if (QTest::qWaitFor([&] { return search->Panel3->isVisible(); })) {
                hint = search->SpeedButton7->toolTip();
                for (int filter : {1, 2}) {
                    CopyDialogUser user(filter);
                    QTest::mouseClick(search->SpeedButton7, Qt::LeftButton);
                    names << user.proposed << user.afterFilter;
                    names << (QFile::remove(desktop.filePath(u"名簿.xlsx"_s)) ? u"名簿.xlsx"_s : u"(not saved)"_s);
                }
            }
            search->reject();
        });
        form->Find1Click();
        platform.desktop = QDir::tempPath();
        QVERIFY(QDir(home + u"/only"_s).removeRecursively());
        QCOMPARE(hint, u"このファイルをコピー"_s);
        QCOMPARE(names, QStringList(6, u"名簿.xlsx"_s));
    }

    void keywordLengthOrderForTheLinks()
    {
        search->Tag = 2;
        QStringList titles;
        for (const SearchEntry &e : search->runWithoutShowing())
            titles << e.title;
        QCOMPARE(titles, (QStringList{u"Same two#pear"_s, u"Start#intro"_s, u"Same one#apple"_s}));
    }

    void keywordLinksAreMadeAndRemovedInTheOpenPage()
    {
        const QString start = home + u"/1010_start.html"_s;
        form->nav.PBanSave(0);
        QVERIFY(form->popupActions.AddLookLinks && form->popupActions.RemoveLookLinks);
        form->popupActions.AddLookLinks();
        QCOMPARE(readFixture(start), ownPage("Start#intro", "<P>An <A href=\"/$LOOK apple\">apple</A> a day.</P>"));
        form->popupActions.RemoveLookLinks();
        QCOMPARE(readFixture(start), ownPage("Start#intro", "<P>An apple a day.</P>"));
    }

    // LOOK makes no page the program then refuses, and says where it stopped;
    // LOOKの削除 takes the links out again.
    void linksStopBeforeThePageIsRefused()
    {
        const QString start = home + u"/1010_start.html"_s;
        const QByteArray page = ownPage("Start#intro", "<P>" + QByteArray("apple ").repeated(13000) + "</P>");
        QVERIFY(writeFixture(start, page));
        form->nav.PBanSave(0);
        // The walk lets events run too: the message is waited for without blocking it.
        QString shown;
        QTimer answer;
        connect(&answer, &QTimer::timeout, this, [&] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                shown = box->text();
                box->accept();
            }
        });
        answer.start(20);
        form->popupActions.AddLookLinks();
        answer.stop();
        QCOMPARE(shown, SearchTexts::LinksStopped.arg(u"1010_start.html"_s));
        const QString linked = QString::fromUtf8(readFixture(start));
        QVERIFY(linked.contains(u"<A href=\"/$LOOK apple\">apple</A>"_s));
        QCOMPARE(postPlace(linked).status, PostStatus::Posted);
        form->popupActions.RemoveLookLinks();
        QCOMPARE(readFixture(start), page);
    }

    // A page too costly to read as a browser does loses the links LOOK wrote.
    void removalReachesAPageTooCostlyToRead()
    {
        const QString start = home + u"/1010_start.html"_s;
        QByteArray costly = "<P>Start real</P><p>";
        for (int i = 0; i < 1000; ++i)
            costly += "<b id=" + QByteArray::number(i) + ">";
        costly += "</p>" + QByteArray("<div>x</div>").repeated(1000);
        QVERIFY(writeFixture(start, ownPage("Start#intro", costly + "<P>An <A href=\"/$LOOK apple\">apple</A>.</P>")));
        form->nav.PBanSave(0);
        form->popupActions.RemoveLookLinks();
        QCOMPARE(readFixture(start), ownPage("Start#intro", costly + "<P>An apple.</P>"));
    }

    void postLandingDuringTheWalkStays()
    {
        const QString start = home + u"/1010_start.html"_s;
        form->nav.PBanSave(0);
        // Another computer posts while the walk lets events run.
        QTimer::singleShot(0, [&] {
            QCOMPARE(postToPage(start, QString(), QString(), u"walk"_s, 0).status, PostStatus::Posted);
        });
        form->popupActions.AddLookLinks();
        QCOMPARE(readFixture(start),
                 ownPage("Start#intro", "<P>(^0^)walk<BR>---.<BR>An <A href=\"/$LOOK apple\">apple</A> a day.</P>"));
    }
};

QTEST_MAIN(TForm4Test)
#include "tst_tform4.moc"
