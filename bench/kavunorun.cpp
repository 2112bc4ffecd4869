// The program itself (its own main, every window it makes), with a probe that
// times it from outside its code. BENCH_T0 is the caller's start time in
// nanoseconds since the epoch; BENCH_MODE says what to time:
//   start  seconds to the first page loaded, then ends
//   dir    then DIR into BENCH_FOLDER: seconds to its first page loaded, and
//          the median seconds of a NEXT within it
//   poll   then DIR into BENCH_FOLDER: CPU seconds of a poll tick that finds
//          nothing, and of one after a file was added to the folder
#define main kavunoMain
#include "../src/main.cpp"
#undef main

#include "core/present/updatepoll.h"

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTimer>
#include <QWebEngineView>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>

using namespace Qt::StringLiterals;

namespace {

double cpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

void finish(const QString &line)
{
    std::printf("%s\n", qPrintable(line));
    std::fflush(stdout);
    std::_Exit(0);
}

// Runs one step and waits for the browser's next page loaded; the seconds it took.
double timeToLoad(QWebEngineView *view, const std::function<void()> &step)
{
    QEventLoop loop;
    const auto connection = QObject::connect(view, &QWebEngineView::loadFinished, &loop, &QEventLoop::quit);
    QTimer::singleShot(60000, &loop, &QEventLoop::quit);
    QElapsedTimer clock;
    clock.start();
    step();
    loop.exec();
    QObject::disconnect(connection);
    return double(clock.nsecsElapsed()) / 1e9;
}

void afterFirstPage(QWebEngineView *view)
{
    const QString mode = qEnvironmentVariable("BENCH_MODE", u"start"_s);
    if (mode == "start"_L1) {
        const qint64 t0 = qEnvironmentVariable("BENCH_T0").toLongLong();
        finish(QString::number(double(QDateTime::currentMSecsSinceEpoch() * 1000000 - t0) / 1e9, 'f', 6));
    }
    auto *form = qobject_cast<TForm1 *>(view->window());
    const QString folder = qEnvironmentVariable("BENCH_FOLDER");
    // The start's own tail (the lower pane, the look-ups after the first page)
    // is over before a user could give a command.
    QEventLoop settle;
    QTimer::singleShot(1500, &settle, &QEventLoop::quit);
    settle.exec();
    const double dir = timeToLoad(view, [&] { form->TXTcommand(u"DIR "_s + folder); });
    if (mode == "dir"_L1) {
        QList<double> next;
        for (int i = 0; i < 7; ++i)
            next << timeToLoad(view, [&] { form->TXTcommand(u"NEXT"_s); });
        std::sort(next.begin(), next.end());
        finish(u"%1 %2"_s.arg(dir, 0, 'f', 6).arg(next.at(next.size() / 2), 0, 'f', 6));
    }
    // The poll's own timer is left alone: the ticks are run here.
    QObject::disconnect(form->Timer5, nullptr, form->Poll, nullptr);
    form->Poll->tick();
    double cpu = cpuSeconds();
    form->Poll->tick();
    const double idle = cpuSeconds() - cpu;
    QFile added(folder + u"/999999_added.html"_s);
    added.open(QIODevice::WriteOnly);
    added.write("<html><title>added</title></html>");
    added.close();
    cpu = cpuSeconds();
    form->Poll->tick();
    const double changed = cpuSeconds() - cpu;
    QFile::remove(added.fileName());
    finish(u"%1 %2"_s.arg(idle, 0, 'f', 6).arg(changed, 0, 'f', 6));
}

// Finds the main browser when it is first shown and waits for its first page.
class Probe : public QObject
{
public:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (!m_view && event->type() == QEvent::Show && watched->objectName() == "WebBrowser1"_L1) {
            if (auto *view = qobject_cast<QWebEngineView *>(watched)) {
                m_view = view;
                connect(view, &QWebEngineView::loadFinished, this, [this] {
                    if (!m_loaded) {
                        m_loaded = true;
                        QTimer::singleShot(0, this, [this] { afterFirstPage(m_view); });
                    }
                });
            }
        }
        return false;
    }

private:
    QWebEngineView *m_view = nullptr;
    bool m_loaded = false;
};

void installProbe()
{
    qApp->installEventFilter(new Probe);
}
Q_COREAPP_STARTUP_FUNCTION(installProbe)

} // namespace

int main(int argc, char *argv[])
{
    return kavunoMain(argc, argv);
}
