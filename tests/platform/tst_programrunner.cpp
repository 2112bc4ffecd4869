#include "core/commands/commandparse.h"
#include "core/navigation/testfiles.h"
#include "platform/linuxplatform.h"
#include "platform/programrunner.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace {

// A program that blocks until a line arrives on the pipe "go" beside it, then
// writes its argument into the file "finished".
void writeTool(const QString &path)
{
    QFile tool(path);
    QVERIFY(tool.open(QIODevice::WriteOnly));
    tool.write("#!/bin/sh\n"
               "here=$(dirname \"$0\")\n"
               "read line < \"$here/go\"\n"
               "printf '%s' \"$1\" > \"$here/finished.tmp\"\n"
               "mv \"$here/finished.tmp\" \"$here/finished\"\n");
    tool.close();
    QVERIFY(tool.setPermissions(tool.permissions() | QFileDevice::ExeOwner));
}

// Starts programs for real; records what would open with the desktop's program.
class RecordingPlatform : public LinuxPlatform
{
public:
    QStringList opened;
    bool openWithShell(const QString &pathOrUrl) override
    {
        opened << pathOrUrl;
        return true;
    }
};

void release(const QDir &dir)
{
    // Opening the pipe waits for the program to open its end.
    QFile go(dir.filePath(u"go"_s));
    QVERIFY(go.open(QIODevice::WriteOnly));
    go.write("go\n");
}

} // namespace

class ProgramRunnerTest : public QObject
{
    Q_OBJECT
private slots:
    void upperCaseExeIsWaitedFor()
    {
        QTemporaryDir temp;
        const QDir dir(temp.path());
        QCOMPARE(mkfifo(QFile::encodeName(dir.filePath(u"go"_s)).constData(), 0600), 0);
        writeTool(dir.filePath(u"tool.EXE"_s));
        const ProgramCall call = programCall({u"tool.EXE"_s, u"data.csv"_s}, dir.path(), dir.path());
        QVERIFY(call.wait);

        // Released from inside the wait: the wait turns an event loop.
        QTimer::singleShot(0, this, [&dir] { release(dir); });
        QVERIFY(runProgram(platform, call.program, call.arguments, call.wait));
        QCOMPARE(readFixture(dir.filePath(u"finished"_s)), dir.filePath(u"data.csv"_s).toUtf8());
    }

    void lowerCaseExeIsNotWaitedFor()
    {
        QTemporaryDir temp;
        const QDir dir(temp.path());
        QCOMPARE(mkfifo(QFile::encodeName(dir.filePath(u"go"_s)).constData(), 0600), 0);
        writeTool(dir.filePath(u"tool.exe"_s));
        const ProgramCall call = programCall({u"tool.exe"_s, u"data.csv"_s}, dir.path(), dir.path());
        QVERIFY(!call.wait);

        QVERIFY(runProgram(platform, call.program, call.arguments, call.wait));
        QVERIFY(!QFile::exists(dir.filePath(u"finished"_s))); // still blocked on its pipe
        release(dir);
        QTRY_VERIFY(QFile::exists(dir.filePath(u"finished"_s)));
    }

    void otherFilesOpenWithTheirProgram()
    {
        QTemporaryDir temp;
        const QString notes = temp.filePath(u"notes.txt"_s);
        QFile file(notes);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        QVERIFY(runProgram(platform, notes, {}, true));
        QCOMPARE(platform.opened, QStringList{notes});
    }

    void missingProgramStartsNothing()
    {
        QTemporaryDir temp;
        QVERIFY(!runProgram(platform, temp.filePath(u"none.EXE"_s), {}, true));
        QVERIFY(platform.opened.isEmpty());
    }

    void init() { platform.opened.clear(); }

private:
    RecordingPlatform platform;
};

QTEST_GUILESS_MAIN(ProgramRunnerTest)
#include "tst_programrunner.moc"
