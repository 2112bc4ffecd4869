#include "ui/editor/editlaunch.h"
#include "ui/editor/tform2.h"

#include "core/navigation/navigator.h"
#include "core/navigation/navigatorhost.h"
#include "core/pages/pagefile.h"
#include "platform/linuxplatform.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>

#include "ui/editor/modaluser.h"

#include "core/editortools/filebytes.h"
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

// A program on PATH that appends its name to the file it is given.
void writeFakeProgram(const QString &path)
{
    QVERIFY(writeBytes(path, "#!/bin/sh\nprintf ' edited by %s' \"$(basename \"$0\")\" >> \"$1\"\n"));
    QFile::setPermissions(path, QFile::permissions(path) | QFileDevice::ExeOwner | QFileDevice::ExeUser);
}

class FakeMainWindow : public NavigatorHost
{
public:
    QStringList log;
    void PageClick() override { log << u"PageClick"_s; }
    void ReMake() override { log << u"ReMake"_s; }
    void showPage(const QString &url) override { log << u"show "_s + QUrl(url).fileName(); }
    void pausePoll() override { log << u"pause"_s; }
    void resumePoll() override { log << u"resume"_s; }
};

} // namespace

// The launcher against the real desktop layer, with fake programs on PATH.
class EditLaunchTest : public QObject
{
    Q_OBJECT
private:
    QTemporaryDir programs;
    QTemporaryDir data;
    FakeMainWindow host;
    Navigator nav{&host};
    QWidget mainWindow;
    TForm2 editor{&mainWindow};
    LinuxPlatform platform;

    void openLevel(int index)
    {
        nav.OpenFolderLevel(data.path(), index, false);
        host.log.clear();
    }

private slots:
    void initTestCase()
    {
        writeFakeProgram(programs.filePath(u"kolourpaint"_s));
        writeFakeProgram(programs.filePath(u"localc"_s));
        qputenv("PATH", programs.path().toLocal8Bit() + ':' + qgetenv("PATH"));
        mainWindow.resize(1265, 742);
        QVERIFY(writeBytes(data.filePath(u"01_photo.jpg"_s), "jpeg"));
        QVERIFY(writeBytes(data.filePath(u"02_print.html"_s),
                   encodePage(u"<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">\r\n"
                              u"<HTML><HEAD><META NAME=\"author\" CONTENT=\"WORK_Kavuno_印刷\"></HEAD></HTML>"_s)));
        QVERIFY(QFile::copy(QStringLiteral(KAVUNO_TEST_DATA) + u"/editor/table.html"_s,
                            data.filePath(u"03_table.html"_s)));
    }

    void pictureGoesToThePaintProgram()
    {
        MainWindowEditHost launcher(nav, mainWindow, editor, platform);
        openLevel(0);
        launcher.editCurrentPage();
        QCOMPARE(readBytes(data.filePath(u"01_photo.jpg"_s)), QByteArray("jpeg edited by kolourpaint"));
        QCOMPARE(readBytes(data.filePath(u"_%.jpg"_s)), QByteArray("jpeg"));
        QVERIFY(mainWindow.isEnabled());
        QCOMPARE(host.log, QStringList({u"pause"_s, u"show _XXX.html"_s, u"resume"_s, u"PageClick"_s}));
    }

    void printPageGoesToTheSpreadsheet()
    {
        MainWindowEditHost launcher(nav, mainWindow, editor, platform);
        bool enabledWhileWaiting = true;
        launcher.excelPath = [&] {
            // Looks at the main window from inside the wait that follows.
            QTimer::singleShot(0, &mainWindow, [&] { enabledWhileWaiting = mainWindow.isEnabled(); });
            return programs.filePath(u"localc"_s);
        };
        launcher.outsideWaitMs = 0;
        openLevel(1);
        launcher.editCurrentPage();
        QVERIFY(!enabledWhileWaiting);
        QTRY_VERIFY(readBytes(data.filePath(u"02_print.html"_s)).endsWith(" edited by localc"));
        QVERIFY(mainWindow.isEnabled());
        QCOMPARE(host.log.last(), u"resume"_s);
        QVERIFY(host.log.contains(u"PageClick"_s));
    }

    void ownPageGoesToTheEditorAndIsFoundAgain()
    {
        MainWindowEditHost launcher(nav, mainWindow, editor, platform);
        QStringList commands;
        launcher.runCommand = [&](const QString &command) { commands << command; };
        openLevel(2);
        const ModalUser user(editor, [&] {
            editor.Edit1->setText(u"保存した"_s);
            editor.BitBtn4Click();
        });
        launcher.editCurrentPage();
        QVERIFY(readBytes(data.filePath(u"03_table.html"_s)).contains("<TITLE>保存した</TITLE>"));
        QVERIFY(QFile::exists(data.filePath(u"_%.html"_s)));
        QCOMPARE(commands, QStringList{u"GO 03_table"_s});
        QVERIFY(host.log.contains(u"ReMake"_s));
        QCOMPARE(nav.levels().top().MidashiT.value(2), u"保存した"_s);
    }

    // A post another computer writes after the launcher read the page (here while
    // the keyword links are taken out) is found when the edit is saved: the save
    // checks the file against the bytes the fields were made from.
    void postWrittenWhileTheEditorOpensIsNotWrittenOver()
    {
        const QString path = data.filePath(u"04_look.html"_s);
        QString page = readPageFile(QStringLiteral(KAVUNO_TEST_DATA) + u"/editor/table.html"_s).text;
        QVERIFY(writePageFile(path, page.replace(u"</BODY>"_s, u"<!--$LOOK--></BODY>"_s)));
        const QString posted = QString(page).replace(u"<!--NOTE_OUT-->"_s, u"<P>ほかのPCの書き込み</P><!--NOTE_OUT-->"_s);
        MainWindowEditHost launcher(nav, mainWindow, editor, platform);
        launcher.buildLookLinks = [&](int mode, const QString &text) {
            if (mode == 1)
                writePageFile(path, posted);
            return text;
        };
        QStringList questions;
        editor.askChangedPage = [&](const QString &question) {
            questions << question;
            return TForm2::ChangedPageChoice::Cancel;
        };
        openLevel(3);
        const ModalUser user(editor, [&] {
            editor.Edit1->setText(u"編集した題"_s);
            editor.BitBtn4Click();
            editor.BitBtn2Click();
        });
        launcher.editCurrentPage();
        QCOMPARE(questions.size(), 1);
        QCOMPARE(readBytes(path), encodePage(posted));
    }

    // A page too costly for the editor that no program opens: the user is told
    // why, without a wait in a window that takes nothing.
    void pageNothingOpensIsExplained()
    {
        QString costly = u"<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">\r\n<HTML><BODY><P>x</P><P>"_s;
        for (int i = 0; i < 1000; ++i)
            costly += u"<b id=%1>"_s.arg(i);
        QVERIFY(writePageFile(data.filePath(u"05_costly.html"_s), costly + u"</P>"_s + u"<div>x</div>"_s.repeated(1000)));
        MainWindowEditHost launcher(nav, mainWindow, editor, platform);
        launcher.excelPath = [&] { return programs.filePath(u"missing"_s); };
        openLevel(4);
        launcher.editCurrentPage();
        auto *box = mainWindow.findChild<QMessageBox *>(u"editorNotOpened"_s);
        QVERIFY(box);
        QCOMPARE(box->text(), u"05_costly.html はタグが多すぎるため、エディターでは開けません。ほかに開くプログラムもありません。"_s);
        QVERIFY(mainWindow.isEnabled());
        QCOMPARE(host.log.last(), u"resume"_s);
        box->close();
    }
};

QTEST_MAIN(EditLaunchTest)
#include "tst_editlaunch.moc"
