#include "core/navigation/levelprefetch.h"
#include "core/navigation/navigationtexts.h"
#include "core/navigation/navigator.h"
#include "core/navigation/navigatorhost.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <chrono>
#include <filesystem>

#include "core/navigation/testfiles.h"

using namespace Qt::StringLiterals;

// Records what the navigation asks of the window; opening a page whose file is
// missing goes home, so that going home is seen to end when its page is gone.
class FakeHost : public NavigatorHost
{
public:
    Navigator *navigator = nullptr;
    QStringList calls;
    QString address;

    void PageClick() override
    {
        calls << u"PageClick"_s;
        if (navigator->PBanSu() > 0 && !QFile::exists(navigator->entryPath(navigator->PBan())))
            navigator->GoHome();
    }
    void ReMake() override { calls << u"ReMake"_s; }
    void BuildPageButtons() override { calls << u"BuildPageButtons"_s; }
    void showNoPage() override { calls << u"showNoPage"_s; }
    QString shownAddress() const override { return address; }
};

// Makes a folder look last changed `age` ago (a read-ahead is taken only from a settled folder).
static void stampAgo(const QString &folder, std::chrono::seconds age)
{
    std::filesystem::last_write_time(QFile::encodeName(folder).toStdString(),
                                     std::filesystem::file_time_type::clock::now() - age);
}

class NavigatorTest : public QObject
{
    Q_OBJECT
private:
    QTemporaryDir m_dir;
    QString m_home;
    QString m_sub;

private slots:
    void initTestCase()
    {
        m_home = m_dir.filePath(u"notes"_s);
        m_sub = m_home + u"/sub"_s;
        QVERIFY(QDir().mkpath(m_sub));
        QVERIFY(writeFixture(m_home + u"/index.html"_s));
        QVERIFY(writeFixture(m_home + u"/1010_a.html"_s));
        QVERIFY(writeFixture(m_home + u"/1020_b.txt"_s));
        QVERIFY(writeFixture(m_sub + u"/1010_x.html"_s));
        QVERIFY(writeFixture(m_sub + u"/1020_y.html"_s));
    }

    void noLevel()
    {
        Navigator navigator;
        QCOMPARE(navigator.PBan(), -1);
        QCOMPARE(navigator.PBanSu(), 0);
        navigator.PBanSave(3);
        QCOMPARE(navigator.PBan(), -1);
        navigator.TiteleLoad(0);
        navigator.PopLevel();
        QCOMPARE(navigator.PBan(), -1);
        QVERIFY(navigator.currentEntry().isEmpty());
    }

    void openFolderLevelListsAndTitles()
    {
        Navigator navigator;
        navigator.setProgramPath(m_dir.filePath(u"notes.exe"_s));
        QVERIFY(navigator.OpenFolderLevel(m_home + u'/', 2, true));
        QCOMPARE(navigator.CurDir, m_home);
        QCOMPARE(navigator.PBan(), 2);
        QCOMPARE(navigator.PBanSu(), 3);
        QCOMPARE(navigator.FileCountSeen, 3);
        QCOMPARE(navigator.levels().top().MidashiF, (QStringList{u"index.html"_s, u"1010_a.html"_s, u"1020_b.txt"_s}));
        QCOMPARE(navigator.levels().top().MidashiT, (QStringList{u"index"_s, u"a"_s, u"b"_s}));
        QCOMPARE(navigator.entryPath(1), m_home + u"/1010_a.html"_s);

        // Re-reading in place keeps the height.
        QVERIFY(navigator.OpenFolderLevel(navigator.CurDir, navigator.PBan(), false));
        QCOMPARE(navigator.levels().height(), 1);
        QCOMPARE(navigator.PBan(), 2);
    }

    // A level another thread read a moment ago is shown without reading the
    // folder again, once, and only for its own folder.
    void levelReadAsideIsTakenOnceForItsFolder_data()
    {
        QTest::addColumn<bool>("ownFolder");
        QTest::newRow("its folder") << true;
        QTest::newRow("another folder") << false;
    }
    void levelReadAsideIsTakenOnceForItsFolder()
    {
        QFETCH(bool, ownFolder);
        Navigator navigator;
        navigator.setProgramPath(m_dir.filePath(u"notes.exe"_s));
        LevelListing listing;
        listing.folder = (ownFolder ? m_sub : m_home) + u'/';
        listing.listed = true;
        listing.fileCount = 1;
        listing.entries = {u"1000_y.html"_s};
        listing.titles = {u"read aside"_s};
        navigator.useListing(listing);
        QVERIFY(navigator.OpenFolderLevel(m_sub, 0, true));
        const QStringList read{u"1010_x.html"_s, u"1020_y.html"_s};
        QCOMPARE(navigator.levels().top().MidashiF, ownFolder ? listing.entries : read);
        QCOMPARE(navigator.levels().top().MidashiT.constFirst(), ownFolder ? u"read aside"_s : u"x"_s);
        QVERIFY(navigator.OpenFolderLevel(m_sub, 0, false));
        QCOMPARE(navigator.levels().top().MidashiF, read);
    }

    void popLevelRestoresTheFolder()
    {
        FakeHost host;
        Navigator navigator(&host);
        host.navigator = &navigator;
        navigator.OpenFolderLevel(m_home, 1, true);
        navigator.OpenFolderLevel(m_sub, 0, true);
        navigator.PBanSave(1);
        QCOMPARE(navigator.CurDir, m_sub);
        QCOMPARE(navigator.levels().height(), 2);

        navigator.GoBackLevel();
        QCOMPARE(navigator.levels().height(), 1);
        QCOMPARE(navigator.CurDir, m_home);
        QCOMPARE(navigator.PBan(), 1);
        QVERIFY(QFile::exists(navigator.entryPath(navigator.PBan())));
        QCOMPARE(host.calls, QStringList{u"ReMake"_s});

        // With one level only the first page is chosen.
        navigator.PopLevel();
        QCOMPARE(navigator.levels().height(), 1);
        QCOMPARE(navigator.PBan(), 0);
    }

    void pushedLevelsKeepOneTitlePerEntry()
    {
        Navigator navigator;
        navigator.OpenFolderLevel(m_home, 0, true);
        navigator.PushLevel({u"sub\\1010_x.html"_s, u"http://example.org/"_s, u"1020_y.html"_s}, {u"X"_s}, 1);
        QCOMPARE(navigator.levels().top().MidashiT, (QStringList{u"X"_s, QString(), u"y"_s}));
        QCOMPARE(navigator.entryPath(0), m_sub + u"/1010_x.html"_s);
        QVERIFY(navigator.entryPath(1).isEmpty());
        QCOMPARE(navigator.PBan(), 1);
    }

    void pbanSaveNeverStoresNegative()
    {
        Navigator navigator;
        navigator.OpenFolderLevel(m_home, -5, true);
        QCOMPARE(navigator.PBan(), 0);
        navigator.PBanSave(-1);
        QCOMPARE(navigator.PBan(), 0);
        navigator.PBanSave(7); // folded back by the page opening, not here
        QCOMPARE(navigator.PBan(), 7);
    }

    void titeleLoadReadsOneTitleAgain()
    {
        QTemporaryDir dir;
        QVERIFY(writeFixture(dir.filePath(u"1010_p.html"_s), "<!DOCTYPE HTML PUBLIC \"x\"><TITLE></TITLE>"));
        FakeHost host;
        Navigator navigator(&host);
        host.navigator = &navigator;
        navigator.OpenFolderLevel(dir.path(), 0, true);
        QCOMPARE(navigator.levels().top().MidashiT, QStringList{u"p"_s});

        host.address = u"http://example.org/"_s;
        navigator.TiteleLoad(0);
        QCOMPARE(navigator.levels().top().MidashiT, QStringList{u"p"_s});

        host.address.clear();
        navigator.TiteleLoad(0);
        QCOMPARE(navigator.levels().top().MidashiT, QStringList{QString()});
        navigator.TiteleLoad(5);
        navigator.TiteleLoad(-1);
    }

    void goHomeOpensTheDataRoot()
    {
        FakeHost host;
        Navigator navigator(&host);
        host.navigator = &navigator;
        navigator.setProgramPath(m_dir.filePath(u"notes.exe"_s));
        navigator.OpenFolderLevel(m_sub, 1, true);
        navigator.GoHome();
        QCOMPARE(navigator.CurDir, m_home);
        QCOMPARE(navigator.levels().height(), 1);
        QCOMPARE(navigator.PBan(), 0);
        QCOMPARE(host.calls, (QStringList{u"BuildPageButtons"_s, u"PageClick"_s}));
    }

    void missingPageSendsHomeOnce()
    {
        QTemporaryDir dir;
        const QString home = dir.filePath(u"web"_s);
        QDir().mkpath(home);
        QVERIFY(writeFixture(home + u"/a.html"_s));
        FakeHost host;
        Navigator navigator(&host);
        host.navigator = &navigator;
        navigator.setProgramPath(dir.filePath(u"web.exe"_s));
        navigator.PushLevel({u"gone.html"_s}, {}, 0);
        navigator.CurDir = home;
        // The home page vanishes too: the placeholder ends it.
        QFile::remove(home + u"/a.html"_s);
        QVERIFY(writeFixture(home + u"/b.html"_s));
        host.PageClick();
        QCOMPARE(navigator.CurDir, home);
        QCOMPARE(navigator.levels().top().MidashiF, QStringList{u"b.html"_s});
    }

    // A level read ahead gives what reading the folder at the opening gives.
    void levelReadAheadGivesTheFolderAsItIsOpened_data()
    {
        QTest::addColumn<int>("stampAgeSeconds");
        QTest::addColumn<QString>("change");
        QTest::addColumn<QStringList>("titles");
        const QStringList before{u"index"_s, u"old"_s};
        const QStringList after{u"index"_s, u"new"_s};
        QTest::newRow("nothing changed") << 3600 << QString() << before;
        QTest::newRow("page replaced by a rename") << 3600 << u"rename"_s << after;
        QTest::newRow("page added") << 3600 << u"add"_s << QStringList{u"index"_s, u"old"_s, u"c"_s};
        QTest::newRow("written in place, forgotten") << 3600 << u"forget"_s << after;
        QTest::newRow("young stamp, written in place") << 0 << u"inplace"_s << after;
    }
    void levelReadAheadGivesTheFolderAsItIsOpened()
    {
        QFETCH(int, stampAgeSeconds);
        QFETCH(QString, change);
        QFETCH(QStringList, titles);
        QTemporaryDir dir;
        const QString home = dir.filePath(u"notes"_s);
        const QString page = home + u"/1010_a.html"_s;
        const QByteArray older = "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01//EN\">\r\n<HTML><HEAD><TITLE>old</TITLE></HEAD></HTML>";
        const QByteArray newer = "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01//EN\">\r\n<HTML><HEAD><TITLE>new</TITLE></HEAD></HTML>";
        QVERIFY(QDir().mkpath(home));
        QVERIFY(writeFixture(home + u"/index.html"_s));
        QVERIFY(writeFixture(page, older));
        stampAgo(home, std::chrono::seconds(stampAgeSeconds));
        Navigator navigator;
        navigator.setProgramPath(dir.filePath(u"notes.exe"_s));
        navigator.prefetchLevel(home);
        if (change == "rename"_L1) {
            QVERIFY(writeFixture(home + u"/new.tmp"_s, newer));
            QVERIFY(QFile::remove(page) && QFile::rename(home + u"/new.tmp"_s, page));
        } else if (change == "add"_L1) {
            QVERIFY(writeFixture(home + u"/1020_c.html"_s));
        } else if (!change.isEmpty()) {
            QVERIFY(writeFixture(page, newer));
            if (change == "forget"_L1)
                navigator.forgetPrefetch();
        }
        QVERIFY(navigator.OpenFolderLevel(home, 0, true));
        QCOMPARE(navigator.levels().top().MidashiT, titles);
        QCOMPARE(navigator.FileCountSeen, titles.size());
    }

    // A reading started before the window existed stands in for the home
    // level's only when it reads that folder for this program.
    void earlierReadingTakenOnlyForTheHomeLevel_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("program");
        QTest::newRow("the home level") << u"notes"_s << u"notes"_s;
        QTest::newRow("another program's") << u"notes"_s << u"other"_s;
        QTest::newRow("another folder") << u"other"_s << u"notes"_s;
    }
    void earlierReadingTakenOnlyForTheHomeLevel()
    {
        QFETCH(QString, folder);
        QFETCH(QString, program);
        QTemporaryDir dir;
        const QString home = dir.filePath(u"notes"_s);
        QVERIFY(QDir().mkpath(home) && QDir().mkpath(dir.filePath(u"other"_s)));
        QVERIFY(writeFixture(home + u"/index.html"_s));
        QVERIFY(writeFixture(home + u"/1010_a.html"_s));
        // The program's own page, which its level leaves out.
        QVERIFY(writeFixture(home + u"/notes.html"_s));
        QVERIFY(writeFixture(dir.filePath(u"other/1010_b.html"_s)));
        for (const QString &listed : {home, dir.filePath(u"other"_s)})
            stampAgo(listed, std::chrono::hours(1));
        Navigator navigator;
        navigator.setProgramPath(dir.filePath(u"notes.exe"_s));
        navigator.prefetchLevel(home, std::make_unique<LevelPrefetch>(dir.filePath(folder), program));
        QVERIFY(navigator.OpenFolderLevel(home, 0, true));
        QCOMPARE(navigator.levels().top().MidashiF, (QStringList{u"index.html"_s, u"1010_a.html"_s}));
        QCOMPARE(navigator.levels().top().MidashiT, (QStringList{u"index"_s, u"a"_s}));
    }

    // A start reads the first titles only; whatever looks at the level or
    // changes the stack finds the home level's titles whole, and only there.
    void titlesLeftForLaterReachTheirOwnLevel_data()
    {
        QTest::addColumn<QString>("step");
        QTest::addColumn<QStringList>("homeTitles");
        const QStringList titles{u"index"_s, u"a"_s, u"b"_s, u"c"_s, u"d"_s};
        QTest::newRow("never asked for") << QString() << QStringList();
        QTest::newRow("levels looked at") << u"levels"_s << titles;
        QTest::newRow("title of a later entry") << u"title"_s << titles;
        QTest::newRow("read on their own first") << u"readRest"_s << titles;
        QTest::newRow("a level pushed on top") << u"push"_s << titles;
        QTest::newRow("the level read again with a page added")
            << u"reopen"_s << QStringList{u"index"_s, u"z"_s, u"a"_s, u"b"_s, u"c"_s, u"d"_s};
        QTest::newRow("a title edited meanwhile") << u"edit"_s
                                                  << QStringList{u"index"_s, u"a"_s, u"b"_s, u"c"_s, u"new"_s};
    }
    void titlesLeftForLaterReachTheirOwnLevel()
    {
        QFETCH(QString, step);
        QFETCH(QStringList, homeTitles);
        QTemporaryDir dir;
        const QString home = dir.filePath(u"notes"_s);
        QVERIFY(QDir().mkpath(home));
        QVERIFY(writeFixture(home + u"/index.html"_s));
        for (const QString &name : {u"1010_a"_s, u"1020_b"_s, u"1030_c"_s, u"1040_d"_s})
            QVERIFY(writeFixture(home + u'/' + name + u".html"_s));
        stampAgo(home, std::chrono::hours(1));
        Navigator navigator;
        navigator.setProgramPath(dir.filePath(u"notes.exe"_s));
        navigator.prefetchLevel(home, std::make_unique<LevelPrefetch>(home, u"notes"_s, 2));
        QVERIFY(navigator.OpenFolderLevel(home, 0, true));
        QCOMPARE(navigator.entries().size(), 5);
        QCOMPARE(navigator.title(1), u"a"_s);
        if (step == "levels"_L1) {
            QCOMPARE(navigator.levels().top().MidashiT, homeTitles);
        } else if (step == "title"_L1) {
            QCOMPARE(navigator.title(4), u"d"_s);
        } else if (step == "readRest"_L1) {
            navigator.readRemainingTitles();
        } else if (step == "push"_L1) {
            navigator.PushLevel({u"1030_c.html"_s}, {u"found"_s}, 0);
            QCOMPARE(navigator.levels().top().MidashiT, QStringList{u"found"_s});
            navigator.PopLevel();
        } else if (step == "reopen"_L1) {
            QVERIFY(writeFixture(home + u"/1005_z.html"_s));
            QVERIFY(navigator.OpenFolderLevel(home, 3, false));
            QCOMPARE(navigator.levels().height(), 1);
        } else if (step == "edit"_L1) {
            QVERIFY(writeFixture(home + u"/1040_d.html"_s,
                                 "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01//EN\">\r\n<TITLE>new</TITLE>"));
        }
        if (!homeTitles.isEmpty())
            QCOMPARE(navigator.levels().top().MidashiT, homeTitles);
    }

    void unlistableDataRootGivesEmptyLevel()
    {
        FakeHost host;
        Navigator navigator(&host);
        host.navigator = &navigator;
        navigator.setProgramPath(u"/nonexistent/kavuno/notes.exe"_s);
        QVERIFY(!navigator.OpenFolderLevel(navigator.HomeDir, 0, true));
        QCOMPARE(navigator.PBanSu(), 0);
        QCOMPARE(navigator.PBan(), 0);
        navigator.GoHome();
        QCOMPARE(navigator.PBanSu(), 0);
        QCOMPARE(host.calls.count(u"PageClick"_s), 1);
    }

    // Another PC renamed or removed the page just pressed: a folder's own
    // level is read again once, at the same place; a level that lists no
    // folder cannot be.
    void gonePageReadsItsFolderAgainOnce_data()
    {
        QTest::addColumn<QStringList>("before");
        QTest::addColumn<QStringList>("moves"); // "from>to", "from>" removes
        QTest::addColumn<bool>("listsFolder");
        QTest::addColumn<bool>("goneMeanwhile"); // the page at the place goes too, before it opens
        QTest::addColumn<bool>("reread");
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<QStringList>("calls");
        const QStringList abc{u"1010_a.html"_s, u"1020_b.html"_s, u"1030_c.html"_s};
        const QStringList reorder{u"1010_a.html>m"_s, u"1020_b.html>1030_b.html"_s, u"1030_c.html>1010_c.html"_s,
                                  u"m>1020_a.html"_s};
        const QString flash = NavigationTexts::FolderChanged;
        QTest::newRow("reordered") << abc << reorder << true << false << true
                                   << QStringList{u"1010_c.html"_s, u"1020_a.html"_s, u"1030_b.html"_s}
                                   << QStringList{u"ReMake"_s, flash, u"PageClick 1020_a.html"_s};
        QTest::newRow("removed, the last") << abc << QStringList{u"1030_c.html>"_s, u"1020_b.html>"_s} << true << false
                                           << true << QStringList{u"1010_a.html"_s}
                                           << QStringList{u"ReMake"_s, flash, u"PageClick 1010_a.html"_s};
        QTest::newRow("gone again meanwhile") << abc << reorder << true << true << true
                                              << QStringList{u"1010_c.html"_s, u"1020_a.html"_s, u"1030_b.html"_s}
                                              << QStringList{u"ReMake"_s, flash, u"PageClick gone"_s};
        QTest::newRow("search results") << abc << reorder << false << false << false << abc << QStringList();
    }
    void gonePageReadsItsFolderAgainOnce()
    {
        QFETCH(QStringList, before);
        QFETCH(QStringList, moves);
        QFETCH(bool, listsFolder);
        QFETCH(bool, goneMeanwhile);
        QFETCH(bool, reread);
        QFETCH(QStringList, entries);
        QFETCH(QStringList, calls);
        // Opens as the main window does: an index past the end opens the
        // first page; a page still gone is shown as gone.
        class Host : public NavigatorHost
        {
        public:
            Navigator *navigator = nullptr;
            bool goneMeanwhile = false;
            QStringList calls;
            void ReMake() override
            {
                calls << u"ReMake"_s;
                if (goneMeanwhile)
                    QFile::remove(navigator->entryPath(navigator->PBan()));
            }
            void ShowFlashMessage(const QString &text, int) override { calls << text; }
            void PageClick() override
            {
                if (navigator->PBan() >= navigator->PBanSu())
                    navigator->PBanSave(0);
                const bool gone = !QFile::exists(navigator->entryPath(navigator->PBan()));
                if (!gone || !navigator->openAfterPageGone())
                    calls << u"PageClick "_s + (gone ? u"gone"_s : navigator->currentEntry());
            }
        } host;
        host.goneMeanwhile = goneMeanwhile;
        QTemporaryDir dir;
        const QString home = dir.filePath(u"web"_s);
        QVERIFY(QDir().mkpath(home));
        for (const QString &name : before)
            QVERIFY(writeFixture(home + u'/' + name));
        Navigator navigator(&host);
        host.navigator = &navigator;
        navigator.setProgramPath(dir.filePath(u"web.exe"_s));
        if (listsFolder)
            navigator.OpenFolderLevel(home, 1, true);
        else
            navigator.PushLevel(before, {}, 1);
        QDir folder(home);
        for (const QString &move : moves) {
            const QStringList names = move.split(u'>');
            QVERIFY(names[1].isEmpty() ? folder.remove(names[0]) : folder.rename(names[0], names[1]));
        }

        QCOMPARE(navigator.openAfterPageGone(), reread);
        QCOMPARE(navigator.entries(), entries);
        QCOMPARE(host.calls, calls);
        QCOMPARE(navigator.CurDir, home);
    }

    void goHomeGuardShowsPlaceholder()
    {
        // A host whose page opening always finds the file missing.
        class LoopingHost : public FakeHost
        {
        public:
            void PageClick() override
            {
                calls << u"PageClick"_s;
                navigator->GoHome();
            }
        } host;
        Navigator navigator(&host);
        host.navigator = &navigator;
        navigator.setProgramPath(m_dir.filePath(u"notes.exe"_s));
        navigator.GoHome();
        QCOMPARE(host.calls, (QStringList{u"BuildPageButtons"_s, u"PageClick"_s, u"showNoPage"_s}));
    }
};

QTEST_APPLESS_MAIN(NavigatorTest)
#include "tst_navigator.moc"
