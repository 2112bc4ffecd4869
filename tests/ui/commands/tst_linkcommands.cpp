// Link commands in the real browser: the gate of the main window's browsers.
#include "ui/app/tform1.h"
#include "ui/commands/commandpage.h"
#include "ui/commands/linkcommands.h"
#include "ui/navigation/pagebutton.h"

#include "core/commands/userpress.h"
#include "core/present/presentstrings.h"

#include "core/navigation/testfiles.h"
#include "platform/oneanswerserver.h"
#include "ui/app/fakeplatform.h"
#include "ui/app/pagescript.h"

#include <QFrame>
#include <QLabel>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QWebEnginePage>
#include <QWebEngineView>

#include <signal.h>

using namespace Qt::StringLiterals;

namespace {

QByteArray pageText(const QByteArray &title, const QByteArray &body)
{
    return "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">\r\n"
           "<HTML><HEAD><META http-equiv=\"Content-Type\" content=\"text/html; charset=UTF-8\">"
           "<TITLE>" + title + "</TITLE></HEAD><BODY>" + body + "</BODY></HTML>\r\n";
}

// Records the window's state while a program runs.
class ProgramPlatform : public FakePlatform
{
public:
    QWidget *window = nullptr;
    QTimer *poll = nullptr;
    struct Run
    {
        QString program;
        QStringList arguments;
        bool wait;
        bool windowEnabled;
        bool pollRunning;
    };
    QList<Run> runs;
    std::function<void()> whileWaiting;
    bool startProgram(const QString &program, const QStringList &arguments, bool wait) override
    {
        runs.append({program, arguments, wait, window->isEnabled(), poll->isActive()});
        if (wait && whileWaiting)
            whileWaiting();
        return true;
    }
};

} // namespace

class LinkCommandsTest : public QObject
{
    Q_OBJECT
private:
    QTemporaryDir *temp = nullptr;
    ProgramPlatform *platform = nullptr;
    TForm1 *form = nullptr;
    QString root;

    // A data root of two pages, the first one shown.
    void openForm(const QByteArray &firstBody, const QByteArray &firstTitle = "A")
    {
        root = temp->filePath(u"web"_s);
        QVERIFY(QDir().mkpath(root));
        QVERIFY(writeFixture(root + u"/1010_a.html"_s, pageText(firstTitle, firstBody)));
        QVERIFY(writeFixture(root + u"/1020_b.html"_s, pageText("B", "<P>B</P>")));
        form = new TForm1(*platform, temp->filePath(u"web.exe"_s));
        new LinkCommands(*form);
        QSignalSpy loaded(form->WebBrowser1, &QWebEngineView::loadFinished);
        form->show();
        form->FormShow();
        QVERIFY(loaded.wait(60000));
        QCOMPARE(form->nav.currentEntry(), u"1010_a.html"_s);
    }
    void click(QWebEngineView *view, const QString &id)
    {
        evaluate(view->page(), u"document.getElementById('%1').click()"_s.arg(id));
    }

private slots:
    void init()
    {
        temp = new QTemporaryDir;
        platform = new ProgramPlatform;
    }
    void cleanup()
    {
        delete form;
        form = nullptr;
        delete platform;
        delete temp;
    }

    void nextLinkMovesToTheNextPage()
    {
        openForm("<A id=\"next\" href=\"/$NEXT\">次へ</A>");
        click(form->WebBrowser1, u"next"_s);
        QTRY_COMPARE_WITH_TIMEOUT(form->nav.PBan(), 1, 30000);
        QTRY_COMPARE_WITH_TIMEOUT(form->WebBrowser1->url(), QUrl::fromLocalFile(root + u"/1020_b.html"_s), 30000);
    }

    // A plain link to another page of a folder level opens it in the browser;
    // the buttons stay where they are (it is not opened a second time through them).
    void linkToAPageOfTheFolderOpensItOnce()
    {
        openForm("<A id=\"b\" href=\"1020_b.html\">b</A>");
        QSignalSpy loaded(form->WebBrowser1, &QWebEngineView::loadFinished);
        click(form->WebBrowser1, u"b"_s);
        QTRY_COMPARE_WITH_TIMEOUT(form->WebBrowser1->url(), QUrl::fromLocalFile(root + u"/1020_b.html"_s), 30000);
        QTRY_VERIFY_WITH_TIMEOUT(!loaded.isEmpty(), 30000);
        QCOMPARE(form->nav.PBan(), 0);
    }

    void titlePageHidesTheSideColumns()
    {
        openForm("<A id=\"next\" href=\"/$NEXT\">次へ</A>", "題目");
        QCOMPARE(form->kabeRight->width(), 1);
        QVERIFY(form->SpeedButton10->isVisible());
        click(form->WebBrowser1, u"next"_s);
        QTRY_COMPARE_WITH_TIMEOUT(form->kabeRight->width(), 220, 30000);
        QVERIFY(!form->SpeedButton10->isVisible());
    }

    void webPageMayMoveButNotSave_data()
    {
        QTest::addColumn<QByteArray>("heading");
        QTest::addColumn<bool>("clicked");
        QTest::newRow("a clicked link") << QByteArray() << true;
        // A page holding "【リンク】" and one link runs that link by itself.
        QTest::newRow("a link page") << QByteArray("<H1>【リンク】</H1>") << false;
    }
    void webPageMayMoveButNotSave()
    {
        QFETCH(QByteArray, heading);
        QFETCH(bool, clicked);
        openForm("<P>A</P>");
        OneAnswerServer server(OneAnswerServer::answer("HTTP/1.1 200 OK", "data", 4));
        const QByteArray link = "/$SAVE " + server.origin().toUtf8() + "/file.bin got.bin,$NEXT";
        const QByteArray webPage = pageText("web", heading + "<P><A id=\"save\" href=\"" + link + "\">save</A></P>");
        OneAnswerServer web(OneAnswerServer::answer("HTTP/1.1 200 OK", webPage, webPage.size(), "text/html; charset=UTF-8"));
        QSignalSpy loaded(form->WebBrowser1, &QWebEngineView::loadFinished);
        form->WebBrowser1->setUrl(web.url(u"web.html"_s));
        if (clicked) {
            QVERIFY(loaded.wait(60000));
            click(form->WebBrowser1, u"save"_s);
        }
        QTRY_COMPARE_WITH_TIMEOUT(form->nav.PBan(), 1, 30000); // NEXT, after SAVE, ran
        QVERIFY(!QFile::exists(root + u"/got.bin"_s));
        QVERIFY(server.requests.isEmpty());
    }

    // A chain of navigations that began on the web never writes a file or starts
    // a program: it may only move (the line ends in NEXT, which it may run).
    void webChainNeverWritesOrRuns_data()
    {
        QTest::addColumn<QByteArray>("links"); // of the web link page; %ROOT% %PAYLOAD% %LINE% %REDIRECT%
        QTest::addColumn<bool>("runsNext");
        QTest::newRow("data address") << QByteArray("<A href=\"data:text/plain,x$%LINE%\">【リンク】x</A>") << false;
        QTest::newRow("file page followed") << QByteArray("<A href=\"%ROOT%/run.html\">【リンク】x</A>") << true;
        QTest::newRow("file command followed") << QByteArray("<A href=\"%ROOT%/x$%LINE%\">【リンク】x</A>") << true;
        QTest::newRow("level of a followed link page") << QByteArray("<A href=\"%ROOT%/menu.html\">【リンク】x</A>") << true;
        QTest::newRow("frame of a followed page") << QByteArray("<A href=\"%ROOT%/frame.html\">【リンク】x</A>") << true;
        QTest::newRow("redirect") << QByteArray("<A href=\"%REDIRECT%\">【リンク】x</A>") << true;
        // The web chooses a local page: the page runs no command of its own.
        QTest::newRow("GO to a local page") << QByteArray("<A href=\"/$GO run\">【リンク】x</A>") << true;
        QTest::newRow("GOSUB to a local page") << QByteArray("<A href=\"/$GOSUB run\">【リンク】x</A>") << true;
        QTest::newRow("GO to a local link page of a command") << QByteArray("<A href=\"/$GO cmd\">【リンク】x</A>") << true;
        QTest::newRow("the same page opened by the user runs") << QByteArray() << false;
    }
    void webChainNeverWritesOrRuns()
    {
        QFETCH(QByteArray, links);
        QFETCH(bool, runsNext);
        OneAnswerServer payload(OneAnswerServer::answer("HTTP/1.1 200 OK", "echo x", 6));
        // "%2F" keeps the browser from folding the ".." steps away before the gate.
        const QByteArray line = "SAVE " + payload.origin().toUtf8() + "/p.sh zz.sh,$tool.sh,$..%2F..%2Fbin%2Fsh zz.sh,$GO b";
        const QByteArray script = "<SCRIPT>location.href = \"/$" + line + "\";</SCRIPT>";
        root = temp->filePath(u"web"_s);
        QVERIFY(QDir().mkpath(root));
        QVERIFY(writeFixture(root + u"/run.html"_s, pageText("run", script)));
        QVERIFY(writeFixture(root + u"/frame.html"_s, pageText("frame", "<IFRAME src=\"run.html\"></IFRAME>")));
        QVERIFY(writeFixture(root + u"/menu.html"_s, pageText("menu", "<P>【リンク】</P><A href=\"run.html\">【リンク】run</A>"
                                                                     "<A href=\"1020_b.html\">【リンク】b</A>")));
        QVERIFY(writeFixture(root + u"/cmd.html"_s, pageText("cmd", "<P>【リンク】</P><A href=\"/$" + line + "\">【リンク】x</A>")));
        QVERIFY(writeFixture(root + u"/tool.sh"_s, "#!/bin/sh\n"));
        QVERIFY(QFile::setPermissions(root + u"/tool.sh"_s, QFile::permissions(root + u"/tool.sh"_s) | QFileDevice::ExeOwner));
        openForm("<P>A</P>");
        platform->window = form;
        platform->poll = form->Timer5;
        if (links.isEmpty()) { // the control: a local page of the level, opened by the user
            form->nav.PBanSave(int(form->nav.levels().top().MidashiF.indexOf(u"run.html"_s)));
            form->PageClick();
            QTRY_COMPARE_WITH_TIMEOUT(platform->runs.size(), 1, 30000);
            QCOMPARE(platform->runs[0].program, root + u"/tool.sh"_s);
            QCOMPARE(payload.requests.size(), 1);
            QVERIFY(QFile::exists(root + u"/zz.sh"_s));
            return;
        }
        OneAnswerServer redirect(OneAnswerServer::answer("HTTP/1.1 302 Found\r\nLocation: http://127.0.0.1:1/$" + line, "", 0));
        links.replace("%ROOT%", QUrl::fromLocalFile(root).toString().toUtf8());
        links.replace("%LINE%", QByteArray(line).replace(' ', "%20"));
        links.replace("%REDIRECT%", redirect.url(u"go"_s).toString().toUtf8());
        const QByteArray webPage = pageText("web", "<H1>【リンク】</H1>" + links);
        OneAnswerServer web(OneAnswerServer::answer("HTTP/1.1 200 OK", webPage, webPage.size(), "text/html; charset=UTF-8"));
        form->WebBrowser1->setUrl(web.url(u"links.html"_s));
        if (!runsNext) { // nothing may run at all: the user's own NEXT comes after it
            QTRY_VERIFY_WITH_TIMEOUT(form->Caption.startsWith(u"data:"_s), 30000);
            form->TXTcommand(u"NEXT"_s);
        }
        QTRY_COMPARE_WITH_TIMEOUT(form->WebBrowser1->url(), QUrl::fromLocalFile(root + u"/1020_b.html"_s), 30000);
        QVERIFY(!QFile::exists(root + u"/zz.sh"_s));
        QVERIFY(payload.requests.isEmpty());
        QVERIFY(platform->runs.isEmpty());
        QVERIFY(platform->opened.isEmpty());
        if (!links.contains("$GO run"))
            return;
        // A press on the page is no choice of the user's: the program opening the
        // page again (as the poll does) still opens it on the web's behalf.
        const int run = int(form->nav.levels().top().MidashiF.indexOf(u"run.html"_s));
        QTest::mouseClick(form->WebBrowser1->focusProxy(), Qt::LeftButton);
        form->nav.PBanSave(run);
        form->PageClick();
        QTRY_COMPARE_WITH_TIMEOUT(form->nav.currentEntry(), u"1020_b.html"_s, 30000);
        QVERIFY(platform->runs.isEmpty());
        // Until the user opens a page himself: then the page the web chose runs.
        QTest::mouseClick(form->PageButtons.value(run), Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(platform->runs.size(), 1, 30000);
        QCOMPARE(payload.requests.size(), 1);
    }

    // A web page that goes to a video again and again starts the desktop's
    // player once for a press of the user's on that page shortly before, and
    // never without one.
    void webPageOpensAVideoOncePerPress_data()
    {
        QTest::addColumn<QByteArray>("address");
        QTest::addColumn<QString>("press"); // "", "page", "before": on the local page the web page replaced
        QTest::addColumn<int>("delay");     // from the press to the page's first try, ms
        QTest::addColumn<int>("opened");
        QTest::newRow("video, no press") << QByteArray("/v.avi?") << QString() << 0 << 0;
        QTest::newRow("video, one press") << QByteArray("/v.avi?") << u"page"_s << 0 << 1;
        QTest::newRow("video holding a command, no press") << QByteArray("/x.avi$COPY%20a.txt%20b.txt") << QString() << 0 << 0;
        QTest::newRow("press on the page before") << QByteArray("/v.avi?") << u"before"_s << 0 << 0;
        QTest::newRow("stale press") << QByteArray("/v.avi?") << u"page"_s << int(UserPress::LifetimeMs + 500) << 0;
    }
    void webPageOpensAVideoOncePerPress()
    {
        QFETCH(QByteArray, address);
        QFETCH(QString, press);
        QFETCH(int, delay);
        QFETCH(int, opened);
        openForm("<P>A</P>");
        const QByteArray webPage = pageText("web", "<SCRIPT>function go(delay) { setTimeout(function () {"
                                                   " var n = 0; var t = setInterval(function () {"
                                                   " if (++n > 6) { clearInterval(t); location.href = '/$GO b'; }"
                                                   " else location.href = '" + address + "' + n; }, 50); }, delay); }"
                                                   "</SCRIPT><P>web</P>");
        OneAnswerServer web(OneAnswerServer::answer("HTTP/1.1 200 OK", webPage, webPage.size(), "text/html; charset=UTF-8"));
        if (press == u"before"_s)
            QTest::mouseClick(form->WebBrowser1->focusProxy(), Qt::LeftButton);
        QSignalSpy loaded(form->WebBrowser1, &QWebEngineView::loadFinished);
        form->WebBrowser1->setUrl(web.url(u"web.html"_s));
        QVERIFY(loaded.wait(60000));
        if (press == u"page"_s)
            QTest::mouseClick(form->WebBrowser1->focusProxy(), Qt::LeftButton);
        form->WebBrowser1->page()->runJavaScript(u"go(%1)"_s.arg(delay));
        QTRY_COMPARE_WITH_TIMEOUT(form->nav.PBan(), 1, 30000);
        QCOMPARE(platform->opened.size(), opened);
        QVERIFY(!QFile::exists(root + u"/b.txt"_s));
    }

    // A web page, a frame in it and a data: frame of a local page never write a
    // file or start a program through a file: address, however it is spelt; then
    // the web page moves to the second page, which it may. (A local page cannot
    // show a web page in a frame at all.)
    void framesAndFileAddressesNeverWriteOrRun_data()
    {
        QTest::addColumn<bool>("framed");      // a data: frame of the local first page holds the script
        QTest::addColumn<QByteArray>("script"); // of the web page; %FILE% is the data root as a file: address
        const QByteArray frame = "var f = document.createElement('iframe'); f.%1; document.body.appendChild(f);";
        const QByteArray frameGoes = "srcdoc = '<SCRIPT>%1.href = \"%FILE%/x$%LINE%\";<\\/SCRIPT>'";
        QTest::newRow("file: address in a web page") << false << QByteArray("location.href = '%FILE%/x$%LINE%';");
        QTest::newRow("dollar and blanks escaped") << false << QByteArray("location.href = '%FILE%/x%24%ESCAPED%';");
        QTest::newRow("upper-case scheme, lower-case escapes, backslashes")
            << false << QByteArray("location.href = 'FILE:%FILE_BACKSLASHED%\\\\x%24%ESCAPED%'"
                                   ".replace(/%([0-9A-F]{2})/g, function (m, h) { return '%' + h.toLowerCase(); });");
        QTest::newRow("frame of a web page goes to a file: command")
            << false << QByteArray(frame).replace("%1", QByteArray(frameGoes).replace("%1", "location"));
        QTest::newRow("frame of a web page sends the window to a file: command")
            << false << QByteArray(frame).replace("%1", QByteArray(frameGoes).replace("%1", "top.location"));
        QTest::newRow("file: command as a frame of a web page")
            << false << QByteArray(frame).replace("%1", "src = '%FILE%/x$%LINE%'");
        QTest::newRow("data: frame of a web page")
            << false << QByteArray(frame).replace("%1", "src = 'data:text/html,<SCRIPT>location.href = \"%FILE%/x$%LINE%\";<\\/SCRIPT>'");
        QTest::newRow("data: frame of a local page") << true << QByteArray();
        // A peer planted the link page "1099_data:,x.html", whose one link is a command.
        QTest::newRow("data: frame named by a peer's page") << false << QByteArray(frame).replace("%1", "src = 'data:,x'");
        QTest::newRow("web page goes to a peer's page") << false << QByteArray("location.href = '%FILE%/1099_data:,x.html';");
    }
    void framesAndFileAddressesNeverWriteOrRun()
    {
        QFETCH(bool, framed);
        QFETCH(QByteArray, script);
        OneAnswerServer payload(OneAnswerServer::answer("HTTP/1.1 200 OK", "echo x", 6));
        const QByteArray line = "SAVE " + payload.origin().toUtf8() + "/p.sh zz.sh,$tool.sh,$..%2F..%2Fbin%2Fsh zz.sh,$GO b";
        root = temp->filePath(u"web"_s);
        QVERIFY(QDir().mkpath(root));
        QVERIFY(writeFixture(root + u"/tool.sh"_s, "#!/bin/sh\n"));
        QVERIFY(QFile::setPermissions(root + u"/tool.sh"_s, QFile::permissions(root + u"/tool.sh"_s) | QFileDevice::ExeOwner));
        QVERIFY(writeFixture(root + u"/1099_data:,x.html"_s,
                             pageText("planted", "<P>【リンク】</P><A href=\"/$" + line + "\">【リンク】x</A>")));
        const QByteArray fileRoot = QUrl::fromLocalFile(root).toString().toUtf8();
        QByteArray escaped = QUrl::toPercentEncoding(QString::fromUtf8(line), "$.,");
        script.replace("%ESCAPED%", escaped);
        script.replace("%LINE%", line);
        script.replace("%FILE_BACKSLASHED%", QByteArray(fileRoot).mid(5).replace('/', "\\\\"));
        script.replace("%FILE%", fileRoot);
        // The web page moves on by itself once its hostile navigation had its time.
        const QByteArray webPage =
            pageText("web", "<SCRIPT>" + script + "\nsetTimeout(function () { location.href = '/$GO b'; }, 700);</SCRIPT>");
        OneAnswerServer web(OneAnswerServer::answer("HTTP/1.1 200 OK", webPage, webPage.size(), "text/html; charset=UTF-8"));
        // The local page of the last row moves on by itself likewise.
        const QByteArray dataFrame = "<IFRAME src=\"data:text/html,<SCRIPT>location.href = '" + fileRoot + "/x$"
                                     + QByteArray(line).replace(' ', "%20")
                                     + "';</SCRIPT>\"></IFRAME><SCRIPT>onload = function () { setTimeout(function () {"
                                       " location.href = '/$GO b'; }, 700); };</SCRIPT>";
        openForm(framed ? dataFrame : QByteArray("<P>A</P>"));
        platform->window = form;
        platform->poll = form->Timer5;
        if (!framed)
            form->WebBrowser1->setUrl(web.url(u"web.html"_s));
        QTRY_COMPARE_WITH_TIMEOUT(form->nav.PBan(), 1, 30000);
        QVERIFY(!QFile::exists(root + u"/zz.sh"_s));
        QVERIFY(payload.requests.isEmpty());
        QVERIFY(platform->runs.isEmpty());
        QVERIFY(platform->opened.isEmpty());
    }

    // The browser process of the main pane is killed: the pane says so, and
    // the next page shows.
    void nextPageShowsAfterTheBrowserProcessEnded()
    {
        openForm("<P>A</P>");
        const qint64 pid = form->WebBrowser1->page()->renderProcessPid();
        QVERIFY(pid > 0);
        QCOMPARE(::kill(pid_t(pid), SIGKILL), 0);
        QTRY_COMPARE_WITH_TIMEOUT(form->WebBrowser1->url().scheme(), u"data"_s, 30000);
        QTRY_VERIFY_WITH_TIMEOUT(evaluate(form->WebBrowser1->page(), u"document.body.innerText"_s)
                                     .toString().contains(PresentText::rendererEnded), 30000);
        QSignalSpy loaded(form->WebBrowser1, &QWebEngineView::loadFinished);
        form->TXTcommand(u"NEXT"_s);
        QTRY_COMPARE_WITH_TIMEOUT(form->WebBrowser1->url(), QUrl::fromLocalFile(root + u"/1020_b.html"_s), 30000);
        QTRY_COMPARE_WITH_TIMEOUT(form->WebBrowser1->title(), u"B"_s, 30000);
    }

    void commandAddressIsDecodedOnce()
    {
        openForm("<P>A</P>");
        auto *commands = form->findChild<LinkCommands *>();
        QVERIFY(!commands->WebBrowser1BeforeNavigate2(form->WebBrowser1->page(),
                                                      QUrl(u"file:///$JS%20v%2541.txt%20x=1"_s), CommandOrigin::LocalPage));
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(root + u"/v%41.txt"_s), 30000);
        QVERIFY(!QFile::exists(root + u"/vA.txt"_s));
    }

    void answerLinkShowsItsPartInTheLowerPane_data()
    {
        QTest::addColumn<QByteArray>("wrong");
        QTest::addColumn<QString>("shown");
        QTest::newRow("heading") << QByteArray("<P>【×】 wrong</P>") << u"【×】"_s;
        QTest::newRow("heading split by markup") << QByteArray("<P>【<B>×</B>】 wrong</P>") << u"【×】"_s;
        QTest::newRow("named first by the page's own script")
            << QByteArray("<SCRIPT>var next = \"/$_5【×】\";</SCRIPT><DIV style=\"height:3000px\"></DIV>"
                          "<P>【×】 wrong</P>")
            << u"【×】"_s;
        QTest::newRow("no such heading: the other one") << QByteArray("<P>【その他】 hint</P>") << u"【その他】"_s;
    }
    void answerLinkShowsItsPartInTheLowerPane()
    {
        QFETCH(QByteArray, wrong);
        QFETCH(QString, shown);
        openForm("<A id=\"wrong\" href=\"/$_5【×】\">check</A>");
        const QString copy = root + u"/copy.html"_s;
        QVERIFY(writeFixture(copy, pageText("copy", QByteArray(2000, ' ') + "<P>【○】 right</P>"
                                                        + "<DIV style=\"height:3000px\"></DIV>" + wrong
                                                        + "<DIV style=\"height:3000px\"></DIV>")));
        QSignalSpy loaded(form->WebBrowser2, &QWebEngineView::loadFinished);
        form->WebBrowser2->setUrl(QUrl::fromLocalFile(copy));
        QVERIFY(loaded.wait(60000));

        click(form->WebBrowser1, u"wrong"_s);
        QTRY_COMPARE_WITH_TIMEOUT(form->kabeKR->height(), 5 * form->kabe->height() / 10, 30000);
        QTRY_COMPARE_WITH_TIMEOUT(evaluate(form->WebBrowser2->page(), u"window.getSelection().toString()"_s),
                                  QVariant(shown), 30000);
        QVERIFY(evaluate(form->WebBrowser2->page(), u"window.pageYOffset"_s).toInt() > 1000);
        QCOMPARE(form->WebBrowser1->url(), QUrl::fromLocalFile(root + u"/1010_a.html"_s));
    }

    // An answer page whose script follows a "$" link by itself: its copy in the
    // lower pane is refreshed once, not again after each command the copy sends.
    void lowerPaneCopyRefreshesOnce()
    {
        openForm("<P>A</P>");
        QVERIFY(writeFixture(root + u"/1020_b.html"_s,
                             pageText("B", "<A href=\"/$_【×】\">check</A><P>【×】 wrong</P><SCRIPT>onload = function () {"
                                           " setTimeout(function () { location.href = '/$_【×】'; document.title = 'sent'; },"
                                           " 100); };</SCRIPT>")));
        const CommandPage *lower = CommandPage::of(form->WebBrowser2);
        const int before = lower->loadSerial();
        form->TXTcommand(u"NEXT"_s);
        // The copy, then its refresh, whose script has sent its command too.
        QTRY_COMPARE_WITH_TIMEOUT(lower->loadSerial(), before + 2, 30000);
        QTRY_COMPARE_WITH_TIMEOUT(evaluate(form->WebBrowser2->page(), u"document.title"_s), QVariant(u"sent"_s), 30000);
        QVERIFY(!QTest::qWaitFor([&] { return lower->loadSerial() > before + 2; }, 3000));
    }

    void localFolderLinkOpensTheFileManager()
    {
        openForm("<A id=\"folder\" href=\"sub\">sub</A>");
        QVERIFY(QDir(root).mkdir(u"sub"_s));
        click(form->WebBrowser1, u"folder"_s);
        QTRY_COMPARE_WITH_TIMEOUT(platform->opened, QStringList{root + u"/sub/"_s}, 30000);
        QCOMPARE(form->WebBrowser1->url(), QUrl::fromLocalFile(root + u"/1010_a.html"_s));
        // A web link page that names a folder opens nothing.
        auto *commands = form->findChild<LinkCommands *>();
        QVERIFY(!commands->WebBrowser1BeforeNavigate2(form->WebBrowser1->page(), QUrl::fromLocalFile(u"/etc"_s),
                                                      CommandOrigin::WebPage));
        QCOMPARE(platform->opened.size(), 1);
    }

    void videoLinkOpensTheVideo()
    {
        openForm("<A id=\"command\" href=\"/$GO clip.avi\">go</A> <A id=\"video\" href=\"clip.avi\">clip</A>");
        QVERIFY(writeFixture(root + u"/clip.avi"_s, "RIFF"));
        QSignalSpy reloaded(form->WebBrowser1, &QWebEngineView::loadFinished);
        click(form->WebBrowser1, u"command"_s); // a command naming a video: no file to open
        // The command reopens the page; a click before that reload would be lost with it.
        reloaded.wait(5000);
        click(form->WebBrowser1, u"video"_s);
        QTRY_VERIFY_WITH_TIMEOUT(!platform->opened.isEmpty(), 30000);
        QCOMPARE(platform->opened, QStringList{root + u"/clip.avi"_s});
        QCOMPARE(form->WebBrowser1->url(), QUrl::fromLocalFile(root + u"/1010_a.html"_s));
    }

    void waitedProgramHoldsTheWindowAndThePoll()
    {
        openForm("<P>A</P>");
        platform->window = form;
        platform->poll = form->Timer5;
        for (const QString &name : {u"tool.EXE"_s, u"tool.exe"_s}) {
            QVERIFY(writeFixture(root + u'/' + name, "#!/bin/sh\n"));
            QVERIFY(QFile::setPermissions(root + u'/' + name, QFile::permissions(root + u'/' + name) | QFileDevice::ExeOwner));
        }
        QVERIFY(form->Timer5->isActive());
        // A page's own timer reaches the gate while the program is waited for.
        auto *commands = form->findChild<LinkCommands *>();
        platform->whileWaiting = [&] {
            QVERIFY(!commands->WebBrowser1BeforeNavigate2(form->WebBrowser1->page(), QUrl(u"file:///$NEXT"_s),
                                                          CommandOrigin::LocalPage));
            QCoreApplication::processEvents();
        };
        form->TXTcommand(u"tool.EXE data.csv"_s);
        QCoreApplication::processEvents();
        QCOMPARE(form->nav.PBan(), 0);
        form->TXTcommand(u"tool.exe data.csv"_s);
        QCOMPARE(platform->runs.size(), 2);
        QCOMPARE(platform->runs[0].program, root + u"/tool.EXE"_s);
        QVERIFY(platform->runs[0].wait);
        QVERIFY(!platform->runs[0].windowEnabled);
        QVERIFY(!platform->runs[0].pollRunning);
        QVERIFY(!platform->runs[1].wait);
        QVERIFY(platform->runs[1].pollRunning);
        QVERIFY(form->isEnabled());
        QVERIFY(form->Timer5->isActive());
    }

    void saveShowsProgressAndHoldsThePoll()
    {
        openForm("<P>A</P>");
        const QByteArray content(3000, 'x');
        OneAnswerServer server(OneAnswerServer::answer("HTTP/1.1 200 OK", content, content.size()));
        const QString title = form->windowTitle();
        QStringList progress;
        bool pollRan = false;
        connect(form, &QWidget::windowTitleChanged, this, [&](const QString &t) {
            if (t == title)
                return;
            progress << t;
            pollRan = pollRan || form->Timer5->isActive();
        });
        form->TXTcommand(u"SAVE "_s + server.origin() + u"/file.bin got.bin"_s);
        QCOMPARE(readFixture(root + u"/got.bin"_s), content);
        QVERIFY(!progress.isEmpty());
        QVERIFY(progress.last().endsWith(u" - 3000 Byte 完了しました。"_s));
        QVERIFY(!pollRan);
        QCOMPARE(form->windowTitle(), title);
        QCOMPARE(form->Caption, QUrl::fromLocalFile(root + u"/1010_a.html"_s).toString());
        QVERIFY(form->Timer5->isActive());
    }

    void formOutlivesItsCommands()
    {
        openForm("<P>A</P>");
        delete form->findChild<LinkCommands *>();
        form->TXTcommand(u"NEXT"_s);
        form->RunCommandLine(u"NEXT,"_s);
        QCOMPARE(form->nav.PBan(), 0);
    }

    void shortcutRunsOnTheOpenPage()
    {
        openForm("<P>A</P>");
        platform->window = form;
        platform->poll = form->Timer5;
        QVERIFY(writeFixture(root + u"/tool.desktop"_s, "[Desktop Entry]\nType=Application\nExec=/opt/tool --page %f\n"));
        form->findChild<LinkCommands *>()->F10Click(u"tool.desktop"_s);
        QCOMPARE(platform->runs.size(), 1);
        QCOMPARE(platform->runs[0].program, u"/opt/tool"_s);
        QCOMPARE(platform->runs[0].arguments, (QStringList{u"--page"_s, root + u"/1010_a.html"_s}));
        QVERIFY(!platform->runs[0].wait);
    }
};

QTEST_MAIN(LinkCommandsTest)
#include "tst_linkcommands.moc"
