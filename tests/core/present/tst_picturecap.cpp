#include "core/present/picturecap.h"
#include "core/present/largepictures.h"
#include "core/present/presentstrings.h"

#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace Qt::StringLiterals;

class PictureCapTest : public QObject
{
    Q_OBJECT
private slots:
    void browserFlagsKeepTheUsers_data()
    {
        QTest::addColumn<QByteArray>("user");
        QTest::addColumn<QByteArray>("flags");
        QTest::newRow("none") << QByteArray() << QByteArray("--max-decoded-image-size-mb=256");
        QTest::newRow("the user's") << QByteArray("--disable-gpu --no-sandbox ")
                                    << QByteArray("--disable-gpu --no-sandbox --max-decoded-image-size-mb=256");
        QTest::newRow("the user's own bound") << QByteArray("--max-decoded-image-size-mb=512")
                                              << QByteArray("--max-decoded-image-size-mb=512");
    }
    void browserFlagsKeepTheUsers()
    {
        QFETCH(QByteArray, user);
        QFETCH(QByteArray, flags);
        QCOMPARE(browserFlagsWithPictureBound(user), flags);
    }

    // What a browser is given of a local file, by its name and its header.
    void documentInPlaceOfAFile_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("kind"); // of the content
        QTest::addColumn<QStringList>("shown"); // texts of the document in its place; none: the file itself
        const QString large = PresentText::pictureTooLarge;
        QTest::newRow("PNG over the bound") << u"big.png"_s << u"large"_s
                                            << QStringList{u"8200 × 8200"_s + PresentText::pixels, large};
        QTest::newRow("GIF over the bound") << u"big.GIF"_s << u"gif"_s
                                            << QStringList{u"20000 × 20000"_s + PresentText::pixels, large};
        QTest::newRow("PNG named as a JPEG") << u"big.jpg"_s << u"large"_s << QStringList{large};
        QTest::newRow("small picture") << u"small.png"_s << u"small"_s << QStringList();
        QTest::newRow("SVG") << u"a.svg"_s << u"svg"_s << QStringList{PresentText::vectorPictureNotShown};
        QTest::newRow("large PNG named as text") << u"big.txt"_s << u"large"_s << QStringList();
        QTest::newRow("FIFO named as a picture") << u"fifo.png"_s << u"fifo"_s << QStringList();
    }
    void documentInPlaceOfAFile()
    {
        QFETCH(QString, name);
        QFETCH(QString, kind);
        QFETCH(QStringList, shown);
        QTemporaryDir dir;
        const QString path = dir.filePath(name);
        if (kind == u"fifo"_s)
            QCOMPARE(mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        else
            QVERIFY(writePicture(path, kind));
        const std::optional<QString> html = documentInPlaceOf(path);
        QCOMPARE(html.has_value(), !shown.isEmpty());
        for (const QString &text : std::as_const(shown))
            QVERIFY2(html->contains(text), qPrintable(*html));
        // The name as character references only.
        if (html)
            QVERIFY(!html->contains(name));
    }

    // A page may name a picture by any name: its header decides.
    void pictureSizeIsReadFromTheContent()
    {
        QTemporaryDir dir;
        QVERIFY(writeLargePng(dir.filePath(u"big.txt"_s), 8200));
        QCOMPARE(oversizedPicture(dir.filePath(u"big.txt"_s)), std::optional<QSize>(QSize(8200, 8200)));
        QVERIFY(writeLargePng(dir.filePath(u"edge.png"_s), 8192)); // at the bound
        QVERIFY(qint64(8192) * 8192 == MaxBrowserPicturePixels);
        QCOMPARE(oversizedPicture(dir.filePath(u"edge.png"_s)), std::nullopt);
        QCOMPARE(oversizedPicture(dir.filePath(u"none.png"_s)), std::nullopt);
    }
};

QTEST_APPLESS_MAIN(PictureCapTest)
#include "tst_picturecap.moc"
