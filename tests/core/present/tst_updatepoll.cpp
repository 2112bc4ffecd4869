#include "core/present/fakepoll.h"
#include "core/present/marker.h"
#include "core/present/presentstrings.h"
#include "core/present/updatepoll.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <stdexcept>

using namespace Qt::StringLiterals;

static void writeFile(const QString &path, const QDateTime &time = {})
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("<html></html>");
    file.flush();
    if (time.isValid())
        QVERIFY(file.setFileTime(time, QFileDevice::FileModificationTime));
}

class UpdatePollTest : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;
    QString m_home;
    QTimer *m_timer = nullptr;
    FakeHost *m_host = nullptr;
    FakeViewer *m_viewer = nullptr;
    UpdatePoll *m_poll = nullptr;

    QString marker() const { return presentationMarkerPath(m_home); }

private slots:
    void init()
    {
        m_home = m_dir.filePath(u"kavuno_data"_s);
        QDir(m_home).removeRecursively();
        QVERIFY(QDir().mkpath(m_home));
        m_timer = new QTimer;
        m_host = new FakeHost;
        m_host->home = m_home;
        m_viewer = new FakeViewer;
        m_poll = new UpdatePoll(*m_timer, *m_host);
        m_poll->setViewer(m_viewer);
    }
    void cleanup()
    {
        delete m_poll;
        delete m_viewer;
        delete m_host;
        delete m_timer;
    }

    void startsWithOneSecondThenTicksEverySix()
    {
        m_poll->start();
        QVERIFY(m_timer->isActive());
        QCOMPARE(m_timer->interval(), 1000);
        m_poll->tick();
        QVERIFY(m_timer->isActive());
        QCOMPARE(m_timer->interval(), 6000);
        QCOMPARE(m_host->look, (PollLook{PresentText::running, PollGlyph::Image16}));
    }

    void presentWritesTheMarkerAndResumes()
    {
        writeFile(m_home + u"/p.html"_s);
        m_host->presentable = m_home + u"/p.html"_s;
        m_poll->present();
        QCOMPARE(readPresentationMarker(m_home).path, QString(m_home + u"/p.html"_s).replace(u'/', u'\\'));
        QVERIFY(m_host->stopEnabled);
        QVERIFY(m_timer->isActive());
        QCOMPARE(m_host->look, (PollLook{PresentText::resumed, PollGlyph::Image14}));
    }

    void presentingNothingKeepsAnEarlierMarker_data()
    {
        QTest::addColumn<QString>("presentable");
        QTest::newRow("web page") << QString();
        QTest::newRow("vanished file") << u"/nowhere/p.html"_s;
    }
    void presentingNothingKeepsAnEarlierMarker()
    {
        QFETCH(QString, presentable);
        QVERIFY(writePresentationMarker(m_home, u"C:\\k\\old.html"_s));
        m_host->presentable = presentable;
        m_poll->present();
        QCOMPARE(readPresentationMarker(m_home).path, u"C:\\k\\old.html"_s);
        QVERIFY(m_timer->isActive());
    }

    void stopDeletesTheMarker()
    {
        QVERIFY(writePresentationMarker(m_home, u"/k/p.html"_s));
        m_host->stopEnabled = true;
        m_poll->stopPresenting();
        QVERIFY(!QFile::exists(marker()));
        QCOMPARE(m_host->log, QStringList{u"stopped"_s});
        QVERIFY(!m_host->stopEnabled);
        QVERIFY(m_timer->isActive());
        // Stopping again: nothing to delete, the drawing buttons stay.
        m_poll->stopPresenting();
        QCOMPARE(m_host->log, QStringList{u"stopped"_s});
    }

    void toggleSwitchesOffAndOn()
    {
        m_poll->start();
        m_poll->toggle();
        QVERIFY(!m_timer->isActive());
        QCOMPARE(m_host->look, (PollLook{PresentText::switchedOff, PollGlyph::Image12}));
        m_poll->toggle();
        QVERIFY(m_timer->isActive());
        QCOMPARE(m_host->look, (PollLook{PresentText::resumed, PollGlyph::Image14}));
    }

    void pauseResumesOnEveryWayOut()
    {
        m_poll->start();
        try {
            PollPause pause(*m_poll);
            QVERIFY(!m_timer->isActive());
            QCOMPARE(m_host->look, (PollLook{PresentText::paused, PollGlyph::Image12}));
            throw std::runtime_error("operation failed");
        } catch (const std::runtime_error &) {
        }
        QVERIFY(m_timer->isActive());
        QCOMPARE(m_host->look, (PollLook{PresentText::resumed, PollGlyph::Image14}));
    }

    // A pause gives back the state from before it; pauses nest.
    void pauseRestoresTheStateBeforeIt_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<int>("depth");
        QTest::addColumn<bool>("pageOpens");
        QTest::addColumn<bool>("runningAfter");
        QTest::addColumn<QString>("captionAfter");
        QTest::newRow("running") << u"running"_s << 1 << false << true << PresentText::resumed;
        QTest::newRow("running, nested") << u"running"_s << 2 << false << true << PresentText::resumed;
        QTest::newRow("switched off") << u"off"_s << 1 << false << false << PresentText::switchedOff;
        QTest::newRow("switched off, nested") << u"off"_s << 2 << false << false << PresentText::switchedOff;
        QTest::newRow("held by a drawing") << u"held"_s << 1 << false << false << PresentText::paused;
        QTest::newRow("held, nested") << u"held"_s << 2 << false << false << PresentText::paused;
        QTest::newRow("held, a page opens") << u"held"_s << 2 << true << true << PresentText::resumed;
        QTest::newRow("switched off, drawn, a page opens") << u"off held"_s << 1 << true << false
                                                           << PresentText::switchedOff;
    }
    void pauseRestoresTheStateBeforeIt()
    {
        QFETCH(QString, before);
        QFETCH(int, depth);
        QFETCH(bool, pageOpens);
        QFETCH(bool, runningAfter);
        QFETCH(QString, captionAfter);
        m_poll->start();
        if (before.contains(u"off"_s))
            m_poll->toggle();
        if (before.contains(u"held"_s))
            m_poll->holdUntilPageOpens();
        {
            PollPause outer(*m_poll);
            if (depth > 1) {
                PollPause inner(*m_poll);
                if (pageOpens)
                    m_poll->pageOpened();
            }
            QVERIFY(!m_timer->isActive());
            if (depth == 1 && pageOpens)
                m_poll->pageOpened();
        }
        QCOMPARE(m_timer->isActive(), runningAfter);
        QCOMPARE(m_host->look.caption, captionAfter);
    }

    // Switched off or held while a tick waits: the tick's end leaves it off.
    void tickEndKeepsWhatHappenedDuringIt_data()
    {
        QTest::addColumn<bool>("drawing");
        QTest::addColumn<QString>("caption");
        QTest::newRow("switched off") << false << PresentText::switchedOff;
        QTest::newRow("drawing started") << true << PresentText::paused;
    }
    void tickEndKeepsWhatHappenedDuringIt()
    {
        QFETCH(bool, drawing);
        QFETCH(QString, caption);
        writeFile(m_home + u"/p.html"_s);
        QVERIFY(writePresentationMarker(m_home, m_home + u"/p.html"_s));
        m_poll->start();
        m_host->duringWait = [this, drawing] { drawing ? m_poll->holdUntilPageOpens() : m_poll->toggle(); };
        m_poll->tick();
        QVERIFY(!m_timer->isActive());
        QCOMPARE(m_host->look.caption, caption);
    }

    void tickShowsThePresentedFileFromASubFolder()
    {
        QVERIFY(QDir().mkpath(m_home + u"/01_理科"_s));
        writeFile(m_home + u"/01_理科/p.html"_s);
        QVERIFY(writePresentationMarker(m_home, u"\\\\pc1\\share\\kavuno_data\\01_理科\\p.html"_s));
        m_poll->tick();
        QCOMPARE(m_viewer->log, (QStringList{u"show"_s, u"page _XXX.html"_s, u"target p.html"_s}));
        QCOMPARE(m_viewer->shownTarget, QString(m_home + u"/01_理科/p.html"_s));
        QCOMPARE(m_host->log, (QStringList{u"hidePanel"_s, u"progress *** 提案中 ***"_s, u"wait"_s}));
        QVERIFY(m_host->stopEnabled);

        // Next tick, unchanged: nothing; then the presenter keeps drawing: reload.
        m_viewer->log.clear();
        m_poll->tick();
        QVERIFY(m_viewer->log.isEmpty());
        writeFile(m_home + u"/01_理科/p.html"_s, QDateTime::currentDateTime().addSecs(60));
        m_poll->tick();
        QCOMPARE(m_viewer->log, QStringList{u"reload"_s});
    }

    void tickDoesNotRunInsideItsOwnWait()
    {
        writeFile(m_home + u"/p.html"_s);
        QVERIFY(writePresentationMarker(m_home, m_home + u"/p.html"_s));
        m_host->duringWait = [this] { m_poll->tick(); };
        m_poll->tick();
        QCOMPARE(m_viewer->log, (QStringList{u"show"_s, u"page _XXX.html"_s, u"target p.html"_s}));
        QVERIFY(m_timer->isActive());
    }

    void tickClosesTheViewerButLeavesTheMarker_data()
    {
        QTest::addColumn<QByteArray>("markerBytes");
        QTest::newRow("marker names nothing") << QByteArray("\xEF\xBB\xBF/k/p.html\r\n");
        QTest::newRow("presented file missing here") << QByteArray("/k/gone.html\"\r\n");
    }
    void tickClosesTheViewerButLeavesTheMarker()
    {
        QFETCH(QByteArray, markerBytes);
        QFile file(marker());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(markerBytes);
        file.close();
        m_viewer->shown = true;
        m_viewer->shownTarget = m_home + u"/p.html"_s;
        m_host->stopEnabled = true;
        m_poll->tick();
        QCOMPARE(m_viewer->log, QStringList{u"close"_s});
        QVERIFY(QFile::exists(marker()));
        // The user can still end the presentation here.
        QVERIFY(m_host->stopEnabled);
        m_poll->stopPresenting();
        QVERIFY(!QFile::exists(marker()));
        QVERIFY(!m_host->stopEnabled);
    }

    void tickAfterTheMarkerWentDisablesStop()
    {
        m_viewer->shown = true;
        m_viewer->shownTarget = m_home + u"/p.html"_s;
        m_host->stopEnabled = true;
        m_poll->tick();
        QCOMPARE(m_viewer->log, QStringList{u"close"_s});
        QVERIFY(!m_host->stopEnabled);
    }

    // A drawing holds the poll: before it starts, the viewer closes when the
    // marker no longer asks for it, and only then.
    void drawingClosesOnlyAViewerNoLongerPresented_data()
    {
        QTest::addColumn<QString>("presented");
        QTest::addColumn<bool>("closes");
        QTest::addColumn<bool>("stopEnabled");
        QTest::newRow("presentation ended") << QString() << true << false;
        QTest::newRow("marker names nothing") << u"!"_s << true << true;
        QTest::newRow("presented file missing here") << u"gone.html"_s << true << true;
        QTest::newRow("still presented") << u"p.html"_s << false << true;
        QTest::newRow("another page presented") << u"q.html"_s << false << true;
    }
    void drawingClosesOnlyAViewerNoLongerPresented()
    {
        QFETCH(QString, presented);
        QFETCH(bool, closes);
        QFETCH(bool, stopEnabled);
        writeFile(m_home + u"/p.html"_s);
        writeFile(m_home + u"/q.html"_s);
        if (presented == u"!"_s) {
            QFile file(marker());
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("\xEF\xBB\xBF/k/p.html\r\n");
        } else if (!presented.isEmpty()) {
            QVERIFY(writePresentationMarker(m_home, m_home + u'/' + presented));
        }
        m_viewer->shown = true;
        m_viewer->shownTarget = m_home + u"/p.html"_s;
        m_host->stopEnabled = true;
        m_poll->holdUntilPageOpens();
        m_poll->closeViewerNoLongerPresented();
        QCOMPARE(m_viewer->log, closes ? QStringList{u"close"_s} : QStringList());
        QCOMPARE(m_host->stopEnabled, stopEnabled);
        // The marker is the presenter's to end.
        QCOMPARE(QFile::exists(marker()), !presented.isEmpty());
    }

    void userCloseEndsOnlyTheShownPresentation()
    {
        writeFile(m_home + u"/p.html"_s);
        writeFile(m_home + u"/q.html"_s);
        QVERIFY(writePresentationMarker(m_home, m_home + u"/p.html"_s));
        m_poll->tick();
        m_host->stopEnabled = true;
        m_viewer->shown = false;

        // Meanwhile another PC presents another page: it goes on.
        QVERIFY(writePresentationMarker(m_home, m_home + u"/q.html"_s));
        m_poll->viewerClosedByUser();
        QVERIFY(QFile::exists(marker()));
        QVERIFY(m_host->stopEnabled);

        QVERIFY(writePresentationMarker(m_home, m_home + u"/p.html"_s));
        m_poll->viewerClosedByUser();
        QVERIFY(!QFile::exists(marker()));
        QVERIFY(!m_host->stopEnabled);
    }

    void tickRefreshesTheChangedPage()
    {
        const QString page = m_home + u"/a.html"_s;
        writeFile(page, QDateTime(QDate(2024, 1, 1), QTime(8, 0)));
        m_host->pageAddress = page;
        m_poll->rememberPageStamp(page, PresentText::noStamp);
        QCOMPARE(m_poll->watchedStamp(), u"20240101-080000"_s);
        QCOMPARE(m_host->look.caption, PresentText::stampChecked);

        m_poll->tick();
        QVERIFY(m_host->log.isEmpty());
        writeFile(page, QDateTime(QDate(2024, 1, 1), QTime(8, 1)));
        m_poll->tick();
        QCOMPARE(m_host->log, QStringList{u"refresh"_s});
        QCOMPARE(m_poll->watchedStamp(), u"20240101-080100"_s);
    }

    void missingPageKeepsTheDefaultStamp()
    {
        m_poll->rememberPageStamp(m_home + u"/gone.html"_s, PresentText::noStamp);
        QCOMPARE(m_poll->watchedStamp(), u"0"_s);
        QCOMPARE(m_host->look, (PollLook{PresentText::fileMissing, PollGlyph::Image12}));
        QVERIFY(!QFile::exists(m_home + u"/gone.html"_s));
    }

    void tickFindsThePageAgainWhenFilesChange()
    {
        m_host->listed = 4;
        m_host->index = 2;
        m_host->entry = u"1020_b.html"_s;
        m_poll->tick();
        QCOMPARE(m_host->log, (QStringList{u"level"_s, u"GO 1020_b"_s, u"reopen"_s}));
        QCOMPARE(m_host->seen, 4);
    }

    void failingTickLeavesThePollRunning()
    {
        m_host->throwOnListing = true;
        m_poll->tick();
        QVERIFY(m_timer->isActive());
        QCOMPARE(m_timer->interval(), 6000);
        QCOMPARE(m_host->look.caption, PresentText::running);
    }
};

QTEST_GUILESS_MAIN(UpdatePollTest)
#include "tst_updatepoll.moc"
