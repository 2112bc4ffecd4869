// Drawing on a capture: the drawing file, erasing one colour and saving pictures.
#include "core/present/drawing.h"

#include <QFileInfo>
#include <QImageReader>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

// One line of pixels, "r,g,b r,g,b ...".
static QImage line(const QString &pixels)
{
    const QStringList values = pixels.split(u' ');
    QImage image(int(values.size()), 1, QImage::Format_RGB888);
    for (int x = 0; x < values.size(); ++x) {
        const QStringList c = values[x].split(u',');
        image.setPixelColor(x, 0, QColor(c[0].toInt(), c[1].toInt(), c[2].toInt()));
    }
    return image;
}

static QString pixelsOf(const QImage &image)
{
    QStringList out;
    for (int x = 0; x < image.width(); ++x) {
        const QColor c = image.pixelColor(x, 0);
        out << u"%1,%2,%3"_s.arg(c.red()).arg(c.green()).arg(c.blue());
    }
    return out.join(u' ');
}

class DrawingTest : public QObject
{
    Q_OBJECT

private slots:
    void drawingFileBesideThePage_data()
    {
        QTest::addColumn<QString>("page");
        QTest::addColumn<QString>("drawing");
        QTest::newRow("order number") << u"/d/0120_map.html"_s << u"/d/_%map.bmp"_s;
        QTest::newRow("first underscore only") << u"/d/a_b_c.html"_s << u"/d/_%b_c.bmp"_s;
        QTest::newRow("no underscore") << u"/d/abc.html"_s << u"/d/_%abc.bmp"_s;
        QTest::newRow("underscore in the folder") << u"/my_dir/abc.html"_s << u"/my_dir/_%abc.bmp"_s;
        QTest::newRow("picture page") << u"/d/1040_photo.jpg"_s << u"/d/_%photo.bmp"_s;
        QTest::newRow("none") << QString() << QString();
    }

    void drawingFileBesideThePage()
    {
        QFETCH(QString, page);
        QFETCH(QString, drawing);
        QCOMPARE(DrawingPath(page), drawing);
    }

    void webPageHasNoDrawingFile()
    {
        QCOMPARE(drawingFileFor(u"/d/a.html"_s, u"https://example.org/x.html"_s, u"https://example.org/x.html"_s),
                 QString());
        // A link followed from a local page to the web: the local path is stale.
        QCOMPARE(drawingFileFor(u"/d/a.html"_s, u"file:///d/a.html"_s, u"http://example.org/y.html"_s), QString());
        QCOMPARE(drawingFileFor(u"/d/a.html"_s, u"file:///d/a.html"_s, u"file:///d/a.html"_s), u"/d/_%a.bmp"_s);
    }

    void proposedSaveName()
    {
        QCOMPARE(proposedDrawingName(u"/d/0120_map.html"_s), u"/d/0120_map.bmp"_s);
        QCOMPARE(proposedDrawingName(u"/d/_%map.bmp"_s), u"map.bmp"_s);
    }

    void eraseOneColour_data()
    {
        QTest::addColumn<int>("pen");
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("after");
        QTest::newRow("red at the line start becomes white")
            << 0 << u"255,0,0 10,20,30 240,10,10"_s << u"255,255,255 10,20,30 10,20,30"_s;
        QTest::newRow("red edge at 230 stays") << 0 << u"230,0,0 231,199,199"_s << u"230,0,0 230,0,0"_s;
        QTest::newRow("blue") << 1 << u"1,2,3 0,0,255 0,0,230"_s << u"1,2,3 1,2,3 0,0,230"_s;
        QTest::newRow("yellow") << 2 << u"9,9,9 101,101,99 255,255,0 100,101,0"_s
                                << u"9,9,9 9,9,9 9,9,9 100,101,0"_s;
        QTest::newRow("white at the line start stays white")
            << 3 << u"255,255,255 241,241,241 0,0,0 250,250,250"_s << u"255,255,255 255,255,255 0,0,0 0,0,0"_s;
        QTest::newRow("black") << 4 << u"9,9,9 200,0,0 0,0,10"_s << u"255,255,255 200,0,0 0,0,10"_s;
    }

    void eraseOneColour()
    {
        QFETCH(int, pen);
        QFETCH(QString, before);
        QFETCH(QString, after);
        QCOMPARE(pixelsOf(eraseColour(line(before), pen)), after);
    }

    void eachLineStartsWhite()
    {
        QImage image(2, 2, QImage::Format_RGB32);
        image.fill(QColor(0, 0, 255));
        image.setPixelColor(0, 0, QColor(5, 5, 5));
        const QImage erased = eraseColour(image, 1);
        QCOMPARE(erased.pixelColor(1, 0), QColor(5, 5, 5));
        QCOMPARE(erased.pixelColor(0, 1), QColor(255, 255, 255));
    }

    void savedNameAndFormat_data()
    {
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<int>("format");
        QTest::addColumn<QString>("saved");
        QTest::newRow("no extension gets .bmp") << u"/d/pic"_s << int(PictureSaveChoice::Bmp) << u"/d/pic.bmp"_s;
        QTest::newRow("upper BMP") << u"/d/pic.BMP"_s << int(PictureSaveChoice::Bmp) << u"/d/pic.BMP"_s;
        QTest::newRow("upper JPG") << u"/d/pic.JPG"_s << int(PictureSaveChoice::Jpeg) << u"/d/pic.JPG"_s;
        QTest::newRow("jpeg") << u"/d/pic.Jpeg"_s << int(PictureSaveChoice::Jpeg) << u"/d/pic.Jpeg"_s;
        QTest::newRow("png refused") << u"/d/pic.png"_s << int(PictureSaveChoice::Refused) << u"/d/pic.png"_s;
        QTest::newRow("dot in the folder") << u"/d.x/pic"_s << int(PictureSaveChoice::Bmp) << u"/d.x/pic.bmp"_s;
    }

    void savedNameAndFormat()
    {
        QFETCH(QString, chosen);
        QFETCH(int, format);
        QFETCH(QString, saved);
        const PictureSaveChoice choice = pictureSaveChoice(chosen);
        QCOMPARE(int(choice.format), format);
        QCOMPARE(choice.fileName, saved);
    }

    void savedPicturesReadBack()
    {
        QTemporaryDir dir;
        QImage picture(40, 30, QImage::Format_RGB32);
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x)
                picture.setPixel(x, y, qRgb(x * 37 % 256, y * 91 % 256, (x * y) % 256));
        const QString bmp = dir.filePath(u"a.bmp"_s);
        const QString jpg90 = dir.filePath(u"a90.jpg"_s);
        const QString jpg100 = dir.filePath(u"a100.jpg"_s);
        QVERIFY(savePicture(picture, bmp, PictureSaveChoice::Bmp, 0));
        QVERIFY(savePicture(picture, jpg90, PictureSaveChoice::Jpeg, 90));
        QVERIFY(savePicture(picture, jpg100, PictureSaveChoice::Jpeg, 100));
        QCOMPARE(QImageReader(bmp).format(), QByteArray("bmp"));
        QCOMPARE(QImageReader(jpg90).format(), QByteArray("jpeg"));
        QVERIFY(QFileInfo(jpg100).size() > QFileInfo(jpg90).size());
        QVERIFY(!savePicture(picture, dir.filePath(u"a.png"_s), PictureSaveChoice::Refused, 0));
        QVERIFY(!savePicture(picture, u"/nonexistent-folder/a.bmp"_s, PictureSaveChoice::Bmp, 0));
    }
};

QTEST_GUILESS_MAIN(DrawingTest)
#include "tst_drawing.moc"
