#include "core/editor/editorgeometry.h"

#include <QTest>

using namespace Qt::StringLiterals;
namespace G = EditorGeometry;

class EditorGeometryTest : public QObject
{
    Q_OBJECT
private slots:
    void gridCellsTileTheGrid_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::newRow("598 x 571") << 598 << 571;
        QTest::newRow("odd 1001 x 701") << 1001 << 701;
        QTest::newRow("tiny 7 x 13") << 7 << 13;
        QTest::newRow("empty") << 0 << 0;
    }
    void gridCellsTileTheGrid()
    {
        QFETCH(int, width);
        QFETCH(int, height);
        const QList<QRect> cells = G::gridCellRects(width, height);
        QCOMPARE(cells.size(), G::GridCellCount);
        // Each of the rows 1 to 12 reaches the right edge; the last row reaches the bottom.
        for (int i = 7; i < 64; i += 8)
            QCOMPARE(cells.at(i).x() + cells.at(i).width(), width);
        for (int i = 66; i < 76; i += 3)
            QCOMPARE(cells.at(i).x() + cells.at(i).width(), width);
        QCOMPARE(cells.last().y() + cells.last().height(), height);
        QCOMPARE(cells.last().width(), width);
    }

    void gridOf598By571()
    {
        const QList<QRect> cells = G::gridCellRects(598, 571);
        // h = 40, a = 74, b = 59
        QCOMPARE(cells.at(0), QRect(0, 0, 74, 40));
        QCOMPARE(cells.at(2), QRect(148, 0, 59, 40));
        QCOMPARE(cells.at(7), QRect(443, 0, 155, 40));
        QCOMPARE(cells.at(15), QRect(443, 40, 155, 40));
        QCOMPARE(cells.at(64), QRect(0, 320, 74, 40));
        QCOMPARE(cells.at(66), QRect(148, 320, 450, 40));
        QCOMPARE(cells.at(75), QRect(148, 440, 450, 40));
        QCOMPARE(cells.at(76), QRect(0, 480, 598, 91));
    }

    void headingHeights()
    {
        QCOMPARE(G::headingMemoHeight(3), 117);
        QCOMPARE(G::headingMemoHeight(0), 30);
        QCOMPARE(G::subheadingMemoHeight(1), 47);
        QCOMPARE(G::headingAreaAfterFramedText(2, 100), 182);
        // Three H1 lines, one H2 line, two framed lines and a 4-pixel bar.
        QCOMPARE(G::headingAreaOnShow(3, 1, 2, 4), 87 + 22 + 42 + 95 + 4);
    }

    void centredLeftTruncatesTowardZero()
    {
        QCOMPARE(G::centredLeft(601, 200), 200);
        QCOMPARE(G::centredLeft(100, 201), -50);
    }

    void imageFrame_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<bool>("fixed");
        QTest::addColumn<bool>("present");
        QTest::addColumn<QRect>("frame");
        QTest::addColumn<int>("columnWidth");
        QTest::addColumn<int>("columnHeight");
        // Column 1000 wide as it stands, frame 320 x 240 as it stands, GX/GY 500 x 250.
        QTest::newRow("centred without picture") << int(G::ImageCentred) << true << false << QRect(200, 0, 600, 400)
                                                 << 1000 << 400;
        QTest::newRow("left without picture") << int(G::ImageLeft) << false << false << QRect(0, 0, 280, 340) << 280
                                              << -1;
        QTest::newRow("right with fixed picture") << int(G::ImageRight) << true << true << QRect(0, 0, 500, 250)
                                                  << 500 << -1;
        QTest::newRow("centred with picture keeps the frame")
            << int(G::ImageCentred) << false << true << QRect(340, 0, 320, 240) << 1000 << 240;
    }
    void imageFrame()
    {
        QFETCH(int, mode);
        QFETCH(bool, fixed);
        QFETCH(bool, present);
        QFETCH(QRect, frame);
        QFETCH(int, columnWidth);
        QFETCH(int, columnHeight);
        G::ImageFrameInput input;
        input.mode = mode;
        input.sizeFixed = fixed;
        input.fixedWidth = 500;
        input.fixedHeight = 250;
        input.picturePresent = present;
        input.currentFrame = QSize(320, 240);
        input.columnWidth = 1000;
        input.maxWindowWidth = 1265;
        const G::ImageFrameResult result = G::layoutImagePanel(input);
        QCOMPARE(result.frame, frame);
        QCOMPARE(result.columnWidth, columnWidth);
        QCOMPARE(result.columnHeight, columnHeight);
        QCOMPARE(result.gx, frame.width());
        QCOMPARE(result.gy, frame.height());
        QCOMPARE(result.scrollPosition, frame.width());
    }

    void zeroWidthFrameHasNoAspect()
    {
        G::ImageFrameInput input;
        input.mode = G::ImageLeft;
        input.sizeFixed = true;
        input.picturePresent = true;
        input.fixedWidth = 0;
        input.fixedHeight = 10;
        const G::ImageFrameResult result = G::layoutImagePanel(input);
        QCOMPARE(result.aspect, 0.0);
        QCOMPARE(result.scrollPosition, 16);
    }

    void sizeFields_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("value");
        QTest::newRow("number") << u"300"_s << 300;
        QTest::newRow("percent") << u"50%"_s << 50;
        QTest::newRow("empty") << QString() << 0;
        QTest::newRow("word") << u"wide"_s << 0;
        QTest::newRow("full-width digits") << u"３００"_s << 0;
    }
    void sizeFields()
    {
        QFETCH(QString, text);
        QFETCH(int, value);
        QCOMPARE(G::sizeFieldValue(text), value);
    }
};

QTEST_APPLESS_MAIN(EditorGeometryTest)
#include "tst_editorgeometry.moc"
