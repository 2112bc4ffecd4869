#include "inputprobe.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QPainter>
#include <QWidget>

#include <functional>

#include <cstdio>
#include <cstring>
#include <dlfcn.h>
#include <time.h>

namespace {

qint64 nowNs()
{
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return qint64(t.tv_sec) * 1000000000 + t.tv_nsec;
}

// The few calls of libX11 and libXtst the probe needs, found at run time: the
// benchmark needs no development files of them.
struct X
{
    void *(*openDisplay)(const char *) = nullptr;
    int (*closeDisplay)(void *) = nullptr;
    int (*flush)(void *) = nullptr;
    int (*fakeMotion)(void *, int, int, int, unsigned long) = nullptr;
    bool load()
    {
        void *x11 = dlopen("libX11.so.6", RTLD_NOW);
        void *xtst = dlopen("libXtst.so.6", RTLD_NOW);
        if (!x11 || !xtst)
            return false;
        openDisplay = reinterpret_cast<decltype(openDisplay)>(dlsym(x11, "XOpenDisplay"));
        closeDisplay = reinterpret_cast<decltype(closeDisplay)>(dlsym(x11, "XCloseDisplay"));
        flush = reinterpret_cast<decltype(flush)>(dlsym(x11, "XFlush"));
        fakeMotion = reinterpret_cast<decltype(fakeMotion)>(dlsym(xtst, "XTestFakeMotionEvent"));
        return openDisplay && closeDisplay && flush && fakeMotion;
    }
};
X x;

// The mark the window paints in answer to a step.
class Mark : public QWidget
{
public:
    Mark(QWidget *parent, std::function<void()> painted) : QWidget(parent), m_painted(std::move(painted))
    {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setGeometry(0, 0, 2, 2);
        show();
        raise();
    }
    bool flip = false;

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter(this).fillRect(rect(), flip ? Qt::black : Qt::white);
        m_painted();
    }

private:
    std::function<void()> m_painted;
};

// A pointer step as X hands it over: a core motion event, or XInput 2's
// (a generic event whose type is XI_Motion), which Qt asks for where it can.
bool isPointerStep(const quint8 *event)
{
    constexpr int MotionNotify = 6;
    constexpr int GenericEvent = 35;
    constexpr int XiMotion = 6;
    const int type = event[0] & 0x7f;
    if (type == MotionNotify)
        return true;
    quint16 evtype = 0;
    std::memcpy(&evtype, event + 8, sizeof evtype);
    return type == GenericEvent && evtype == XiMotion;
}

} // namespace

InputProbe::InputProbe(QWidget *window, int x0, int y0)
    : m_x(x0)
    , m_y(y0)
{
    if (!x.load() || !(m_display = x.openDisplay(nullptr)))
        return;
    m_mark = new Mark(window, [this] { answer(); });
    QCoreApplication::instance()->installNativeEventFilter(this);
    m_thread = std::thread([this] { run(); });
}

InputProbe::~InputProbe()
{
    m_running = false;
    if (m_thread.joinable())
        m_thread.join();
    delete m_mark;
    if (m_display) {
        QCoreApplication::instance()->removeNativeEventFilter(this);
        x.closeDisplay(m_display);
    }
}

void InputProbe::run()
{
    bool side = false;
    while (m_running.load()) {
        if (m_sentAt.load() == 0) {
            side = !side;
            m_taken = false;
            m_sentAt = nowNs();
            x.fakeMotion(m_display, -1, m_x + (side ? 1 : 0), m_y, 0);
            x.flush(m_display);
        }
        // A step now and then, as a hand on the mouse gives them.
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

bool InputProbe::nativeEventFilter(const QByteArray &eventType, void *message, qintptr *)
{
    if (eventType == "xcb_generic_event_t" && isPointerStep(static_cast<const quint8 *>(message)) && m_mark && m_sentAt.load() != 0 && !m_taken.exchange(true)) {
        auto *mark = static_cast<Mark *>(m_mark.data());
        mark->flip = !mark->flip;
        // Above whatever the window made since: a covered widget is not painted.
        mark->raise();
        mark->update();
    }
    return false;
}

void InputProbe::answer()
{
    const qint64 sent = m_sentAt.load();
    if (sent == 0 || !m_taken.load())
        return;
    const qint64 waited = nowNs() - sent;
    if (qEnvironmentVariableIsSet("BENCH_PHASES") && waited > 100000000)
        std::fprintf(stderr, "input waited %.3f s, sent at %.3f\n", double(waited) / 1e9, double(sent % 100000000000) / 1e9);
    if (waited > m_longest.load())
        m_longest = waited;
    ++m_answered;
    m_sentAt = 0;
}

double InputProbe::longest() const
{
    const qint64 sent = m_sentAt.load();
    const qint64 open = sent == 0 ? 0 : nowNs() - sent;
    return double(std::max(m_longest.load(), open)) / 1e9;
}

void InputProbe::reset()
{
    m_longest = 0;
    m_answered = 0;
}
