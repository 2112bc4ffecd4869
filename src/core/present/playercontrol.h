#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

// The media player's arithmetic: the player counts time in milliseconds, the
// window shows and steps frames.

// A frame of a video of fps frames per second lasts 1000 / fps ms. A video
// that does not say its rate is taken as DefaultFrameRate.
inline constexpr double DefaultFrameRate = 30.0;
int frameAt(qint64 ms, double fps);
// The first millisecond that shows frame.
qint64 frameStart(int frame, double fps);

// "007 / 120": at least three digits each.
QString positionLabel(int position, int length);
// The length as stored, "%.5d".
QString lengthText(int frames);

// Where the player window goes: centred on the point, but never above or left
// of the screen's origin nor past its right or bottom edge.
QPoint playerTopLeft(const QPoint &centre, const QSize &windowSize, const QRect &screen);

// The player as the window drives it: an interface over the media framework,
// so that the stepping and the track bar can be tested without a video.
class MediaBackend
{
public:
    virtual ~MediaBackend() = default;
    virtual void play() = 0;
    virtual void pause() = 0;
    virtual void stop() = 0;
    virtual qint64 position() const = 0; // ms
    virtual void setPosition(qint64 ms) = 0;
    virtual qint64 duration() const = 0; // ms
    virtual double frameRate() const = 0; // 0 when unknown
};

// What the player window's buttons, timer and track bar do, in frames.
class PlayerControl
{
public:
    explicit PlayerControl(MediaBackend &backend);

    // True while the player is meant to play (the track bar does not seek then).
    bool MediaPlaying = false;
    // The length in frames as "%.5d", taken when the media was opened.
    QString MediaLengthText;

    int lengthFrames() const;
    int positionFrames() const;

    // The media is open: length taken, played from the start.
    void opened();
    // Played again from the start, up to the stored length.
    void playAgain();
    void play();
    void stop();
    // Back to the first frame, stopped.
    void returnToStart();
    // One frame on (+1) or back (-1), stopped there.
    void step(int frames);

    struct View
    {
        int trackMax = 0;
        int trackPosition = 0;
        QString label;
    };
    // The timer's tick: the track bar and the label follow the player.
    View tick() const;
    // The track bar moved: only while not playing, it seeks; returns the label,
    // empty when it did not seek.
    QString trackBarChanged(int frame);

private:
    double fps() const;
    MediaBackend &m_backend;
};
