// The real program started with two files copies them and ends by itself.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include "core/navigation/testfiles.h"

using namespace Qt::StringLiterals;

class BatchBinaryTest : public QObject
{
    Q_OBJECT
private slots:
    void copiesTwoFilesAndEnds_data()
    {
        QTest::addColumn<bool>("presenting");
        QTest::newRow("alone") << false;
        // Another copy presents a page: a batch run still shows and opens nothing.
        QTest::newRow("while another copy presents") << true;
    }
    void copiesTwoFilesAndEnds()
    {
        QFETCH(bool, presenting);
        QTemporaryDir dir;
        // A copy of the program, so that its data root lies in the temporary folder.
        const QString program = dir.filePath(u"notes"_s);
        QVERIFY(QFile::copy(QStringLiteral(KAVUNO_BINARY), program));
        QVERIFY(QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        QVERIFY(writeFixture(dir.filePath(u"one.pdf"_s), "one"));
        QVERIFY(writeFixture(dir.filePath(u"二.html"_s), "two"));
        if (presenting) {
            QVERIFY(QDir().mkpath(dir.filePath(u"notes_data"_s)));
            const QString page = dir.filePath(u"notes_data/page.html"_s);
            QVERIFY(writeFixture(page, "<html><title>page</title></html>"));
            QVERIFY(writeFixture(dir.filePath(u"notes_data/$$$.$$$"_s),
                                 "\xEF\xBB\xBF" + page.toUtf8() + "\"\r\n"));
        }

        QProcess process;
        process.start(program, {dir.filePath(u"one.pdf"_s), dir.filePath(u"二.html"_s)});
        QVERIFY(process.waitForStarted());
        QVERIFY2(process.waitForFinished(60000), "the program did not end by itself");
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(process.exitCode(), 0);
        QCOMPARE(readFixture(dir.filePath(u"notes_data/one.pdf"_s)), QByteArray("one"));
        QCOMPARE(readFixture(dir.filePath(u"notes_data/二.html"_s)), QByteArray("two"));
        // No page was shown: no placeholder page was written.
        QVERIFY(!QFile::exists(dir.filePath(u"notes_data/_XXX.html"_s)));
    }
};

QTEST_GUILESS_MAIN(BatchBinaryTest)
#include "tst_batchbinary.moc"
