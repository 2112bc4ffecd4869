#pragma once

#include <QTimer>

// The main window's one-second wait timer (Timer4). A caller that must wait a
// tick sets Tag above 0 and waits until the tick has set it back; while Tag is
// above 0 the page sound is not armed.
class HoldOffTimer : public QTimer
{
    Q_OBJECT
public:
    explicit HoldOffTimer(QObject *parent = nullptr);

    int Tag = 0;

    // The tick: Tag back to 0. The timer keeps running; its users stop it.
    void Timer4Timer();

    // Tag 1, one tick awaited in a local event loop (the window stays painted),
    // then the timer stopped.
    void waitOneTick();
};
