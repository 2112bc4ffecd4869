#include "../editortools/filebytes.h"
#include "core/app/rootpath.h"
#include "core/forms/answercsv.h"
#include "core/forms/sharedfilelock.h"
#include "plantednames.h"

#include <QDir>
#include <QFileInfo>
#include <QCoreApplication>
#include <QLockFile>
#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <optional>

#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace {
// Set in the environment of the child copies this test starts: the CSV to append to.
const char ChildCsv[] = "KAVUNO_TEST_APPEND_CSV";
const QByteArray Bom = QByteArrayLiteral("\xEF\xBB\xBF");
const AnswerLine Line{u"Q1,Q2"_s, u"A,B"_s};
} // namespace

class AnswerCsvTest : public QObject
{
    Q_OBJECT
private slots:
    void csvBesideThePage()
    {
        QCOMPARE(answerCsvPath(u"/d/sub/1030_Sheet.html"_s), u"/d/sub/_1030_Sheet.csv"_s);
    }

    void sheetIsTheLastParagraph_data()
    {
        QTest::addColumn<QString>("page");
        QTest::addColumn<QString>("sheet");
        QTest::newRow("tags removed, breaks kept")
            << u"<BODY><P>x</P><P align=\"left\">Q1<BR>[ ]<BR><B>Q2</B><BR>[ ]</P></BODY>"_s
            << u"Q1\r\n[ ]\r\nQ2\r\n[ ]"_s;
        QTest::newRow("no closing tag: empty sheet") << u"<BODY><P>a</P><P>b"_s << QString();
        QTest::newRow("removal stops at a lone >") << u"<P>a > b <B>c</B></P>"_s << u"a > b <B>c</B>"_s;
    }
    void sheetIsTheLastParagraph()
    {
        QFETCH(QString, page);
        QTEST(answerSheetText(page), "sheet");
    }

    void labelsAndAnswers_data()
    {
        QTest::addColumn<QString>("sheet");
        QTest::addColumn<QString>("header");
        QTest::addColumn<QString>("row");
        QTest::newRow("two questions") << u"好きな色\r\n[赤]\r\n好きな花\r\n[ 菊 ]"_s << u"好きな色,好きな花"_s << u"赤,菊"_s;
        QTest::newRow("label in corner brackets") << u"「名前」を書いてください[花子]"_s << u"名前"_s << u"花子"_s;
        QTest::newRow("blanks go, full-width brackets count")
            << u"都市\n［New　York］"_s << u"都市"_s << u"NewYork"_s;
        QTest::newRow("comma stays in its field") << u"Q[a,b]"_s << u"Q"_s << u"\"a,b\""_s;
        QTest::newRow("quotes doubled") << u"Q[\"a]"_s << u"Q"_s << u"\"\"\"a\""_s;
        QTest::newRow("formula defused")
            << u"=1+1[=cmd|'/C calc'!A0]\r\nQ2[@x]\r\nQ3[-2]\r\nQ4[+3]"_s << u"'=1+1,Q2,Q3,Q4"_s << u"'=cmd|'/Ccalc'!A0,'@x,'-2,'+3"_s;
        QTest::newRow("lone CR quoted") << u"Q[a\rb]"_s << u"Q"_s << u"\"a\rb\""_s;
        // A spreadsheet skips a leading TAB or CR and runs the formula after it.
        QTest::newRow("formula behind a TAB defused") << u"\tQ[\t=1+1]"_s << u"'\tQ"_s << u"'\t=1+1"_s;
        QTest::newRow("formula behind a CR defused, after the quote")
            << u"Q[\r=1+1,2]"_s << u"Q"_s << u"\"'\r=1+1,2\""_s;
        QTest::newRow("formula in quotes defused after the quote") << u"Q[=1,2]"_s << u"Q"_s << u"\"'=1,2\""_s;
        QTest::newRow("NUL dropped") << u"Q\0[a\0b]\r\nR[\0=1]"_s << u"Q,R"_s << u"ab,'=1"_s;
        QTest::newRow("a stray ] leaves an empty field") << u"Q1[A] x]"_s << u"Q1,"_s << u"A,"_s;
        QTest::newRow("comment line after the questions")
            << u"Q1\r\n[A]\r\n//メモ[x]\r\n"_s << u"Q1"_s << u"A,x"_s;
        QTest::newRow("comment in the middle")
            << u"Q1\r\n[A]\r\n//注意\r\nQ2\r\n[B]"_s << u"Q1,Q2"_s << u"A,B"_s;
    }
    void labelsAndAnswers()
    {
        QFETCH(QString, sheet);
        const AnswerLine line = answerLine(sheet);
        QTEST(line.header, "header");
        QTEST(line.row, "row");
    }

    void appendsHeaderOnceThenRows_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QByteArray>("after");
        QTest::newRow("new file") << QByteArray() << Bom + "Q1,Q2\r\nA,B\r\n";
        QTest::newRow("second submission") << Bom + "Q1,Q2\r\nA,B\r\n" << Bom + "Q1,Q2\r\nA,B\r\nA,B\r\n";
        QTest::newRow("no final line break") << QByteArray("h\r\nx") << QByteArray("h\r\nx\r\nA,B\r\n");
        // Saved by a spreadsheet in the legacy code page: its bytes stay.
        QTest::newRow("other encoding kept") << QByteArray("\x96\xBC\x91\x4F\r\n") << QByteArray("\x96\xBC\x91\x4F\r\nA,B\r\n");
    }
    void appendsHeaderOnceThenRows()
    {
        QFETCH(QByteArray, before);
        QTemporaryDir dir;
        const QString csv = dir.filePath(u"_p.csv"_s);
        if (!before.isEmpty())
            QVERIFY(writeBytes(csv, before));
        QCOMPARE(appendAnswer(csv, Line, 0).status, AppendStatus::Appended);
        QTEST(readBytes(csv), "after");
    }

    void appendWaitsForTheLockOrSaysSo()
    {
        QTemporaryDir dir;
        const QString csv = dir.filePath(u"_p.csv"_s);
        QLockFile other(SharedFileLock::lockPathFor(csv));
        QVERIFY(other.tryLock(0));
        QCOMPARE(appendAnswer(csv, Line, 100).status, AppendStatus::Busy);
        QVERIFY(!QFile::exists(csv));
        QTimer::singleShot(100, [&other] { other.unlock(); });
        QCOMPARE(appendAnswer(csv, Line, 10000).status, AppendStatus::Appended);
        QCOMPARE(readBytes(csv), Bom + "Q1,Q2\r\nA,B\r\n");
        // A folder at the lock's name is named as such, at once, not waited on as a busy peer.
        other.unlock();
        QVERIFY(QDir(dir.path()).mkdir(QFileInfo(SharedFileLock::lockPathFor(csv)).fileName()));
        const AppendOutcome blocked = appendAnswer(csv, Line, 60000);
        QCOMPARE(blocked.status, AppendStatus::Failed);
        QVERIFY(blocked.error.contains(QFileInfo(SharedFileLock::lockPathFor(csv)).fileName()));
    }

    // A row goes only into a plain file of one name beneath the data root: a
    // hard link would carry it into a file elsewhere, and a FIFO, a device, a
    // folder or a link at the CSV's name is named, never written or waited on.
    void answerGoesOnlyIntoAPlainFileOfOneName_data()
    {
        QTest::addColumn<int>("what"); // -1: a hard link to a CSV out of the root
        QTest::addColumn<QString>("why");
        QTest::newRow("hard link") << -1 << u"ハードリンク"_s;
        for (const Planted::Kind &kind : Planted::Kinds)
            QTest::newRow(kind.row) << int(kind.what) << Planted::kindText(kind.what);
    }
    void answerGoesOnlyIntoAPlainFileOfOneName()
    {
        QFETCH(int, what);
        QFETCH(QString, why);
        QTemporaryDir temp;
        const QString root = temp.filePath(u"root"_s);
        QVERIFY(QDir().mkpath(root));
        const QByteArray kept = Bom + "Q1,Q2\r\nsecret,row\r\n";
        const QString elsewhere = temp.filePath(u"elsewhere.csv"_s);
        QVERIFY(writeBytes(elsewhere, kept));
        setDataRoot(root);
        const auto back = qScopeGuard([] { setDataRoot(QString()); });
        const QString csv = root + u"/_1020_p.csv"_s;
        if (what < 0)
            QCOMPARE(::link(QFile::encodeName(elsewhere).constData(), QFile::encodeName(csv).constData()), 0);
        else if (!Planted::plant(Planted::What(what), csv, elsewhere))
            QSKIP("cannot be made here");
        std::optional<Planted::FifoWatch> watch;
        if (what == Planted::Fifo)
            watch.emplace(csv);

        const AppendOutcome outcome = appendAnswer(csv, Line, 60000);
        if (watch)
            QVERIFY2(!watch->opened(), "the FIFO was opened");
        QCOMPARE(outcome.status, AppendStatus::Failed);
        QVERIFY2(outcome.error.contains(u"_1020_p.csv"_s) && outcome.error.contains(why), qPrintable(outcome.error));
        QCOMPARE(readBytes(elsewhere), kept);
    }

    void threeCopiesAppendingLoseNoRow()
    {
        QTemporaryDir dir;
        const QString csv = dir.filePath(u"_p.csv"_s);
        QList<QProcess *> children;
        for (int n = 0; n < 3; ++n) {
            auto *child = new QProcess(this);
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert(QString::fromLatin1(ChildCsv), csv);
            child->setProcessEnvironment(env);
            child->start(QCoreApplication::applicationFilePath(), {});
            children << child;
        }
        for (QProcess *child : children) {
            QVERIFY(child->waitForFinished(60000));
            QCOMPARE(child->exitCode(), 0);
        }
        const QList<QByteArray> lines = readBytes(csv).split('\n');
        QCOMPARE(lines.size(), 1 + 150 + 1); // header, rows, and nothing after the last CR LF
        QCOMPARE(lines.first(), Bom + "Q1,Q2\r");
        QCOMPARE(lines.count("A,B\r"), 150);
    }
};

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    // A child copy: 50 answers, as another computer would send them.
    if (qEnvironmentVariableIsSet(ChildCsv)) {
        const QString csv = qEnvironmentVariable(ChildCsv);
        for (int n = 0; n < 50; ++n) {
            if (appendAnswer(csv, Line, 30000).status != AppendStatus::Appended)
                return 1;
        }
        return 0;
    }
    AnswerCsvTest test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_answercsv.moc"
