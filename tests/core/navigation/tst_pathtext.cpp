#include "core/navigation/pathtext.h"

#include <QTest>

using namespace Qt::StringLiterals;

class PathTextTest : public QObject
{
    Q_OBJECT
private slots:
    void cutNNGivesLocalPaths_data()
    {
        QTest::addColumn<QString>("url");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("path");
        QTest::newRow("web address") << u"http://example.org/a.html"_s << QString() << QString();
        QTest::newRow("secure web address") << u"https://example.org/a.html"_s << QString() << QString();
        QTest::newRow("windows drive") << u"file:///D:/x%20y/z.pdf"_s << QString() << u"D:\\x y\\z.pdf"_s;
        QTest::newRow("windows share") << u"file://server/share/p.html"_s << QString()
                                       << u"\\\\server\\share\\p.html"_s;
        QTest::newRow("our path") << u"file:///home/u/web/a%20b.html"_s << QString() << u"/home/u/web/a b.html"_s;
        QTest::newRow("our path, japanese, encoded")
            << u"file:///srv/%E6%97%A5%E5%A0%B1.html"_s << QString() << u"/srv/日報.html"_s;
        QTest::newRow("no scheme passes") << u"/srv/a.html"_s << u"file:///srv/b.html"_s << u"/srv/a.html"_s;
        QTest::newRow("plain text on a shown share")
            << u"server\\share\\p.html"_s << u"file://server/share/q.html"_s << u"\\\\server\\share\\p.html"_s;
        QTest::newRow("our caption adds no share") << u"a.html"_s << u"file:///srv/q.html"_s << u"a.html"_s;
    }
    void cutNNGivesLocalPaths()
    {
        QFETCH(QString, url);
        QFETCH(QString, shown);
        QFETCH(QString, path);
        QCOMPARE(CutNN(url, shown), path);
    }

    void resolveRelativeLink_data()
    {
        QTest::addColumn<QString>("link");
        QTest::addColumn<QString>("curDir");
        QTest::addColumn<QString>("path");
        QTest::newRow("here, windows") << u"./a.html"_s << u"C:\\t\\u"_s << u"C:\\t\\u\\a.html"_s;
        QTest::newRow("up, windows") << u"../a.html"_s << u"C:\\t\\u"_s << u"C:\\t\\a.html"_s;
        QTest::newRow("rooted, windows") << u"/a.html"_s << u"C:\\t\\u"_s << u"C:\\t\\u\\a.html"_s;
        QTest::newRow("drive url") << u"file:///C:/x.html"_s << u"C:\\t\\u"_s << u"C:/x.html"_s;
        QTest::newRow("here") << u"./a.html"_s << u"/t/u"_s << u"/t/u/a.html"_s;
        QTest::newRow("up") << u"../a.html"_s << u"/t/u"_s << u"/t/a.html"_s;
        QTest::newRow("rooted") << u"/a.html"_s << u"/t/u"_s << u"/t/u/a.html"_s;
        QTest::newRow("our file url") << u"file:///srv/x%20y.html"_s << u"/t/u"_s << u"/srv/x y.html"_s;
        QTest::newRow("plain name") << u"a.html"_s << u"/t/u"_s << u"a.html"_s;
    }
    void resolveRelativeLink()
    {
        QFETCH(QString, link);
        QFETCH(QString, curDir);
        QFETCH(QString, path);
        QCOMPARE(ResolveRelativeLink(link, curDir), path);
    }

    void splitsPaths_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("dirPart");
        QTest::addColumn<QString>("lastFolder");
        QTest::addColumn<QString>("extension");
        QTest::newRow("windows file") << u"C:\\a\\b.txt"_s << u"C:\\a\\"_s << u"a"_s << u".txt"_s;
        QTest::newRow("windows folder") << u"C:\\a\\b\\"_s << u"C:\\a\\b\\"_s << u"b"_s << QString();
        QTest::newRow("windows last folder") << u"C:\\a\\b"_s << u"C:\\a\\"_s << u"a"_s << QString();
        QTest::newRow("bare name") << u"b.txt"_s << QString() << QString() << u".txt"_s;
        QTest::newRow("our folder") << u"/srv/web/sub/"_s << u"/srv/web/sub/"_s << u"sub"_s << QString();
        QTest::newRow("our file") << u"/srv/web/p.html"_s << u"/srv/web/"_s << u"web"_s << u".html"_s;
        QTest::newRow("mixed") << u"/srv/web\\sub\\p.html"_s << u"/srv/web\\sub\\"_s << u"sub"_s << u".html"_s;
        QTest::newRow("dot in a folder only") << u"/srv/v1.2/readme"_s << u"/srv/v1.2/"_s << u"v1.2"_s << QString();
        QTest::newRow("last dot counts") << u"/srv/a.tar.gz"_s << u"/srv/"_s << u"srv"_s << u".gz"_s;
    }
    void splitsPaths()
    {
        QFETCH(QString, path);
        QFETCH(QString, dirPart);
        QFETCH(QString, lastFolder);
        QFETCH(QString, extension);
        QCOMPARE(ExtractDirPart(path), dirPart);
        QCOMPARE(ExtractDirPart2(path), dirPart);
        QCOMPARE(LastFolderName(path), lastFolder);
        QCOMPARE(fileExtension(path), extension);
        QCOMPARE(pathWithoutExtension(path) + extension, path);
    }

    void textFunctions()
    {
        QCOMPARE(seitou(u"a/b:c?d*e<f"_s), u"a_b:c_d_e_f"_s);
        QCOMPARE(seitou(u"'x|\"y>\\z"_s), u"_x__y_\\z"_s);
        QCOMPARE(seitou(u"𠮷/野"_s), u"𠮷_野"_s);
        QCOMPARE(UrlLastSegment(u"p/q/r.wav"_s), u"r.wav"_s);
        QCOMPARE(UrlLastSegment(u"r.wav"_s), u"r.wav"_s);
        QCOMPARE(DecodePercent20(u"a%20b%2Fc"_s), u"a b%2Fc"_s);
        QCOMPARE(RepeatString(u"ab"_s, 3), u"ababab"_s);
        QCOMPARE(RepeatString(u"ab"_s, 0), QString());
        QCOMPARE(RepeatString(u"ab"_s, -2), QString());
    }

    void entryPaths_data()
    {
        QTest::addColumn<QString>("curDir");
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("path");
        QTest::newRow("name") << u"/srv/web"_s << u"a.html"_s << u"/srv/web/a.html"_s;
        QTest::newRow("relative with backslash") << u"/srv/web"_s << u"sub\\a.html"_s << u"/srv/web/sub/a.html"_s;
        QTest::newRow("absolute") << u"/srv/web"_s << u"/tmp/x.pdf"_s << u"/tmp/x.pdf"_s;
        QTest::newRow("web address") << u"/srv/web"_s << u"https://example.org/"_s << QString();
        QTest::newRow("drive path from a peer") << u"/srv/web"_s << u"C:\\x\\a.html"_s << u"C:\\x\\a.html"_s;
        QTest::newRow("colon in a name") << u"/srv/web"_s << u"10:30 memo.txt"_s << u"/srv/web/10:30 memo.txt"_s;
        QTest::newRow("file url") << u"/srv/web"_s << u"file:///tmp/a.html"_s << u"/tmp/a.html"_s;
    }
    void entryPaths()
    {
        QFETCH(QString, curDir);
        QFETCH(QString, entry);
        QFETCH(QString, path);
        QCOMPARE(entryLocalPath(curDir, entry), path);
    }
};

QTEST_APPLESS_MAIN(PathTextTest)
#include "tst_pathtext.moc"
