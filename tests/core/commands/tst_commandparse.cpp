#include "core/commands/blankpicture.h"
#include "core/commands/commandparse.h"
#include "core/commands/shortcut.h"

#include <QTest>
#include <QtEndian>

using namespace Qt::StringLiterals;

class CommandParseTest : public QObject
{
    Q_OBJECT
private slots:
    void tokenizes_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QStringList>("tokens");
        QTest::newRow("words") << u"COPY a.txt b.txt"_s << QStringList{u"COPY"_s, u"a.txt"_s, u"b.txt"_s};
        QTest::newRow("blanks collapse") << u"  SAVE   h/x   y "_s << QStringList{u"SAVE"_s, u"h/x"_s, u"y"_s};
        QTest::newRow("quoted with blanks") << u"JS vars.txt \"name=Taro Yamada\""_s
                                            << QStringList{u"JS"_s, u"vars.txt"_s, u"name=Taro Yamada"_s};
        QTest::newRow("quote joined to a word") << u"COPY \"a b.txt\"c"_s << QStringList{u"COPY"_s, u"a b.txt"_s, u"c"_s};
        QTest::newRow("empty pair gives nothing") << u"SAVE \"\" x"_s << QStringList{u"SAVE"_s, u"x"_s};
        QTest::newRow("unclosed quote runs to the end") << u"JS v.txt \"a b"_s << QStringList{u"JS"_s, u"v.txt"_s, u"a b"_s};
        QTest::newRow("quote inside a word") << u"JS v.txt a\"b"_s << QStringList{u"JS"_s, u"v.txt"_s, u"a\"b"_s};
        QTest::newRow("empty") << QString() << QStringList{};
    }
    void tokenizes()
    {
        QFETCH(QString, command);
        QFETCH(QStringList, tokens);
        QCOMPARE(tokenizeCommand(command), tokens);
    }

    void parsesWordRestAndDesktop()
    {
        ParsedCommand c = parseCommand(u"GO my page"_s, u"/home/t/Desktop"_s);
        QCOMPARE(c.word, u"GO"_s);
        QCOMPARE(c.rest, u"my page"_s);
        QCOMPARE(c.argument(1), u"my"_s);
        QCOMPARE(c.argument(3), QString());

        c = parseCommand(u"DIR $$srv$share$unit1"_s, QString());
        QCOMPARE(c.rest, u"\\\\srv\\share\\unit1"_s);

        c = parseCommand(u"COPY a.txt DESKTOP\\a.txt"_s, u"/home/t/Desktop/"_s);
        QCOMPARE(c.argument(2), u"/home/t/Desktop\\a.txt"_s);

        c = parseCommand(u"NEXT"_s, QString());
        QCOMPARE(c.word, u"NEXT"_s);
        QCOMPARE(c.rest, QString());
    }

    void findsPageByName_data()
    {
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("index");
        const QStringList pages{u"index.html"_s, u"intro2.html"_s, u"1020_intro.html"_s, u"intro.html"_s};
        QTest::newRow("order prefix") << pages << u"intro"_s << 2;
        QTest::newRow("plain") << QStringList{u"intro2.html"_s, u"intro.html"_s} << u"intro"_s << 1;
        QTest::newRow("no match") << pages << u"outro"_s << -1;
        QTest::newRow("case-sensitive") << pages << u"Intro"_s << -1;
        QTest::newRow("relative path") << QStringList{u"sub\\1010_quiz.html"_s} << u"quiz"_s << 0;
        QTest::newRow("address") << QStringList{u"http://h/p/1010_quiz.html"_s} << u"quiz"_s << 0;
        QTest::newRow("name with blank") << QStringList{u"1010_my page.html"_s} << u"my page"_s << 0;
        QTest::newRow("whole prefixed name") << QStringList{u"1020_intro.html"_s} << u"1020_intro"_s << 0;
    }
    void findsPageByName()
    {
        QFETCH(QStringList, entries);
        QFETCH(QString, name);
        QFETCH(int, index);
        QCOMPARE(findPageByName(entries, name), index);
    }

    void dirFolder_data()
    {
        QTest::addColumn<QString>("rest");
        QTest::addColumn<QString>("folder");
        QTest::newRow("relative to the data root") << u"unit1"_s << u"/data/unit1"_s;
        QTest::newRow("nested, Windows separator") << u"unit1\\a"_s << u"/data/unit1/a"_s;
        QTest::newRow("absolute") << u"/srv/texts"_s << u"/srv/texts"_s;
        QTest::newRow("absolute through $") << u"\\srv\\texts"_s << u"/srv/texts"_s;
        QTest::newRow("network path stays absolute") << u"\\\\srv\\share"_s << u"//srv/share"_s;
        QTest::newRow("drive path stays absolute") << u"C:\\data"_s << u"C:/data"_s;
        QTest::newRow("empty: the data root") << QString() << u"/data"_s;
        QTest::newRow("dot: inside the current folder") << u".sub"_s << u"/data/cur/sub"_s;
    }
    void dirFolder()
    {
        QFETCH(QString, rest);
        QFETCH(QString, folder);
        QCOMPARE(dirCommandFolder(rest, u"/data/cur"_s, u"/data"_s), folder);
    }

    void filePaths()
    {
        // SAVE, COPY, WAV and PAINT inside the current folder are covered by the
        // interpreter's tests; here the paths that must not resolve there.
        const QString cur = u"/data/cur"_s;
        QCOMPARE(commandFilePath(u"/tmp/a.txt"_s, cur), u"/tmp/a.txt"_s);
        QCOMPARE(commandFilePath(u"C:\\x\\a.txt"_s, cur), u"C:/x/a.txt"_s);
        QCOMPARE(soundCommandPath(u"a/../../x"_s, cur), QString());
        QCOMPARE(paintCommandPath(u"/etc/x"_s, cur), QString());
        QCOMPARE(paintCommandPath(u"pic.png"_s, cur), u"/data/cur/pic.png"_s);
    }

    void mapsProgramWords_data()
    {
        QTest::addColumn<QStringList>("tokens");
        QTest::addColumn<QString>("program");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<bool>("wait");
        QTest::newRow("no arguments") << QStringList{u"tool.exe"_s} << u"/d/cur/tool.exe"_s << QStringList{} << false;
        QTest::newRow("several files make one argument")
            << QStringList{u"tool.sh"_s, u"a.txt"_s, u".b.txt"_s} << u"/d/cur/tool.sh"_s
            << QStringList{u"/d/cur/a.txt /d/home/b.txt"_s} << false;
        QTest::newRow("below the data root") << QStringList{u".tools\\run.EXE"_s} << u"/d/home/tools/run.EXE"_s
                                             << QStringList{} << true;
    }
    void mapsProgramWords()
    {
        QFETCH(QStringList, tokens);
        QFETCH(QString, program);
        QFETCH(QStringList, arguments);
        QFETCH(bool, wait);
        const ProgramCall call = programCall(tokens, u"/d/cur"_s, u"/d/home"_s);
        QCOMPARE(call.program, program);
        QCOMPARE(call.arguments, arguments);
        QCOMPARE(call.wait, wait);
    }

    void lowerPaneShare_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("tenths");
        QTest::newRow("plain search keeps the pane") << u"next"_s << u"next"_s << 0;
        QTest::newRow("underscore: three tenths") << u"_【×】"_s << u"【×】"_s << 3;
        QTest::newRow("digit share") << u"_5【○】"_s << u"【○】"_s << 5;
        QTest::newRow("zero is no share") << u"_0x"_s << u"0x"_s << 3;
        QTest::newRow("underscore alone") << u"_"_s << QString() << 3;
    }
    void lowerPaneShare()
    {
        QFETCH(QString, command);
        QFETCH(QString, text);
        QFETCH(int, tenths);
        const LowerPaneSearch search = lowerPaneSearch(command);
        QCOMPARE(search.text, text);
        QCOMPARE(search.tenths, tenths);
    }

    void shortcutCommand_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QStringList>("command");
        const QString page = u"/d/a b.html"_s;
        QTest::newRow("file code") << u"[Desktop Entry]\nName=Calc\nExec=localc --view %f\n"_s
                                   << QStringList{u"localc"_s, u"--view"_s, page};
        QTest::newRow("no file code: appended") << u"[Desktop Entry]\nExec=gedit\n"_s << QStringList{u"gedit"_s, page};
        QTest::newRow("other codes dropped, quotes kept together")
            << u"[Desktop Entry]\nExec=\"/opt/my tool\" %i %U\n"_s << QStringList{u"/opt/my tool"_s, page};
        QTest::newRow("other groups ignored") << u"[Desktop Action x]\nExec=no\n[Desktop Entry]\nExec=yes %u\n"_s
                                              << QStringList{u"yes"_s, page};
        QTest::newRow("no Exec") << u"[Desktop Entry]\nName=x\n"_s << QStringList{};
    }
    void shortcutCommand()
    {
        QFETCH(QString, entry);
        QFETCH(QStringList, command);
        QCOMPARE(desktopEntryCommand(entry, u"/d/a b.html"_s), command);
    }

    void blankPictureHeader()
    {
        const QByteArray bmp = blankBitmap();
        QCOMPARE(bmp.size(), 921654);
        QCOMPARE(bmp.left(37).toHex().toUpper(),
                 QByteArray("424D36100E0000000000360000002800000080020000E0010000010018000000000000100E"));
        QCOMPARE(qFromLittleEndian<quint32>(bmp.constData() + 34), 921600u);
    }
};

QTEST_APPLESS_MAIN(CommandParseTest)
#include "tst_commandparse.moc"
