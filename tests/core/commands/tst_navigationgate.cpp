#include "core/commands/navigationgate.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

using namespace Qt::StringLiterals;

class NavigationGateTest : public QObject
{
    Q_OBJECT
private slots:
    void decides_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<int>("current");
        QTest::addColumn<int>("action");
        QTest::addColumn<QString>("target");
        QTest::addColumn<int>("index");
        QTest::addColumn<bool>("mainFrame");
        const auto row = [](const char *name, const QString &address, int current, GateAction action,
                            const QString &target = {}, int index = -1, bool mainFrame = true) {
            QTest::newRow(name) << address << current << int(action) << target << index << mainFrame;
        };
        row("no level yet", u"file:///$NEXT"_s, -1, GateAction::Proceed);
        row("a page", u"file:///data/a.html"_s, 0, GateAction::Proceed);
        row("another entry of a link-page level", u"http://h/p.html"_s, 0, GateAction::SyncPageList, {}, 1);
        row("the current entry itself", u"http://h/a.html"_s, 0, GateAction::Proceed);
        row("a local entry's own address", u"file:///data/sub/c.html"_s, 0, GateAction::SyncPageList, {}, 4);
        row("a page of the folder, named by its name only", u"file:///data/sub/c.html"_s, 4, GateAction::Proceed);
        row("an entry written as a file URL", u"file:///data/d.html"_s, 0, GateAction::SyncPageList, {}, 5);
        // Listed twice: opening either never sends the level to the other.
        row("the current page, listed again", u"file:///data/sub/c.html"_s, 4, GateAction::Proceed);
        row("the current page, listed again before", u"file:///data/sub/c.html"_s, 3, GateAction::Proceed);
        // A peer's page "1099_data:,x.html" holds the address of a web page's frame.
        row("frame address inside an entry's name", u"data:,x"_s, 0, GateAction::Proceed, {}, -1, false);
        row("address inside an entry's name", u"data:,x"_s, 0, GateAction::Proceed);
        row("part of a web entry", u"http://h/p"_s, 0, GateAction::Proceed);
        row("a frame going to an entry", u"file:///data/sub/c.html"_s, 0, GateAction::Proceed, {}, -1, false);
        row("a frame going to a web entry", u"http://h/p.html"_s, 0, GateAction::Proceed, {}, -1, false);
        row("an entry's address with a fragment", u"file:///data/sub/c.html#top"_s, 0, GateAction::Proceed);
        row("an entry's address with a query", u"file:///data/sub/c.html?x"_s, 0, GateAction::Proceed);
        row("local folder", u"file:///data/unit1"_s, 0, GateAction::ExploreFolder, u"/data/unit1"_s);
        row("folder below a dotted folder", u"file:///data/v1.2/unit1"_s, 0, GateAction::ExploreFolder,
            u"/data/v1.2/unit1"_s);
        row("about:blank goes on", u"about:blank"_s, 0, GateAction::Proceed);
        row("data address goes on", u"data:text/html,<p>x</p>"_s, 0, GateAction::Proceed);
        row("web folder goes on", u"https://h/dir"_s, 0, GateAction::Proceed);
        row("sound", u"file:///data/a b.wav"_s, 0, GateAction::PlaySound, u"/data/a b.wav"_s);
        row("local video, even in a command", u"file:///$GO clip.avi"_s, 0, GateAction::PlayVideo,
            u"file:///$GO clip.avi"_s);
        row("web video opens whole", u"http://h/v.avi"_s, 0, GateAction::OpenExternally, u"http://h/v.avi"_s);
        row("command", u"file:///$NEXT"_s, 0, GateAction::RunCommands, u"file:///$NEXT"_s);
        row("command naming a sound", u"file:///$WAV a.wav"_s, 0, GateAction::RunCommands, u"file:///$WAV a.wav"_s);
        row("dollar first", u"$NEXT"_s, 0, GateAction::Proceed);
    }
    void decides()
    {
        QFETCH(QString, address);
        QFETCH(int, current);
        QFETCH(int, action);
        QFETCH(QString, target);
        QFETCH(int, index);
        QFETCH(bool, mainFrame);
        const QStringList entries{u"http://h/a.html"_s, u"http://h/p.html"_s, u"1099_data:,x.html"_s, u"sub/c.html"_s,
                                   u"/data/sub/c.html"_s, u"file:///data/d.html"_s};
        const GateDecision decision = decideNavigation(address, mainFrame, entries, current, u"/data"_s);
        QCOMPARE(int(decision.action), action);
        QCOMPARE(decision.target, target);
        QCOMPARE(decision.index, index);
    }

    // A name of the data root that is a link out of it is never followed; one
    // that stays inside, and a real page, are.
    void linkOutOfTheDataRootIsRefused_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("action");
        QTest::newRow("a page") << u"web/1010_a.html"_s << int(GateAction::Proceed);
        QTest::newRow("a link to a page of the root") << u"web/1020_in.html"_s << int(GateAction::Proceed);
        QTest::newRow("a link out of the root") << u"web/1030_out.html"_s << int(GateAction::RefuseOutside);
        QTest::newRow("in a folder that is a link out") << u"web/away/x.html"_s << int(GateAction::RefuseOutside);
        QTest::newRow("a page outside the root is not the gate's") << u"x.html"_s << int(GateAction::Proceed);
    }
    void linkOutOfTheDataRootIsRefused()
    {
        QFETCH(QString, name);
        QFETCH(int, action);
        QTemporaryDir dir;
        const QString root = dir.filePath(u"web"_s);
        QVERIFY(QDir().mkpath(root + u"/sub"_s));
        QVERIFY(QDir().mkpath(dir.filePath(u"outside"_s)));
        const QStringList files{root + u"/1010_a.html"_s, dir.filePath(u"x.html"_s), dir.filePath(u"outside/x.html"_s)};
        for (const QString &file : files) {
            QFile page(file);
            QVERIFY(page.open(QIODevice::WriteOnly));
        }
        QVERIFY(QFile::link(root + u"/1010_a.html"_s, root + u"/1020_in.html"_s));
        QVERIFY(QFile::link(dir.filePath(u"x.html"_s), root + u"/1030_out.html"_s));
        QVERIFY(QFile::link(dir.filePath(u"outside"_s), root + u"/away"_s));
        const QString address = QUrl::fromLocalFile(dir.filePath(name)).toString();
        const GateDecision decision = decideNavigation(address, true, {u"1010_a.html"_s}, 0, root, root);
        QCOMPARE(int(decision.action), action);
    }

    void titleForTheLayout()
    {
        QTemporaryDir dir;
        const auto page = [&dir](const QString &name, const QByteArray &text) {
            QFile file(dir.filePath(name));
            file.open(QIODevice::WriteOnly);
            file.write(text);
            return QUrl::fromLocalFile(file.fileName()).toString();
        };
        const QByteArray doctype = "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01//EN\">\r\n";
        const QStringList titles{u"first"_s, u"&lt;題目&gt;"_s};

        QCOMPARE(navigationTitle(page(u"t.html"_s, doctype + "<title lang=ja>題目 TITLE</Title>"), titles.at(0), 0),
                 u"題目 TITLE"_s);
        QCOMPARE(navigationTitle(page(u"1010_empty.html"_s, doctype + "<TITLE></TITLE>"), titles.at(0), 0),
                 u"1010_empty"_s);
        QCOMPARE(navigationTitle(page(u"foreign.html"_s, "<TITLE>x</TITLE>"), titles.at(1), 1), u"<題目>"_s);
        QCOMPARE(navigationTitle(u"file:///$NEXT"_s, titles.at(0), 0), QString());
        QVERIFY(isTitlePageTitle(u"<題目>"_s));
        QVERIFY(isTitlePageTitle(u"TITLE page"_s));
        QVERIFY(!isTitlePageTitle(u"Title"_s));
    }
};

QTEST_APPLESS_MAIN(NavigationGateTest)
#include "tst_navigationgate.moc"
