#include "core/commands/scriptvariables.h"
#include "core/navigation/testfiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class ScriptVariablesTest : public QObject
{
    Q_OBJECT
private slots:
    void appliesExpressions_data()
    {
        QTest::addColumn<QByteArray>("before"); // empty: no file
        QTest::addColumn<QStringList>("expressions");
        QTest::addColumn<QByteArray>("after");
        QTest::newRow("new file") << QByteArray() << QStringList{u"sDAT[1]=-1"_s} << QByteArray("sDAT[1]=-1\r\n");
        QTest::newRow("sum") << QByteArray("sDAT[1]=3\r\n") << QStringList{u"sDAT[1]=-1"_s}
                             << QByteArray("sDAT[1]=2\r\n");
        QTest::newRow("appends a new name") << QByteArray("a=1\r\n") << QStringList{u"sDAT[1]=-1"_s}
                                            << QByteArray("a=1\r\nsDAT[1]=-1\r\n");
        QTest::newRow("two sums on a new file") << QByteArray() << QStringList{u"count=+1"_s, u"count=+1"_s}
                                                << QByteArray("count=2\r\n");
        QTest::newRow("fraction with a point") << QByteArray("x=2.5\r\n") << QStringList{u"x=+0.25"_s}
                                               << QByteArray("x=2.75\r\n");
        QTest::newRow("to zero") << QByteArray("x=1\r\n") << QStringList{u"x=-1"_s} << QByteArray("x=0\r\n");
        QTest::newRow("old value no number: replaced") << QByteArray("x=abc\r\n") << QStringList{u"x=+1"_s}
                                                       << QByteArray("x=+1\r\n");
        QTest::newRow("quoted value is no sum") << QByteArray("name=1\r\n") << QStringList{u"name='a-b'"_s}
                                                << QByteArray("name=\"a-b\"\r\n");
        QTest::newRow("plain value replaces") << QByteArray("x=3\r\n") << QStringList{u"x=7"_s} << QByteArray("x=7\r\n");
        QTest::newRow("two lines of one name") << QByteArray("x=1\r\ny=5\r\nx=10\r\n") << QStringList{u"x=+1"_s}
                                               << QByteArray("x=2\r\ny=5\r\nx=11\r\n");
        QTest::newRow("value holds =") << QByteArray() << QStringList{u"s=a=b"_s} << QByteArray("s=a=b\r\n");
        QTest::newRow("bare value, dropped by the next change")
            << QByteArray("x=1\r\n") << QStringList{u"alert(1)"_s} << QByteArray("x=1\r\nalert(1)\r\n");
        QTest::newRow("bare line dropped") << QByteArray("x=1\r\nalert(1)\r\n=5\r\n") << QStringList{u"x=2"_s}
                                           << QByteArray("x=2\r\n");
        QTest::newRow("LF and CR lines read") << QByteArray("a=1\nb=2\rc=3") << QStringList{u"b=+1"_s}
                                              << QByteArray("a=1\r\nb=3\r\nc=3\r\n");
        QTest::newRow("DELTA is a value") << QByteArray("x=1\r\n") << QStringList{u"x=DELTA"_s}
                                          << QByteArray("x=DELTA\r\n");
    }
    void appliesExpressions()
    {
        QFETCH(QByteArray, before);
        QFETCH(QStringList, expressions);
        QFETCH(QByteArray, after);
        QTemporaryDir dir;
        const QString path = dir.filePath(u"vars.txt"_s);
        if (!before.isEmpty())
            QVERIFY(writeFixture(path, before));
        for (const QString &e : expressions)
            QCOMPARE(setScriptVariable(path, e), VariableResult::Written);
        QCOMPARE(readFixture(path), after);
    }

    void writesCp932WithCrLf()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"vars.txt"_s);
        for (const QString &e : {u"name='太郎'"_s, u"count=+1"_s, u"count=+1"_s, u"score=2.5"_s, u"score=+0.5"_s,
                                 u"sDAT[1]=-1"_s})
            QCOMPARE(setScriptVariable(path, e), VariableResult::Written);
        QCOMPARE(readFixture(path), readFixture(QStringLiteral(KAVUNO_TEST_DATA "/commands/variables-expected.txt")));
    }

    void delOnlyAsTheWholeValue()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"vars.txt"_s);
        QVERIFY(writeFixture(path, "x=1\r\n"));
        QCOMPARE(setScriptVariable(path, u"x=DEL"_s), VariableResult::DeleteRequested);
        QCOMPARE(readFixture(path), QByteArray("x=1\r\n")); // the caller removes it
        QCOMPARE(setScriptVariable(path, u"x=DELTA"_s), VariableResult::Written);
    }

    void unreadableFileIsKept()
    {
        // A name that exists but cannot be read as a file (here a folder, since the
        // tests may run as root) is never replaced.
        QTemporaryDir dir;
        const QString path = dir.filePath(u"vars.txt"_s);
        QVERIFY(QDir().mkdir(path));
        QCOMPARE(setScriptVariable(path, u"x=+1"_s), VariableResult::Unreadable);
        QVERIFY(QFileInfo(path).isDir());
    }

    void undecodableFileIsKept()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"vars.txt"_s);
        const QByteArray bytes("x=1\r\nname=\x81\r\n"); // a lead byte without its trail byte
        QVERIFY(writeFixture(path, bytes));
        QCOMPARE(setScriptVariable(path, u"x=+1"_s), VariableResult::Unreadable);
        QCOMPARE(readFixture(path), bytes);
    }

    void missingFolderWritesNothing()
    {
        QTemporaryDir dir;
        QCOMPARE(setScriptVariable(dir.filePath(u"$history/history.txt"_s), u"a=1"_s), VariableResult::WriteFailed);
        QVERIFY(!QFile::exists(dir.filePath(u"$history"_s)));
    }

    void historyNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("path");
        QTest::newRow("plain") << u"Taro"_s << u"history/Taro"_s;
        QTest::newRow("empty") << QString() << u"history/NAME"_s;
        QTest::newRow("unsafe characters") << u"a/b:c?d*e<f"_s << u"history/a_b_c_d_e_f"_s;
        QTest::newRow("never leaves the folder") << u"..\\..\\x"_s << u"history/______x"_s;
        QTest::newRow("dots alone") << u".."_s << u"history/__"_s;
        QTest::newRow("Japanese") << u"山田 太郎"_s << u"history/山田 太郎"_s;
        QTest::newRow("absolute") << u"/etc/passwd"_s << u"history/_etc_passwd"_s;
        QTest::newRow("drive letter") << u"C:\\x"_s << u"history/C__x"_s;
        QTest::newRow("network path") << u"\\\\srv\\share\\x"_s << u"history/__srv_share_x"_s;
        QTest::newRow("three dots") << u".../x"_s << u"history/__._x"_s;
    }
    void historyNames()
    {
        QFETCH(QString, name);
        QFETCH(QString, path);
        QCOMPARE(historyPathFor(name), path);
    }

    void repointsHistoryPage()
    {
        QTemporaryDir dir;
        const QString page = dir.filePath(u"1010_history.html"_s);
        QVERIFY(QFile::copy(QStringLiteral(KAVUNO_TEST_DATA "/commands/history-page.html"), page));
        QFile::setPermissions(page, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        QCOMPARE(repointHistoryPage(page, u"history/Taro.txt"_s), RepointResult::Rewritten);
        QCOMPARE(readFixture(page), readFixture(QStringLiteral(KAVUNO_TEST_DATA "/commands/history-page-expected.html")));
        QCOMPARE(repointHistoryPage(page, u"history/Taro.txt"_s), RepointResult::Unchanged);
    }

    void historyPageWithoutScriptOrNotUtf8IsKept_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<RepointResult>("result");
        QTest::newRow("no script") << QByteArray("<HTML><BODY>x</BODY></HTML>") << RepointResult::NoScript;
        QTest::newRow("not UTF-8") << QByteArray("<SCRIPT SRC=\"a.txt\"></SCRIPT>\x82\xA0") << RepointResult::Unreadable;
        QTest::newRow("unclosed attribute") << QByteArray("<SCRIPT SRC=\"a.txt") << RepointResult::NoScript;
    }
    void historyPageWithoutScriptOrNotUtf8IsKept()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(RepointResult, result);
        QTemporaryDir dir;
        const QString page = dir.filePath(u"history.html"_s);
        QVERIFY(writeFixture(page, bytes));
        QCOMPARE(repointHistoryPage(page, u"history/Taro.txt"_s), result);
        QCOMPARE(readFixture(page), bytes);
    }

    void historyPageNames()
    {
        QVERIFY(isHistoryPage(u"1010_History.html"_s));
        QVERIFY(isHistoryPage(u"sub\\history.html"_s));
        QVERIFY(!isHistoryPage(u"history\\a.html"_s));
    }
};

QTEST_APPLESS_MAIN(ScriptVariablesTest)
#include "tst_scriptvariables.moc"
