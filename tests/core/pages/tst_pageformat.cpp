#include "core/pages/markers.h"
#include "core/pages/pagefile.h"
#include "core/pages/pagetext.h"
#include "core/pages/styleblocks.h"
#include "core/pages/templates.h"
#include "core/pages/titlesyntax.h"
#include "goldenfile.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class PageFormatTest : public QObject
{
    Q_OBJECT
private slots:
    void classifiesPages_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("own");
        QTest::addColumn<bool>("print");
        QTest::addColumn<bool>("a4");
        QTest::addColumn<int>("style");
        const QString doc = Markers::DocType;
        QTest::newRow("foreign page") << u"<html><body>x</body></html>"_s << false << false << false << 0;
        QTest::newRow("own B4 style 1") << doc + u"<META NAME=\"author\" CONTENT=\"Kavuno_TEXT_B4\"><!--STYLE_IN1-->"_s
                                        << true << false << false << 1;
        QTest::newRow("own A4 style 3") << doc + u"<META NAME=\"author\" CONTENT=\"Kavuno_TEXT_A4\"><!--STYLE_IN3-->"_s
                                        << true << false << true << 3;
        QTest::newRow("print page") << doc + u"<META NAME=\"author\" CONTENT=\"WORK_Kavuno_印刷\">"_s << true << true
                                    << false << 0;
        QTest::newRow("print marker without doctype is no print page")
            << u"CONTENT=\"WORK_Kavuno_印刷\""_s << false << false << false << 0;
        QTest::newRow("lower case marker is not the marker") << doc + u"<!--style_in2-->"_s << true << false << false << 0;
    }
    void classifiesPages()
    {
        QFETCH(QString, text);
        QFETCH(bool, own);
        QFETCH(bool, print);
        QFETCH(bool, a4);
        QFETCH(int, style);
        QCOMPARE(isOwnPage(text), own);
        QCOMPARE(isPrintPage(text), print);
        QCOMPARE(isEditablePage(text), own && !print);
        QCOMPARE(isA4Page(text), a4);
        for (int n = 1; n <= 4; ++n)
            QCOMPARE(hasStyleMarker(text, n), n == style);
    }

    void escapesAnglesOnly_data()
    {
        QTest::addColumn<QString>("plain");
        QTest::addColumn<QString>("escaped");
        QTest::addColumn<QString>("readBack");
        QTest::newRow("tags") << u"a<b>"_s << u"a&lt;b&gt;"_s << u"a<b>"_s;
        QTest::newRow("already escaped stays") << u"a&lt;b"_s << u"a&lt;b"_s << u"a<b"_s;
        QTest::newRow("ampersand untouched") << u"R&D &amp; co"_s << u"R&D &amp; co"_s << u"R&D &amp; co"_s;
    }
    void escapesAnglesOnly()
    {
        QFETCH(QString, plain);
        QFETCH(QString, escaped);
        QFETCH(QString, readBack);
        QCOMPARE(EscapeAngles(plain), escaped);
        QCOMPARE(HtmlEscapeLtGt(plain), escaped);
        QCOMPARE(UnescapeAngles(escaped), readBack);
        QCOMPARE(HtmlUnescapeLtGt(escaped), readBack);
    }

    void splitsTitles_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("iconPrefix");
        QTest::addColumn<QString>("iconName");
        QTest::addColumn<QString>("main");
        QTest::addColumn<QString>("second");
        QTest::addColumn<QString>("hint");
        QTest::addColumn<bool>("hasHint");
        QTest::newRow("all parts") << u"\"star.bmp\"Lesson 1#Addition?Solve the sums"_s << u"\"star.bmp\""_s
                                   << u"star.bmp"_s << u"Lesson 1"_s << u"Addition"_s << u"Solve the sums"_s << true;
        QTest::newRow("# after ? belongs to the hint") << u"\"star.bmp\"Lesson 1#Step 2?hint#x"_s << u"\"star.bmp\""_s
                                                       << u"star.bmp"_s << u"Lesson 1"_s << u"Step 2"_s << u"hint#x"_s
                                                       << true;
        QTest::newRow("one-letter icon") << u"\"x\"Quiz"_s << u"\"x\""_s << u"x"_s << u"Quiz"_s << QString() << QString()
                                         << false;
        QTest::newRow("text before the icon dropped") << u"ab\"i.png\"T"_s << u"\"i.png\""_s << u"i.png"_s << u"T"_s
                                                      << QString() << QString() << false;
        QTest::newRow("lone quote is no icon") << u"say \"hi"_s << QString() << QString() << u"say \"hi"_s << QString()
                                               << QString() << false;
        QTest::newRow("escaped parts read back") << u"a&lt;b&gt;#c&lt;?d&gt;"_s << QString() << QString() << u"a<b>"_s
                                                 << u"c<"_s << u"d>"_s << true;
        QTest::newRow("escaped icon name") << u"\"a&lt;b\"x"_s << u"\"a&lt;b\""_s << u"a<b"_s << u"x"_s << QString()
                                           << QString() << false;
        QTest::newRow("empty hint still a hint") << u"Page?"_s << QString() << QString() << u"Page"_s << QString()
                                                 << QString() << true;
    }
    void splitsTitles()
    {
        QFETCH(QString, title);
        const TitleParts parts = splitTitle(title);
        QTEST(parts.iconPrefix, "iconPrefix");
        QTEST(parts.iconName, "iconName");
        QTEST(parts.main, "main");
        QTEST(parts.secondLine, "second");
        QTEST(parts.hint, "hint");
        QTEST(parts.hasHint, "hasHint");
    }

    void joinsTitles_data()
    {
        QTest::addColumn<QString>("icon");
        QTest::addColumn<QString>("main");
        QTest::addColumn<QString>("second");
        QTest::addColumn<QString>("hint");
        QTest::addColumn<QString>("title");
        QTest::newRow("trailing blanks of main cut, hint kept")
            << QString() << u"  Hello  "_s << QString() << u" x "_s << u"  Hello? x "_s;
        QTest::newRow("ideographic space kept") << QString() << u"題　"_s << QString() << QString() << u"題　"_s;
        QTest::newRow("all parts escaped") << u"\"star.bmp\""_s << u"a<b>\t"_s << u"c>"_s << u"<d"_s
                                           << u"\"star.bmp\"a&lt;b&gt;#c&gt;?&lt;d"_s;
        QTest::newRow("empty main, second line only") << QString() << QString() << u"two"_s << QString() << u"#two"_s;
    }
    void joinsTitles()
    {
        QFETCH(QString, icon);
        QFETCH(QString, main);
        QFETCH(QString, second);
        QFETCH(QString, hint);
        QFETCH(QString, title);
        QCOMPARE(joinTitle(icon, main, second, hint), title);
    }

    void titleRoundTrip()
    {
        const QString stored = joinTitle(u"\"star.bmp\""_s, u"a<b>"_s, u"line 2"_s, u"see <this>"_s);
        const TitleParts parts = splitTitle(stored);
        QCOMPARE(parts.iconPrefix, u"\"star.bmp\""_s);
        QCOMPARE(parts.main, u"a<b>"_s);
        QCOMPARE(parts.secondLine, u"line 2"_s);
        QCOMPARE(parts.hint, u"see <this>"_s);
        QCOMPARE(joinTitle(parts.iconPrefix, parts.main, parts.secondLine, parts.hint), stored);
    }

    void dailyReportTitle_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("daily");
        QTest::newRow("daily report") << u"/d/朝_日報.html"_s << true;
        QTest::newRow("word only in the folder") << u"/日報/a.html"_s << false;
        QTest::newRow("not html") << u"/d/日報.txt"_s << false;
    }
    void dailyReportTitle()
    {
        QFETCH(QString, path);
        QTEST(isDailyReportPath(path), "daily");
        const QDate day(2026, 2, 6);
        QCOMPARE(::dailyReportTitle(u"朝の会:2026/2/5"_s, QString(), day), u"朝の会:2026/2/6"_s);
        QCOMPARE(::dailyReportTitle(u"朝の会 "_s, u"<h>"_s, day), u"朝の会 :2026/2/6?&lt;h&gt;"_s);
    }

    void styleBlocksMatchGoldenFiles()
    {
        for (int style = 1; style <= 4; ++style)
            COMPARE_GOLDEN(u"pages/styleblock%1.txt"_s.arg(style), BuildStyleBlock(style).toUtf8());
        COMPARE_GOLDEN(u"pages/newstyleblock1.txt"_s, StyleBlock(1).toUtf8());
    }

    void styleBlocksOutsideRangeAreEmpty()
    {
        for (int style : {-1, 0, 5})
            QVERIFY(BuildStyleBlock(style).isEmpty());
        for (int style : {0, 2, 3, 4})
            QVERIFY(StyleBlock(style).isEmpty());
        QVERIFY(BuildStyleBlock(3).contains(u"<!--\r\nBODY{"_s));
        QVERIFY(!BuildStyleBlock(1).contains(u"BODY{"_s));
        QVERIFY(!BuildStyleBlock(4).endsWith(u'\n'));
    }

    void newPageMatchesGoldenFile()
    {
        const QString text = newPageText(QDate(2026, 2, 6));
        COMPARE_GOLDEN(u"pages/newpage-2026-02-06.txt"_s, text.toUtf8());
        QVERIFY(!text.contains(Markers::NoteIn));
        QVERIFY(!text.contains(u'\n') || text.count(u'\n') == StyleBlock(1).count(u'\n'));
    }

    void progressPageMatchesGoldenFiles_data()
    {
        QTest::addColumn<QString>("status");
        QTest::addColumn<QString>("golden");
        QTest::newRow("no page") << Markers::StatusNoPage << u"pages/progress-nopage.html"_s;
        QTest::newRow("editing") << Markers::StatusEditPreparing << u"pages/progress-editing.html"_s;
    }
    void progressPageMatchesGoldenFiles()
    {
        QFETCH(QString, status);
        QFETCH(QString, golden);
        QTemporaryDir dir;
        const QString path = NEWHTMLSAVE(dir.path(), status);
        QCOMPARE(path, QDir(dir.path()).filePath(u"_XXX.html"_s));
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        COMPARE_GOLDEN(golden, f.readAll());
    }

    void progressPageRewrittenWithRawText()
    {
        QTemporaryDir dir;
        NEWHTMLSAVE(dir.path(), Markers::StatusCopying);
        const QString path = NEWHTMLSAVE(dir.path(), u"a<b"_s);
        const PageText page = readPageFile(path);
        QVERIFY(page.ok());
        QVERIFY(page.text.contains(u"<H1 align=\"center\">a<b</H1>"_s));
        QVERIFY(!page.text.contains(Markers::StatusCopying));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{u"_XXX.html"_s});
    }

    void progressPageThatCannotBeWrittenIsSilent()
    {
        QTemporaryDir dir;
        const QString blocker = dir.filePath(u"notafolder"_s);
        QVERIFY(writePageFile(blocker, u"x"_s));
        const QString path = NEWHTMLSAVE(blocker, Markers::StatusNoPage);
        QCOMPARE(path, blocker + u"/_XXX.html"_s);
        QVERIFY(!QFileInfo::exists(path));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{u"notafolder"_s});
    }
};

QTEST_APPLESS_MAIN(PageFormatTest)
#include "tst_pageformat.moc"
