#include "core/present/foldercount.h"
#include "core/present/stamp.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <ctime>
#include <utime.h>

using namespace Qt::StringLiterals;

static bool writeWithTime(const QString &path, const QDateTime &time)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write("x") == 1 && file.flush()
        && file.setFileTime(time, QFileDevice::FileModificationTime);
}

class StampTest : public QObject
{
    Q_OBJECT
private slots:
    void readsLocalTime_data()
    {
        QTest::addColumn<QDateTime>("time");
        QTest::addColumn<int>("state");
        QTest::addColumn<QString>("text");
        QTest::newRow("ordinary") << QDateTime(QDate(2024, 3, 5), QTime(7, 8, 9)) << int(FileStamp::Read)
                                  << u"20240305-070809"_s;
        QTest::newRow("first second of 2000") << QDateTime(QDate(2000, 1, 1), QTime(0, 0, 0))
                                              << int(FileStamp::Read) << u"20000101-000000"_s;
        QTest::newRow("afternoon is 24-hour") << QDateTime(QDate(2031, 12, 31), QTime(23, 59, 58))
                                              << int(FileStamp::Read) << u"20311231-235958"_s;
        QTest::newRow("before 2000 is unusable") << QDateTime(QDate(1999, 12, 31), QTime(23, 59, 59))
                                                 << int(FileStamp::Unusable) << QString();
    }
    void readsLocalTime()
    {
        QFETCH(QDateTime, time);
        QFETCH(int, state);
        QFETCH(QString, text);
        QTemporaryDir dir;
        const QString path = dir.filePath(u"p.html"_s);
        QVERIFY(writeWithTime(path, time));
        const FileStamp stamp = readFileStamp(path);
        QCOMPARE(int(stamp.state), state);
        QCOMPARE(stamp.text, text);
    }

    void missingFileIsNotCreated()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"gone.html"_s);
        QCOMPARE(readFileStamp(path).state, FileStamp::Missing);
        QVERIFY(!QFile::exists(path));
        QCOMPARE(readFileStamp(QString()).state, FileStamp::Missing);
        QCOMPARE(readFileStamp(dir.path()).state, FileStamp::Missing);
    }

    void unreadableFileStillHasAStamp()
    {
        // The stamp comes from the folder entry, so a file nobody may open
        // (or another PC holds open) still has one.
        QTemporaryDir dir;
        const QString path = dir.filePath(u"locked.html"_s);
        QVERIFY(writeWithTime(path, QDateTime(QDate(2025, 1, 2), QTime(3, 4, 5))));
        QVERIFY(QFile::setPermissions(path, {}));
        QCOMPARE(readFileStamp(path).text, u"20250102-030405"_s);
    }

    // Every copy polls the shared folder: it is listed again only when its stamp
    // moved, or is too young to trust, and the count follows every file added.
    void folderIsListedOnlyWhenItsStampMoves()
    {
        QTemporaryDir dir;
        const auto age = [&dir](int seconds) {
            utimbuf times{};
            times.actime = times.modtime = std::time(nullptr) - seconds;
            return utime(QFile::encodeName(dir.path()).constData(), &times) == 0;
        };
        QVERIFY(writeWithTime(dir.filePath(u"a.html"_s), QDateTime::currentDateTime()));
        FolderCountWatch watch;
        QVERIFY(age(0));
        QCOMPARE(watch.count(dir.path()), 1);
        QCOMPARE(watch.count(dir.path()), 1);
        QCOMPARE(watch.listings(), 2);
        QVERIFY(age(60));
        QCOMPARE(watch.count(dir.path()), 1);
        QCOMPARE(watch.count(dir.path()), 1);
        QCOMPARE(watch.listings(), 3);
        QVERIFY(writeWithTime(dir.filePath(u"b.html"_s), QDateTime::currentDateTime()));
        QVERIFY(age(30));
        QCOMPARE(watch.count(dir.path()), 2);
        QCOMPARE(watch.listings(), 4);
        QCOMPARE(watch.count(dir.filePath(u"gone"_s)), -1);
    }
};

QTEST_APPLESS_MAIN(StampTest)
#include "tst_stamp.moc"
