#include "core/navigation/navigationtexts.h"
#include "core/navigation/pageopening.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

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
        // A very tall picture is narrowed to a height a pixmap can take.
        QCOMPARE(pictureSizeAtWidth(QSize(1000, 100000), 1000), QSize(327, 32700));
    }

    void pictureForViewRefusesWhatCannotBeShown_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QSize>("shown");
        const auto bmp = [](const QImage &image) {
            QByteArray bytes;
            QBuffer buffer(&bytes);
            buffer.open(QIODevice::WriteOnly);
            image.save(&buffer, "BMP");
            return bytes;
        };
        QImage small(4, 2, QImage::Format_RGB888);
        small.fill(Qt::red);
        QTest::newRow("ordinary") << bmp(small) << QSize(1000, 500);
        QImage tall(2, 120000, QImage::Format_RGB888);
        tall.fill(Qt::blue);
        QTest::newRow("2 x 120000") << bmp(tall) << QSize();
        // A small file whose header claims 30000 x 30000 pixels of 24 bits.
        QByteArray claim = bmp(small).left(54);
        qToLittleEndian<qint32>(30000, claim.data() + 18);
        qToLittleEndian<qint32>(30000, claim.data() + 22);
        QTest::newRow("header claims 30000 x 30000") << claim + QByteArray(64, 'x') << QSize();
        QTest::newRow("not a picture") << QByteArray("<html>") << QSize();
    }

    void pictureForViewRefusesWhatCannotBeShown()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QSize, shown);
        QTemporaryDir dir;
        QFile file(dir.filePath(u"p.bmp"_s));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        file.close();
        const QImage picture = pictureForView(file.fileName(), 1000);
        QCOMPARE(picture.size(), shown.isValid() ? shown : QSize(0, 0));
        QCOMPARE(picture.isNull(), !shown.isValid());
    }

    // Pages over 8 MB are no page a browser is given; PDFs and pictures are.
    void onlyLargePagesAreTooLargeToShow_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<qint64>("size");
        QTest::addColumn<bool>("tooLarge");
        const qint64 limit = qint64(8) << 20;
        QTest::newRow("page at the limit") << u"p.html"_s << limit << false;
        QTest::newRow("page over it") << u"p.html"_s << limit + 1 << true;
        QTest::newRow("text over it") << u"p.txt"_s << limit + 1 << true;
        QTest::newRow("name of no kind over it") << u"p.svg"_s << limit + 1 << true;
        QTest::newRow("PDF over it") << u"p.pdf"_s << limit + 1 << false;
        QTest::newRow("drawing over it") << u"p.bmp"_s << limit + 1 << false;
    }
    void onlyLargePagesAreTooLargeToShow()
    {
        QFETCH(QString, name);
        QFETCH(qint64, size);
        QFETCH(bool, tooLarge);
        QTemporaryDir dir;
        QFile file(dir.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        QVERIFY(file.resize(size));
        file.close();
        QCOMPARE(oversizedPage(file.fileName()), tooLarge ? std::optional<qint64>(size) : std::nullopt);
    }

    void pagesLeadingOutOfTheRootAreNotShown_data()
    {
        QTest::addColumn<QString>("page"); // relative to the data root
        QTest::addColumn<bool>("shown");
        QTest::newRow("a page") << u"1010_a.html"_s << true;
        QTest::newRow("a page in a folder") << u"sub/1010_b.html"_s << true;
        QTest::newRow("a link to a page of the root") << u"1020_same.html"_s << true;
        QTest::newRow("a link to a file outside") << u"1030_out.html"_s << false;
        QTest::newRow("a page in a folder that is a link out") << u"away/secret.txt"_s << false;
    }
    void pagesLeadingOutOfTheRootAreNotShown()
    {
        QFETCH(QString, page);
        QFETCH(bool, shown);
        QTemporaryDir outside, dir;
        const QString root = dir.filePath(u"web"_s);
        QVERIFY(QDir().mkpath(root + u"/sub"_s));
        for (const QString &file : QStringList{root + u"/1010_a.html"_s, root + u"/sub/1010_b.html"_s, outside.filePath(u"secret.txt"_s)}) {
            QFile f(file);
            QVERIFY(f.open(QIODevice::WriteOnly));
        }
        QVERIFY(QFile::link(root + u"/1010_a.html"_s, root + u"/1020_same.html"_s));
        QVERIFY(QFile::link(outside.filePath(u"secret.txt"_s), root + u"/1030_out.html"_s));
        QVERIFY(QFile::link(outside.path(), root + u"/away"_s));
        const QString html = outsideRootPageHtml(root + u'/' + page, root);
        QCOMPARE(html.isEmpty(), shown);
        if (!shown)
            QVERIFY(html.contains(NavigationTexts::PageOutsideRoot));
    }

    // A peer's name never becomes markup, a command or a sound in the notice.
    void noticeKeepsTheNameText()
    {
        const QString html = oversizedPageHtml(u"/d/<b>$GO x.wav.html"_s, 123456789);
        QVERIFY(html.contains(u"123456789"_s));
        for (const QString &part : {u"<b>"_s, u"$"_s, u"."_s, u"GO"_s})
            QVERIFY2(!html.contains(part), qPrintable(part));
        QVERIFY(html.contains(u"&#36;&#71;&#79;"_s)); // "$GO", as references
    }
};

QTEST_APPLESS_MAIN(PageOpeningTest)
#include "tst_pageopening.moc"
