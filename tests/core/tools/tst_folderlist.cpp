#include "core/tools/deskcopy.h"
#include "core/tools/folderlist.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class FolderListTest : public QObject
{
    Q_OBJECT
private slots:
    void createsListedFolders_data()
    {
        QTest::addColumn<QString>("list");
        QTest::addColumn<QStringList>("made"); // every folder below the program's folder afterwards
        QTest::addColumn<QStringList>("refused");
        QTest::newRow("nested, comments and blanks")
            << u"kavuno_data\\2024\\1組\r\n\r\n// 注釈\r\nkavuno_data\\2024\\2組 // 後で\r\n \t kavuno_data/x \r\n"_s
            << QStringList{u"kavuno_data"_s, u"kavuno_data\\2024"_s, u"kavuno_data\\2024\\1組"_s, u"kavuno_data\\x"_s}
            << QStringList();
        QTest::newRow("Windows root name means our data root")
            << u"KAVUNO\\国語"_s << QStringList{u"kavuno_data"_s, u"kavuno_data\\国語"_s} << QStringList();
        QTest::newRow("beside the data root is refused")
            << u"教材\\a\nkavuno_data\\b"_s << QStringList{u"kavuno_data"_s, u"kavuno_data\\b"_s}
            << QStringList{u"教材\\a"_s};
        QTest::newRow("leaving the folder is refused")
            << u"a\\..\\..\\evil\n/tmp/evil\nC:\\evil\n\\\\server\\share"_s << QStringList()
            << QStringList{u"a\\..\\..\\evil"_s, u"/tmp/evil"_s, u"C:\\evil"_s, u"\\\\server\\share"_s};
        // "//" makes a line a comment.
        QTest::newRow("other spellings of leaving")
            << u"..\\evil\n./../evil\nc:evil\n//server/share\n.\\a\\..\\..\\evil"_s << QStringList()
            << QStringList{u"..\\evil"_s, u"./../evil"_s, u"c:evil"_s, u".\\a\\..\\..\\evil"_s};
    }
    void createsListedFolders()
    {
        QFETCH(QString, list);
        QTemporaryDir dir;
        const QString exeDir = dir.path() + u'/';
        const FolderListResult first = createListedFolders(list, exeDir, u"kavuno"_s, dir.filePath(u"kavuno_data"_s));
        QTEST(first.refused, "refused");
        QTEST(existingFolderNames(exeDir), "made");
        // Made once: the second run changes nothing.
        QCOMPARE(createListedFolders(list, exeDir, u"kavuno"_s, dir.filePath(u"kavuno_data"_s)).created, 0);
        QVERIFY(!QFileInfo::exists(dir.filePath(u"../evil"_s)));
    }

    void symbolicLinksAreNotFollowed()
    {
        QTemporaryDir dir;
        QTemporaryDir outside;
        QVERIFY(QFile::link(outside.path(), dir.filePath(u"link"_s)));
        const FolderListResult result = createListedFolders(u"link\\made"_s, dir.path() + u'/', u"k"_s, QString());
        QCOMPARE(result.refused, QStringList{u"link\\made"_s});
        QVERIFY(QDir(outside.path()).isEmpty());
        QCOMPARE(existingFolderNames(dir.path()), QStringList());
    }

    void deskCopyReplacesAndRefusesItself()
    {
        QTemporaryDir dir;
        const QString source = dir.filePath(u"教材"_s);
        const QString desktop = dir.filePath(u"desk"_s); // a fake desktop
        QVERIFY(QDir().mkpath(source + u"/sub/empty"_s));
        QFile page(source + u"/sub/p.html"_s);
        QVERIFY(page.open(QIODevice::WriteOnly) && page.write("new") == 3);
        page.close();
        const QString target = deskCopyTarget(desktop, source);
        QCOMPARE(target, desktop + u"/【マイデスク】/教材"_s);
        QVERIFY(QDir().mkpath(target + u"/sub"_s));
        QFile old(target + u"/sub/p.html"_s);
        QVERIFY(old.open(QIODevice::WriteOnly) && old.write("old") == 3);
        old.close();

        QStringList copied;
        const auto copy = [&copied](const QString &from, const QString &to) {
            copied << to;
            QFile::remove(to);
            return QFile::copy(from, to);
        };
        QVERIFY(copyFolderContent(source, target, copy).isEmpty());
        QCOMPARE(copied, QStringList{target + u"/sub/p.html"_s});
        QVERIFY(QFileInfo(target + u"/sub/empty"_s).isDir());
        QFile result(target + u"/sub/p.html"_s);
        QVERIFY(result.open(QIODevice::ReadOnly));
        QCOMPARE(result.readAll(), QByteArray("new"));

        QVERIFY(!copiesIntoItself(source, target));
        // A desktop inside the folder copied.
        QVERIFY(copiesIntoItself(dir.path(), deskCopyTarget(desktop, dir.path())));
        QVERIFY(copiesIntoItself(source, source + u"/x/../"_s));
    }
};

QTEST_GUILESS_MAIN(FolderListTest)
#include "tst_folderlist.moc"
