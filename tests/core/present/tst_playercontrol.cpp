// The media player's frames, steps, track bar and placement against a fake player.
#include "core/present/playercontrol.h"

#include <QTest>

using namespace Qt::StringLiterals;

class FakeMedia : public MediaBackend
{
public:
    qint64 pos = 0;
    qint64 length = 4000;
    double fps = 25;
    bool playing = false;
    QStringList calls;
    void play() override { playing = true; calls << u"play"_s; }
    void pause() override { playing = false; calls << u"pause"_s; }
    void stop() override { playing = false; pos = 0; calls << u"stop"_s; }
    qint64 position() const override { return pos; }
    void setPosition(qint64 ms) override { pos = ms; calls << u"seek %1"_s.arg(ms); }
    qint64 duration() const override { return length; }
    double frameRate() const override { return fps; }
};

class PlayerControlTest : public QObject
{
    Q_OBJECT

private slots:
    void framesAndMilliseconds_data()
    {
        QTest::addColumn<double>("fps");
        QTest::addColumn<int>("frame");
        QTest::addColumn<qint64>("start");
        QTest::newRow("25 fps") << 25.0 << 7 << qint64(280);
        QTest::newRow("30 fps, a third of a millisecond") << 30.0 << 1 << qint64(34);
        QTest::newRow("29.97 fps") << 29.97 << 100 << qint64(3337);
        QTest::newRow("unknown rate") << 0.0 << 3 << qint64(100);
    }

    void framesAndMilliseconds()
    {
        QFETCH(double, fps);
        QFETCH(int, frame);
        QFETCH(qint64, start);
        QCOMPARE(frameStart(frame, fps), start);
        // A frame's first millisecond shows that frame, the one before it the frame before.
        QCOMPARE(frameAt(start, fps), frame);
        QCOMPARE(frameAt(start - 1, fps), frame - 1);
    }

    void labels()
    {
        QCOMPARE(positionLabel(7, 120), u"007 / 120"_s);
        QCOMPARE(positionLabel(1234, 5000), u"1234 / 5000"_s);
        QCOMPARE(lengthText(120), u"00120"_s);
    }

    void stepsStopOnTheNextOrPreviousFrame_data()
    {
        QTest::addColumn<qint64>("at");
        QTest::addColumn<int>("step");
        QTest::addColumn<qint64>("to");
        QTest::newRow("on from frame 7") << qint64(290) << 1 << qint64(320);
        QTest::newRow("back from frame 7") << qint64(280) << -1 << qint64(240);
        QTest::newRow("back at the start") << qint64(0) << -1 << qint64(0);
        QTest::newRow("on at the last frame") << qint64(3990) << 1 << qint64(3960);
    }

    void stepsStopOnTheNextOrPreviousFrame()
    {
        QFETCH(qint64, at);
        QFETCH(int, step);
        QFETCH(qint64, to);
        FakeMedia media;
        PlayerControl control(media);
        control.play();
        media.pos = at;
        control.step(step);
        QVERIFY(!control.MediaPlaying);
        QVERIFY(!media.playing);
        QCOMPARE(media.pos, to);
    }

    void trackBarSeeksOnlyWhileNotPlaying()
    {
        FakeMedia media;
        PlayerControl control(media);
        control.opened();
        media.calls.clear();
        QCOMPARE(control.trackBarChanged(50), QString());
        QVERIFY(media.calls.isEmpty());
        control.stop();
        QCOMPARE(control.trackBarChanged(50), u"050 / 100"_s);
        QCOMPARE(media.pos, qint64(2000));
        const PlayerControl::View view = control.tick();
        QCOMPARE(view.trackMax, 100);
        QCOMPARE(view.trackPosition, 50);
        QCOMPARE(view.label, u"050 / 100"_s);
    }

    void noLengthGivesZeroFrames()
    {
        FakeMedia media;
        media.length = 0;
        PlayerControl control(media);
        control.opened();
        QCOMPARE(control.MediaLengthText, u"00000"_s);
        control.step(1);
        QCOMPARE(media.pos, qint64(0));
    }

    void playerStaysOnTheScreen_data()
    {
        QTest::addColumn<QPoint>("centre");
        QTest::addColumn<QPoint>("topLeft");
        const QSize size(200, 100);
        QTest::newRow("centred") << QPoint(500, 400) << QPoint(400, 350);
        QTest::newRow("left of the origin") << QPoint(40, 30) << QPoint(0, 0);
        QTest::newRow("past the right and bottom") << QPoint(1270, 790) << QPoint(1080, 700);
    }

    void playerStaysOnTheScreen()
    {
        QFETCH(QPoint, centre);
        QFETCH(QPoint, topLeft);
        QCOMPARE(playerTopLeft(centre, QSize(200, 100), QRect(0, 0, 1280, 800)), topLeft);
    }
};

QTEST_GUILESS_MAIN(PlayerControlTest)
#include "tst_playercontrol.moc"
