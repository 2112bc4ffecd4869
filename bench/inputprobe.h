#pragma once

#include <QAbstractNativeEventFilter>
#include <QObject>
#include <QPointer>

#include <atomic>
#include <thread>

class QWidget;

// Times what a user waits for an answer to input, from outside the program's
// code: a thread of its own moves the X pointer over the window (XTest, as a
// real mouse does, through the X server) one step at a time, and each step
// counts from the moment it is sent until the window's thread has taken the
// event from X and painted a small mark in answer. Input the window holds back
// (an event loop that excludes user input, a thread blocked in a call) counts
// as the wait it is; painting while input is held does not hide it.
class InputProbe : public QObject, public QAbstractNativeEventFilter
{
public:
    // Probes window (shown on the X display of the program) at (x, y).
    InputProbe(QWidget *window, int x, int y);
    ~InputProbe() override;

    // Whether XTest could be reached; without it every figure is 0.
    bool works() const { return m_display != nullptr; }
    // The longest wait since the last reset, an answer still awaited included (seconds).
    double longest() const;
    // How many steps were answered since the last reset.
    int answered() const { return m_answered.load(); }
    void reset();

    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *result) override;

private:
    void run();
    void answer();

    QPointer<QWidget> m_mark;
    void *m_display = nullptr;
    int m_x, m_y;
    std::thread m_thread;
    std::atomic<bool> m_running{true};
    std::atomic<qint64> m_sentAt{0};    // monotonic ns of the step awaiting its answer; 0: none
    std::atomic<bool> m_taken{false};   // the window's thread took that step from X
    std::atomic<qint64> m_longest{0};   // ns
    std::atomic<int> m_answered{0};
};
