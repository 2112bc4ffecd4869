// Searching the listing: query terms, heading words and full text.
#include "core/app/smallfile.h"
#include "core/app/wholefile.h"
#include "core/search/pagetextcache.h"
#include "core/search/searchquery.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "core/navigation/testfiles.h"

using namespace Qt::StringLiterals;

class SearchQueryTest : public QObject
{
    Q_OBJECT
private slots:
    void queryTerms_data()
    {
        QTest::addColumn<QString>("query");
        QTest::addColumn<QStringList>("terms");
        QTest::newRow("two") << u"a/b"_s << QStringList{u"a"_s, u"b"_s};
        QTest::newRow("two separators end it") << u"a//b"_s << QStringList{u"a"_s};
        QTest::newRow("leading separator") << u"/a"_s << QStringList{};
        QTest::newRow("empty") << QString() << QStringList{};
        QTest::newRow("wide wins") << u"a／b/c"_s << QStringList{u"a"_s, u"b/c"_s};
        QTest::newRow("not trimmed") << u" a /b"_s << QStringList{u" a "_s, u"b"_s};
    }
    void queryTerms()
    {
        QFETCH(QString, query);
        QFETCH(QStringList, terms);
        QCOMPARE(splitQuery(query), terms);
    }

    void headingWords_data()
    {
        QTest::addColumn<QString>("term");
        QTest::addColumn<bool>("matches");
        QTest::newRow("caption") << u"fruit"_s << true;
        QTest::newRow("keyword") << u"APPLE"_s << true;
        QTest::newRow("second keyword") << u"pear"_s << true;
        QTest::newRow("part of a word") << u"app"_s << false;
        QTest::newRow("hint") << u"hint"_s << false;
        QTest::newRow("icon") << u"star"_s << false;
    }
    void headingWords()
    {
        QFETCH(QString, term);
        QFETCH(bool, matches);
        QCOMPARE(headingMatches(u"\"star.bmp\"Fruit#apple/pear?hint"_s, term, u"/"_s), matches);
    }

    void fullText_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("term");
        QTest::addColumn<bool>("matches");
        QTest::newRow("any case") << QByteArray("<P>Hello World</P>") << u"world"_s << true;
        QTest::newRow("only in a comment") << QByteArray("<P>x</P><!-- secret -->") << u"secret"_s << false;
        QTest::newRow("comment joins with >") << QByteArray("ab<!-- x -->cd") << u"b>c"_s << true;
        QTest::newRow("unclosed comment loses its <") << QByteArray("a<!-b") << u"a!-b"_s << true;
        QTest::newRow("sharp s upper-cases to SS") << QByteArray("straße") << u"STRASSE"_s << true;
        QTest::newRow("dotless i") << QByteArray("Iris") << u"ırıs"_s << true;
        QTest::newRow("japanese") << QByteArray("<P>日本の歴史</P>") << u"歴史"_s << true;
        QTest::newRow("japanese absent") << QByteArray("<P>日本の歴</P>") << u"歴史"_s << false;
        QTest::newRow("long text, letters and their neighbours")
            << QByteArray("<P>Every Letter: ABCDEFGHIJKLMNOPQRSTUVWXYZ and @[`{ stay</P>") << u"letter: abcdefghijklmnopqrstuvwxyz and @[`{"_s << true;
        QTest::newRow("ascii beside japanese") << QByteArray("日本Lesson") << u"本lesSON"_s << true;
        QTest::newRow("greek upper-cases") << QByteArray("<P>ωμέγα</P>") << u"ΩΜΈΓΑ"_s << true;
        QTest::newRow("fullwidth upper-cases") << QByteArray("ａｂｃ") << u"ＡＢＣ"_s << true;
        QTest::newRow("invalid bytes") << QByteArray("\xff Hello") << u"hello"_s << true;
        QTest::newRow("invalid bytes decode to U+FFFD") << QByteArray("\xff" "abc") << u"\uFFFDABC"_s << true;
        QTest::newRow("term only in a comment, text beside") << QByteArray("<!-- 光合成 -->光") << u"光合成"_s << false;
    }
    void fullText()
    {
        QFETCH(QByteArray, text);
        QFETCH(QString, term);
        QFETCH(bool, matches);
        lowerAsciiLetters(text);
        QCOMPARE(FullTextTerm(term).textMatches(text, holdsAsciiFolding(text)), matches);
    }

    void keptTextsAreBounded()
    {
        QTemporaryDir dir;
        PageTextCache cache(10);
        cache.reset(dir.path() + u'/');
        cache.store(u"a.html"_s, "12345678", {1, 8});
        cache.store(u"b.html"_s, "12345678", {1, 8}); // past the limit: not kept
        QCOMPARE(cache.count(), 1);
        QCOMPARE(cache.usedBytes(), 8);
        // A page whose file is gone is dropped, not served from memory.
        QByteArray bytes;
        bool folding = false;
        QVERIFY(!cache.text(u"a.html"_s, bytes, &folding));
        QCOMPARE(cache.count(), 0);
    }

    void pathTerms_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("term");
        QTest::addColumn<bool>("matches");
        QTest::newRow("ascii, any case") << u"Sub/Page.pdf"_s << u"sub/pAGE"_s << true;
        QTest::newRow("folders with \\") << u"sub/page.pdf"_s << u"SUB\\PAGE"_s << true;
        QTest::newRow("fullwidth") << u"ｓｕｂ/a.pdf"_s << u"ＳＵＢ"_s << true;
        QTest::newRow("sharp s") << u"straße/a.pdf"_s << u"strasse"_s << true;
        QTest::newRow("absent") << u"sub/a.pdf"_s << u"subs"_s << false;
    }
    void pathTerms()
    {
        QFETCH(QString, path);
        QFETCH(QString, term);
        QFETCH(bool, matches);
        QTemporaryDir dir;
        const SearchListing screen{{path, u"T"_s}};
        const SearchListing hits = DoSearch(screen, term, {dir.path() + u'/', SearchMode::FullText, {}, nullptr, {}});
        QCOMPARE(hits, matches ? screen : SearchListing{});
    }

    // Pages kept from the walk: what changed after it is found as it is now.
    void keptTextsFollowChanges_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<bool>("found");
        QTest::addColumn<int>("foldersBefore"); // walked before the page's own
        QTest::newRow("rewritten in place") << u"write"_s << true << 0;
        QTest::newRow("same size, time set back") << u"same stamp"_s << true << 0;
        // A large tree has more folders than are held open: they are watched all the same.
        QTest::newRow("same stamp, past 300 folders") << u"same stamp"_s << true << 300;
        QTest::newRow("replaced by a renamed file") << u"rename"_s << true << 0;
        QTest::newRow("removed") << u"remove"_s << false << 0;
        // Neither hangs the search nor fills the memory: it is not searched.
        QTest::newRow("replaced by a FIFO") << u"fifo"_s << false << 0;
        QTest::newRow("grown past the limit") << u"huge"_s << false << 0;
    }
    void keptTextsFollowChanges()
    {
        QFETCH(QString, change);
        QFETCH(bool, found);
        QFETCH(int, foldersBefore);
        QTemporaryDir dir;
        const QString root = dir.path() + u'/';
        const QString path = root + u"sub/p.html"_s;
        QVERIFY(QDir().mkpath(root + u"sub"_s));
        for (int i = 0; i < foldersBefore; ++i)
            QVERIFY(QDir().mkpath(root + u"a%1"_s.arg(i, 3, 10, QChar(u'0'))));
        QVERIFY(writeFixture(path, "<P>apple</P>"));
        PageTextCache cache;
        cache.reset(root);
        WalkCallbacks keep;
        cache.keepWhileWalking(keep);
        const SearchListing screen = ZENBU(root, keep);
        const SearchRequest request{root, SearchMode::FullText, {}, &cache, {}};
        QCOMPARE(DoSearch(screen, u"apple"_s, request), screen);
        QCOMPARE(cache.count(), 1);

        if (change == u"same stamp"_s) {
            // Only a watch tells this change from none.
            if (!cache.watching())
                QSKIP("this file system does not tell of changes");
            struct stat before;
            QVERIFY(::stat(QFile::encodeName(path).constData(), &before) == 0);
            QVERIFY(writeFixture(path, "<P>plum!</P>"));
            const struct timespec times[2] = {before.st_atim, before.st_mtim};
            QVERIFY(::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0) == 0);
        } else if (change == u"write"_s) {
            QVERIFY(writeFixture(path, "<P>plum, a longer text</P>"));
        } else if (change == u"rename"_s) {
            QVERIFY(writeWholeFile(path, "<P>plum</P>"));
        } else if (change == u"fifo"_s) {
            QVERIFY(QFile::remove(path));
            QVERIFY(::mkfifo(QFile::encodeName(path).constData(), 0600) == 0);
        } else if (change == u"huge"_s) {
            QVERIFY(writeFixture(path, "<P>plum</P>"));
            QVERIFY(::truncate(QFile::encodeName(path).constData(), WholeTextLimit + 1) == 0);
        } else {
            QVERIFY(QFile::remove(path));
        }
        QCOMPARE(DoSearch(screen, u"plum"_s, request), found ? screen : SearchListing{});
        QCOMPARE(DoSearch(screen, u"apple"_s, request), SearchListing{});
    }

    void foldingCharacters_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("folding");
        QTest::newRow("ascii and japanese") << u"Abc 日本語（全角）"_s << false;
        QTest::newRow("sharp s") << u"straße"_s << true;
        QTest::newRow("ligature") << u"ﬁle"_s << true;
        QTest::newRow("long s") << u"ſ"_s << true;
    }
    void foldingCharacters()
    {
        QFETCH(QString, text);
        QFETCH(bool, folding);
        QCOMPARE(holdsAsciiFolding(text.toUtf8()), folding);
    }

    void searchesNarrowAndCountEachHitOnce()
    {
        QTemporaryDir dir;
        const QString root = dir.path() + u'/';
        QVERIFY(QDir().mkpath(root + u"sub"_s));
        QVERIFY(writeFixture(root + u"a.html"_s, "<P>apple and pear</P>"));
        QVERIFY(writeFixture(root + u"sub/b.html"_s, "<P>pear</P>"));
        QVERIFY(writeFixture(root + u"apple.pdf"_s, "%PDF pear"));
        const SearchListing screen{{u"a.html"_s, u"A"_s}, {u"sub/b.html"_s, u"B"_s}, {u"apple.pdf"_s, u"P"_s}};
        PageTextCache cache;
        SearchRequest request{root, SearchMode::FullText, {}, &cache, {}};

        SearchListing hits = DoSearch(screen, u"APPLE/pear"_s, request);
        QCOMPARE(hits, (SearchListing{screen[0], screen[2], screen[1]}));
        hits = DoSearch(hits, u"sub"_s, request);
        QCOMPARE(hits, SearchListing{screen[1]});

        // A changed page is read again, not taken from the cache.
        QVERIFY(writeFixture(root + u"sub/b.html"_s, "<P>plum, a longer text</P>"));
        QCOMPARE(DoSearch(screen, u"plum"_s, request), SearchListing{screen[1]});
        QCOMPARE(DoSearch(screen, u"plum"_s, {root, SearchMode::FullText, {}, nullptr, {}}), SearchListing{screen[1]});

        // The heading search leaves out the page that asks.
        request.mode = SearchMode::Heading;
        request.excludedUpper = (root + u"a.html"_s).toUpper();
        const SearchListing titled{{u"a.html"_s, u"Fruit#apple"_s}, {u"sub/b.html"_s, u"Tree#apple"_s}};
        QCOMPARE(DoSearch(titled, u"apple"_s, request), SearchListing{titled[1]});
    }
};

QTEST_GUILESS_MAIN(SearchQueryTest)
#include "tst_searchquery.moc"
