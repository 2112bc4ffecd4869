#include "core/navigation/testfiles.h"
#include "core/present/fakepoll.h"
#include "core/present/largepictures.h"
#include "core/present/marker.h"
#include "core/present/presentstrings.h"
#include "ui/app/pagescript.h"
#include "core/present/updatepoll.h"
#include "ui/present/pollglyphs.h"
#include "ui/present/tform14.h"

#include <QApplication>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QWebEngineLoadingInfo>
#include <QWebEnginePage>
#include <QWebEngineView>

#include <signal.h>

using namespace Qt::StringLiterals;

static void writePage(const QString &path, const QString &title, const QDateTime &time)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(u"<html><head><title>%1</title></head><body>%1</body></html>"_s.arg(title).toUtf8());
    file.flush();
    QVERIFY(file.setFileTime(time, QFileDevice::FileModificationTime));
}

static QString plainText(QWebEnginePage *page)
{
    QString text;
    bool done = false;
    page->toPlainText([&](const QString &t) {
        text = t;
        done = true;
    });
    if (!QTest::qWaitFor([&] { return done; }, 30000))
        qWarning("the page did not answer");
    return text;
}

// A viewer and the poll that shows in it what the data root home presents.
struct Presentation
{
    explicit Presentation(const QString &home)
    {
        host.home = home;
        poll.setViewer(&viewer);
    }
    QTimer timer;
    FakeHost host;
    TForm14 viewer;
    UpdatePoll poll{timer, host};
};

class TForm14Test : public QObject
{
    Q_OBJECT
private slots:
    void staysOnTopWithOneBrowser()
    {
        TForm14 viewer;
        QVERIFY(viewer.windowFlags() & Qt::WindowStaysOnTopHint);
        QCOMPARE(viewer.objectName(), u"Form14"_s);
        QCOMPARE(viewer.findChild<QWebEngineView *>(u"WebBrowser1"_s), viewer.WebBrowser1);
    }

    void takesThePageAreaSizeAtTheTopLeft()
    {
        QWidget kabe;
        kabe.resize(700, 500);
        TForm14 viewer;
        viewer.setSizeReference(&kabe);
        QCOMPARE(viewer.Tag, 0);
        viewer.showViewer();
        QCOMPARE(viewer.Tag, 1);
        QCOMPARE(viewer.size(), QSize(700, 490));
        QCOMPARE(viewer.pos(), QPoint(0, 0));
    }

    void onlyTheUsersCloseEndsThePresentation()
    {
        TForm14 viewer;
        QSignalSpy userClosed(&viewer, &TForm14::closedByUser);
        viewer.showViewer();
        viewer.closeViewer();
        QCOMPARE(viewer.Tag, 0);
        QCOMPARE(userClosed.count(), 0);
        viewer.showViewer();
        viewer.close();
        QCOMPARE(viewer.Tag, 0);
        QCOMPARE(userClosed.count(), 1);
    }

    void showsThePresentedPageAndFollowsItsChanges()
    {
        QTemporaryDir dir;
        const QString page = dir.filePath(u"p.html"_s);
        writePage(page, u"一枚目"_s, QDateTime(QDate(2024, 1, 1), QTime(8, 0)));
        QVERIFY(writePresentationMarker(dir.path(), page));

        Presentation presentation(dir.path());
        TForm14 &viewer = presentation.viewer;
        UpdatePoll &poll = presentation.poll;
        connect(&viewer, &TForm14::closedByUser, &poll, &UpdatePoll::viewerClosedByUser);

        poll.tick();
        QVERIFY(viewer.isVisible());
        QCOMPARE(viewer.windowTitle(), page);
        // A first page load may take long on a busy machine.
        QTRY_COMPARE_WITH_TIMEOUT(viewer.WebBrowser1->title(), u"一枚目"_s, 30000);

        writePage(page, u"二枚目"_s, QDateTime(QDate(2024, 1, 1), QTime(8, 1)));
        poll.tick();
        QTRY_COMPARE_WITH_TIMEOUT(viewer.WebBrowser1->title(), u"二枚目"_s, 30000);

        // Closing it by hand ends the presentation for every copy.
        viewer.close();
        QVERIFY(!QFile::exists(presentationMarkerPath(dir.path())));
        poll.tick();
        QVERIFY(!viewer.isVisible());
    }

    // Another PC presents a page too large for the browser: every viewer shows
    // its name and size instead.
    void tooLargePresentedPageShowsItsNameAndSize()
    {
        QTemporaryDir dir;
        const QString page = dir.filePath(u"big.html"_s);
        writePage(page, u"big"_s, QDateTime(QDate(2024, 1, 1), QTime(8, 0)));
        const qint64 size = qint64(300) << 20;
        QVERIFY(QFile(page).resize(size)); // a hole: it costs no disk
        QVERIFY(writePresentationMarker(dir.path(), page));

        Presentation presentation(dir.path());
        const TForm14 &viewer = presentation.viewer;
        presentation.poll.tick();
        QVERIFY(viewer.isVisible());
        QTRY_VERIFY_WITH_TIMEOUT(plainText(viewer.WebBrowser1->page()).contains(u"big.html"_s), 30000);
        QVERIFY(plainText(viewer.WebBrowser1->page()).contains(QString::number(size)));
        QVERIFY(viewer.WebBrowser1->url() != QUrl::fromLocalFile(page));
    }

    // Another PC presents a picture too large to decode, or an SVG: every
    // viewer shows its name (and size) instead, and decodes nothing.
    void presentedPictureOverTheBoundShowsItsName_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("text"); // shown in its place; none: the picture is shown
        QTest::newRow("PNG") << u"big.png"_s << u"large"_s << u"8200 × 8200"_s;
        QTest::newRow("GIF") << u"big.gif"_s << u"gif"_s << u"20000 × 20000"_s;
        QTest::newRow("SVG") << u"drawing.svg"_s << u"svg"_s << PresentText::vectorPictureNotShown;
        QTest::newRow("small picture") << u"small.png"_s << u"small"_s << QString();
    }
    void presentedPictureOverTheBoundShowsItsName()
    {
        QFETCH(QString, name);
        QFETCH(QString, kind);
        QFETCH(QString, text);
        QTemporaryDir dir;
        const QString picture = dir.filePath(name);
        QVERIFY(writePicture(picture, kind));
        QVERIFY(writePresentationMarker(dir.path(), picture));

        Presentation presentation(dir.path());
        const TForm14 &viewer = presentation.viewer;
        presentation.poll.tick();
        if (text.isEmpty()) {
            QTRY_COMPARE_WITH_TIMEOUT(viewer.WebBrowser1->url(), QUrl::fromLocalFile(picture), 30000);
            return;
        }
        QTRY_VERIFY_WITH_TIMEOUT(plainText(viewer.WebBrowser1->page()).contains(name), 30000);
        QVERIFY(plainText(viewer.WebBrowser1->page()).contains(text));
        QVERIFY(viewer.WebBrowser1->url() != QUrl::fromLocalFile(picture));
    }

    // A presented page names pictures too large to decode: the browser never
    // gets them, whatever their names; the others show.
    void presentedPageFetchesNoPictureOverTheBound()
    {
        QTemporaryDir dir;
        QVERIFY(writePicture(dir.filePath(u"big.png"_s), u"large"_s));
        QVERIFY(writePicture(dir.filePath(u"big.txt"_s), u"large"_s));
        QVERIFY(writePicture(dir.filePath(u"big.gif"_s), u"gif"_s));
        QVERIFY(writePicture(dir.filePath(u"small.png"_s), u"small"_s));
        const QString page = dir.filePath(u"pictures.html"_s);
        QVERIFY(writeFixture(page, "<html><head><title>pictures</title></head><body><img src=\"big.png\">"
                                   "<img src=\"big.txt\"><img src=\"big.gif\"><img src=\"small.png\"></body></html>"));
        QVERIFY(writePresentationMarker(dir.path(), page));

        Presentation presentation(dir.path());
        QWebEnginePage *shown = presentation.viewer.WebBrowser1->page();
        presentation.poll.tick();
        QTRY_COMPARE_WITH_TIMEOUT(presentation.viewer.WebBrowser1->title(), u"pictures"_s, 30000);
        const QString state = u"Array.from(document.images).map(function (i) {"
                              " return i.complete ? String(i.naturalWidth) : 'loading'; }).join(' ')"_s;
        QTRY_COMPARE_WITH_TIMEOUT(evaluate(shown, state).toString(), u"0 0 0 10"_s, 30000);
    }

    // The viewer's browser process is killed (or runs out of memory): the
    // viewer says so, and the next presented page shows.
    void viewerSurvivesItsBrowserProcessEnding()
    {
        QTemporaryDir dir;
        const QString first = dir.filePath(u"p.html"_s);
        writePage(first, u"一枚目"_s, QDateTime(QDate(2024, 1, 1), QTime(8, 0)));
        QVERIFY(writePresentationMarker(dir.path(), first));
        Presentation presentation(dir.path());
        const TForm14 &viewer = presentation.viewer;
        presentation.poll.tick();
        QTRY_COMPARE_WITH_TIMEOUT(viewer.WebBrowser1->title(), u"一枚目"_s, 30000);

        const qint64 pid = viewer.WebBrowser1->page()->renderProcessPid();
        QVERIFY(pid > 0);
        QCOMPARE(::kill(pid_t(pid), SIGKILL), 0);
        // A pane whose process ended answers no script: the text is a new document.
        QTRY_COMPARE_WITH_TIMEOUT(viewer.WebBrowser1->url().scheme(), u"data"_s, 30000);
        QTRY_VERIFY_WITH_TIMEOUT(plainText(viewer.WebBrowser1->page()).contains(PresentText::rendererEnded), 30000);

        const QString second = dir.filePath(u"q.html"_s);
        writePage(second, u"二枚目"_s, QDateTime(QDate(2024, 1, 1), QTime(8, 0)));
        QVERIFY(writePresentationMarker(dir.path(), second));
        presentation.poll.tick();
        QTRY_COMPARE_WITH_TIMEOUT(viewer.WebBrowser1->title(), u"二枚目"_s, 30000);
        QCOMPARE(plainText(viewer.WebBrowser1->page()), u"二枚目"_s);
    }

    // A click in the presented page: a command link (LOOK's keyword links
    // among them) or a name that names nothing does nothing, a web address that
    // answers nothing gives the presented page back, a page named in another
    // case opens; an ordinary link opens. No error page is ever shown.
    void clickInThePresentedPageNeverShowsAnErrorPage_data()
    {
        QTest::addColumn<QString>("href");
        QTest::addColumn<QString>("shown"); // the file shown after the click
        QTest::newRow("keyword link") << u"/$LOOK 三角形"_s << u"p.html"_s;
        QTest::newRow("command link") << u"/$NEXT"_s << u"p.html"_s;
        QTest::newRow("page that is gone") << u"gone.html"_s << u"p.html"_s;
        QTest::newRow("page leading out of the data root") << u"out.html"_s << u"p.html"_s;
        QTest::newRow("web address answering nothing") << u"http://127.0.0.1:1/x.html"_s << u"p.html"_s;
        QTest::newRow("ordinary link") << u"other.html"_s << u"other.html"_s;
        QTest::newRow("link written in another case") << u"OTHER.HTML"_s << u"other.html"_s;
    }
    void clickInThePresentedPageNeverShowsAnErrorPage()
    {
        QFETCH(QString, href);
        QFETCH(QString, shown);
        QTemporaryDir dir;
        const QString page = dir.filePath(u"p.html"_s);
        QVERIFY(writeFixture(page, u"<html><head><title>p.html</title></head><body>"
                                   "<a id=\"link\" href=\"%1\">x</a></body></html>"_s.arg(href).toUtf8()));
        QVERIFY(writeFixture(dir.filePath(u"other.html"_s), "<html><head><title>other.html</title></head></html>"));
        QTemporaryDir outside;
        QVERIFY(writeFixture(outside.filePath(u"secret.html"_s), "<html><head><title>secret</title></head></html>"));
        QVERIFY(QFile::link(outside.filePath(u"secret.html"_s), dir.filePath(u"out.html"_s)));
        QVERIFY(writePresentationMarker(dir.path(), page));
        Presentation presentation(dir.path());
        TForm14 &viewer = presentation.viewer;
        viewer.setHomeDir(dir.path());
        presentation.poll.tick();
        QTRY_COMPARE_WITH_TIMEOUT(viewer.WebBrowser1->title(), u"p.html"_s, 30000);

        QWebEnginePage *browser = viewer.WebBrowser1->page();
        QStringList errorPages;
        bool clickEnded = false;
        connect(browser, &QWebEnginePage::loadingChanged, this, [&](const QWebEngineLoadingInfo &info) {
            if (info.isErrorPage())
                errorPages << info.url().toString();
            if (info.status() != QWebEngineLoadingInfo::LoadStartedStatus && info.url() != QUrl::fromLocalFile(page))
                clickEnded = true;
        });
        evaluate(browser, u"document.getElementById('link').click()"_s);
        QTRY_VERIFY_WITH_TIMEOUT(clickEnded, 30000);
        QTRY_COMPARE_WITH_TIMEOUT(viewer.WebBrowser1->url(), QUrl::fromLocalFile(dir.filePath(shown)), 30000);
        QTRY_COMPARE_WITH_TIMEOUT(viewer.WebBrowser1->title(), shown, 30000);
        QCOMPARE(errorPages, QStringList());
    }

    void updateButtonShowsCaptionAndPicture()
    {
        QToolButton button;
        applyPollLook(&button, PollLooks::forStamp(FileStamp::Unusable));
        QCOMPARE(button.text(), u"チェック不可"_s);
        QVERIFY(!button.icon().isNull());
        QCOMPARE(button.iconSize(), QSize(32, 32));
    }
};

QTEST_MAIN(TForm14Test)
#include "tst_tform14.moc"
