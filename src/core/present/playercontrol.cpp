#include "core/present/playercontrol.h"

#include <QtMath>

int frameAt(qint64 ms, double fps)
{
    if (fps <= 0)
        fps = DefaultFrameRate;
    // The small margin keeps a frame's own start inside the frame despite rounding.
    return int(std::floor(double(qMax<qint64>(0, ms)) * fps / 1000.0 + 1e-6));
}

qint64 frameStart(int frame, double fps)
{
    if (fps <= 0)
        fps = DefaultFrameRate;
    return qint64(std::ceil(double(qMax(0, frame)) * 1000.0 / fps - 1e-6));
}

QString positionLabel(int position, int length)
{
    return QString::asprintf("%.3d / %.3d", position, length);
}

QString lengthText(int frames)
{
    return QString::asprintf("%.5d", frames);
}

QPoint playerTopLeft(const QPoint &centre, const QSize &windowSize, const QRect &screen)
{
    const int left = qMax(screen.left(), qMin(centre.x() - windowSize.width() / 2,
                                              screen.right() + 1 - windowSize.width()));
    const int top = qMax(screen.top(), qMin(centre.y() - windowSize.height() / 2,
                                            screen.bottom() + 1 - windowSize.height()));
    return QPoint(left, top);
}

PlayerControl::PlayerControl(MediaBackend &backend)
    : m_backend(backend)
{
}

double PlayerControl::fps() const
{
    const double rate = m_backend.frameRate();
    return rate > 0 ? rate : DefaultFrameRate;
}

int PlayerControl::lengthFrames() const
{
    return int(std::llround(double(qMax<qint64>(0, m_backend.duration())) * fps() / 1000.0));
}

int PlayerControl::positionFrames() const
{
    return qMin(frameAt(m_backend.position(), fps()), qMax(0, lengthFrames()));
}

void PlayerControl::opened()
{
    m_backend.setPosition(0);
    MediaLengthText = lengthText(lengthFrames());
    MediaPlaying = true;
    m_backend.play();
}

void PlayerControl::playAgain()
{
    MediaPlaying = true;
    m_backend.stop();
    m_backend.setPosition(0);
    m_backend.play();
}

void PlayerControl::play()
{
    MediaPlaying = true;
    m_backend.play();
}

void PlayerControl::stop()
{
    MediaPlaying = false;
    m_backend.pause();
}

void PlayerControl::returnToStart()
{
    MediaPlaying = false;
    m_backend.pause();
    m_backend.setPosition(0);
}

void PlayerControl::step(int frames)
{
    MediaPlaying = false;
    m_backend.pause();
    const int target = qBound(0, positionFrames() + frames, qMax(0, lengthFrames() - 1));
    m_backend.setPosition(frameStart(target, fps()));
}

PlayerControl::View PlayerControl::tick() const
{
    View view;
    view.trackMax = lengthFrames();
    view.trackPosition = positionFrames();
    view.label = positionLabel(view.trackPosition, view.trackMax);
    return view;
}

QString PlayerControl::trackBarChanged(int frame)
{
    if (MediaPlaying)
        return QString();
    m_backend.setPosition(frameStart(frame, fps()));
    return positionLabel(frame, lengthFrames());
}
