#include "../pages/goldenfile.h"
#include "core/editor/pagebuilder.h"
#include "core/editor/pagereader.h"
#include "core/pages/pagefile.h"
#include "core/pages/styleblocks.h"
#include "core/pages/templates.h"
#include "modeldump.h"

#include <QImage>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {
const QDate Today(2026, 2, 6);

// The model of a brand-new page, as the editor sees it before the user types.
PageModel newPageModel(const QString &path)
{
    return LoadPageToFields(newPageText(Today), path);
}

QString lines(std::initializer_list<QString> parts)
{
    return QStringList(parts).join(u"\r\n"_s);
}
} // namespace

class PageRoundTripTest : public QObject
{
    Q_OBJECT
private:
    QTemporaryDir dir;
    QString pagePath;

private slots:
    void initTestCase()
    {
        QVERIFY(dir.isValid());
        pagePath = dir.filePath(u"1010_page.html"_s);
        QImage picture(40, 30, QImage::Format_RGB32);
        picture.fill(Qt::blue);
        QVERIFY(picture.save(dir.filePath(u"photo.jpg"_s), "JPG", 90));
        QVERIFY(picture.save(dir.filePath(u"Mixed.JPG"_s), "JPG", 90));
    }

    void newPageSavedOnceIsTheDocumentedPage()
    {
        const PageModel model = newPageModel(pagePath);
        QCOMPARE(model.style, 1);
        QCOMPARE(model.title, u"2026年02月06日"_s);
        const QString expected = lines({
            u"<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">"_s,
            u"<HTML>"_s,
            u"<HEAD>"_s,
            u"<META NAME=\"author\" CONTENT=\"Kavuno_TEXT_B4\">"_s,
            u"<META http-equiv=\"Content-Type\" content=\"text/html; charset=UTF-8\">"_s,
            u"<META http-equiv=\"Content-Style-Type\" content=\"text/css\">"_s,
            u"<TITLE>2026年02月06日</TITLE>"_s + BuildStyleBlock(1),
            u"</HEAD>"_s,
            u"<BODY><!--HEDDA_IN-->"_s,
            u"<!--HEDDA_OUT--><!--NOTE_IN--><P></P><P></P><!--NOTE_OUT--><!--FOOTER_IN-->"_s,
            u"<!--FOOTER_OUT--></BODY>"_s,
            u"</HTML>"_s,
        }) + u"\r\n"_s;
        QCOMPARE(encodePage(BuildPageFromFields(model, pagePath, Today).page),
                 QByteArray("\xEF\xBB\xBF") + expected.toUtf8());
    }

    void fieldSetsBuildToGoldenPagesAndBack_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<PageModel>("model");

        PageModel m = newPageModel(pagePath);
        m.style = 0;
        m.title = u"Plain"_s;
        m.heading = u"見出し"_s;
        m.text = u"本文"_s;
        QTest::newRow("style 0, B4") << u"style0-b4"_s << m;

        m = newPageModel(pagePath);
        m.TitleIconPrefix = u"\"star.bmp\""_s;
        m.title = u"Lesson <1>"_s;
        m.titleSecondLine = u"Step 2"_s;
        m.titleHint = u"a hint#x"_s;
        m.headingTag = u"<H1 align=\"center\">"_s;
        m.heading = u"Line 1\r\nLine 2"_s;
        m.subheadingTag = u"<H2 align=\"right\">"_s;
        m.subheading = u"小見出し"_s;
        m.paragraphTag = u"<P align=\"left\">"_s;
        m.text = u"first\r\nsecond <B>bold</B>"_s;
        QTest::newRow("style 1, title parts, aligned headings") << u"style1-headings"_s << m;

        m = newPageModel(pagePath);
        m.style = 2;
        m.PageSizeTag = Markers::SizeTagA4;
        m.pageWidth = Markers::PageWidthA4;
        m.title = u"A4"_s;
        m.cells[0] = u"caption only"_s;
        QTest::newRow("style 2, A4, caption-only table") << u"style2-a4-caption"_s << m;

        m = newPageModel(pagePath);
        m.style = 3;
        m.title = u"Table"_s;
        m.tableAlign = u"align=\"center\""_s;
        for (int i = 0; i < PageModel::CellCount; ++i)
            m.cells[i] = u"c%1"_s.arg(PageModel::cellMemoNumber(i));
        m.cells[5] = u"two\r\nlines"_s;
        QTest::newRow("style 3, full table centred") << u"style3-fulltable"_s << m;

        m = newPageModel(pagePath);
        m.style = 4;
        m.PageSizeTag = Markers::SizeTagFit;
        m.pageWidth = 1153;
        m.title = u"Fit"_s;
        m.tableAlign = u"align=\"right\""_s;
        m.cells[0] = u"box"_s;
        m.cells[2] = u"row 1"_s;
        m.cells[77] = u"last"_s;
        QTest::newRow("style 4, Fit, table right") << u"style4-fit-right"_s << m;

        m = newPageModel(pagePath);
        m.title = u"Picture"_s;
        m.pictureParagraphTag = u"<P>"_s;
        m.pictureTag = u"<IMG src=\"photo.jpg\" width=\"40\" height=\"30\" vspace=\"4\" hspace=\"4\" align=\"left\">"_s;
        m.pictureName = u"photo.jpg"_s;
        m.picturePresent = true;
        m.pictureWidth = u"80"_s;
        m.pictureHeight = u"60"_s;
        m.linkTarget = u"next.html"_s;
        m.text = u"beside the picture"_s;
        QTest::newRow("picture with link, resized") << u"picture-link"_s << m;

        m = newPageModel(pagePath);
        m.title = u"Centred"_s;
        m.pictureParagraphTag = u"<P align=\"center\">"_s;
        m.pictureTag = u"<IMG src=\"mixed.jpg\" vspace=\"4\" hspace=\"4\" align=\"center\">"_s;
        m.pictureName = u"mixed.jpg"_s;
        m.picturePresent = true;
        m.pictureWidth = u"40"_s;
        m.pictureHeight = u"30"_s;
        QTest::newRow("centred picture found ignoring case") << u"picture-centre"_s << m;

        m = newPageModel(pagePath);
        m.title = u"Web picture"_s;
        m.pictureParagraphTag = u"<P>"_s;
        m.pictureTag = u"<IMG src=\"https://example.org/a.jpg\" width=\"50%\">"_s;
        m.pictureWidth = u"50"_s;
        QTest::newRow("web picture kept as it is") << u"picture-web"_s << m;

        m = newPageModel(pagePath);
        m.title = u"Link"_s;
        m.linkTarget = u"doc.pdf"_s;
        m.linkText = u"Read"_s;
        m.text = u"Body"_s;
        QTest::newRow("link-only paragraph") << u"link-only"_s << m;

        m = newPageModel(pagePath);
        m.title = u"Quiz"_s;
        m.quiz = true;
        m.heading = u"問題"_s;
        m.text = u"東京は日本の(首都|首都/県庁/市役所)です。\r\n(Tokyo/東京) (a|b) （全角）"_s;
        QTest::newRow("quiz page") << u"quiz"_s << m;

        m = newPageModel(pagePath);
        m.title = u"Next"_s;
        m.quiz = true;
        m.text = u"no blanks here"_s;
        QTest::newRow("quiz page without blanks") << u"quiz-noblanks"_s << m;

        m = newPageModel(pagePath);
        m.title = u"Answer"_s;
        m.answer = true;
        m.text = u"質問"_s;
        QTest::newRow("answer page") << u"answer"_s << m;
    }
    void fieldSetsBuildToGoldenPagesAndBack()
    {
        QFETCH(QString, name);
        QFETCH(PageModel, model);

        const QByteArray first = encodePage(BuildPageFromFields(model, pagePath, Today).page);
        COMPARE_GOLDEN(u"pages/built/"_s + name + u".html"_s, first);

        const PageText stored = decodePageUtf8(first);
        QVERIFY(stored.ok());
        const PageModel read = LoadPageToFields(stored.text, pagePath);

        PageModel expected = model;
        if (expected.PageSizeTag == Markers::SizeTagFit) {
            // A Fit page reopens as B4.
            expected.PageSizeTag = Markers::SizeTagB4;
            expected.pageWidth = Markers::PageWidthB4;
        }
        QStringList want = fieldLines(expected);
        QStringList got = fieldLines(read);
        // Fields that reading derives differently from what was typed.
        const auto drop = [&](const QString &prefix, const QString &onlyIfGot = QString()) {
            want.removeIf([&](const QString &l) { return l.startsWith(prefix); });
            got.removeIf([&](const QString &l) { return l.startsWith(prefix) && (onlyIfGot.isEmpty() || l == onlyIfGot); });
        };
        if (!expected.pictureName.isEmpty()) {
            drop(u"picture="_s); // the builder sets the size into the IMG tag
            drop(u"size="_s);
        }
        if (!expected.linkTarget.isEmpty() && !expected.pictureTag.isEmpty())
            drop(u"linkText="_s); // a linked picture's link text is its IMG tag
        if (expected.pictureTag.isEmpty() && !expected.linkTarget.isEmpty())
            drop(u"picture="_s); // a link-only paragraph's text shows as the picture content
        if (expected.paragraphTag.isEmpty())
            drop(u"ptag="_s, u"ptag=<P>"_s); // an empty tag is written as "<P>"
        if (expected.pictureParagraphTag.isEmpty())
            drop(u"pictureParagraph="_s, u"pictureParagraph=<P>"_s);
        QCOMPARE(got, want);

        // Build, read, build is a fixed point.
        const QByteArray second = encodePage(BuildPageFromFields(read, pagePath, Today).page);
        const PageModel again = LoadPageToFields(decodePageUtf8(second).text, pagePath);
        const QByteArray third = encodePage(BuildPageFromFields(again, pagePath, Today).page);
        QCOMPARE(third, second);
        if (model.PageSizeTag != Markers::SizeTagFit)
            QCOMPARE(second, first);
    }
};

QTEST_APPLESS_MAIN(PageRoundTripTest)
#include "tst_pageroundtrip.moc"
