#pragma once

#include "core/present/playercontrol.h"

#include <QWidget>

#include <memory>

class QLabel;
class QMediaPlayer;
class QSlider;
class QTimer;
class QToolButton;
class QVideoWidget;

// The media player: a small stay-on-top window that plays a video linked from
// a page, sized to the video and centred where the user clicked. The player
// itself is made only when a video is opened.
class TForm6 : public QWidget
{
    Q_OBJECT
public:
    explicit TForm6(QWidget *parent = nullptr);
    ~TForm6() override;

    // The media file; empty while nothing is open.
    QString Caption;
    // 1 from show until the file has been opened.
    int Tag = 0;
    // Where the caller wants the window centred, in screen coordinates.
    int AVIx1 = 0;
    int AVIy1 = 0;
    // The video's width and height.
    int AVIx2 = 0;
    int AVIy2 = 0;

    // Opens Caption and plays it (first call after show), or plays it again from the start.
    void playbuttonDblClick();
    void playbuttonClick();
    void stopbuttonMouseUp();
    void returnbuttonMouseUp();
    void plus1MouseUp();
    void minus1MouseUp();
    void Timer1Timer();
    void TrackBar1Change(int position);

    // Shows the window for a file centred on a screen point and starts playing.
    void playFile(const QString &file, const QPoint &centre);

    QWidget *Panel1 = nullptr;
    QWidget *Panel3 = nullptr;
    QSlider *TrackBar1 = nullptr;
    QToolButton *playbutton = nullptr;
    QToolButton *stopbutton = nullptr;
    QToolButton *returnbutton = nullptr;
    QToolButton *plus1 = nullptr;
    QToolButton *minus1 = nullptr;
    QLabel *Label1 = nullptr;
    QTimer *Timer1 = nullptr;
    QMediaPlayer *MediaPlayer1 = nullptr;
    QVideoWidget *videoSurface = nullptr;
    std::unique_ptr<PlayerControl> control;

signals:
    // The file could not be opened; the window has closed and said so.
    void cannotOpen(const QString &file);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    class Backend;
    void createPlayer();
    void releasePlayer();
    void mediaOpened();
    void openFailed();
    void moveCursorToControls();

    std::unique_ptr<Backend> m_backend;
    // The track bar follows the player; only the user's moves seek.
    bool m_following = false;
    bool m_failed = false;
};
