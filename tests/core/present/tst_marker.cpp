#include "core/present/marker.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace Qt::StringLiterals;

static QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

static void touch(const QString &path)
{
    QDir().mkpath(path.left(path.lastIndexOf(u'/')));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
}

class MarkerTest : public QObject
{
    Q_OBJECT
private slots:
    void writesMarkOnePathOneQuoteAndCrLf()
    {
        QTemporaryDir dir;
        const QString home = dir.filePath(u"kavuno_data"_s);
        QVERIFY(QDir().mkpath(home));
        QVERIFY(writePresentationMarker(home, u"/srv/share/kavuno_data/01_理科/実験 1.html"_s));
        QCOMPARE(readAll(home + u"/$$$.$$$"_s),
                 readAll(QStringLiteral(KAVUNO_TEST_DATA "/present/marker-subfolder.bin")));
        // Written through a temporary file: nothing else is left beside it.
        QCOMPARE(QDir(home).entryList(QDir::Files | QDir::Hidden), QStringList{u"$$$.$$$"_s});
    }

    void writingIntoAMissingRootFails()
    {
        QTemporaryDir dir;
        QVERIFY(!writePresentationMarker(dir.filePath(u"gone"_s), u"/a/p.html"_s));
    }

    void decodes_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("path");
        QTest::newRow("with mark") << QByteArray("\xEF\xBB\xBF" "C:\\k\\p.html\"\r\n") << u"C:\\k\\p.html"_s;
        QTest::newRow("without mark") << QByteArray("/k/\xE7\x90\x86.html\"\r\n") << u"/k/理.html"_s;
        QTest::newRow("text after the quote ignored") << QByteArray("/k/a.html\"/k/b.html\"\r\n") << u"/k/a.html"_s;
        QTest::newRow("no quote names nothing") << QByteArray("\xEF\xBB\xBF/k/p.html\r\n") << QString();
        QTest::newRow("empty") << QByteArray() << QString();
        QTest::newRow("not UTF-8 names nothing") << QByteArray("/k/\x82\xA0.html\"\r\n") << QString();
    }
    void decodes()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, path);
        QCOMPARE(decodePresentationMarker(bytes), path);
    }

    void readsBackWhatItWrote()
    {
        QTemporaryDir dir;
        QCOMPARE(readPresentationMarker(dir.path()).state, MarkerRead::Absent);
        QVERIFY(writePresentationMarker(dir.path(), u"/x/y/z.pdf"_s));
        const MarkerRead read = readPresentationMarker(dir.path());
        QCOMPARE(read.state, MarkerRead::Read);
        QCOMPARE(read.path, u"\\x\\y\\z.pdf"_s);
    }

    // A peer's marker that is no small regular file is never read.
    void strangeMarkerIsNeverRead_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("FIFO without a writer") << u"fifo"_s;
        QTest::newRow("link to /dev/zero") << u"zero"_s;
        QTest::newRow("200 MB") << u"huge"_s;
    }
    void strangeMarkerIsNeverRead()
    {
        QFETCH(QString, kind);
        QTemporaryDir dir;
        const QString marker = dir.filePath(u"$$$.$$$"_s);
        if (kind == u"fifo"_s) {
            QCOMPARE(::mkfifo(QFile::encodeName(marker).constData(), 0600), 0);
        } else if (kind == u"zero"_s) {
            QVERIFY(QFile::link(u"/dev/zero"_s, marker));
        } else {
            QFile file(marker);
            QVERIFY(file.open(QIODevice::WriteOnly));
            QVERIFY(file.write("\xEF\xBB\xBF/k/p.html\"\r\n") > 0);
            QVERIFY(file.resize(200 * 1024 * 1024));
        }
        QCOMPARE(readPresentationMarker(dir.path()).state, MarkerRead::Unreadable);
    }

    void resolvesInOurOwnRoot_data()
    {
        QTest::addColumn<QString>("presenterPath");
        QTest::addColumn<QStringList>("existing"); // relative to our data root
        QTest::addColumn<QString>("resolved");     // relative to our data root; "-" for none

        QTest::newRow("windows path gives the file name")
            << u"C:\\授業\\教材\\p.html"_s << QStringList{u"p.html"_s} << u"p.html"_s;
        QTest::newRow("sub-folder under a Windows root of our name")
            << u"\\\\server\\share\\KAVUNO_DATA\\01_理科\\p.html"_s << QStringList{u"01_理科/p.html"_s, u"p.html"_s}
            << u"01_理科/p.html"_s;
        QTest::newRow("sub-folder under a Linux root of our name")
            << u"/mnt/other/kavuno_data/a/b/p.html"_s << QStringList{u"a/b/p.html"_s} << u"a/b/p.html"_s;
        QTest::newRow("sub-folder missing here: file name in the root")
            << u"/mnt/kavuno_data/a/p.html"_s << QStringList{u"p.html"_s} << u"p.html"_s;
        QTest::newRow("a sub-folder bearing the root's name")
            << u"/mnt/kavuno_data/x/kavuno_data/p.html"_s << QStringList{u"x/kavuno_data/p.html"_s}
            << u"x/kavuno_data/p.html"_s;
        QTest::newRow("nothing found: the name in the root all the same")
            << u"/elsewhere/p.html"_s << QStringList() << u"p.html"_s;
        QTest::newRow("never leaves the root")
            << u"/mnt/kavuno_data/../secret/p.html"_s << QStringList() << u"p.html"_s;
        QTest::newRow("Windows copy, root named otherwise, page in the root")
            << u"\\\\pc\\share\\教材\\1010_x.html"_s << QStringList{u"1010_x.html"_s} << u"1010_x.html"_s;
        QTest::newRow("Windows copy, root named otherwise, page in a sub-folder")
            << u"C:\\教材\\01_理科\\1010_x.html"_s << QStringList{u"01_理科/1010_x.html"_s, u"1010_x.html"_s}
            << u"01_理科/1010_x.html"_s;
        QTest::newRow("Windows copy spelling names in another case")
            << u"C:\\教材\\SUB\\1010_X.HTML"_s << QStringList{u"sub/1010_x.html"_s} << u"sub/1010_x.html"_s;
        QTest::newRow("a folder names no file") << u"C:\\k\\"_s << QStringList() << u"-"_s;
        QTest::newRow("empty") << QString() << QStringList() << u"-"_s;
        QTest::newRow("dot dot") << u"/a/.."_s << QStringList() << u"-"_s;
    }
    // A link another PC made in our data root never shows a file from elsewhere.
    void linkOutOfTheRootShowsNothingFromThere_data()
    {
        QTest::addColumn<QString>("presenterPath");
        QTest::addColumn<QString>("resolved"); // relative to our data root; "-" for none
        QTest::newRow("through a linked folder") << u"C:\\k\\out\\p.html"_s << u"p.html"_s;
        QTest::newRow("a linked file in the root") << u"\\\\srv\\share\\k\\q.html"_s << u"-"_s;
    }
    void linkOutOfTheRootShowsNothingFromThere()
    {
        QFETCH(QString, presenterPath);
        QFETCH(QString, resolved);
        QTemporaryDir dir;
        const QString home = dir.filePath(u"kavuno_data"_s);
        QVERIFY(QDir().mkpath(home));
        touch(dir.filePath(u"elsewhere/p.html"_s));
        touch(dir.filePath(u"elsewhere/q.html"_s));
        QVERIFY(QFile::link(dir.filePath(u"elsewhere"_s), home + u"/out"_s));
        QVERIFY(QFile::link(dir.filePath(u"elsewhere/q.html"_s), home + u"/q.html"_s));
        QCOMPARE(resolvePresentedPath(presenterPath, home), resolved == u"-"_s ? QString() : home + u'/' + resolved);
    }

    void resolvesInOurOwnRoot()
    {
        QFETCH(QString, presenterPath);
        QFETCH(QStringList, existing);
        QFETCH(QString, resolved);
        QTemporaryDir dir;
        const QString home = dir.filePath(u"kavuno_data"_s);
        QVERIFY(QDir().mkpath(home));
        for (const QString &file : existing)
            touch(home + u'/' + file);
        const QString expected = resolved == u"-"_s ? QString() : home + u'/' + resolved;
        QCOMPARE(resolvePresentedPath(presenterPath, home), expected);
    }
};

QTEST_APPLESS_MAIN(MarkerTest)
#include "tst_marker.moc"
