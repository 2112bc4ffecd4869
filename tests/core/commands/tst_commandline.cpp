#include "core/commands/commandline.h"

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

    void webLinksOnlyMoveAndSearch_data()
    {
        QTest::addColumn<QString>("page");
        QTest::addColumn<QString>("link");
        QTest::addColumn<bool>("web");
        QTest::newRow("local page") << u"file:///d/a.html"_s << u"file:///$SAVE h/x x"_s << false;
        QTest::newRow("web page") << u"http://h/a.html"_s << u"http://h/$SAVE h/x x"_s << true;
        QTest::newRow("https page") << u"HTTPS://h/a.html"_s << u"file:///$NEXT"_s << true;
        QTest::newRow("web frame inside a local page") << u"file:///d/a.html"_s << u"https://h/$SAVE h/x x"_s << true;
        QTest::newRow("no page yet") << QString() << u"file:///$NEXT"_s << false;
    }
    void webLinksOnlyMoveAndSearch()
    {
        QFETCH(QString, page);
        QFETCH(QString, link);
        QFETCH(bool, web);
        QCOMPARE(originOf(page, link) == CommandOrigin::WebPage, web);
    }
};

QTEST_APPLESS_MAIN(CommandLineTest)
#include "tst_commandline.moc"
