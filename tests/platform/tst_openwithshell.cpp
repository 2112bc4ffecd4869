#include "core/navigation/testfiles.h"
#include "platform/linuxplatform.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class OpenWithShellTest : public QObject
{
    Q_OBJECT
private slots:
    // A file the desktop has no program for must be reported, not handed to a
    // detached xdg-open that fails where nobody sees it.
    void desktopProgramIsLookedUpByTypeAndBroaderTypes_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QByteArray>("answers");
        QTest::addColumn<bool>("hasProgram");
        QTest::newRow("unknown type, nothing set") << u"1080_data.xyz"_s << QByteArray() << false;
        QTest::newRow("own type set") << u"1050_sample.pdf"_s << QByteArray("application/pdf") << true;
        QTest::newRow("broader type set") << u"1060_list.csv"_s << QByteArray("text/plain") << true;
        QTest::newRow("other type set only") << u"1050_sample.pdf"_s << QByteArray("text/plain") << false;
    }
    void desktopProgramIsLookedUpByTypeAndBroaderTypes()
    {
        QFETCH(QString, fileName);
        QFETCH(QByteArray, answers);
        QFETCH(bool, hasProgram);
        QTemporaryDir temp;
        const QDir dir(temp.path());
        QVERIFY(writeFixture(dir.filePath(fileName), "a,b\r\n"));
        const QString tool = dir.filePath(u"xdg-mime"_s);
        QVERIFY(writeFixture(tool, "#!/bin/sh\n[ \"$3\" = \"" + answers + "\" ] && echo viewer.desktop\nexit 0\n"));
        QFile file(tool);
        QVERIFY(file.setPermissions(file.permissions() | QFileDevice::ExeOwner));
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(dir.path()));
        const bool found = desktopHasProgramFor(dir.filePath(fileName));
        qputenv("PATH", path);
        QCOMPARE(found, hasProgram);
    }

    void withoutXdgMimeTheDesktopIsLeftToTry()
    {
        QTemporaryDir temp;
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(temp.path()));
        const bool found = desktopHasProgramFor(temp.filePath(u"a.xyz"_s));
        qputenv("PATH", path);
        QVERIFY(found);
    }
};

QTEST_GUILESS_MAIN(OpenWithShellTest)
#include "tst_openwithshell.moc"
