#include "../editortools/filebytes.h"
#include "core/forms/lockholder.h"
#include "core/forms/sharedfilelock.h"

#include <QLockFile>
#include <QProcess>
#include <QScopeGuard>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {
// A lock file as a copy of the program writes it.
QByteArray lockOf(qint64 pid, const QString &program, const QByteArray &machineId, const QByteArray &bootId,
                  const QString &host = u"pc-7"_s)
{
    return QByteArray::number(pid) + '\n' + program.toUtf8() + '\n' + host.toUtf8() + '\n' + machineId + '\n'
           + bootId + '\n';
}
} // namespace

// The lock beside a shared file: who holds it, and when a waiter may break it.
class SharedFileLockTest : public QObject
{
    Q_OBJECT
private slots:
    // Copies of the program that take the lock with QLockFile read who holds it
    // as they wrote it themselves, and never take it from a live holder.
    void olderCopiesHonourTheLock()
    {
        QTemporaryDir dir;
        const QString file = dir.filePath(u"1010_p.html"_s);
        QLockFile reference(dir.filePath(u"reference.lock"_s));
        QVERIFY(reference.tryLock(0));
        {
            SharedFileLock lock(file);
            QVERIFY(lock.acquire(0));
            QCOMPARE(readBytes(SharedFileLock::lockPathFor(file)), readBytes(dir.filePath(u"reference.lock"_s)));
            QLockFile older(SharedFileLock::lockPathFor(file));
            QVERIFY(!older.tryLock(0));
            QCOMPARE(older.error(), QLockFile::LockFailedError);
        }
        QVERIFY(!QFile::exists(SharedFileLock::lockPathFor(file)));
    }

    // A lock is broken at first sight only when its holder is known to be gone:
    // a process of this computer since its last start that ended or whose
    // number another program has now. Another computer's holder (or a clone's,
    // which shares the machine id), however old its stamp, is waited for.
    void holderGoneIsJudgedOnThisComputerOnly_data()
    {
        QTest::addColumn<QString>("holder");
        QTest::addColumn<bool>("broken");
        QTest::newRow("this computer, process ended") << u"ended"_s << true;
        QTest::newRow("this computer, number now another program's") << u"other program"_s << true;
        QTest::newRow("this computer, still running") << u"running"_s << false;
        QTest::newRow("another computer, stamped an hour ago") << u"other pc"_s << false;
        QTest::newRow("a clone or an earlier start, process ended") << u"other boot"_s << false;
        QTest::newRow("an empty lock file") << u"empty"_s << false;
    }
    void holderGoneIsJudgedOnThisComputerOnly()
    {
        QFETCH(QString, holder);
        QFETCH(bool, broken);
        const LockHolder &me = LockHolder::thisProcess();
        QProcess other;
        const auto stop = qScopeGuard([&other] {
            other.kill();
            other.waitForFinished();
        });
        other.start(u"sleep"_s, {u"600"_s});
        QVERIFY(other.waitForStarted());
        const qint64 running = other.processId();
        qint64 ended = 0;
        {
            QProcess done;
            done.start(u"true"_s, {});
            QVERIFY(done.waitForStarted());
            ended = done.processId();
            QVERIFY(done.waitForFinished());
        }
        QByteArray bytes;
        if (holder == u"ended")
            bytes = lockOf(ended, me.program, me.machineId, me.bootId);
        else if (holder == u"other program")
            bytes = lockOf(running, me.program, me.machineId, me.bootId);
        else if (holder == u"running")
            bytes = lockOf(me.pid, me.program, me.machineId, me.bootId);
        else if (holder == u"other pc")
            bytes = lockOf(ended, me.program, "0123456789abcdef", "fedcba98-7654");
        else if (holder == u"other boot")
            bytes = lockOf(ended, me.program, me.machineId, "fedcba98-7654");
        QTemporaryDir dir;
        const QString file = dir.filePath(u"1010_p.html"_s);
        const QString lockPath = SharedFileLock::lockPathFor(file);
        QVERIFY(writeBytes(lockPath, bytes));
        QFile stamp(lockPath);
        QVERIFY(stamp.open(QIODevice::ReadWrite));
        QVERIFY(stamp.setFileTime(QDateTime::currentDateTime().addSecs(-3600), QFileDevice::FileModificationTime));
        stamp.close();

        SharedFileLock lock(file);
        QCOMPARE(lock.acquire(0), broken);
        QCOMPARE(lock.busy(), !broken);
        if (!broken) {
            QCOMPARE(readBytes(lockPath), bytes);
            QCOMPARE(lock.holderName(), holder == u"empty" ? QString() : u"pc-7"_s);
        }
    }

    // A lock left behind on another computer is broken once this program has
    // seen it unchanged long enough by its own clock, over any number of tries.
    void leftBehindLockIsBrokenAfterBeingSeenUnchanged()
    {
        QTemporaryDir dir;
        const QString file = dir.filePath(u"1010_p.html"_s);
        const QString lockPath = SharedFileLock::lockPathFor(file);
        const QByteArray peer = lockOf(4242, u"kavuno"_s, "0123456789abcdef", "fedcba98-7654");
        QVERIFY(writeBytes(lockPath, peer));
        constexpr int StaleAfterMs = 300;
        QVERIFY(!SharedFileLock(file, StaleAfterMs).acquire(0));
        QTRY_VERIFY(SharedFileLock(file, StaleAfterMs).acquire(0));
        QVERIFY(!QFile::exists(lockPath));
        // Nothing of the broken lock is left beside the file.
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList());
    }
};

QTEST_GUILESS_MAIN(SharedFileLockTest)
#include "tst_sharedfilelock.moc"
