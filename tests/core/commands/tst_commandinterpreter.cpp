#include "core/commands/answersheet.h"
#include "core/commands/commandhost.h"
#include "core/commands/commandinterpreter.h"
#include "core/commands/keywordlookup.h"
#include "core/commands/navigationgate.h"
#include "core/navigation/navigator.h"
#include "core/navigation/navigatorhost.h"
#include "core/navigation/testfiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// Records what the commands ask of the window. Opening a page resets the
// counter, as the main window does.
class FakeHost : public NavigatorHost, public CommandHost
{
public:
    Navigator *nav = nullptr;
    QStringList log;
    QStringList captions;
    QStringList flashes;
    QList<ProgramCall> programs;
    FetchResult fetchResult = FetchResult::Saved;
    QString desktop;

    QList<CommandOrigin> openedOn;
    void PageClick() override
    {
        nav->CommandCounter = 0;
        log << u"open "_s + nav->currentEntry();
        openedOn << nav->pageOrigin();
    }
    void ReMake() override { log << u"remake"_s; }
    void BuildPageButtons() override { log << u"build"_s; }
    void ShowFlashMessage(const QString &text, int) override { flashes << text; }
    QString shownAddress() const override { return u"file:///shown.html"_s; }

    void refreshPage() override { log << u"refresh"_s; }
    void FindInPage(const QString &text, bool search) override
    {
        log << (search ? u"find "_s : u"top "_s) + text;
    }
    QString desktopFolder() const override { return desktop; }
    void setCaption(const QString &caption) override { captions << caption; }
    void exploreFolder(const QString &folder) override { log << u"explore "_s + folder; }
    void RecordSound(const QString &file) override { log << u"record "_s + file; }
    void startPaint(const QString &picture) override { log << u"paint "_s + picture; }
    FetchResult download(const QString &url, const QString &file, const std::function<void(qint64)> &progress) override
    {
        log << u"download "_s + url + u" "_s + file;
        progress(1024);
        progress(1500);
        return fetchResult;
    }
    bool copyFile(const QString &from, const QString &to) override
    {
        log << u"copy "_s + from + u" "_s + to;
        return true;
    }
    bool runProgram(const ProgramCall &call) override
    {
        programs << call;
        log << u"run "_s + call.program;
        return true;
    }
    bool moveToTrash(const QString &file) override
    {
        log << u"trash "_s + QFileInfo(file).fileName();
        return QFile::remove(file);
    }
};

class FakeLookup : public KeywordLookup
{
public:
    KeywordResult result;
    QString excluded;
    KeywordResult lookUp(const QString &, const QString &excludedPage) override
    {
        excluded = excludedPage;
        return result;
    }
};

class FakeSheet : public AnswerSheet
{
public:
    QStringList shown;
    void showAnswerSheet(const QString &pagePath) override { shown << pagePath; }
};

void touch(const QString &path, const QByteArray &bytes = {})
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QVERIFY(writeFixture(path, bytes));
}

} // namespace

class CommandInterpreterTest : public QObject
{
    Q_OBJECT
private:
    QTemporaryDir *temp = nullptr;
    QString home;
    FakeHost *host = nullptr;
    Navigator *nav = nullptr;
    CommandInterpreter *commands = nullptr;

    QString top() const { return nav->currentEntry(); }
    void run(const QString &address, CommandOrigin origin = CommandOrigin::LocalPage)
    {
        host->log.clear();
        QVERIFY(commands->runAddress(address, origin));
    }

private slots:
    void init()
    {
        temp = new QTemporaryDir;
        home = temp->filePath(u"notes_data"_s);
        for (const QString &name : {u"1010_a.html"_s, u"1020_intro.html"_s, u"1030_intro2.html"_s, u"index.html"_s,
                                    u"unit1/1010_u.html"_s, u"unit1/1020_v.html"_s, u"empty/_hidden.html"_s})
            touch(home + u'/' + name);
        host = new FakeHost;
        nav = new Navigator(host);
        host->nav = nav;
        nav->HomeDir = home;
        nav->CurDir = home;
        nav->OpenFolderLevel(home, 0, true);
        commands = new CommandInterpreter(*nav, *host);
    }
    void cleanup()
    {
        delete commands;
        delete nav;
        delete host;
        delete temp;
    }

    void splitsLines_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<QStringList>("log");
        QTest::newRow("three") << u"/$A,$B,$C"_s << QStringList{u"find A"_s, u"find B"_s, u"find C"_s};
        QTest::newRow("without its dollar") << u"/$A,B,$C"_s << QStringList{u"find A"_s, u"find C"_s};
        QTest::newRow("trailing comma: NEXT, then the empty command")
            << u"/$NEXT,"_s << QStringList{u"open 1010_a.html"_s, u"top "_s, u"remake"_s, u"refresh"_s};
        QTest::newRow("empty command ends the line")
            << u"/$,$NEXT"_s << QStringList{u"top "_s, u"remake"_s, u"refresh"_s};
        QTest::newRow("lower case is no command") << u"/$next"_s << QStringList{u"find next"_s};
        QTest::newRow("bad number ends the line") << u"/$=3,$NEXT"_s << QStringList{};
        QTest::newRow("decoded text") << u"file:///$_5%E3%80%90%E2%97%8B%E3%80%91"_s
                                      << QStringList{u"find _5【○】"_s};
    }
    void splitsLines()
    {
        QFETCH(QString, address);
        QFETCH(QStringList, log);
        run(address);
        QCOMPARE(host->log, log);
    }

    void quizLineRunTwice()
    {
        QDir(home).mkdir(u"$history"_s);
        const QString line = u"/$-1,$<-1[_【×】][_【△】],$HISJS sDAT[1]=-1"_s;
        run(line);
        QCOMPARE(nav->CommandCounter, -1);
        QCOMPARE(host->log, QStringList{u"find _【△】"_s});
        QCOMPARE(readFixture(home + u"/$history/history.txt"_s), QByteArray("sDAT[1]=-1\r\n"));
        run(line);
        QCOMPARE(nav->CommandCounter, -2);
        QCOMPARE(host->log, QStringList{u"find _【×】"_s});
        QCOMPARE(readFixture(home + u"/$history/history.txt"_s), QByteArray("sDAT[1]=-2\r\n"));
        QVERIFY(QFileInfo(home + u"/history"_s).isDir());
    }

    void historyBeforeAnyNameWritesNothing()
    {
        run(u"/$HISJS sDAT[1]=+1,$NEXT"_s);
        QVERIFY(!QFile::exists(home + u"/$history"_s));
        QVERIFY(QDir(home + u"/history"_s).isEmpty());
        QVERIFY(host->flashes.isEmpty());
        QCOMPARE(top(), u"1010_a.html"_s); // silently: the line goes on
    }

    void countersAndConditionals()
    {
        run(u"/$==3,$>2[NEXT][BACK]"_s);
        QCOMPARE(top(), u"1010_a.html"_s); // NEXT from index.html; the opening resets the counter
        QCOMPARE(nav->CommandCounter, 0);
        run(u"/$+-1,$<0[][X]"_s);
        QCOMPARE(host->log, QStringList{});
        QCOMPARE(nav->CommandCounter, -1);
    }

    void movesThroughTheLevel()
    {
        QCOMPARE(nav->levels().top().MidashiF,
                 (QStringList{u"index.html"_s, u"1010_a.html"_s, u"1020_intro.html"_s, u"1030_intro2.html"_s}));
        run(u"/$BACK"_s);
        QCOMPARE(top(), u"1030_intro2.html"_s);
        run(u"/$NEXT"_s); // past the last page of the only level
        QCOMPARE(nav->PBan(), 0);
        QCOMPARE(nav->levels().height(), 1);
        run(u"/$GO intro"_s);
        QCOMPARE(top(), u"1020_intro.html"_s);
        QCOMPARE(host->log.last(), u"open 1020_intro.html"_s);
        run(u"/$GO outro"_s);
        QCOMPARE(host->log, QStringList{u"open 1020_intro.html"_s});
        run(u"/$TOP"_s);
        QCOMPARE(nav->PBan(), 0);
        run(u"/$HOME"_s);
        QCOMPARE(host->log.count(u"open index.html"_s), 2);
    }

    void subListAndReturn()
    {
        run(u"/$GO a"_s);
        run(u"/$GOSUB intro2"_s);
        QCOMPARE(nav->levels().height(), 2);
        QCOMPARE(top(), u"1030_intro2.html"_s);
        run(u"/$NEXT"_s); // the last page of a pushed level: back to the level below at its own index
        QCOMPARE(nav->levels().height(), 1);
        QCOMPARE(top(), u"1010_a.html"_s);
        run(u"/$GOSUB intro"_s);
        run(u"/$RETURN"_s);
        QCOMPARE(nav->levels().height(), 1);
        QCOMPARE(top(), u"1010_a.html"_s);
    }

    void backOnAnEmptyLevelStaysAtZero()
    {
        run(u"/$DIR empty"_s);
        QCOMPARE(nav->PBanSu(), 0);
        run(u"/$BACK,$==2"_s);
        QCOMPARE(nav->PBan(), 0);
        QCOMPARE(nav->CommandCounter, 2); // later commands still run
    }

    void dirEntersFoldersAndReturnRestoresTheFolder()
    {
        run(u"/$DIR unit1"_s);
        QCOMPARE(nav->CurDir, home + u"/unit1"_s);
        QCOMPARE(top(), u"1010_u.html"_s);
        run(u"/$DIR unit1"_s); // relative to the data root, whatever the current folder
        QCOMPARE(nav->CurDir, home + u"/unit1"_s);
        QCOMPARE(nav->levels().height(), 3);
        run(u"/$RETURN,$RETURN"_s);
        QCOMPARE(nav->CurDir, home);
        QCOMPARE(top(), u"index.html"_s);

        run(u"/$DIR "_s + home + u"/unit1"_s); // absolute
        QCOMPARE(nav->CurDir, home + u"/unit1"_s);
        run(u"/$DIR"_s); // the data root itself
        QCOMPARE(nav->CurDir, home);
        QCOMPARE(nav->levels().height(), 3);
    }

    // Names written on Windows in another case find the file within the data root.
    void windowsCaseFindsTheFile_data()
    {
        QTest::addColumn<QString>("route");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("found"); // below the data root; empty for none
        QTest::newRow("DIR") << u"dir"_s << u"UNIT1"_s << u"unit1"_s;
        QTest::newRow("link-page entry") << u"entry"_s << u"UNIT1\\1010_U.HTML"_s << u"unit1/1010_u.html"_s;
        QTest::newRow("link in a page") << u"gate"_s << u"Unit1/1010_U.html"_s << u"unit1/1010_u.html"_s;
        QTest::newRow("never outside the root") << u"gate"_s << u"../notes_data/UNIT1/1010_u.html"_s << QString();
    }
    void windowsCaseFindsTheFile()
    {
        QFETCH(QString, route);
        QFETCH(QString, name);
        QFETCH(QString, found);
        const QString expected = found.isEmpty() ? QString() : home + u'/' + found;
        if (route == u"dir"_s) {
            run(u"/$DIR "_s + name);
            QCOMPARE(nav->CurDir, expected);
            QCOMPARE(top(), u"1010_u.html"_s);
        } else if (route == u"entry"_s) {
            nav->PushLevel({name}, {}, 0);
            QCOMPARE(nav->entryPath(0), expected);
        } else {
            const GateDecision d = decideNavigation(u"file://"_s + home + u'/' + name, true, {}, 0, home, home);
            QCOMPARE(d.action == GateAction::OpenFile ? d.target : QString(), expected);
        }
    }

    void dirStepsTheIndexFirst()
    {
        commands->DirIndexStep = 1;
        run(u"/$DIR unit1,$RETURN"_s);
        QCOMPARE(top(), u"1010_a.html"_s);
    }

    void webPagesOnlyMoveAndSearch_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<QStringList>("log");
        const QStringList moved{u"open 1010_a.html"_s, u"find found"_s};
        QTest::newRow("plain") << u"http://h/$SAVE h/x.zip x.zip,$JS vars.txt x=2,$DIR unit1,$tool.EXE,$NEXT,$found"_s
                               << moved;
        QTest::newRow("percent-encoded") << u"http://h/%24SAVE%20h/x.zip%20x.zip,%24JS%20vars.txt%20x=2,%24NEXT,$found"_s
                                         << moved;
        QTest::newRow("upper-case escapes and scheme")
            << u"HTTP://h/%24COPY%20vars.txt%20%2E%2E%2Fout.txt,%24HISJS%20x=1,%24NEXT,%24found"_s << moved;
        QTest::newRow("lower-case escapes") << u"http://h/%24his%20x,%24HIS%20x,%24NEXT,%24found"_s
                                            << QStringList{u"find his x"_s, u"open 1010_a.html"_s, u"find found"_s};
        QTest::newRow("backslashes") << u"http://h\\$COPY vars.txt ..\\out.txt,$WAV ..\\x,$PAINT C:\\x,$NEXT,$found"_s
                                     << moved;
        QTest::newRow("programs in every spelling")
            << u"https://h/$tool.EXE,$tool.exe,$..%2F..%2Fbin%2Fsh,$.%2Fbin%5Csh.cmd x,$\\\\srv\\share\\t.exe,$NEXT,$found"_s
            << moved;
        QTest::newRow("folders and answers") << u"http://h/$dir unit1,$DIR unit1,$ANSWER,$NEXT,$found"_s << moved;
        QTest::newRow("lower-case words are a search") << u"http://h/$save h/x x,$NEXT,$found"_s
                                                       << QStringList{u"find save h/x x"_s, u"open 1010_a.html"_s,
                                                                      u"find found"_s};
    }
    void webPagesOnlyMoveAndSearch()
    {
        QFETCH(QString, address);
        QFETCH(QStringList, log);
        touch(home + u"/vars.txt"_s, "x=1\r\n");
        FakeSheet sheet;
        commands->setAnswerSheet(&sheet);
        run(address, CommandOrigin::WebPage);
        QCOMPARE(host->log, log);
        QVERIFY(host->programs.isEmpty());
        QVERIFY(sheet.shown.isEmpty());
        QCOMPARE(readFixture(home + u"/vars.txt"_s), QByteArray("x=1\r\n"));
        QCOMPARE(QDir(home).entryList({u"*.txt"_s}, QDir::Files), QStringList{u"vars.txt"_s});
        QVERIFY(!QFileInfo::exists(home + u"/history"_s));
        QVERIFY(!QFileInfo::exists(temp->filePath(u"out.txt"_s)));
        QCOMPARE(nav->CurDir, home);
    }

    // A folder another PC made into a link out of the data root is never
    // written or read through.
    void namesNeverReachThroughALinkOutOfTheFolder_data()
    {
        QTest::addColumn<QString>("address");
        QTest::newRow("JS") << u"/$JS out/v.txt x=1"_s;
        QTest::newRow("HISJS in a linked history folder") << u"/$HIS bob,$HISJS x=1"_s;
        QTest::newRow("SAVE") << u"/$SAVE h/x.zip out/x.zip"_s;
        QTest::newRow("SAVE, backslash") << u"/$SAVE h/x.zip .out\\x.zip"_s;
        QTest::newRow("COPY into") << u"/$COPY vars.txt out/c.txt"_s;
        QTest::newRow("COPY out of") << u"/$COPY out/secret.txt c.txt"_s;
        QTest::newRow("WAV") << u"/$WAV out/r"_s;
        QTest::newRow("PAINT") << u"/$PAINT out/p"_s;
    }
    void namesNeverReachThroughALinkOutOfTheFolder()
    {
        QFETCH(QString, address);
        const QString elsewhere = temp->filePath(u"elsewhere"_s);
        touch(elsewhere + u"/secret.txt"_s, "s");
        touch(home + u"/vars.txt"_s, "x=1\r\n");
        QVERIFY(QFile::link(elsewhere, home + u"/out"_s));
        QVERIFY(QFile::link(elsewhere, home + u"/history"_s));
        run(address + u",$NEXT"_s);
        QCOMPARE(QDir(elsewhere).entryList(QDir::Files | QDir::Hidden), QStringList{u"secret.txt"_s});
        QVERIFY(!QFile::exists(home + u"/c.txt"_s));
        for (const QString &entry : std::as_const(host->log))
            QVERIFY2(!entry.startsWith(u"download"_s) && !entry.startsWith(u"copy"_s) && !entry.startsWith(u"record"_s)
                         && !entry.startsWith(u"paint"_s),
                     qPrintable(entry));
    }

    void saveDownloadsWithProgressInTheCaption()
    {
        run(u"/$SAVE host/a\\b.zip .sub\\b.zip"_s);
        QCOMPARE(host->log, QStringList{u"download http://host/a/b.zip "_s + home + u"/sub/b.zip"_s});
        QVERIFY(QFileInfo(home + u"/sub"_s).isDir());
        QCOMPARE(host->captions, (QStringList{u"1024 Byte 完了しました。"_s, u"1500 Byte 完了しました。"_s,
                                              u"file:///shown.html"_s}));
    }

    void saveThatCannotWriteEndsTheLine()
    {
        host->fetchResult = FetchResult::WriteFailed;
        run(u"/$SAVE h/x x,$NEXT"_s);
        QCOMPARE(host->log.size(), 1);
        QCOMPARE(host->captions.last(), u"file:///shown.html"_s);
        QCOMPARE(host->flashes.size(), 1);
    }

    void tooFewArgumentsListTheFolderAgain_data()
    {
        QTest::addColumn<QString>("address");
        QTest::newRow("SAVE") << u"/$SAVE x"_s;
        QTest::newRow("COPY") << u"/$COPY"_s;
        QTest::newRow("JS") << u"/$JS vars.txt"_s;
    }
    void tooFewArgumentsListTheFolderAgain()
    {
        QFETCH(QString, address);
        run(u"/$GO intro"_s);
        touch(home + u"/1015_new.html"_s);
        run(address);
        QCOMPARE(host->log, (QStringList{u"remake"_s, u"open 1015_new.html"_s}));
        QCOMPARE(nav->PBanSu(), 5);
    }

    void namesClimbingOutByDotDotAreRefused_data()
    {
        QTest::addColumn<QString>("address");
        QTest::newRow("program word") << u"/$..\\..\\bin\\sh x.sh,$NEXT"_s;
        QTest::newRow("program below the root") << u"/$.tools/../../x.sh,$NEXT"_s;
        QTest::newRow("SAVE target") << u"/$SAVE h/p.sh ../../p.sh,$NEXT"_s;
        QTest::newRow("COPY source") << u"/$COPY ../../secret.txt s.txt,$NEXT"_s;
        QTest::newRow("COPY target") << u"/$COPY a.txt .sub/../../a.txt,$NEXT"_s;
    }
    void namesClimbingOutByDotDotAreRefused()
    {
        QFETCH(QString, address);
        run(address);
        QCOMPARE(host->log, QStringList());
        QVERIFY(host->programs.isEmpty());
    }

    void copyAndDesktop()
    {
        host->desktop = u"/home/t/Desktop"_s;
        run(u"/$COPY .sub\\a.txt DESKTOP\\a.txt"_s);
        QCOMPARE(host->log, QStringList{u"copy "_s + home + u"/sub/a.txt /home/t/Desktop/a.txt"_s});
    }

    void programsGetThePagePaths()
    {
        run(u"/$tool.EXE data.csv"_s);
        QCOMPARE(host->programs.size(), 1);
        QCOMPARE(host->programs.first().program, home + u"/tool.EXE"_s);
        QCOMPARE(host->programs.first().arguments, QStringList{home + u"/data.csv"_s});
        QVERIFY(host->programs.first().wait);
        QCOMPARE(host->flashes, QStringList{home + u"/tool.EXE\u3000"_s});
        QCOMPARE(host->log, (QStringList{u"run "_s + home + u"/tool.EXE"_s, u"remake"_s, u"open index.html"_s}));
        run(u"/$notes.txt"_s); // a word with "." is never searched
        QCOMPARE(host->log.first(), u"run "_s + home + u"/notes.txt"_s);
    }

    void variablesAndHistory()
    {
        run(u"/$JS vars.txt count=+1,$JS vars.txt count=+1,$JS vars.txt \"name='Taro Yamada'\""_s);
        QCOMPARE(readFixture(home + u"/vars.txt"_s), QByteArray("count=2\r\nname=\"Taro Yamada\"\r\n"));
        run(u"/$JS vars.txt x=DEL"_s);
        QVERIFY(!QFile::exists(home + u"/vars.txt"_s));
        QCOMPARE(host->log, (QStringList{u"trash vars.txt"_s, u"open index.html"_s}));
        run(u"/$JS ../vars.txt x=1"_s); // never outside the page's folder
        QVERIFY(!QFile::exists(temp->filePath(u"vars.txt"_s)));

        touch(home + u"/1040_history.html"_s, "<SCRIPT SRC=\"$history\\history.txt\"></SCRIPT>");
        run(u"/$DIR"_s);
        run(u"/$HIS Taro Yamada,$HISJS sDAT[1]=+1"_s);
        QCOMPARE(commands->HistoryPath, u"history/Taro Yamada"_s);
        QCOMPARE(readFixture(home + u"/1040_history.html"_s),
                 QByteArray("<SCRIPT SRC=\"history/Taro Yamada.txt\"></SCRIPT>"));
        QCOMPARE(readFixture(home + u"/history/Taro Yamada.txt"_s), QByteArray("sDAT[1]=+1\r\n"));
        QVERIFY(!host->log.contains(u"open 1040_history.html"_s)); // HIS does not reload
    }

    void toolsOfTheFolder()
    {
        run(u"/$WAV intro,$WAV .intro.wav,$dir unit1,$PAINT pic"_s);
        QCOMPARE(host->log, (QStringList{u"record "_s + home + u"/intro.wav"_s, u"record "_s + home + u"/intro.wav"_s,
                                         u"explore "_s + home + u"/unit1"_s, u"paint "_s + home + u"/pic.bmp"_s}));
        QCOMPARE(QFileInfo(home + u"/pic.bmp"_s).size(), 921654);
    }

    void lookAndAnswerWaitForTheirWindows()
    {
        run(u"/$LOOK word,$ANSWER"_s);
        QCOMPARE(host->log, QStringList{});

        FakeLookup lookup;
        lookup.result = {{u"unit1/1020_v.html"_s, u"unit1/1010_u.html"_s}, {u"v"_s, u"u"_s},
                         u"file://"_s + home + u"/unit1/1020_v.html"_s};
        FakeSheet sheet;
        commands->setKeywordLookup(&lookup);
        commands->setAnswerSheet(&sheet);
        run(u"/$GO a,$LOOK word,$ANSWER"_s);
        QCOMPARE(lookup.excluded, (home + u"/1010_a.html"_s).toUpper());
        QCOMPARE(nav->levels().height(), 2);
        QCOMPARE(top(), u"unit1/1020_v.html"_s);
        QCOMPARE(sheet.shown, QStringList{home + u"/unit1/1020_v.html"_s});

        lookup.result = {};
        run(u"/$LOOK none"_s);
        QCOMPARE(nav->levels().height(), 2);
    }

    // A local page a web page moves to runs none of its own commands: it opens
    // on the web's behalf, and so does every page after it until the user acts.
    void pagesAWebPageMovesToOpenOnTheWebsBehalf_data()
    {
        QTest::addColumn<QString>("command");
        QTest::newRow("GO") << u"GO intro"_s;
        QTest::newRow("GOSUB") << u"GOSUB intro"_s;
        QTest::newRow("LOOK") << u"LOOK word"_s;
        QTest::newRow("NEXT") << u"NEXT"_s;
    }
    void pagesAWebPageMovesToOpenOnTheWebsBehalf()
    {
        QFETCH(QString, command);
        FakeLookup lookup;
        lookup.result = {{u"unit1/1020_v.html"_s}, {u"v"_s}, u"file://"_s + home + u"/unit1/1020_v.html"_s};
        commands->setKeywordLookup(&lookup);
        commands->TXTcommand(command, CommandOrigin::WebPage);
        commands->TXTcommand(u"TOP"_s);
        QCOMPARE(host->openedOn, QList<CommandOrigin>(2, CommandOrigin::WebPage));
        nav->userActed();
        commands->TXTcommand(u"TOP"_s);
        QCOMPARE(host->openedOn.last(), CommandOrigin::LocalPage);
    }

    void noLevelNoCommand()
    {
        Navigator bare(host);
        CommandInterpreter idle(bare, *host);
        host->log.clear();
        idle.runAddress(u"/$NEXT,$word"_s);
        QCOMPARE(host->log, QStringList{});
    }
};

QTEST_GUILESS_MAIN(CommandInterpreterTest)
#include "tst_commandinterpreter.moc"
