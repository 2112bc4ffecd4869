#include "core/editor/pagesave.h"
#include "core/forms/sharedfilelock.h"
#include "core/pages/pagefile.h"

#include <QTemporaryDir>
#include <QTest>

#include "core/editortools/filebytes.h"

using namespace Qt::StringLiterals;

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
