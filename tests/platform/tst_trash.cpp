#include "core/navigation/testfiles.h"
#include "core/app/rootpath.h"
#include "platform/linuxplatform.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

using namespace Qt::StringLiterals;

class TrashTest : public QObject
{
    Q_OBJECT
private slots:
    // A user who has never had a data folder still gets the home trash, never
    // a "files" folder beside wherever the program was started.
    void trashWithoutADataFolderGoesHome()
    {
        QTemporaryDir temp;
        const QString data = temp.filePath(u"home/.local/share"_s);
        qputenv("XDG_DATA_HOME", QFile::encodeName(data));
        QVERIFY(QDir().mkpath(temp.filePath(u"started"_s)));
        const QString before = QDir::currentPath();
        QVERIFY(QDir::setCurrent(temp.filePath(u"started"_s)));
        const QString page = temp.filePath(u"pages/vars.txt"_s);
        QVERIFY(QDir().mkpath(temp.filePath(u"pages"_s)));
        QVERIFY(writeFixture(page, "x=1\r\n"));

        LinuxPlatform platform;
        const QStringList kept = platform.moveToTrash({page});
        QDir::setCurrent(before);
        QVERIFY(kept.isEmpty());
        QVERIFY(!QFile::exists(page));
        QCOMPARE(readFixture(data + u"/Trash/files/vars.txt"_s), QByteArray("x=1\r\n"));
        QVERIFY(QDir(temp.filePath(u"started"_s)).isEmpty());
    }

    // A file of the data root is trashed from its folder reached beneath the
    // root, and can be restored from what the trash says of it; one behind a
    // link out of the root is kept, and nothing outside is touched.
    void dataRootFileIsTrashedFromInsideOnly_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("trashed");
        QTest::newRow("page of the root") << u"sub/1010_p.html"_s << true;
        QTest::newRow("behind a folder that leads out") << u"out/1010_p.html"_s << false;
        QTest::newRow("a link out itself") << u"sub/link.html"_s << true;
    }
    void dataRootFileIsTrashedFromInsideOnly()
    {
        QFETCH(QString, name);
        QFETCH(bool, trashed);
        QTemporaryDir temp;
        const QString data = temp.filePath(u"home/.local/share"_s);
        qputenv("XDG_DATA_HOME", QFile::encodeName(data));
        const QString root = temp.filePath(u"notes_data"_s);
        const QString outside = temp.filePath(u"outside"_s);
        QVERIFY(QDir().mkpath(root + u"/sub"_s) && QDir().mkpath(outside));
        QVERIFY(writeFixture(root + u"/sub/1010_p.html"_s, "inside"));
        QVERIFY(writeFixture(outside + u"/1010_p.html"_s, "outside"));
        QVERIFY(QFile::link(outside, root + u"/out"_s));
        QVERIFY(QFile::link(outside + u"/1010_p.html"_s, root + u"/sub/link.html"_s));
        setDataRoot(root);
        LinuxPlatform platform;
        const QStringList kept = platform.moveToTrash({root + u'/' + name});
        setDataRoot(QString());
        // What lies behind a link out is no file of the root: nothing to trash.
        QVERIFY(kept.isEmpty());
        QCOMPARE(readFixture(outside + u"/1010_p.html"_s), QByteArray("outside"));
        const QString inTrash = data + u"/Trash/files/"_s + QFileInfo(name).fileName();
        QCOMPARE(QFileInfo(inTrash).exists() || QFileInfo(inTrash).isSymLink(), trashed);
        if (!trashed)
            return;
        QVERIFY(readFixture(data + u"/Trash/info/"_s + QFileInfo(name).fileName() + u".trashinfo"_s)
                    .contains(QByteArray(QByteArray("Path=") + QUrl::toPercentEncoding(root + u'/' + name, "/"))));
    }
};

QTEST_GUILESS_MAIN(TrashTest)
#include "tst_trash.moc"
