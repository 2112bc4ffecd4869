#include "core/app/startup.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include "core/navigation/testfiles.h"

using namespace Qt::StringLiterals;

class AppStartupTest : public QObject
{
    Q_OBJECT
private slots:
    void windowSizeIsCapped_data()
    {
        QTest::addColumn<QSize>("usable");
        QTest::addColumn<QSize>("window");
        QTest::newRow("full hd") << QSize(1920, 1040) << QSize(1265, 742);
        QTest::newRow("small") << QSize(1024, 738) << QSize(1024, 738);
        QTest::newRow("width exactly 1280") << QSize(1280, 742) << QSize(1265, 742);
        QTest::newRow("just below the caps") << QSize(1279, 743) << QSize(1279, 742);
    }
    void windowSizeIsCapped()
    {
        QFETCH(QSize, usable);
        QFETCH(QSize, window);
        QCOMPARE(mainWindowSize(usable), window);
    }

    // The data root is derived from it before the application object exists.
    void programFileKnownBeforeTheApplication()
    {
        const QString early = programFileBeforeApp();
        int argc = 1;
        char name[] = "moved-name";
        char *argv[] = {name, nullptr};
        QCoreApplication app(argc, argv);
        QCOMPARE(early, QCoreApplication::applicationFilePath());
    }

    void flashTextFrom1500()
    {
        QVERIFY(!flashShowsText(1499));
        QVERIFY(flashShowsText(1500));
    }

    void dailyReportChoice_data()
    {
        QTest::addColumn<QStringList>("archived");
        QTest::addColumn<QStringList>("inFolder");
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("target");
        QTest::newRow("later in list order wins")
            << QStringList{u"a20240105.html"_s, u"b20240105.html"_s, u"c20240104.html"_s}
            << QStringList{u"x_日報.html"_s, u"y_日報.html"_s} << u"b20240105.html"_s << u"y_日報.html"_s;
        QTest::newRow("no daily page yet") << QStringList{u"r20240105.html"_s} << QStringList{u"index.html"_s}
                                           << u"r20240105.html"_s << u"日報.html"_s;
        QTest::newRow("nothing archived today") << QStringList{u"r20240104.html"_s} << QStringList{u"x_日報.html"_s}
                                                << QString() << QString();
        QTest::newRow("archives are html only") << QStringList{u"r20240105.txt"_s} << QStringList{} << QString()
                                                << QString();
    }
    void dailyReportChoice()
    {
        QFETCH(QStringList, archived);
        QFETCH(QStringList, inFolder);
        QFETCH(QString, source);
        QFETCH(QString, target);
        QTemporaryDir dir;
        const QString archive = dir.filePath(u"00_日報の保存"_s);
        QVERIFY(QDir().mkpath(archive));
        for (const QString &name : archived)
            QVERIFY(writeFixture(archive + u'/' + name));
        for (const QString &name : inFolder)
            QVERIFY(writeFixture(dir.filePath(name)));
        const DailyReportRestore restore = dailyReportRestoreFor(dir.path(), archive, QDate(2024, 1, 5));
        QCOMPARE(restore.source, source.isEmpty() ? QString() : archive + u'/' + source);
        QCOMPARE(restore.target, target.isEmpty() ? QString() : dir.filePath(target));
    }
};

QTEST_APPLESS_MAIN(AppStartupTest)
#include "tst_appstartup.moc"
