// Two copies of the program on one data root present to each other, as in a
// classroom where every PC runs its own copy on the shared folder. The copies
// run on a virtual X display of their own, where the test clicks their buttons.
#include "core/present/marker.h"
#include "platform/platform.h"
#include "ui/app/tform1.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <functional>

using namespace Qt::StringLiterals;

class TwoCopiesTest : public QObject
{
    Q_OBJECT
    QProcess m_display;
    QString m_displayName;
    QTemporaryDir m_dir;
    QString m_program;
    QString m_home;
    QProcess m_first;
    QProcess m_second;

    QStringList xdotool(const QStringList &arguments)
    {
        QProcess tool;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(u"DISPLAY"_s, m_displayName);
        tool.setProcessEnvironment(env);
        tool.start(u"xdotool"_s, arguments);
        if (!tool.waitForFinished(5000))
            tool.kill();
        return QString::fromUtf8(tool.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
    }

    // The shown window of a copy whose title the test accepts. Qt may make a
    // window anew while it starts, so a window that is gone already is passed by.
    QString window(const QProcess &copy, const std::function<bool(const QString &)> &titleFits)
    {
        const QStringList shown = xdotool({u"search"_s, u"--onlyvisible"_s, u"--pid"_s,
                                           QString::number(copy.processId()), u"--name"_s, u"."_s});
        for (const QString &id : shown) {
            if (titleFits(xdotool({u"getwindowname"_s, id}).value(0)) && windowSize(id).width() > 1)
                return id;
        }
        return {};
    }
    QString mainWindow(const QProcess &copy)
    {
        return window(copy, [](const QString &title) {
            return title.startsWith(u"kavuno - file://"_s) && title.endsWith(u"/index.html"_s);
        });
    }
    // The viewer's title is the presented file's path.
    QString viewer(const QProcess &copy)
    {
        return window(copy, [this](const QString &title) { return title == m_home + u"/index.html"_s; });
    }

    // Qt makes the main window anew once while the program starts: the window
    // is taken when the same one has been seen at several looks in a row.
    QString m_lastSeen;
    int m_timesSeen = 0;
    bool mainWindowSettled(const QProcess &copy)
    {
        const QString id = mainWindow(copy);
        m_timesSeen = !id.isEmpty() && id == m_lastSeen ? m_timesSeen + 1 : 0;
        m_lastSeen = id;
        return m_timesSeen >= 10;
    }

    QSize windowSize(const QString &id)
    {
        QSize size;
        for (const QString &line : xdotool({u"getwindowgeometry"_s, u"--shell"_s, id})) {
            if (line.startsWith(u"WIDTH="_s))
                size.setWidth(line.mid(6).toInt());
            else if (line.startsWith(u"HEIGHT="_s))
                size.setHeight(line.mid(7).toInt());
        }
        return size;
    }

    // Where a bottom-bar button of the main window sits in a window of that size:
    // the same layout, built here off screen.
    QPoint buttonCentre(const QSize &size, QToolButton *TForm1::*button)
    {
        TForm1 form(systemPlatform(), m_program);
        form.resize(size);
        form.show();
        form.ArrangeMainPanels();
        QToolButton *b = form.*button;
        return b->mapTo(&form, b->rect().center());
    }

    void click(const QProcess &copy, QToolButton *TForm1::*button)
    {
        const QString id = mainWindow(copy);
        QVERIFY(!id.isEmpty());
        const QPoint at = buttonCentre(windowSize(id), button);
        xdotool({u"windowraise"_s, id});
        xdotool({u"mousemove"_s, u"--window"_s, id, QString::number(at.x()), QString::number(at.y()),
                 u"click"_s, u"1"_s});
    }

    void start(QProcess &copy)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(u"DISPLAY"_s, m_displayName);
        env.insert(u"QT_QPA_PLATFORM"_s, u"xcb"_s);
        copy.setProcessEnvironment(env);
        copy.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        copy.start(m_program, {});
        QVERIFY(copy.waitForStarted());
    }

    // What a copy shows, for the message of a failed wait.
    QByteArray describe(const QProcess &copy)
    {
        QStringList titles;
        for (const QString &id : xdotool({u"search"_s, u"--pid"_s, QString::number(copy.processId()),
                                          u"--name"_s, u"."_s}))
            titles << xdotool({u"getwindowname"_s, id}).value(0);
        return (u"running: %1, windows: %2"_s.arg(copy.state() == QProcess::Running).arg(titles.join(u" | "_s)))
            .toUtf8();
    }

    static void stop(QProcess &process)
    {
        if (process.state() == QProcess::NotRunning)
            return;
        process.terminate();
        if (!process.waitForFinished(5000))
            process.kill();
        process.waitForFinished();
    }

private slots:
    void initTestCase()
    {
        if (QStandardPaths::findExecutable(u"Xvfb"_s).isEmpty()
            || QStandardPaths::findExecutable(u"xdotool"_s).isEmpty())
            QSKIP("needs Xvfb and xdotool");
        m_display.start(u"Xvfb"_s, {u"-displayfd"_s, u"1"_s, u"-screen"_s, u"0"_s, u"1280x800x24"_s,
                                    u"-nolisten"_s, u"tcp"_s});
        QVERIFY(m_display.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(m_display.canReadLine(), 20000);
        m_displayName = u":"_s + QString::fromLatin1(m_display.readLine()).trimmed();

        // A copy of the program beside its own data root, which holds one page.
        m_program = m_dir.filePath(u"kavuno"_s);
        QVERIFY(QFile::copy(QStringLiteral(KAVUNO_BINARY), m_program));
        m_home = m_dir.filePath(u"kavuno_data"_s);
        QVERIFY(QDir().mkpath(m_home));
        QFile page(m_home + u"/index.html"_s);
        QVERIFY(page.open(QIODevice::WriteOnly));
        page.write("<html><head><title>授業</title></head><body><h1>提示するページ</h1></body></html>");
    }

    void cleanupTestCase()
    {
        stop(m_first);
        stop(m_second);
        stop(m_display);
    }

    void firstPresentsSecondShowsThenStops()
    {
        const QString marker = presentationMarkerPath(m_home);

        start(m_first);
        QTRY_VERIFY2_WITH_TIMEOUT(mainWindowSettled(m_first), describe(m_first).constData(), 60000);
        click(m_first, &TForm1::SpeedButton14);
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(marker), 10000);
        QCOMPARE(resolvePresentedPath(readPresentationMarker(m_home).path, m_home), m_home + u"/index.html"_s);

        start(m_second);
        QTRY_VERIFY2_WITH_TIMEOUT(!viewer(m_second).isEmpty(), describe(m_second).constData(), 60000);

        click(m_first, &TForm1::SpeedButton13);
        QTRY_VERIFY_WITH_TIMEOUT(!QFile::exists(marker), 10000);
        // Closed at the next tick, six seconds at most.
        QTRY_VERIFY2_WITH_TIMEOUT(viewer(m_second).isEmpty(), describe(m_second).constData(), 20000);
        QVERIFY(m_second.state() == QProcess::Running);
    }
};

QTEST_MAIN(TwoCopiesTest)
#include "tst_twocopies.moc"
