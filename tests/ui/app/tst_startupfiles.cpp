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

    // The menu's import: a different file of the same name is replaced only
    // when asked, and only once the trash has it; never copied over.
    void plannedImportReplacesOnlyThroughTheTrash_data()
    {
        QTest::addColumn<bool>("replace");
        QTest::addColumn<bool>("trashKeeps");
        QTest::addColumn<QByteArray>("page");
        QTest::addColumn<QByteArray>("trashed");
        QTest::newRow("not asked to") << false << false << QByteArray("old") << QByteArray();
        QTest::newRow("asked to") << true << false << QByteArray("new") << QByteArray("old");
        QTest::newRow("asked to, trash refuses") << true << true << QByteArray("old") << QByteArray();
    }
    void plannedImportReplacesOnlyThroughTheTrash()
    {
        QFETCH(bool, replace);
        QFETCH(bool, trashKeeps);
        QFETCH(QByteArray, page);
        QFETCH(QByteArray, trashed);
        QTemporaryDir dir;
        const QString folder = dir.filePath(u"web"_s);
        QVERIFY(QDir().mkpath(folder + u"/sub.html"_s));
        QVERIFY(QDir().mkpath(dir.filePath(u"trash"_s)));
        QVERIFY(writeFixture(folder + u"/p.html"_s, "old"));
        QVERIFY(writeFixture(folder + u"/self.txt"_s, "self"));
        QVERIFY(writeFixture(dir.filePath(u"p.html"_s), "new"));
        QVERIFY(writeFixture(dir.filePath(u"free.pdf"_s), "pdf"));
        QVERIFY(writeFixture(dir.filePath(u"sub.html"_s), "dir"));
        const ImportPlan plan = planImport({dir.filePath(u"p.html"_s), dir.filePath(u"free.pdf"_s),
                                            folder + u"/self.txt"_s, dir.filePath(u"sub.html"_s)},
                                           folder);
        QCOMPARE(plan.replaced, QStringList{folder + u"/p.html"_s});
        QCOMPARE(plan.replacing, QStringList{dir.filePath(u"p.html"_s)});
        // A folder of the name is not replaced; the file itself is left alone.
        QCOMPARE(plan.fresh, (QStringList{dir.filePath(u"free.pdf"_s), dir.filePath(u"sub.html"_s)}));

        QStringList trashCalls;
        const ImportResult result = importPlanned(plan, replace, copyFileAtomically, [&](const QStringList &paths) {
            trashCalls << paths;
            if (trashKeeps)
                return paths;
            for (const QString &path : paths)
                QFile::rename(path, dir.filePath(u"trash/"_s) + QFileInfo(path).fileName());
            return QStringList();
        });
        QCOMPARE(readFixture(folder + u"/p.html"_s), page);
        QCOMPARE(readFixture(dir.filePath(u"trash/p.html"_s)), trashed);
        QCOMPARE(trashCalls, replace ? QStringList{folder + u"/p.html"_s} : QStringList());
        QCOMPARE(result.keptInPlace, trashKeeps ? QStringList{folder + u"/p.html"_s} : QStringList());
        QCOMPARE(readFixture(folder + u"/free.pdf"_s), QByteArray("pdf"));
        QVERIFY(QFileInfo(folder + u"/sub.html"_s).isDir());
        QCOMPARE(readFixture(folder + u"/self.txt"_s), QByteArray("self"));
        QCOMPARE(result.written.contains(folder + u"/p.html"_s), page == "new");
    }
};

QTEST_GUILESS_MAIN(StartupFilesTest)
#include "tst_startupfiles.moc"
