// The update poll and the presentation buttons of the main window, on a data
// root of two pages.
#include "ui/app/tform1.h"

#include "core/navigation/testfiles.h"
#include "core/present/marker.h"
#include "core/present/presentstrings.h"
#include "core/present/updatepoll.h"
#include "ui/app/fakeplatform.h"
#include "ui/navigation/pagebutton.h"
#include "ui/present/tform14.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QWebEngineView>

using namespace Qt::StringLiterals;

static QByteArray page(const char *title)
{
    return QByteArray("<html><head><title>") + title + "</title></head><body>" + title + "</body></html>";
}

class Form1PollTest : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;
    QString m_home;
    FakePlatform m_platform;
    std::unique_ptr<TForm1> m_form;
    QStringList m_commands;

    bool openAndLoad(int index)
    {
        QSignalSpy loaded(m_form->WebBrowser1, &QWebEngineView::loadFinished);
        m_form->nav.PBanSave(index);
        m_form->PageClick();
        return loaded.wait(30000);
    }

    // Rewrites a page with a later time, as another PC saving it does.
    void rewrite(const QString &name, const char *title, int minutesLater)
    {
        QFile file(m_home + u'/' + name);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(page(title));
        file.flush();
        QVERIFY(file.setFileTime(QDateTime::currentDateTime().addSecs(60 * minutesLater),
                                 QFileDevice::FileModificationTime));
    }

private slots:
    void initTestCase()
    {
        m_home = m_dir.filePath(u"web"_s);
        QVERIFY(QDir().mkpath(m_home));
        QVERIFY(writeFixture(m_home + u"/index.html"_s, page("A")));
        QVERIFY(writeFixture(m_home + u"/b.html"_s, page("B")));
        m_form = std::make_unique<TForm1>(m_platform, m_dir.filePath(u"web.exe"_s));
        m_form->TXTcommand = [this](const QString &command) { m_commands << command; };
        QSignalSpy loaded(m_form->WebBrowser1, &QWebEngineView::loadFinished);
        m_form->show();
        m_form->FormShow();
        QVERIFY(loaded.wait(30000));
        // The test ticks by hand.
        QVERIFY(m_form->Timer5->isActive());
        QCOMPARE(m_form->Timer5->interval(), 1000);
        disconnect(m_form->Timer5, nullptr, m_form->Poll, nullptr);
    }

    void buttonsStartWithTheirHints()
    {
        QCOMPARE(m_form->SpeedButton12->toolTip(), u"更新ファイルのチェック"_s);
        QCOMPARE(m_form->SpeedButton13->toolTip(), u"提案しているウィンドウを消す"_s);
        QCOMPARE(m_form->SpeedButton14->toolTip(), u"この画面を全ての閲覧中のPCのウィンドウに提示"_s);
        QVERIFY(!m_form->SpeedButton13->isEnabled());
    }

    void openingAPageWatchesIt()
    {
        QVERIFY(openAndLoad(0));
        QCOMPARE(m_form->Poll->watchedPath(), m_home + u"/index.html"_s);
        QVERIFY(m_form->Poll->watchedStamp().startsWith(QString::number(QDate::currentDate().year())));
    }

    void changedPageIsRefreshed()
    {
        QVERIFY(openAndLoad(0));
        rewrite(u"index.html"_s, "A2", 1);
        QSignalSpy loaded(m_form->WebBrowser1, &QWebEngineView::loadFinished);
        m_form->Poll->tick();
        QVERIFY(loaded.wait(30000));
        QCOMPARE(m_form->WebBrowser1->title(), u"A2"_s);
        QCOMPARE(m_form->SpeedButton12->text(), PresentText::running);
        QCOMPARE(m_form->Timer5->interval(), 6000);
        QVERIFY(m_form->Timer5->isActive());
    }

    void addedFileRebuildsTheLevelAndFindsThePage()
    {
        QVERIFY(openAndLoad(1));
        QCOMPARE(m_form->nav.currentEntry(), u"b.html"_s);
        QVERIFY(writeFixture(m_home + u"/a.html"_s, page("new")));
        m_commands.clear();
        m_form->Poll->tick();
        QCOMPARE(m_form->PageButtons.size(), 3);
        QCOMPARE(m_commands, QStringList{u"GO b"_s});
        QCOMPARE(m_form->nav.FileCountSeen, 3);
        // Once: the next tick finds the folder as it was read.
        m_commands.clear();
        m_form->Poll->tick();
        QVERIFY(m_commands.isEmpty());
    }

    // After RETURN the count the poll compares is the shown folder's again.
    void returningFromAFolderLeavesTheNextTickNothingToDo()
    {
        QVERIFY(QDir().mkpath(m_home + u"/sub"_s));
        for (int i = 0; i < 5; ++i)
            QVERIFY(writeFixture(m_home + u"/sub/p%1.html"_s.arg(i), page("S")));
        QVERIFY(openAndLoad(1));
        m_form->nav.OpenFolderLevel(m_home + u"/sub"_s, 0, true);
        m_form->ReMake();
        QCOMPARE(m_form->nav.FileCountSeen, 5);
        m_form->nav.PopLevel();
        m_form->ReMake();
        m_commands.clear();
        m_form->Poll->tick();
        QVERIFY(m_commands.isEmpty());
        QCOMPARE(m_form->nav.FileCountSeen, 3);
        QCOMPARE(m_form->nav.CurDir, m_home);
    }

    void presentAndStop()
    {
        QVERIFY(openAndLoad(0));
        const QString marker = presentationMarkerPath(m_home);
        m_form->SpeedButton14->click();
        QCOMPARE(resolvePresentedPath(readPresentationMarker(m_home).path, m_home), m_home + u"/index.html"_s);
        QVERIFY(m_form->SpeedButton13->isEnabled());
        QCOMPARE(m_form->SpeedButton12->text(), PresentText::resumed);
        m_form->SpeedButton13->click();
        QVERIFY(!QFile::exists(marker));
        QVERIFY(!m_form->SpeedButton13->isEnabled());
    }

    void pollSwitchesOffAndOn()
    {
        m_form->SpeedButton12->click();
        QVERIFY(!m_form->Timer5->isActive());
        QCOMPARE(m_form->SpeedButton12->text(), PresentText::switchedOff);
        m_form->SpeedButton12->click();
        QVERIFY(m_form->Timer5->isActive());
        QCOMPARE(m_form->SpeedButton12->text(), PresentText::resumed);
    }

    // Last: it closes the window.
    void closingTheProgramLeavesThePresentationRunning()
    {
        QVERIFY(openAndLoad(0));
        TForm14 viewer(m_form.get());
        m_form->setPresentationViewer(&viewer);
        QVERIFY(writePresentationMarker(m_home, m_home + u"/b.html"_s));
        m_form->Poll->tick();
        QVERIFY(viewer.isVisible());
        m_form->close();
        QVERIFY(!m_form->isVisible());
        QVERIFY(QFile::exists(presentationMarkerPath(m_home)));
        // Whatever closes the viewer now, it is not the user ending the presentation.
        viewer.close();
        QVERIFY(QFile::exists(presentationMarkerPath(m_home)));
    }
};

QTEST_MAIN(Form1PollTest)
#include "tst_form1poll.moc"
