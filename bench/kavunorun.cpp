// The program itself (its own main, every window it makes), with a probe that
// times it from outside its code. BENCH_T0 is the caller's start time in
// nanoseconds since the epoch; BENCH_MODE says what to time:
//   start  seconds to the first page loaded, then ends
//   dir    then DIR into BENCH_FOLDER: seconds to its first page loaded, and
//          the median seconds of a NEXT within it
//   poll   then DIR into BENCH_FOLDER: CPU seconds of a poll tick that finds
//          nothing, and of one after a file was added to the folder
//   reorder then DIR into BENCH_FOLDER and moves its second page one step up
//          through the order dialog, RUNS times after one untimed: prints the
//          medians of the seconds from the menu row to the moved page shown,
//          of the longest input waited for its answer (an X pointer step, see
//          inputprobe.h) until the rename was whole, and of the seconds until
//          then (the rest of the data root rewritten too)
//   second as reorder, with a second reorder asked for as soon as the first
//          shows its folder: the medians of the seconds from the second's menu
//          row to its page shown and of the longest input waited, and how many
//          runs found the first still rewriting the rest of the data root
//   close  then DIR, a reorder, and the window closed as soon as the folder
//          is shown: the seconds from the close to the window gone, the
//          longest input waited meanwhile, 1 when the rename was still
//          rewriting; the program then ends as it does
//   reopen at once after the first page, DIR into BENCH_FOLDER, which a closed
//          program left half renamed: the seconds to its first page shown, the
//          longest input waited until what was left was finished, the seconds
//          until then, 1 when a record was there
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
#include "inputprobe.h"
#include "ui/tools/tform5.h"
#include "ui/search/tform4.h"

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>
#include <QScrollBar>
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

double monoNow()
{
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return double(t.tv_sec % 100) + double(t.tv_nsec) / 1e9;
}

// Waits, the window's event loop running, until done() holds or a minute and
// a half has passed; whether it held.
bool waitUntil(const std::function<bool()> &done)
{
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < 90000) {
        QEventLoop loop;
        QTimer::singleShot(5, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return done();
}

// The first page the browser loads from now on that is not the checking page
// the order operations show while they work: the seconds it took.
class PageShown : public QObject
{
public:
    explicit PageShown(QWebEngineView *view)
    {
        m_clock.start();
        connect(view, &QWebEngineView::loadFinished, this, [this, view] {
            if (m_at < 0 && !view->url().toLocalFile().endsWith(u"/_XXX.html"_s)) {
                // What was loaded reaches the screen with the next pass of the event loop.
                QCoreApplication::processEvents();
                m_at = double(m_clock.nsecsElapsed()) / 1e9;
            }
        });
    }
    bool shown() const { return m_at >= 0; }
    double at() const { return m_at; }

private:
    QElapsedTimer m_clock;
    double m_at = -1;
};

// "ボタン順変更" on the folder's second page, as the user does it: the menu
// row, the order dialog showing, its number set to 1 and " 移 動" pressed.
// Returns once the dialog has closed.
void reorderFromTheMenu(TForm1 *form)
{
    form->nav.PBanSave(1);
    auto *dialog = form->findChild<TForm5 *>();
    auto *user = new QTimer(form);
    QObject::connect(user, &QTimer::timeout, form, [dialog, user] {
        if (!dialog->isVisible())
            return;
        user->stop();
        user->deleteLater();
        dialog->ScrollBar1->setValue(0);
        dialog->BitBtn1->click();
    });
    user->start(0);
    form->ReorderPagesMenu();
}

RenameWorker *workerOf(TForm1 *form)
{
    return form->findChild<RenameWorker *>();
}

// The pointer's place for the probe: over the main window, where the order dialog shows too.
InputProbe *probeOf(TForm1 *form)
{
    const QPoint at = form->mapToGlobal(QPoint(form->width() / 2, form->height() / 3));
    auto *probe = new InputProbe(form, at.x(), at.y());
    if (!probe->works())
        std::fprintf(stderr, "input probe: XTest is not reachable, no wait is measured\n");
    return probe;
}

// Whether the worker rewrites the rest of the data root right now.
bool rewritingTheRest(TForm1 *form)
{
    RenameWorker *worker = workerOf(form);
    const QList<RenameJob> jobs = worker ? worker->jobs() : QList<RenameJob>();
    return !jobs.isEmpty() && jobs.constFirst().stage == RenameJob::Rest;
}

// Moves the folder's second page one step up through the order dialog, RUNS
// times after one untimed, and times each from the menu row to the moved page
// shown, the longest the window kept input waiting for its answer meanwhile
// (until the rename was whole), and until the rename was whole.
void driveReorder(TForm1 *form, QWebEngineView *view, const QString &folder)
{
    timeToLoad(view, [&] { form->TXTcommand(u"DIR "_s + folder); });
    InputProbe *probe = probeOf(form);
    const int runs = std::max(1, qEnvironmentVariableIntValue("RUNS"));
    QList<double> shown, longest, whole;
    for (int run = 0; run <= runs; ++run) {
        probe->reset();
        QElapsedTimer clock;
        clock.start();
        PageShown page(view);
        if (qEnvironmentVariableIsSet("BENCH_PHASES"))
            std::fprintf(stderr, "run %d\n", run);
        reorderFromTheMenu(form);
        if (qEnvironmentVariableIsSet("BENCH_PHASES"))
            std::fprintf(stderr, "dialog closed %.3f at %.3f\n", double(clock.nsecsElapsed()) / 1e9, monoNow());
        waitUntil([&] { return page.shown(); });
        if (qEnvironmentVariableIsSet("BENCH_PHASES"))
            std::fprintf(stderr, "shown %.3f at %.3f\n", double(clock.nsecsElapsed()) / 1e9, monoNow());
        waitUntil([&] { return !workerOf(form)->busy(); });
        const double wholeAt = double(clock.nsecsElapsed()) / 1e9;
        // The first run gives every page its number: it is not timed.
        if (run == 0)
            continue;
        shown << page.at();
        longest << probe->longest();
        whole << wholeAt;
    }
    finish(u"%1 %2 %3"_s.arg(median(shown), 0, 'f', 6).arg(median(longest), 0, 'f', 6).arg(median(whole), 0, 'f', 6));
}

// A second reorder asked for while the first one rewrites the rest of the
// data root, RUNS times after one untimed: the seconds from its menu row to
// its moved page shown, the longest input waited from the first's menu row
// until both were whole, and how many of the runs found the first rewriting.
void driveSecond(TForm1 *form, QWebEngineView *view, const QString &folder)
{
    timeToLoad(view, [&] { form->TXTcommand(u"DIR "_s + folder); });
    InputProbe *probe = probeOf(form);
    const int runs = std::max(1, qEnvironmentVariableIntValue("RUNS"));
    QList<double> shown, longest;
    int during = 0;
    for (int run = 0; run <= runs; ++run) {
        probe->reset();
        PageShown first(view);
        reorderFromTheMenu(form);
        waitUntil([&] { return first.shown(); });
        const bool rewriting = rewritingTheRest(form);
        PageShown second(view);
        reorderFromTheMenu(form);
        waitUntil([&] { return second.shown(); });
        waitUntil([&] { return !workerOf(form)->busy(); });
        if (run == 0)
            continue;
        during += rewriting ? 1 : 0;
        shown << second.at();
        longest << probe->longest();
    }
    finish(u"%1 %2 %3"_s.arg(median(shown), 0, 'f', 6).arg(median(longest), 0, 'f', 6).arg(during));
}

// Closes the window while a reorder rewrites the rest of the data root: the
// seconds from the close to the window gone (the message saying what is left
// answered at once), and the longest input waited meanwhile. The program then
// ends as it does; what is left stays for the next start.
void driveClose(TForm1 *form, QWebEngineView *view, const QString &folder)
{
    timeToLoad(view, [&] { form->TXTcommand(u"DIR "_s + folder); });
    InputProbe *probe = probeOf(form);
    PageShown page(view);
    reorderFromTheMenu(form);
    waitUntil([&] { return page.shown(); });
    const bool rewriting = rewritingTheRest(form);
    auto *user = new QTimer(qApp);
    QObject::connect(user, &QTimer::timeout, [user] {
        if (auto *message = qobject_cast<QDialog *>(QApplication::activeModalWidget())) {
            user->stop();
            message->accept();
        }
    });
    user->start(0);
    probe->reset();
    QElapsedTimer clock;
    clock.start();
    form->close();
    const double gone = double(clock.nsecsElapsed()) / 1e9;
    const double longest = probe->longest();
    std::printf("%s\n", qPrintable(u"%1 %2 %3"_s.arg(gone, 0, 'f', 6).arg(longest, 0, 'f', 6).arg(rewriting ? 1 : 0)));
    std::fflush(stdout);
    delete probe;
}

// Opens a folder a closed program left half renamed, at once after the start:
// the seconds to its first page shown, the longest input waited until what was
// left was finished, and the seconds until then.
void driveReopen(TForm1 *form, QWebEngineView *view, const QString &folder)
{
    InputProbe *probe = probeOf(form);
    probe->reset();
    const bool left = QFileInfo::exists(folder + u"/.kavuno-renaming"_s);
    QElapsedTimer clock;
    clock.start();
    const double shown = timeToLoad(view, [&] { form->TXTcommand(u"DIR "_s + folder); });
    waitUntil([&] {
        RenameWorker *worker = workerOf(form);
        return !QFileInfo::exists(folder + u"/.kavuno-renaming"_s) && (!worker || !worker->busy());
    });
    const double finished = double(clock.nsecsElapsed()) / 1e9;
    finish(u"%1 %2 %3 %4"_s.arg(shown, 0, 'f', 6).arg(probe->longest(), 0, 'f', 6).arg(finished, 0, 'f', 6)
               .arg(left ? 1 : 0));
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
    // A folder left half renamed is opened as soon as a user could.
    if (mode == "reopen"_L1)
        return driveReopen(form, view, folder);
    // The start's own tail (the lower pane, the look-ups after the first page)
    // is over before a user could give a command.
    QEventLoop settle;
    QTimer::singleShot(1500, &settle, &QEventLoop::quit);
    settle.exec();
    if (mode == "search"_L1)
        return driveSearch(form, folder);
    if (mode == "reorder"_L1)
        return driveReorder(form, view, folder);
    if (mode == "second"_L1)
        return driveSecond(form, view, folder);
    if (mode == "close"_L1)
        return driveClose(form, view, folder);
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
