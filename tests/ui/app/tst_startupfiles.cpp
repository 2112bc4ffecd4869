// Copies of start-up: the daily-report restore and the import of files.
#include "core/app/startup.h"
#include "platform/atomiccopy.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include "core/navigation/testfiles.h"

using namespace Qt::StringLiterals;

static void setStamp(const QString &path, const QDateTime &stamp)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadWrite));
    QVERIFY(file.setFileTime(stamp, QFileDevice::FileModificationTime));
}

class StartupFilesTest : public QObject
{
    Q_OBJECT
private slots:
    void restoreCopiesOnlyANewerArchive_data()
    {
        QTest::addColumn<int>("archiveAgeSeconds");
        QTest::addColumn<int>("pageAgeSeconds");
        QTest::addColumn<QByteArray>("result");
        QTest::newRow("archive newer") << 60 << 600 << QByteArray("archive");
        QTest::newRow("posts after the archive are kept") << 600 << 60 << QByteArray("page");
        QTest::newRow("same stamp: nothing to do") << 60 << 60 << QByteArray("page");
    }
    void restoreCopiesOnlyANewerArchive()
    {
        QFETCH(int, archiveAgeSeconds);
        QFETCH(int, pageAgeSeconds);
        QFETCH(QByteArray, result);
        QTemporaryDir dir;
        const QDateTime now = QDateTime::currentDateTime();
        DailyReportRestore restore{dir.filePath(u"a20240105.html"_s), dir.filePath(u"x_日報.html"_s)};
        QVERIFY(writeFixture(restore.source, "archive"));
        QVERIFY(writeFixture(restore.target, "page"));
        setStamp(restore.source, now.addSecs(-archiveAgeSeconds));
        setStamp(restore.target, now.addSecs(-pageAgeSeconds));
        restoreDailyReport(restore, copyFileAtomically);
        QCOMPARE(readFixture(restore.target), result);
    }

    void restoreBringsCompanionsAndCreatesThePage()
    {
        QTemporaryDir dir;
        DailyReportRestore restore{dir.filePath(u"a20240105.html"_s), dir.filePath(u"日報.html"_s)};
        QVERIFY(writeFixture(restore.source, "archive"));
        QVERIFY(writeFixture(dir.filePath(u"a20240105.%xt"_s), "note"));
        QVERIFY(writeFixture(dir.filePath(u"a20240105.wav"_s), "RIFF"));
        const QStringList written = restoreDailyReport(restore, copyFileAtomically);
        QCOMPARE(written.size(), 3);
        QCOMPARE(readFixture(dir.filePath(u"日報.html"_s)), QByteArray("archive"));
        QCOMPARE(readFixture(dir.filePath(u"日報.%xt"_s)), QByteArray("note"));
        QCOMPARE(readFixture(dir.filePath(u"日報.wav"_s)), QByteArray("RIFF"));
        // A second start finds nothing newer.
        QVERIFY(restoreDailyReport(restore, copyFileAtomically).isEmpty());
    }

    void importCopiesTwoFilesAndNeverOntoItself()
    {
        QTemporaryDir dir;
        const QString folder = dir.filePath(u"web"_s);
        QVERIFY(QDir().mkpath(folder));
        QVERIFY(writeFixture(dir.filePath(u"a.pdf"_s), "pdf"));
        QVERIFY(writeFixture(dir.filePath(u"b 名前.html"_s), "html"));
        QVERIFY(writeFixture(folder + u"/a.pdf"_s, "old"));
        QVERIFY(writeFixture(folder + u"/self.txt"_s, "self"));
        const QStringList written =
            importFiles({dir.filePath(u"a.pdf"_s), dir.filePath(u"b 名前.html"_s), folder + u"/self.txt"_s,
                         dir.filePath(u"missing.txt"_s)},
                        folder, copyFileAtomically);
        QCOMPARE(written, (QStringList{folder + u"/a.pdf"_s, folder + u"/b 名前.html"_s}));
        QCOMPARE(readFixture(folder + u"/a.pdf"_s), QByteArray("pdf"));
        QCOMPARE(readFixture(folder + u"/self.txt"_s), QByteArray("self"));
    }
};

QTEST_GUILESS_MAIN(StartupFilesTest)
#include "tst_startupfiles.moc"
