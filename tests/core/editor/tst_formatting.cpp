#include "core/editor/formatting.h"
#include "core/editor/pagereader.h"
#include "core/editor/picturetools.h"

#include "core/editor/exifjpeg.h"

#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
namespace F = Formatting;
namespace P = PictureTools;

// The texts the formatting and picture buttons write into a page.
class FormattingTest : public QObject
{
    Q_OBJECT
private slots:
    void markupWrapsTheSelectionOnce_data()
    {
        QTest::addColumn<int>("markup");
        QTest::addColumn<QString>("selection");
        QTest::addColumn<QString>("wrapped");
        QTest::newRow("red") << int(F::Markup::Red) << u"abc"_s << u"<font color=\"#ff0000\">abc</font>"_s;
        QTest::newRow("red again adds a pair") << int(F::Markup::Red) << u"<font color=\"#ff0000\">abc</font>"_s
                                               << u"<font color=\"#ff0000\"><font color=\"#ff0000\">abc</font></font>"_s;
        QTest::newRow("blue") << int(F::Markup::Blue) << u"青"_s << u"<font color=\"#0000ff\">青</font>"_s;
        QTest::newRow("underline") << int(F::Markup::Underline) << u"x"_s << u"<u>x</u>"_s;
        QTest::newRow("strong") << int(F::Markup::Strong) << u"x"_s << u"<strong>x</strong>"_s;
        QTest::newRow("bigger") << int(F::Markup::Bigger) << u"x"_s << u"<font size=\"+1\">x</font>"_s;
        QTest::newRow("sub") << int(F::Markup::Subscript) << u"2"_s << u"<sub>2</sub>"_s;
        QTest::newRow("sup") << int(F::Markup::Superscript) << u"2"_s << u"<sup>2</sup>"_s;
    }
    void markupWrapsTheSelectionOnce()
    {
        QFETCH(int, markup);
        QFETCH(QString, selection);
        QTEST(F::wrapMarkup(F::Markup(markup), selection), "wrapped");
        QCOMPARE(F::rubyMarkup(u"漢字"_s, u"かんじ"_s), u"<ruby>漢字<rt>かんじ</ruby>"_s);
        QCOMPARE(F::inlinePictureTag(u"a.png"_s, 40, 30), u"<img src=\"a.png\" width=\"40\" height=\"30\" align=\"middle\">"_s);
    }

    void linkFromTarget_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("html");
        QTest::addColumn<bool>("refused");
        QTest::newRow("windows file") << u"C:\\docs\\plan.pdf"_s << u"<A href=\"C:\\docs\\plan.pdf\">plan.pdfへのリンク</A>"_s << false;
        QTest::newRow("windows folder") << u"C:\\docs\\folder"_s << u"<A href=\"C:\\docs\\\">folderへのリンク</A>"_s << false;
        QTest::newRow("linux file") << u"/srv/docs/plan.pdf"_s << u"<A href=\"/srv/docs/plan.pdf\">plan.pdfへのリンク</A>"_s << false;
        QTest::newRow("linux folder") << u"/srv/docs/folder"_s << u"<A href=\"/srv/docs/\">folderへのリンク</A>"_s << false;
        QTest::newRow("web address kept whole") << u"http://intranet"_s << u"<A href=\"http://intranet\">intranetへのリンク</A>"_s << false;
        QTest::newRow("web page") << u"https://a.example/b/c.html"_s << u"<A href=\"https://a.example/b/c.html\">c.htmlへのリンク</A>"_s << false;
        QTest::newRow("quote refused") << u"/srv/a\"b.pdf"_s << QString() << true;
        QTest::newRow("angle refused") << u"/srv/<b>.pdf"_s << QString() << true;
        QTest::newRow("cancel") << QString() << QString() << false;
    }
    void linkFromTarget()
    {
        QFETCH(QString, target);
        const F::Link link = F::linkFromTarget(target);
        QTEST(link.html, "html");
        QTEST(link.refused, "refused");
    }

    void scrollBarHeightHalvesToEven_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<double>("aspect");
        QTest::addColumn<int>("height");
        QTest::newRow("keeps aspect") << 300 << 0.75 << 225;
        QTest::newRow("half down to even") << 5 << 0.5 << 2;
        QTest::newRow("half up to even") << 7 << 0.5 << 4;
        QTest::newRow("no aspect") << 300 << 0.0 << 0;
        QTest::newRow("not a number") << 300 << qQNaN() << 0;
    }
    void scrollBarHeightHalvesToEven()
    {
        QFETCH(int, width);
        QFETCH(double, aspect);
        QTEST(P::heightForWidth(width, aspect), "height");
    }

    void headerAndBackgroundEdits_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("after");
        QTest::newRow("header replaced") << u"<!--HEDDA_IN-->old<!--HEDDA_OUT-->\r\n"_s << u"_top.png"_s
                                         << u"<!--HEDDA_IN--><P align=\"center\" ><IMG src=\"_top.png\" border=\"0\"></P><!--HEDDA_OUT-->\r\n"_s;
        QTest::newRow("header removed") << u"<!--HEDDA_IN-->old<!--HEDDA_OUT-->"_s << QString() << u"<!--HEDDA_IN--><!--HEDDA_OUT-->"_s;
        QTest::newRow("header block made whole") << QString() << u"_t.png"_s
                                                 << u"<!--HEDDA_IN--><P align=\"center\" ><IMG src=\"_t.png\" border=\"0\"></P><!--HEDDA_OUT-->"_s;
        QTest::newRow("no block stays none") << QString() << QString() << QString();
    }
    void headerAndBackgroundEdits()
    {
        QFETCH(QString, before);
        QFETCH(QString, name);
        QTEST(P::headerWithPicture(before, name), "after");
        QCOMPARE(P::companionName(u"__top.png"_s), u"_top.png"_s);
        QCOMPARE(P::headEndWithBackground(u"\r\n</HEAD>\r\n<BODY text=\"red\">"_s, u"_b.jpg"_s).value(),
                 u"\r\n</HEAD>\r\n<BODY background=\"_b.jpg\">"_s);
        QCOMPARE(P::headEndWithBackground(u"</HEAD><BODY background=\"_b.jpg\" x>"_s, QString()).value(),
                 u"</HEAD><BODY>"_s);
        QVERIFY(!P::headEndWithBackground(u"</HEAD>"_s, u"_b.jpg"_s));
        QCOMPARE(P::linkTargetFor(u"/d/p"_s, u"/d/p/sub/doc.pdf"_s), u"sub/doc.pdf"_s);
        QCOMPARE(P::linkTargetFor(u"/d/p"_s, u"/d/pq/doc.pdf"_s), u"/d/pq/doc.pdf"_s);
    }

    void blankPicturesTakeTheTypeOfTheirName()
    {
        QImage picture;
        QVERIFY(picture.loadFromData(P::blankPicture(u"x.JPG"_s, QSize(9, 5)), "JPEG"));
        QCOMPARE(picture.size(), QSize(9, 5));
        QVERIFY(picture.loadFromData(P::blankPicture(u"x.bmp"_s, QSize(7, 3)), "BMP"));
        QCOMPARE(picture.pixelColor(6, 2), QColor(Qt::white)); // rows padded to four bytes
        QVERIFY(P::blankPicture(u"x.png"_s, QSize(9, 5)).isEmpty());
    }

    // A phone stores a portrait photo lying down with an EXIF orientation; the
    // browser turns it, so its size is taken turned wherever it is taken.
    void picturesAreMeasuredAsShown_data()
    {
        QTest::addColumn<QSize>("stored");
        QTest::addColumn<int>("orientation");
        QTest::addColumn<QSize>("shown");
        QTest::addColumn<QSize>("preview");
        QTest::newRow("upright") << QSize(40, 20) << 1 << QSize(40, 20) << QSize(40, 20);
        QTest::newRow("upside down") << QSize(40, 20) << 3 << QSize(40, 20) << QSize(40, 20);
        QTest::newRow("turned right") << QSize(40, 20) << 6 << QSize(20, 40) << QSize(20, 40);
        QTest::newRow("turned left") << QSize(40, 20) << 8 << QSize(20, 40) << QSize(20, 40);
        // Decoded no taller than a preview frame can be.
        QTest::newRow("long, turned") << QSize(20000, 100) << 6 << QSize(100, 20000) << QSize(40, 8192);
    }

    void picturesAreMeasuredAsShown()
    {
        QFETCH(QSize, stored);
        QFETCH(int, orientation);
        QFETCH(QSize, shown);
        QFETCH(QSize, preview);
        QTemporaryDir dir;
        QFile photo(dir.filePath(u"photo.jpg"_s));
        QVERIFY(photo.open(QIODevice::WriteOnly));
        photo.write(jpegWithOrientation(stored.width(), stored.height(), quint16(orientation)));
        photo.close();
        QCOMPARE(P::measure(photo.fileName()), shown);
        QCOMPARE(P::previewImage(photo.fileName()).size(), preview);
        // A picture paragraph without a size takes the picture's own.
        const PageModel model = LoadPageToFields(
            u"<HTML><HEAD><TITLE>t</TITLE></HEAD><BODY><!--NOTE_IN--><P><IMG src=\"photo.jpg\"></P><!--NOTE_OUT--></BODY></HTML>"_s,
            dir.filePath(u"a.html"_s));
        QCOMPARE(model.pictureWidth + u'x' + model.pictureHeight, u"%1x%2"_s.arg(shown.width()).arg(shown.height()));
    }

    void pageWithoutStyleBlockPreviewsStyleZero()
    {
        const PageModel model = LoadPageToFields(u"<HTML><HEAD><TITLE>t</TITLE></HEAD><BODY><!--NOTE_IN--><!--NOTE_OUT--></BODY></HTML>"_s, u"/d/a.html"_s);
        QCOMPARE(model.style, 0);
        const F::StylePreview look = F::stylePreview(model.style);
        QCOMPARE(look.raisedButton, 0);
        QCOMPARE(look.bar.kind, F::StyleColour::ScrollBar);
        QCOMPARE(look.body.pointSize, 14);
        QCOMPARE(look.cellPointSize, 10);
        QCOMPARE(F::stylePreview(2).subheading.text.colour, QColor(0x00, 0x80, 0x80));
        QCOMPARE(F::stylePreview(4).raisedButton, 13);
    }
};

QTEST_GUILESS_MAIN(FormattingTest)
#include "tst_formatting.moc"
