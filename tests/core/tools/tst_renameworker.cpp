// The program's one rename worker: every step off the caller's thread, one
// job after the other, questions to the user as signals, a stop that leaves
// the record, and the records stopped programs left found by a walk.
#include "core/tools/ordernumbers.h"
#include "core/tools/renamerecord.h"
#include "core/tools/renamerecordwalk.h"
#include "core/tools/renameworker.h"

#include "core/navigation/testfiles.h"

#include <QDir>
#include <QSemaphore>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <atomic>
#include <thread>

using namespace Qt::StringLiterals;

namespace {

// Folder A of root with pages that name each other, and other/o.html naming two of them.
void makeFolder(const QString &root)
{
    QDir().mkpath(root + u"/A"_s);
    QDir().mkpath(root + u"/other"_s);
    writeFixture(root + u"/A/a.html"_s, "<A href=\"b.html\">b</A>");
    writeFixture(root + u"/A/b.html"_s, "<A href=\"a.html\">a</A>");
    writeFixture(root + u"/other/o.html"_s, "<A href=\"../A/a.html\">a</A><A href=\"../A/b.html\">b</A>");
}
const QByteArray OtherAfter = "<A href=\"../A/1010_a.html\">a</A><A href=\"../A/1000_b.html\">b</A>";

// b to the first place, as the window asks for it.
RenameRequest reorderOf(const QString &root)
{
    const QStringList shown{u"a.html"_s, u"b.html"_s};
    return {root + u"/A"_s, root, ReorderCompanions, shown, u"kavuno"_s,
            [shown] { return planReorder(shown, 1, 0).moves; }};
}

// Holds a worker at the first step of a job of a kind and stage, until released.
struct Hold
{
    QSemaphore reached;
    QSemaphore released;
    std::atomic<bool> armed{true};
    void on(RenameWorker &worker, RenameJob::Kind kind, RenameJob::Stage stage)
    {
        worker.setStepHook([this, kind, stage](const RenameJob &job) {
            if (job.kind == kind && job.stage == stage && armed.exchange(false)) {
                reached.release();
                released.tryAcquire(1, 30000);
            }
        });
    }
};

// What a live lock of another PC holds.
QByteArray peerLock()
{
    return "kavuno-rename-lock\ntoken 0123456789abcdef\nname other-pc\nwriter w#x#y\npid 4242\nbeat 000000000007 "
           + QByteArray::number(QDateTime::currentSecsSinceEpoch()).rightJustified(12, '0') + '\n';
}

} // namespace

class RenameWorkerTest : public QObject
{
    Q_OBJECT
private slots:
    void walkFindsEveryRecordButThroughLinksAndHiddenFolders()
    {
        QTemporaryDir root;
        for (const QString &folder : {u"A/B/C"_s, u"D"_s, u".hidden"_s})
            QVERIFY(QDir(root.path()).mkpath(folder));
        for (const QString &folder : {QString(), u"/A/B/C"_s, u"/D"_s, u"/.hidden"_s})
            QVERIFY(writeFixture(RenameRecord::path(root.path() + folder)));
        // A link leads to a folder with a record once more, and out of the root.
        QVERIFY(QFile::link(root.path() + u"/A/B"_s, root.path() + u"/L"_s));
        QVERIFY(QFile::link(u"/tmp"_s, root.path() + u"/out"_s));
        RenameRecordWalk walk(root.path());
        QStringList found;
        for (int steps = 0; steps < 100 && !walk.done(); ++steps) {
            walk.step();
            found += walk.takeFound();
        }
        QVERIFY(walk.done());
        found.sort();
        QCOMPARE(found, (QStringList{root.path(), root.path() + u"/A/B/C"_s, root.path() + u"/D"_s}));
    }

    // The folder first, then the rest of the root; every step off this thread.
    void renameRunsEveryStepOnTheWorker()
    {
        QTemporaryDir root;
        makeFolder(root.path());
        RenameWorker worker;
        std::atomic<int> here{0}, aside{0};
        const std::thread::id caller = std::this_thread::get_id();
        worker.setStepHook([&](const RenameJob &) { ++(std::this_thread::get_id() == caller ? here : aside); });
        QSignalSpy folder(&worker, &RenameWorker::folderDone);
        QSignalSpy rest(&worker, &RenameWorker::restDone);
        QSignalSpy idle(&worker, &RenameWorker::idle);
        const quint64 id = worker.rename(reorderOf(root.path()));
        QVERIFY(worker.busy());
        QVERIFY(idle.wait(30000));
        QCOMPARE(folder.size(), 1);
        QCOMPARE(folder.at(0).at(0).toULongLong(), id);
        QCOMPARE(folder.at(0).at(1).value<RenameResult>().end, RenameEnd::Renamed);
        QCOMPARE(rest.size(), 1);
        QCOMPARE(readFixture(root.path() + u"/other/o.html"_s), OtherAfter);
        QVERIFY(!QFile::exists(RenameRecord::path(root.path() + u"/A"_s)));
        QVERIFY(aside > 0);
        QCOMPARE(here.load(), 0);
    }

    // A worker stopped as the program closes leaves the record; another
    // program's walk at its start finishes it.
    void stoppedRenameIsFinishedByTheNextWalk()
    {
        QTemporaryDir root;
        makeFolder(root.path());
        const QByteArray before = readFixture(root.path() + u"/other/o.html"_s);
        {
            RenameWorker closing;
            Hold hold;
            hold.on(closing, RenameJob::Rename, RenameJob::Rest);
            closing.rename(reorderOf(root.path()));
            QVERIFY(hold.reached.tryAcquire(1, 30000));
            closing.stop();
            hold.released.release();
        }
        QVERIFY(QFile::exists(RenameRecord::path(root.path() + u"/A"_s)));
        QCOMPARE(readFixture(root.path() + u"/other/o.html"_s), before);
        RenameWorker next;
        QSignalSpy settled(&next, &RenameWorker::settled);
        next.findLeft(root.path(), u"kavuno"_s);
        QVERIFY(settled.wait(30000));
        QCOMPARE(settled.at(0).at(0).toString(), root.path() + u"/A"_s);
        QCOMPARE(readFixture(root.path() + u"/other/o.html"_s), OtherAfter);
        QVERIFY(!QFile::exists(RenameRecord::path(root.path() + u"/A"_s)));
    }

    // Another PC holds the folder: the worker asks and goes by the answer.
    void anotherHolderIsAskedAbout_data()
    {
        QTest::addColumn<int>("answer"); // 0: no, 1: stop while asked, 2: yes, and the other PC ends
        QTest::addColumn<int>("end");
        QTest::newRow("no") << 0 << int(RenameEnd::GaveUp);
        QTest::newRow("given up while asked") << 1 << int(RenameEnd::GaveUp);
        QTest::newRow("yes") << 2 << int(RenameEnd::Renamed);
    }
    void anotherHolderIsAskedAbout()
    {
        QFETCH(int, answer);
        QFETCH(int, end);
        QTemporaryDir root;
        makeFolder(root.path());
        const QString lock = FolderRenameLock::lockPath(root.path() + u"/A"_s);
        QVERIFY(writeFixture(lock, peerLock()));
        RenameWorker worker;
        QSignalSpy asked(&worker, &RenameWorker::folderBusy);
        QSignalSpy done(&worker, &RenameWorker::folderDone);
        const quint64 id = worker.rename(reorderOf(root.path()));
        QVERIFY(asked.wait(30000));
        QVERIFY(asked.at(0).at(1).toString().contains(u"other-pc"_s));
        QCOMPARE(worker.jobs().at(0).stage, RenameJob::Asking);
        if (answer == 1) {
            worker.cancel(id);
        } else {
            worker.answer(id, answer == 2);
            if (answer == 2)
                QVERIFY(QFile::remove(lock));
        }
        QVERIFY(done.wait(30000));
        QCOMPARE(int(done.at(0).at(1).value<RenameResult>().end), end);
        QCOMPARE(QFile::exists(root.path() + u"/A/1000_b.html"_s), end == int(RenameEnd::Renamed));
    }

    // Renames queue behind the one under way; one given up is not made, and a
    // folder is settled once however often it is handed in.
    void queuedJobsWaitTheirTurn()
    {
        QTemporaryDir root;
        makeFolder(root.path());
        QVERIFY(QDir(root.path()).mkdir(u"B"_s));
        QVERIFY(writeFixture(root.path() + u"/B/x.html"_s));
        RenameWorker worker;
        Hold hold;
        hold.on(worker, RenameJob::Rename, RenameJob::Rest);
        QSignalSpy done(&worker, &RenameWorker::folderDone);
        QSignalSpy idle(&worker, &RenameWorker::idle);
        worker.rename(reorderOf(root.path()));
        QVERIFY(hold.reached.tryAcquire(1, 30000));
        RenameRequest second = reorderOf(root.path());
        second.folder = root.path() + u"/B"_s;
        const quint64 given = worker.rename(second);
        worker.settle(root.path() + u"/other"_s, root.path(), u"kavuno"_s);
        worker.settle(root.path() + u"/other"_s, root.path(), u"kavuno"_s);
        const QList<RenameJob> jobs = worker.jobs();
        QCOMPARE(jobs.size(), 3);
        QCOMPARE(jobs.at(1).id, given);
        QCOMPARE(jobs.at(1).stage, RenameJob::Queued);
        QCOMPARE(jobs.at(2).kind, RenameJob::Settle);
        worker.cancel(given);
        hold.released.release();
        QVERIFY(idle.wait(30000));
        QCOMPARE(done.size(), 2);
        QCOMPARE(done.at(1).at(0).toULongLong(), given);
        QCOMPARE(done.at(1).at(1).value<RenameResult>().end, RenameEnd::GaveUp);
        QCOMPARE(QDir(root.path() + u"/B"_s).entryList(QDir::Files), QStringList{u"x.html"_s});
    }
};

QTEST_GUILESS_MAIN(RenameWorkerTest)
#include "tst_renameworker.moc"
