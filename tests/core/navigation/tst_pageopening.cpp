#include "core/navigation/pageopening.h"

#include <QTest>

using namespace Qt::StringLiterals;

class PageOpeningTest : public QObject
{
    Q_OBJECT
private slots:
    void kindByExtension_data()
    {
        QTest::addColumn<QString>("page");
        QTest::addColumn<PageKind>("kind");
        QTest::newRow("html") << u"/srv/web/1010_a.html"_s << PageKind::Browser;
        QTest::newRow("htm upper case") << u"/srv/web/A.HTM"_s << PageKind::Browser;
        QTest::newRow("text upper case") << u"/srv/web/notes.TXT"_s << PageKind::Browser;
        QTest::newRow("pdf") << u"file:///srv/web/x.pdf"_s << PageKind::Browser;
        QTest::newRow("mht") << u"/srv/web/x.mht"_s << PageKind::Browser;
        QTest::newRow("jpg upper case") << u"/srv/web/photo.JPG"_s << PageKind::Picture;
        QTest::newRow("jpeg") << u"/srv/web/photo.jpeg"_s << PageKind::Picture;
        QTest::newRow("bmp") << u"C:\\x\\p.bmp"_s << PageKind::Picture;
        QTest::newRow("spreadsheet") << u"/srv/web/data.xlsx"_s << PageKind::OpenPanel;
        QTest::newRow("png is no picture page") << u"/srv/web/p.png"_s << PageKind::OpenPanel;
        QTest::newRow("word processor file would download") << u"/srv/web/letter.jt"_s << PageKind::OpenPanel;
        QTest::newRow("jxw") << u"/srv/web/letter.jxw"_s << PageKind::OpenPanel;
        QTest::newRow("mail would download") << u"/srv/web/mail.eml"_s << PageKind::OpenPanel;
        QTest::newRow("dot in a folder name") << u"/srv/web.html/readme"_s << PageKind::OpenPanel;
        QTest::newRow("web address of a file") << u"https://example.org/data.zip"_s << PageKind::Browser;
        QTest::newRow("plain web address") << u"http://example.org/"_s << PageKind::Browser;
    }
    void kindByExtension()
    {
        QFETCH(QString, page);
        QFETCH(PageKind, kind);
        QCOMPARE(pageKindOf(page), kind);
    }

    void currentPagePosition()
    {
        const QString curDir = u"/srv/web"_s;
        QCOMPARE(CurrentPagePos(u"file:///srv/web/1010_a.html"_s, curDir, u"1010_a.html"_s, true), 1);
        QCOMPARE(CurrentPagePos(u"file:///srv/web/1020_b.html"_s, curDir, u"1010_a.html"_s, true), 0);
        QCOMPARE(CurrentPagePos(u"http://example.org/"_s, curDir, u"1010_a.html"_s, true), 0);
        QCOMPARE(CurrentPagePos(u"file:///srv/web/1010_a.html"_s, curDir, u"1010_a.html"_s, false), -1);
        QCOMPARE(CurrentPagePos(u"file:///srv/web/sub/x%20y.html"_s, curDir, u"sub\\x y.html"_s, true), 1);
    }

    void clampToByte_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("byte");
        QTest::newRow("half to even up") << 127.5 << 128;
        QTest::newRow("half to even down") << 128.5 << 128;
        QTest::newRow("half of one") << 0.5 << 0;
        QTest::newRow("one and a half") << 1.5 << 2;
        QTest::newRow("below zero") << -3.2 << 0;
        QTest::newRow("above 255") << 300.0 << 255;
        QTest::newRow("255.4") << 255.4 << 255;
    }
    void clampToByte()
    {
        QFETCH(double, value);
        QFETCH(int, byte);
        QCOMPARE(ClampToByte(value), byte);
    }

    void bilinearResize()
    {
        QImage source(2, 1, QImage::Format_RGB32);
        source.setPixel(0, 0, qRgb(0, 0, 0));
        source.setPixel(1, 0, qRgb(255, 255, 255));
        const QImage scaled = ResizeBitmapBilinear(source, 4, 1);
        QCOMPARE(scaled.size(), QSize(4, 1));
        QList<int> reds;
        for (int x = 0; x < 4; ++x)
            reds << qRed(scaled.pixel(x, 0));
        QCOMPARE(reds, (QList<int>{0, 128, 255, 255}));
        QCOMPARE(qGreen(scaled.pixel(1, 0)), 128);

        QVERIFY(ResizeBitmapBilinear(QImage(), 4, 4).isNull());
        QVERIFY(ResizeBitmapBilinear(source, 0, 4).isNull());
    }

    void pictureSizeKeepsAspect()
    {
        QCOMPARE(pictureSizeAtWidth(QSize(480, 300), 960), QSize(960, 600));
        QCOMPARE(pictureSizeAtWidth(QSize(3, 2), 100), QSize(100, 66));
        QVERIFY(pictureSizeAtWidth(QSize(0, 300), 960).isEmpty());
        QVERIFY(pictureSizeAtWidth(QSize(480, 300), 0).isEmpty());
    }
};

QTEST_APPLESS_MAIN(PageOpeningTest)
#include "tst_pageopening.moc"
