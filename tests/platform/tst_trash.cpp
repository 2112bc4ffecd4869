#include "core/navigation/testfiles.h"
#include "platform/linuxplatform.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

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
};

QTEST_GUILESS_MAIN(TrashTest)
#include "tst_trash.moc"
