#include "core/editor/pagesave.h"
#include "core/forms/sharedfilelock.h"
#include "core/pages/pagefile.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include "core/editortools/filebytes.h"

using namespace Qt::StringLiterals;

namespace {
bool setModified(const QString &path, const QDateTime &when)
{
    QFile file(path);
    return file.open(QIODevice::ReadWrite) && file.setFileTime(when, QFileDevice::FileModificationTime);
}
} // namespace

// The editor's save writes over the page only while it is as the editor read it.
class PageSaveTest : public QObject
{
    Q_OBJECT
private slots:
    void saveChecksThePageAsRead_data()
    {
        QTest::addColumn<QByteArray>("atRead");    // "" : no file
        QTest::addColumn<QByteArray>("atSave");    // "" : no file
        QTest::addColumn<bool>("overwrite");
        QTest::addColumn<int>("status");
        const QByteArray page = "<P>page</P>";
        const QByteArray posted = "<P>page</P><P>post</P>";
        QTest::newRow("unchanged") << page << page << false << int(PageSaveStatus::Written);
        QTest::newRow("new page still absent") << QByteArray() << QByteArray() << false << int(PageSaveStatus::Written);
        QTest::newRow("posted meanwhile") << page << posted << false << int(PageSaveStatus::Changed);
        QTest::newRow("made meanwhile") << QByteArray() << posted << false << int(PageSaveStatus::Changed);
        QTest::newRow("removed meanwhile") << page << QByteArray() << false << int(PageSaveStatus::Changed);
        QTest::newRow("overwrite chosen") << page << posted << true << int(PageSaveStatus::Written);
    }
    void saveChecksThePageAsRead()
    {
        QFETCH(QByteArray, atRead);
        QFETCH(QByteArray, atSave);
        QFETCH(bool, overwrite);
        QFETCH(int, status);
        QTemporaryDir dir;
        const QString path = dir.filePath(u"1010_page.html"_s);
        if (!atRead.isEmpty())
            QVERIFY(writeBytes(path, atRead));
        const PageSnapshot read = takePageSnapshot(path);
        QCOMPARE(read.exists, !atRead.isEmpty());
        QFile::remove(path);
        if (!atSave.isEmpty())
            QVERIFY(writeBytes(path, atSave));

        const PageSaveOutcome outcome = saveEditedPage(path, u"edited"_s, overwrite ? nullptr : &read, 1000);
        QCOMPARE(int(outcome.status), status);
        if (status == int(PageSaveStatus::Written))
            QCOMPARE(readBytes(path), encodePage(u"edited"_s));
        else
            QCOMPARE(readBytes(path), atSave.isEmpty() ? QByteArray() : atSave); // nothing lost
        QVERIFY(!QFile::exists(SharedFileLock::lockPathFor(path)));
    }

    void saveWaitsForAPostsLock()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"1010_page.html"_s);
        QVERIFY(writeBytes(path, "<P>page</P>"));
        const PageSnapshot read = takePageSnapshot(path);
        SharedFileLock post(path);
        QVERIFY(post.acquire(0));
        QCOMPARE(int(saveEditedPage(path, u"edited"_s, &read, 0).status), int(PageSaveStatus::Busy));
        QCOMPARE(readBytes(path), QByteArray("<P>page</P>"));
    }

    // A lock is broken only when its holder is gone: a peer on another computer
    // that has held it longer than a save waits (a slow share) keeps it, and the
    // stamp its clock wrote, however old, breaks nothing at first sight.
    void peersLockIsBrokenOnlyWhenLeftBehind_data()
    {
        QTest::addColumn<int>("untouchedMs");
        QTest::addColumn<int>("status");
        QTest::newRow("held longer than a save waits") << 6000 << int(PageSaveStatus::Busy);
        QTest::newRow("untouched a while, still held") << SharedFileLock::StaleAfterMs - 5000 << int(PageSaveStatus::Busy);
        QTest::newRow("stamped long ago by another clock") << SharedFileLock::StaleAfterMs + 5000 << int(PageSaveStatus::Busy);
    }
    void peersLockIsBrokenOnlyWhenLeftBehind()
    {
        QFETCH(int, untouchedMs);
        QFETCH(int, status);
        QTemporaryDir dir;
        const QString path = dir.filePath(u"1010_page.html"_s);
        QVERIFY(writeBytes(path, "<P>page</P>"));
        const PageSnapshot read = takePageSnapshot(path);
        // A lock file as a copy on another computer writes it.
        const QString lockPath = SharedFileLock::lockPathFor(path);
        const QByteArray peer = "4242\nkavuno\nother-pc\n0123456789abcdef\n";
        QVERIFY(writeBytes(lockPath, peer));
        QVERIFY(setModified(lockPath, QDateTime::currentDateTime().addMSecs(-untouchedMs)));

        const PageSaveOutcome outcome = saveEditedPage(path, u"edited"_s, &read, 200);
        QCOMPARE(int(outcome.status), status);
        if (status == int(PageSaveStatus::Busy)) {
            QCOMPARE(outcome.holder, u"other-pc"_s);
            QCOMPARE(readBytes(lockPath), peer);
            QCOMPARE(readBytes(path), QByteArray("<P>page</P>"));
        }
    }

    // The holder keeps its lock fresh however long its write takes.
    void heldLockIsKeptFresh()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"1010_page.html"_s);
        SharedFileLock lock(path);
        QVERIFY(lock.acquire(0));
        const QString lockPath = SharedFileLock::lockPathFor(path);
        QVERIFY(setModified(lockPath, QDateTime::currentDateTime().addSecs(-3600)));
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(lockPath).lastModified().secsTo(QDateTime::currentDateTime()) < 60,
                                 SharedFileLock::RefreshEveryMs * 5);
    }

    // A folder or a link at the lock's name is named for what it is, at once.
    void lockThatIsNoFileIsNamed_data()
    {
        QTest::addColumn<bool>("folder");
        QTest::newRow("folder") << true;
        QTest::newRow("link") << false;
    }
    void lockThatIsNoFileIsNamed()
    {
        QFETCH(bool, folder);
        QTemporaryDir dir;
        const QString path = dir.filePath(u"1010_page.html"_s);
        QVERIFY(writeBytes(path, "<P>page</P>"));
        const QString lockPath = SharedFileLock::lockPathFor(path);
        QVERIFY(folder ? QDir().mkdir(lockPath) : QFile::link(dir.filePath(u"elsewhere"_s), lockPath));
        SharedFileLock lock(path);
        QVERIFY(!lock.acquire(60000));
        QVERIFY(lock.notALockFile());
        QCOMPARE(int(saveEditedPage(path, u"edited"_s, nullptr, 60000).status), int(PageSaveStatus::LockBlocked));
        QCOMPARE(readBytes(path), QByteArray("<P>page</P>"));
    }

    void missingFolderFailsAtOnce()
    {
        QTemporaryDir dir;
        const PageSaveOutcome outcome = saveEditedPage(dir.filePath(u"gone/page.html"_s), u"edited"_s, nullptr, 60000);
        QCOMPARE(int(outcome.status), int(PageSaveStatus::WriteFailed));
        QVERIFY(!outcome.error.isEmpty());
    }
};

QTEST_GUILESS_MAIN(PageSaveTest)
#include "tst_pagesave.moc"
