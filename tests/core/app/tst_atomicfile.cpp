// The whole-file writer: what another reader of the folder can see during and after a write.
#include "core/app/atomicfile.h"
#include "core/app/wholefile.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {
QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
QStringList visibleNames(const QString &dir)
{
    return QDir(dir).entryList(QDir::Files, QDir::Name);
}
void touch(const QString &path, int ageSeconds = 0)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("half");
    QVERIFY(f.flush()); // written first, or the close stamps it anew
    QVERIFY(f.setFileTime(QDateTime::currentDateTime().addSecs(-ageSeconds), QFileDevice::FileModificationTime));
}
// The number of a process that ran and ended (its number is gone from this machine).
qint64 deadProcessId()
{
    QProcess process;
    process.start(u"true"_s);
    const qint64 pid = process.processId();
    process.waitForFinished();
    return pid;
}
} // namespace

class TestAtomicFile : public QObject
{
    Q_OBJECT
private slots:
    void writeInProgressIsHiddenAndOldTextStays()
    {
        QTemporaryDir dir;
        const QString page = dir.filePath(u"1010_ページ.html"_s);
        QVERIFY(writeWholeFile(page, "old"));
        AtomicFile file(page);
        QVERIFY(file.open());
        QVERIFY(file.write("new text"));
        QVERIFY(QFileInfo(file.temporaryName()).fileName().startsWith(u'.'));
        QCOMPARE(visibleNames(dir.path()), QStringList{u"1010_ページ.html"_s});
        QCOMPARE(readAll(page), QByteArray("old"));
        QVERIFY(file.commit());
        QCOMPARE(readAll(page), QByteArray("new text"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{u"1010_ページ.html"_s});
    }

    void cancelledWriteLeavesNothing()
    {
        QTemporaryDir dir;
        const QString page = dir.filePath(u"a.html"_s);
        {
            AtomicFile file(page);
            QVERIFY(file.open());
            QVERIFY(file.write("abandoned"));
        }
        QVERIFY(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());
    }

    void staleTemporaryOfDeadWriterIsRemovedByNextWrite_data()
    {
        QTest::addColumn<bool>("thisMachine");
        QTest::addColumn<int>("ageSeconds");
        QTest::addColumn<bool>("removed");
        QTest::addColumn<QString>("tail"); // taken when a folder stood at the first name
        QTest::newRow("this machine, process gone") << true << 0 << true << QString();
        QTest::newRow("this machine, process gone, second name") << true << 0 << true << u"-12345678"_s;
        // Imaged school PCs share one host name: that number may be writing over there.
        QTest::newRow("same host name elsewhere, a minute old") << false << 60 << false << QString();
        QTest::newRow("same host name elsewhere, two days old") << false << 2 * 86400 << true << QString();
        QTest::newRow("same host name elsewhere, second name, two days old")
            << false << 2 * 86400 << true << u"-12345678"_s;
    }
    void staleTemporaryOfDeadWriterIsRemovedByNextWrite()
    {
        QFETCH(bool, thisMachine);
        QFETCH(int, ageSeconds);
        QFETCH(bool, removed);
        QFETCH(QString, tail);
        QTemporaryDir dir;
        const QString page = dir.filePath(u"a.html"_s);
        const qint64 gone = deadProcessId();
        const QString prefix = dir.filePath(AtomicFile::temporaryPrefix(page));
        QString otherPrefix = prefix;
        const QString tag = AtomicFile::thisHostTag();
        otherPrefix.replace(tag, tag.left(tag.lastIndexOf(u'-')) + u"-0badb007"_s);
        const QString stale = (thisMachine ? prefix : otherPrefix) + QString::number(gone) + tail + u".tmp"_s;
        QVERIFY(AtomicFile::isTemporaryName(QFileInfo(stale).fileName()));
        const QString living = prefix + QString::number(QCoreApplication::applicationPid() == 1 ? 2 : 1) + u".tmp"_s;
        touch(stale, ageSeconds);
        touch(living);
        QVERIFY(writeWholeFile(page, "whole"));
        QCOMPARE(QFile::exists(stale), !removed);
        QVERIFY2(QFile::exists(living), "a writer that still runs keeps its file");
        QCOMPARE(readAll(page), QByteArray("whole"));
    }

    void staleTemporaryOfAnotherTargetGoesWithTheNextWriteInTheFolder()
    {
        // A copy killed midway: its big file under a name nothing may write again.
        QTemporaryDir dir;
        const qint64 gone = deadProcessId();
        const QString stale = dir.filePath(AtomicFile::temporaryPrefix(dir.filePath(u"big.v1.bin"_s)))
                              + QString::number(gone) + u".tmp"_s;
        const QString notOurs = dir.filePath(u".notes.x.tmp"_s);
        touch(stale);
        touch(notOurs);
        QVERIFY(writeWholeFile(dir.filePath(u"a.html"_s), "whole"));
        QVERIFY(!QFile::exists(stale));
        QVERIFY(QFile::exists(notOurs));
    }

    void plantedTemporaryIsNeverWrittenThrough_data()
    {
        QTest::addColumn<QString>("planted"); // what a peer put at the temporary's name
        QTest::addColumn<bool>("duringWrite");
        QTest::newRow("link to an outside file") << u"link"_s << false;
        QTest::newRow("dangling link") << u"dangling"_s << false;
        QTest::newRow("hard link to an outside file") << u"hard"_s << false;
        QTest::newRow("link swapped in during the write") << u"link"_s << true;
        QTest::newRow("the target itself a link out") << u"target"_s << false;
        QTest::newRow("the target made a link during the write") << u"target"_s << true;
        // A folder cannot be taken away: the writer takes another name.
        QTest::newRow("a folder") << u"folder"_s << false;
        QTest::newRow("a folder holding a file") << u"full folder"_s << false;
    }
    void plantedTemporaryIsNeverWrittenThrough()
    {
        QFETCH(QString, planted);
        QFETCH(bool, duringWrite);
        QTemporaryDir outside, dir;
        const QString secret = outside.filePath(u"secret.txt"_s);
        QVERIFY(writeWholeFile(secret, "the user's own text"));
        const QString target = dir.filePath(u"vars.txt"_s);
        QVERIFY(writeWholeFile(target, "old"));
        const QString temp = dir.filePath(AtomicFile::temporaryPrefix(target))
                             + QString::number(QCoreApplication::applicationPid()) + u".tmp"_s;
        const auto plant = [&] {
            QFile::remove(temp);
            if (planted == u"target"_s) // neither written through nor replaced
                QVERIFY(QFile::remove(target) && QFile::link(secret, target));
            else if (planted.endsWith(u"folder"_s))
                QVERIFY(QDir().mkdir(temp) && (planted == u"folder"_s || writeWholeFile(temp + u"/x"_s, "x")));
            else if (planted == u"hard"_s)
                QCOMPARE(::link(QFile::encodeName(secret).constData(), QFile::encodeName(temp).constData()), 0);
            else
                QVERIFY(QFile::link(planted == u"link"_s ? secret : outside.filePath(u"new.txt"_s), temp));
        };
        AtomicFile file(target);
        if (!duringWrite)
            plant();
        if (planted == u"target"_s && !duringWrite) {
            // A link stays a link: the writer says so and writes nothing.
            QVERIFY(!file.open());
            QVERIFY2(file.errorString().contains(u"リンク"_s), qPrintable(file.errorString()));
            QVERIFY(QFileInfo(target).isSymLink());
            QCOMPARE(readAll(secret), QByteArray("the user's own text"));
            QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot),
                     QStringList{u"vars.txt"_s});
            return;
        }
        QVERIFY(file.open());
        QVERIFY(file.write("new"));
        if (duringWrite)
            plant();
        QCOMPARE(file.commit(), !duringWrite);
        QCOMPARE(readAll(secret), QByteArray("the user's own text"));
        QVERIFY(!QFile::exists(outside.filePath(u"new.txt"_s)));
        if (planted == u"target"_s) {
            QVERIFY(QFileInfo(target).isSymLink());
            QVERIFY(!QFile::exists(file.temporaryName()));
            return;
        }
        QVERIFY(QFileInfo(target).isFile() && !QFileInfo(target).isSymLink());
        QCOMPARE(readAll(target), duringWrite ? QByteArray("old") : QByteArray("new"));
        if (planted.endsWith(u"folder"_s)) {
            QVERIFY2(QFileInfo(temp).isDir(), "what a peer planted stays");
            QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{u"vars.txt"_s});
        }
    }

    void longJapaneseNameStillWrites()
    {
        QTemporaryDir dir;
        const QString page = dir.filePath(QString(80, QChar(0x3042)) + u".html"_s); // 245 bytes
        QVERIFY(writeWholeFile(page, "x"));
        QCOMPARE(readAll(page), QByteArray("x"));
    }

    void failedWriteKeepsTargetAndSaysWhy()
    {
        QTemporaryDir dir;
        QString why;
        QVERIFY(!writeWholeFile(dir.filePath(u"missing/a.html"_s), "x", &why));
        QVERIFY(!why.isEmpty());
        QVERIFY(!writeWholeFile(dir.path(), "x", &why));
        QVERIFY(QFileInfo(dir.path()).isDir());
    }

    void keepsTheTargetsPermissions()
    {
        QTemporaryDir dir;
        const QString page = dir.filePath(u"a.html"_s);
        QVERIFY(writeWholeFile(page, "x"));
        QFile::setPermissions(page, QFile::ReadOwner | QFile::WriteOwner);
        const QFile::Permissions before = QFile::permissions(page);
        QVERIFY(writeWholeFile(page, "y"));
        QCOMPARE(QFile::permissions(page), before);
    }
};

QTEST_GUILESS_MAIN(TestAtomicFile)
#include "tst_atomicfile.moc"
