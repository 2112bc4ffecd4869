// The program itself (its own main, every window it makes), with a probe that
// times it from outside its code. BENCH_T0 is the caller's start time in
// nanoseconds since the epoch; BENCH_MODE says what to time:
//   start  seconds to the first page loaded, then ends
//   dir    then DIR into BENCH_FOLDER: seconds to its first page loaded, and
//          the median seconds of a NEXT within it
//   poll   then DIR into BENCH_FOLDER: CPU seconds of a poll tick that finds
//          nothing, and of one after a file was added to the folder
//   reorder then DIR into BENCH_FOLDER and moves its second page one step up,
//          RUNS times after one untimed: prints the medians of the seconds
//          from the command to the folder shown again, of the longest the
//          window's event loop did not run (that included), and of the
//          seconds until the rename was whole (the rest of the data root too)
//   search then opens the tree BENCH_FOLDER as a level and drives the search
//          window as a user does: the file menu's "検索", the listing, a
//          "全文検索" of BENCH_WORD to its first hit shown; then "１つ前" and
//          "全文検索" again. Each is timed beside `grep -rlF` of the word over
//          the tree, run just before it. Prints the seconds of: the first
//          search, its grep, the median repeated search, its grep's median,
//          and the number of hits (BENCH_PHASES: the phases on stderr).
#define main kavunoMain
#include "../src/main.cpp"
#undef main

#include "core/present/updatepoll.h"
#include "core/tools/renameworker.h"
#include "ui/search/tform4.h"

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QTimer>
#include <QToolButton>
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

double median(QList<double> v)
{
    std::sort(v.begin(), v.end());
    return v.isEmpty() ? 0 : v.at(v.size() / 2);
}

// Seconds of `grep -rlF word folder`, after an untimed one: the first reader
// after the window's watches pays for clearing their marks on the files.
double timeGrep(const QString &word, const QString &folder)
{
    for (int pass = 0; pass < 2; ++pass) {
        QElapsedTimer clock;
        clock.start();
        QProcess grep;
        grep.start(u"grep"_s, {u"-rlF"_s, word, folder});
        grep.waitForFinished(-1);
        if (pass == 1)
            return double(clock.nsecsElapsed()) / 1e9;
    }
    return 0;
}

// Lets the window paint what it shows now.
void showNow()
{
    QCoreApplication::processEvents();
}

void driveSearch(TForm1 *form, const QString &folder)
{
    const QString word = qEnvironmentVariable("BENCH_WORD");
    const int repeats = std::max(3, qEnvironmentVariableIntValue("BENCH_REPEATS"));
    TForm4 *search = form->Form4;
    form->nav.OpenFolderLevel(folder, 0, true);
    const double grepFirst = timeGrep(word, folder);
    double first = 0, grepRepeat = 0, repeat = 0;
    qsizetype hits = 0;
    QElapsedTimer clock;
    // Waits for the listing on screen, then searches as the user does.
    auto *driver = new QTimer(form);
    QObject::connect(driver, &QTimer::timeout, form, [&] {
        if (!search->isVisible() || !search->SpeedButton2->isEnabled() || search->ListBox3->model()->rowCount() == 0)
            return;
        driver->stop();
        const double listed = double(clock.nsecsElapsed()) / 1e9;
        search->Edit1->setText(word);
        search->SpeedButton2->click();
        const double searched = double(clock.nsecsElapsed()) / 1e9;
        showNow();
        first = double(clock.nsecsElapsed()) / 1e9;
        if (qEnvironmentVariableIsSet("BENCH_PHASES"))
            std::fprintf(stderr, "phases: listed %.3f searched %.3f shown %.3f\n", listed, searched, first);
        hits = search->ListBox3->model()->rowCount();
        QList<double> ours, theirs;
        for (int r = 0; r < repeats; ++r) {
            theirs << timeGrep(word, folder);
            search->SpeedButton3->click();
            showNow();
            QElapsedTimer again;
            again.start();
            search->SpeedButton2->click();
            showNow();
            ours << double(again.nsecsElapsed()) / 1e9;
        }
        repeat = median(ours);
        grepRepeat = median(theirs);
        search->SpeedButton5->click();
    });
    driver->start(0);
    clock.start();
    form->Find1->trigger();
    finish(u"%1 %2 %3 %4 %5"_s.arg(first, 0, 'f', 6)
               .arg(grepFirst, 0, 'f', 6)
               .arg(repeat, 0, 'f', 6)
               .arg(grepRepeat, 0, 'f', 6)
               .arg(hits));
}

// Moves the folder's second page one step up, as the order dialog does, and
// times it until the folder is shown and until the rename is whole; the
// longest pause of the event loop is measured by a timer ticking every 5 ms.
void driveReorder(TForm1 *form, QWebEngineView *view, const QString &folder)
{
    timeToLoad(view, [&] { form->TXTcommand(u"DIR "_s + folder); });
    const int runs = std::max(1, qEnvironmentVariableIntValue("RUNS"));
    QList<double> shown, longest, whole;
    for (int run = 0; run <= runs; ++run) {
        QElapsedTimer beat;
        qint64 gap = 0;
        QTimer heart;
        QObject::connect(&heart, &QTimer::timeout, [&] {
            gap = std::max(gap, beat.restart());
        });
        heart.start(5);
        beat.start();
        QElapsedTimer clock;
        clock.start();
        form->ReorderPages(1, 0);
        QCoreApplication::processEvents();
        const double shownAt = double(clock.nsecsElapsed()) / 1e9;
        auto *worker = form->findChild<RenameWorker *>();
        if (worker && worker->busy()) {
            QEventLoop loop;
            QObject::connect(worker, &RenameWorker::idle, &loop, &QEventLoop::quit);
            loop.exec();
        }
        const double wholeAt = double(clock.nsecsElapsed()) / 1e9;
        heart.stop();
        gap = std::max(gap, beat.elapsed());
        // The first run gives every page its number: it is not timed.
        if (run == 0)
            continue;
        shown << shownAt;
        longest << double(gap) / 1e3;
        whole << wholeAt;
    }
    finish(u"%1 %2 %3"_s.arg(median(shown), 0, 'f', 6).arg(median(longest), 0, 'f', 6).arg(median(whole), 0, 'f', 6));
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
    if (mode == "search"_L1)
        return driveSearch(form, folder);
    if (mode == "reorder"_L1)
        return driveReorder(form, view, folder);
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
