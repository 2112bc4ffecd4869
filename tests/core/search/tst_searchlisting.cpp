// The search window's listing: which files of a tree are listed, their titles,
// and the two orders.
#include "core/search/searchlisting.h"

#include "core/app/smallfile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

#include "core/navigation/testfiles.h"

using namespace Qt::StringLiterals;

static void put(const QString &root, const QString &relative, const QByteArray &bytes = "x")
{
    QDir().mkpath(QFileInfo(root + relative).absolutePath());
    QVERIFY(writeFixture(root + relative, bytes));
}

class SearchListingTest : public QObject
{
    Q_OBJECT
private slots:
    void walkListsTheDocumentsOfTheTree()
    {
        QTemporaryDir dir;
        const QString root = dir.path() + u'/';
        put(root, u"1010_a.html"_s, "<TITLE>Alpha</TITLE>");
        put(root, u"b.html"_s, "<TITLE>Hidden</TITLE> NOTFIND");
        put(root, u"b.pdf"_s);
        put(root, u"_x.html"_s, "<TITLE>x</TITLE>");
        put(root, u"_dir/p.html"_s, "<TITLE>In underscore folder</TITLE>");
        put(root, u"MWEX/m.html"_s, "<TITLE>m</TITLE>");
        put(root, u"MWEX/sub/m2.html"_s, "<TITLE>m2</TITLE>");
        put(root, u"sub/MWEX/deep.html"_s, "<TITLE>Deep</TITLE>");
        put(root, u"both.html"_s, "<TITLE>Upper</TITLE><title>lower</title>");
        put(root, u"1020_Lesson.html"_s, "<title></title>");
        put(root, u"Lesson.html"_s, "<TITLE></TITLE>");
        put(root, u"old.htm"_s, "<TITLE>not read</TITLE>");
        put(root, u"Caps.HTML"_s, "<TITLE>not read</TITLE>");
        put(root, u"cut.html"_s, "</TITLE>x<TITLE>never closed");
        put(root, u"notes.txt"_s);
        put(root, u"sheet.xlsx"_s);
        // Our own writers' hidden names are no documents; another hidden page is.
        put(root, u".page.html.host-1.4242.tmp"_s, "<TITLE>temporary</TITLE>");
        put(root, u"sub/.kavuno-rename-3.page.html"_s, "<TITLE>stepped aside</TITLE>");
        put(root, u"_page.html.lock"_s);
        put(root, u".hand.html"_s, "<TITLE>Hand made</TITLE>");
        // A page too large to read whole is listed by its name and not read.
        put(root, u"2000_huge.html"_s, "<TITLE>never read</TITLE>");
        QVERIFY(::truncate(QFile::encodeName(root + u"2000_huge.html"_s).constData(), WholeTextLimit + 1) == 0);
        QVERIFY(QFile::link(dir.path(), root + u"sub/loop"_s));
        QVERIFY(QDir().mkpath(root + u"empty"_s));

        int reads = 0, unreadable = 0;
        WalkCallbacks callbacks;
        callbacks.pageRead = [&](const QString &, QByteArray, const FileVersion &) { ++reads; };
        callbacks.unreadable = [&] { ++unreadable; };
        const SearchListing listing = ZENBU(root, callbacks);
        const SearchListing expected{
            {u".hand.html"_s, u"Hand made"_s},
            {u"1010_a.html"_s, u"Alpha"_s},
            {u"1020_Lesson.html"_s, u"Lesson"_s},
            {u"2000_huge.html"_s, u"huge"_s},
            {u"_dir/p.html"_s, u"In underscore folder"_s},
            {u"b.pdf"_s, u"b.pdf"_s},
            {u"both.html"_s, u"lower"_s},
            {u"Caps.HTML"_s, u"Caps.HTML"_s},
            {u"cut.html"_s, u"cut"_s},
            {u"Lesson.html"_s, u"Lesson"_s},
            {u"old.htm"_s, u"old.htm"_s},
            {u"sheet.xlsx"_s, u"sheet.xlsx"_s},
            {u"sub/MWEX/deep.html"_s, u"Deep"_s},
        };
        QCOMPARE(listing, expected);
        QCOMPARE(reads, 8);
        QCOMPARE(unreadable, 1);
        QVERIFY(ZENBU(root + u"empty"_s).isEmpty());
    }

    void sortOrders_data()
    {
        QTest::addColumn<QStringList>("titles");
        QTest::addColumn<bool>("byKeyword");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("titles, a-z folded, ties in walk order")
            << QStringList{u"b"_s, u"B2"_s, u"A"_s, u"a"_s, u"Ä"_s, u"_z"_s}
            << false << QStringList{u"A"_s, u"a"_s, u"b"_s, u"B2"_s, u"_z"_s, u"Ä"_s};
        QTest::newRow("keyword part length")
            << QStringList{u"Third#abc"_s, u"Second#ab?a long hint text"_s, u"x"_s}
            << true << QStringList{u"x"_s, u"Second#ab?a long hint text"_s, u"Third#abc"_s};
    }
    void sortOrders()
    {
        QFETCH(QStringList, titles);
        QFETCH(bool, byKeyword);
        QFETCH(QStringList, expected);
        SearchListing listing;
        for (const QString &t : titles)
            listing.append({t + u".html"_s, t});
        SortResults(listing, byKeyword ? SearchOrder::ByKeywordLength : SearchOrder::ByTitle);
        QStringList sorted;
        for (const SearchEntry &e : listing)
            sorted << e.title;
        QCOMPARE(sorted, expected);
    }
};

QTEST_GUILESS_MAIN(SearchListingTest)
#include "tst_searchlisting.moc"
