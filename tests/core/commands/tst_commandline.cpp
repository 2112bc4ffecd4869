#include "core/commands/commandline.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <limits>

using namespace Qt::StringLiterals;

class CommandLineTest : public QObject
{
    Q_OBJECT
private slots:
    void addressToLine_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<bool>("isCommand");
        QTest::addColumn<QString>("line");
        QTest::newRow("root link") << u"file:///$NEXT"_s << true << u"NEXT,"_s;
        QTest::newRow("inside a folder") << u"file:///home/t/pages/$NEXT"_s << true << u"NEXT,"_s;
        QTest::newRow("no scheme") << u"a$NEXT"_s << true << u"NEXT,"_s;
        QTest::newRow("dollar first is no command") << u"$NEXT"_s << false << QString();
        QTest::newRow("no dollar") << u"file:///home/t/a.html"_s << false << QString();
        QTest::newRow("percent-encoded blank") << u"file:///$GO%20intro"_s << true << u"GO intro,"_s;
        QTest::newRow("Japanese, brackets and angles decoded")
            << u"file:///$-1,$%3C-1%5B_%E3%80%90%C3%97%E3%80%91%5D%5B_%E3%80%90%E2%96%B3%E3%80%91%5D,$HISJS%20sDAT%5B1%5D=-1"_s
            << true << u"-1,$<-1[_【×】][_【△】],$HISJS sDAT[1]=-1,"_s;
        QTest::newRow("encoded dollar") << u"file:///%24NEXT"_s << true << u"NEXT,"_s;
        QTest::newRow("empty command") << u"file:///$"_s << true << u","_s;
    }
    void addressToLine()
    {
        QFETCH(QString, address);
        QFETCH(bool, isCommand);
        QFETCH(QString, line);
        const std::optional<QString> result = commandLineFromAddress(address);
        QCOMPARE(result.has_value(), isCommand);
        if (isCommand)
            QCOMPARE(*result, line);
    }

    void choosesBranchByCounter_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<int>("counter");
        QTest::addColumn<QString>("branch");
        QTest::newRow("< true") << u"<1[X][Y]"_s << 0 << u"X"_s;
        QTest::newRow("< false") << u"<0[X][Y]"_s << 0 << u"Y"_s;
        QTest::newRow("> false") << u">0[X][Y]"_s << 0 << u"Y"_s;
        QTest::newRow("> true") << u">0[X][Y]"_s << 1 << u"X"_s;
        QTest::newRow("negative N") << u"<-1[X][Y]"_s << -2 << u"X"_s;
        QTest::newRow("negative N, equal") << u"<-1[X][Y]"_s << -1 << u"Y"_s;
        QTest::newRow("missing closing bracket") << u"<2[X"_s << 0 << u"X"_s;
        QTest::newRow("missing B") << u"<2[X]"_s << 5 << QString();
        QTest::newRow("B without closing bracket") << u"<2[X][Y"_s << 5 << u"Y"_s;
        QTest::newRow("no branches") << u"<2"_s << 0 << QString();
        QTest::newRow("N not a number counts as 0") << u"<x[X][Y]"_s << -1 << u"X"_s;
        QTest::newRow("branch keeps its text") << u"<-1[_【×】][_【△】]"_s << -2 << u"_【×】"_s;
    }
    void choosesBranchByCounter()
    {
        QFETCH(QString, command);
        QFETCH(int, counter);
        QFETCH(QString, branch);
        QCOMPARE(chooseByCounter(command, counter), branch);
    }

    void appliesCounter_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<int>("before");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<int>("after");
        QTest::newRow("==3") << u"==3"_s << 7 << true << 3;
        QTest::newRow("= 3") << u"= 3"_s << 7 << true << 3;
        QTest::newRow("=3 has no number") << u"=3"_s << 7 << false << 0;
        QTest::newRow("+2") << u"+2"_s << 1 << true << 3;
        QTest::newRow("-1") << u"-1"_s << 0 << true << -1;
        QTest::newRow("+-1 adds -1") << u"+-1"_s << 0 << true << -1;
        QTest::newRow("blanks around") << u"+ 4 "_s << 0 << true << 4;
        QTest::newRow("not a number") << u"+x"_s << 0 << false << 0;
        QTest::newRow("sign alone") << u"-"_s << 0 << false << 0;
        QTest::newRow("fraction") << u"+1.5"_s << 0 << false << 0;
        QTest::newRow("past the largest count") << u"+1"_s << std::numeric_limits<int>::max() << false << 0;
        QTest::newRow("past the smallest count") << u"-2"_s << std::numeric_limits<int>::min() + 1 << false << 0;
    }
    void appliesCounter()
    {
        QFETCH(QString, command);
        QFETCH(int, before);
        QFETCH(bool, valid);
        QFETCH(int, after);
        const std::optional<int> result = applyCounter(command, before);
        QCOMPARE(result.has_value(), valid);
        if (valid)
            QCOMPARE(*result, after);
    }

    void originIsCarriedAndOnlyFileAddressesRunAsLocal_data()
    {
        QTest::addColumn<bool>("askedByWeb");
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("commands"); // "local", "web" or "none"
        QTest::addColumn<bool>("showsWeb");    // the document shown after going there
        QTest::newRow("local page") << false << u"file:///d/$SAVE h/x x"_s << u"local"_s << false;
        QTest::newRow("web page") << false << u"http://h/$SAVE h/x x"_s << u"web"_s << true;
        QTest::newRow("https") << false << u"HTTPS://h/$NEXT"_s << u"web"_s << true;
        QTest::newRow("file page opened for the web") << true << u"file:///d/$SAVE h/x x"_s << u"web"_s << true;
        QTest::newRow("data address") << false << u"data:text/plain,x$SAVE%20h/p.sh%20p.sh,$p.sh,"_s << u"none"_s
                                      << true;
        QTest::newRow("javascript") << false << u"javascript:location='$NEXT'"_s << u"none"_s << true;
        QTest::newRow("blob") << false << u"blob:file:///0-1$NEXT"_s << u"none"_s << true;
        QTest::newRow("line of a link page, no scheme") << true << u"/$NEXT"_s << u"web"_s << true;
        QTest::newRow("drive path is no scheme") << false << u"C:/$NEXT"_s << u"local"_s << true;
        // Spellings of the same addresses.
        QTest::newRow("upper-case web scheme") << false << u"HTTP://H/$SAVE h/x x"_s << u"web"_s << true;
        QTest::newRow("mixed-case web scheme") << false << u"hTtPs://h/$COPY a b"_s << u"web"_s << true;
        QTest::newRow("backslashes after the web scheme") << false << u"http:\\\\h\\$SAVE h/x x"_s << u"none"_s << true;
        QTest::newRow("one slash after the web scheme") << false << u"http:/h/$SAVE h/x x"_s << u"none"_s << true;
        QTest::newRow("upper-case file scheme for the web") << true << u"FILE:///d/$SAVE h/x x"_s << u"web"_s << true;
        QTest::newRow("file scheme with backslashes for the web") << true << u"file:\\\\\\d\\$JS v.txt a=1"_s << u"web"_s
                                                                  << true;
        QTest::newRow("upper-case data scheme") << false << u"DATA:text/html,x$SAVE h/x x"_s << u"none"_s << true;
        QTest::newRow("javascript in mixed case") << false << u"JavaScript:location='$NEXT'"_s << u"none"_s << true;
        QTest::newRow("view-source of a local page") << false << u"view-source:file:///d/$NEXT"_s << u"none"_s << true;
        QTest::newRow("about page") << false << u"about:blank$NEXT"_s << u"none"_s << true;
    }
    void originIsCarriedAndOnlyFileAddressesRunAsLocal()
    {
        QFETCH(bool, askedByWeb);
        QFETCH(QString, address);
        QFETCH(QString, commands);
        QFETCH(bool, showsWeb);
        const CommandOrigin asking = askedByWeb ? CommandOrigin::WebPage : CommandOrigin::LocalPage;
        const std::optional<CommandOrigin> origin = commandOriginOf(asking, address);
        const QString got = !origin ? u"none"_s : *origin == CommandOrigin::WebPage ? u"web"_s : u"local"_s;
        QCOMPARE(got, commands);
        QCOMPARE(originAfterNavigation(asking, address) == CommandOrigin::WebPage, showsWeb);
    }

    void commandReopeningItsPageWaitsForTheUser()
    {
        CommandLoopGuard guard;
        QVERIFY(guard.mayRun(u"file:///d/a.html"_s, 1));
        QVERIFY(guard.mayRun(u"file:///d/a.html"_s, 1)); // more commands of the same load
        QVERIFY(guard.mayRun(u"file:///d/b.html"_s, 2));
        QVERIFY(!guard.mayRun(u"file:///d/a.html"_s, 3)); // reopened by its own command
        QVERIFY(!guard.mayRun(u"file:///d/b.html"_s, 4)); // or by a circle of pages
        guard.userActed();
        QVERIFY(guard.mayRun(u"file:///d/a.html"_s, 5));
    }

    void dollarOfExistingFoldersAndFilesIsNoCommand_data()
    {
        QTest::addColumn<QString>("tail"); // after file:// + the data root under "c$"
        QTest::addColumn<QString>("line"); // "-" for no command
        QTest::newRow("a page named with $") << u"/1010_price$list.html"_s << u"-"_s;
        QTest::newRow("a page in a folder named with $") << u"/a$b/p.html"_s << u"-"_s;
        QTest::newRow("command link in the root") << u"/$NEXT"_s << u"NEXT,"_s;
        QTest::newRow("command after a folder named with $") << u"/a$b/$GO x"_s << u"GO x,"_s;
        QTest::newRow("relative command") << u"/x$NEXT"_s << u"NEXT,"_s;
        QTest::newRow("command holding a path") << u"/$SAVE h/a/b.zip b.zip"_s << u"SAVE h/a/b.zip b.zip,"_s;
        QTest::newRow("missing page named with $") << u"/gone$list.html"_s << u"list.html,"_s;
    }
    void dollarOfExistingFoldersAndFilesIsNoCommand()
    {
        QFETCH(QString, tail);
        QFETCH(QString, line);
        QTemporaryDir dir;
        const QString root = dir.filePath(u"c$/web_data"_s);
        QVERIFY(QDir().mkpath(root + u"/a$b"_s));
        for (const QString &page : {u"/1010_price$list.html"_s, u"/a$b/p.html"_s}) {
            QFile file(root + page);
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        const std::optional<QString> result = commandLineFromAddress(u"file://"_s + root + tail);
        QCOMPARE(result.value_or(u"-"_s), line);
        // The root's own "$" never counts, also for the root-relative link "/$NEXT".
        QCOMPARE(commandLineFromAddress(u"file:///$NEXT"_s).value_or(u"-"_s), u"NEXT,"_s);
    }
};

QTEST_APPLESS_MAIN(CommandLineTest)
#include "tst_commandline.moc"
