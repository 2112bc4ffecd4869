#include "core/editor/pagebuilder.h"
#include "core/editor/pagereader.h"
#include "core/editor/picturebackup.h"
#include "core/pages/pagefile.h"
#include "core/pages/templates.h"

#include <QImage>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {
const QDate Today(2026, 2, 6);

QString titleOf(const QString &page)
{
    const qsizetype start = page.indexOf(u"<TITLE>"_s) + 7;
    return page.sliced(start, page.indexOf(u"</TITLE>"_s) - start);
}

QString noteOf(const QString &page)
{
    const qsizetype start = page.indexOf(u"<!--NOTE_IN-->"_s) + 14;
    return page.sliced(start, page.indexOf(u"<!--NOTE_OUT-->"_s) - start);
}
} // namespace

class PageBuilderTest : public QObject
{
    Q_OBJECT
private slots:
    void buildsTitles_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("main");
        QTest::addColumn<QString>("hint");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("archive");
        QTest::newRow("trailing blanks cut, hint kept") << u"/d/a.html"_s << u"  Hello  "_s << u" x "_s
                                                        << u"  Hello? x "_s << QString();
        QTest::newRow("daily report") << u"/d/朝_日報.html"_s << u"朝の会:2026/2/5"_s << QString() << u"朝の会:2026/2/6"_s
                                      << u" 2026年02月06日朝_日報"_s;
        QTest::newRow("daily report for the source view") << QString() << u"朝の会:2026/2/5"_s << QString()
                                                          << u"朝の会:2026/2/5#two"_s << QString();
    }
    void buildsTitles()
    {
        QFETCH(QString, path);
        QFETCH(QString, main);
        QFETCH(QString, hint);
        PageModel m;
        m.title = main;
        m.titleHint = hint;
        if (path.isEmpty())
            m.titleSecondLine = u"two"_s;
        const PageBuild built = BuildPageFromFields(m, path, Today);
        QTEST(titleOf(built.page), "title");
        QTEST(built.archiveName, "archive");
    }

    void tableFollowsTheBoxAlignment_data()
    {
        QTest::addColumn<QString>("align");
        QTest::addColumn<int>("pageWidth");
        QTest::addColumn<QString>("tableTag");
        QTest::addColumn<QString>("cellTag");
        QTest::newRow("centre") << u"align=\"center\""_s << 906 << u"<TABLE border=\"1\" align=\"center\"><TBODY>"_s
                                << u"<TD align=\"center\" Width=\"100\" bgcolor=\"#cbfefc\">x</TD>"_s;
        QTest::newRow("right") << u"align=\"right\""_s << 906 << u"<TABLE border=\"1\" align=\"right\"><TBODY>"_s
                               << u"<TD  Width=\"100\" bgcolor=\"#cbfefc\">x</TD>"_s;
        QTest::newRow("left, B4") << u"align=\"left\""_s << 906 << u"<TABLE border=\"1\"  width=\"860\"><TBODY>"_s
                                  << u"<TD  Width=\"100\" bgcolor=\"#cbfefc\">x</TD>"_s;
        QTest::newRow("none, A4") << QString() << 686 << u"<TABLE border=\"1\"  width=\"640\"><TBODY>"_s
                                  << u"<TD  Width=\"100\" bgcolor=\"#cbfefc\">x</TD>"_s;
    }
    void tableFollowsTheBoxAlignment()
    {
        QFETCH(QString, align);
        QFETCH(int, pageWidth);
        QFETCH(QString, tableTag);
        QFETCH(QString, cellTag);
        PageModel m;
        m.tableAlign = align;
        m.pageWidth = pageWidth;
        m.cells[1] = u"x"_s;
        const QString grid = BuildTableGrid(m);
        QVERIFY(grid.startsWith(tableTag));
        QVERIFY(grid.contains(cellTag));
        QCOMPARE(grid.count(u"<TR>"_s), 14);
        QCOMPARE(grid.count(u"<TD"_s), 78);

        m.cells[1].clear();
        m.cells[0] = u"caption"_s;
        QCOMPARE(BuildTableGrid(m).count(u"<TR>"_s), 1);
        m.cells[0].clear();
        QVERIFY(BuildTableGrid(m).isEmpty());
    }

    void noteParts_data()
    {
        QTest::addColumn<PageModel>("model");
        QTest::addColumn<QString>("note");
        PageModel m;
        QTest::newRow("empty fields") << m << u"<P></P><P></P>"_s;
        m.heading = u"line1\r\nline2"_s;
        QTest::newRow("two-line heading") << m << u"<H1>line1<BR>line2</H1><P></P><P></P>"_s;
        m = PageModel();
        m.linkTarget = u"doc.pdf"_s;
        QTest::newRow("link without text shows its target") << m << u"<P><A href=\"doc.pdf\">doc.pdf</A></P><P></P>"_s;
        m.linkText = u"Read"_s;
        QTest::newRow("link-only paragraph keeps its text") << m << u"<P><A href=\"doc.pdf\">Read</A></P><P></P>"_s;
        m = PageModel();
        m.pictureParagraphTag = u"<P align=\"center\">"_s;
        m.pictureTag = u"<IMG src=\"gone.jpg\" width=\"10\">"_s;
        m.pictureName = u"gone.jpg"_s;
        m.picturePresent = true;
        m.pictureWidth = u"99"_s;
        m.linkTarget = u"a.html"_s;
        QTest::newRow("missing picture keeps its tag")
            << m << u"<P align=\"center\"><A href=\"a.html\"><IMG src=\"gone.jpg\" width=\"10\"></A></P><P></P>"_s;
    }
    void noteParts()
    {
        QFETCH(PageModel, model);
        QTEST(noteOf(BuildPageFromFields(model, QString(), Today).page), "note");
    }

    void buildingIsRepeatable()
    {
        PageModel m;
        m.pictureParagraphTag = u"<P>"_s;
        m.pictureTag = u"<IMG src=\"a.jpg\">"_s;
        m.linkTarget = u"a.html"_s;
        const QString once = BuildPageFromFields(m, QString(), Today).page;
        QCOMPARE(BuildPageFromFields(m, QString(), Today).page, once);
        QCOMPARE(once.count(u"<A href"_s), 1);
    }

    void foundPictureGetsItsSize()
    {
        QTemporaryDir dir;
        QImage picture(8, 6, QImage::Format_RGB32);
        picture.fill(Qt::green);
        QVERIFY(picture.save(dir.filePath(u"p.jpg"_s)));
        PageModel m;
        m.path = dir.filePath(u"page.html"_s);
        m.pictureParagraphTag = u"<P>"_s;
        m.pictureTag = u"<IMG src=\"p.jpg\" width=\"1\" height=\"2\" align=\"left\">"_s;
        m.pictureName = u"p.jpg"_s;
        m.pictureWidth = u"80"_s;
        m.pictureHeight = u"60"_s;
        m.picturePresent = true;
        QCOMPARE(noteOf(BuildPageFromFields(m, QString(), Today).page),
                 u"<P><IMG src=\"p.jpg\" width=\"80\" height=\"60\" align=\"left\"></P><P></P>"_s);
        m.picturePresent = false;
        QCOMPARE(noteOf(BuildPageFromFields(m, QString(), Today).page),
                 u"<P><IMG src=\"p.jpg\"   align=\"left\"></P><P></P>"_s);
    }

    void savesAtomicallyAndReportsFailure()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"1010_new.html"_s);
        const PageModel m = LoadPageToFields(newPageText(Today), path);
        PageBuild built;
        QVERIFY(SavePageFile(m, path, Today, &built));
        QCOMPARE(readPageFile(path).text, normalizeLineBreaks(built.page));

        const QString blocked = dir.filePath(u"plainfile"_s);
        QVERIFY(writePageFile(blocked, u"x"_s));
        QString error;
        QVERIFY(!SavePageFile(m, blocked + u"/page.html"_s, Today, nullptr, &error));
        QVERIFY(!error.isEmpty());
    }

    void pictureBackupKeepsALinkOnlyParagraph()
    {
        PageModel m;
        m.path = u"/d/01_朝の会.html"_s;
        m.pictureParagraphTag = u"<P>"_s;
        m.pictureTag = u"Read"_s;
        m.linkTarget = u"doc.pdf"_s;
        m.linkText = u"Read"_s;
        PictureBackup backup;
        ClearImage(m, backup);
        QCOMPARE(noteOf(BuildPageFromFields(m, QString(), Today).page), u"<P><A href=\"doc.pdf\">Read</A></P><P></P>"_s);

        // A linked picture's link text is the picture: it goes, and comes back with it.
        m.pictureParagraphTag = u"<P>"_s;
        m.pictureTag = m.linkText = u"<IMG src=\"a.jpg\">"_s;
        m.pictureName = u"a.jpg"_s;
        SaveImageTags(m, backup);
        ClearImage(m, backup);
        QVERIFY(m.linkText.isEmpty() && m.pictureTag.isEmpty() && m.pictureName.isEmpty());
        QCOMPARE(m.linkTarget, u"doc.pdf"_s);
        RestoreImageTags(m, backup);
        QCOMPARE(m.pictureTag, u"<IMG src=\"a.jpg\">"_s);
        QCOMPARE(m.pictureName, u"a.jpg"_s);

        PageModel fresh;
        fresh.path = m.path;
        RestoreImageTags(fresh, PictureBackup());
        QCOMPARE(fresh.pictureParagraphTag, u"<P>"_s);
        // No picture named: the saved page shows no broken picture.
        QCOMPARE(noteOf(BuildPageFromFields(fresh, QString(), Today).page), u"<P></P><P></P>"_s);
    }

    void defaultImageName_data()
    {
        QTest::addColumn<QString>("page");
        QTest::addColumn<QString>("picture");
        QTest::newRow("order prefix") << u"/d/01_朝の会.html"_s << u"朝の会.bmp"_s;
        QTest::newRow("nothing after the prefix") << u"/d/abc_.html"_s << u"abc_.bmp"_s;
        QTest::newRow("no prefix") << u"memo.html"_s << u"memo.bmp"_s;
    }
    void defaultImageName()
    {
        QFETCH(QString, page);
        QTEST(DefaultImageName(page), "picture");
    }
};

QTEST_APPLESS_MAIN(PageBuilderTest)
#include "tst_pagebuilder.moc"
