// Two copies of the program on one data root present to each other, as in a
// classroom where every PC runs its own copy on the shared folder. The copies
// run on a virtual X display of their own, where the test clicks their buttons.
//
// On a busy machine a copy may take long to start and Qt may make its window
// anew meanwhile, so nothing here waits for a copy to be "ready": a click is
// repeated (at most once a second, and present and stop may be repeated
// harmlessly) until its effect, the marker file, is seen.
#include "core/present/marker.h"
#include "platform/platform.h"
#include "ui/app/tform1.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <functional>

using namespace Qt::StringLiterals;

// Starting a copy with its browser may take a minute on a loaded machine.
static constexpr int StartTimeout = 120000;
// A running copy looks at the marker every six seconds.
static constexpr int TickTimeout = 60000;

class TwoCopiesTest : public QObject
{
    Q_OBJECT
    QProcess m_display;
    QString m_displayName;
    QTemporaryDir m_dir;
    QString m_program;
    QString m_home;
    QString m_page;
    QProcess m_first;
    QProcess m_second;
    QHash<QString, QPoint> m_buttonAt;
    QDeadlineTimer m_nextClick;

    QStringList xdotool(const QStringList &arguments)
    {
        QProcess tool;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(u"DISPLAY"_s, m_displayName);
        tool.setProcessEnvironment(env);
        tool.start(u"xdotool"_s, arguments);
        if (!tool.waitForFinished(10000))
            tool.kill();
        return QString::fromUtf8(tool.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
    }

    // The shown windows of one copy with their titles. "--all": the window must
    // belong to that copy, not merely have a name.
    QList<std::pair<QString, QString>> windows(const QProcess &copy)
    {
        QList<std::pair<QString, QString>> found;
        const QStringList ids = xdotool({u"search"_s, u"--all"_s, u"--onlyvisible"_s, u"--pid"_s,
                                         QString::number(copy.processId()), u"--name"_s, u"."_s});
        for (const QString &id : ids)
            found.append({id, xdotool({u"getwindowname"_s, id}).value(0)});
        return found;
    }

    QString windowWithTitle(const QProcess &copy, const std::function<bool(const QString &)> &fits)
    {
        for (const auto &[id, title] : windows(copy)) {
            if (fits(title))
                return id;
        }
        return {};
    }
    QString mainWindow(const QProcess &copy)
    {
        return windowWithTitle(copy, [](const QString &title) { return title.startsWith(u"kavuno - "_s); });
    }
    // The viewer's title is the presented file's path.
    bool showsViewer(const QProcess &copy)
    {
        return !windowWithTitle(copy, [this](const QString &title) { return title == m_page; }).isEmpty();
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
    // the same layout, built here off screen once per size.
    QPoint buttonCentre(const QSize &size, QToolButton *TForm1::*button, const QString &name)
    {
        const QString key = u"%1 %2x%3"_s.arg(name).arg(size.width()).arg(size.height());
        if (!m_buttonAt.contains(key)) {
            TForm1 form(systemPlatform(), m_program);
            form.resize(size);
            form.show();
            form.ArrangeMainPanels();
            QToolButton *b = form.*button;
            m_buttonAt.insert(key, b->mapTo(&form, b->rect().center()));
        }
        return m_buttonAt.value(key);
    }

    // Clicks a button of the first copy's main window (brought to the top, over
    // the second copy's), at most once a second, and says whether the marker
    // now is as the click should leave it.
    bool clickFirstUntil(QToolButton *TForm1::*button, const QString &name, bool markerWanted)
    {
        const QString marker = presentationMarkerPath(m_home);
        if (QFile::exists(marker) == markerWanted)
            return true;
        if (!m_nextClick.hasExpired())
            return false;
        m_nextClick.setRemainingTime(1000);
        const QString id = mainWindow(m_first);
        const QSize size = id.isEmpty() ? QSize() : windowSize(id);
        if (size.width() < 100 || size.height() < 100)
            return false;
        const QPoint at = buttonCentre(size, button, name);
        xdotool({u"windowraise"_s, id});
        xdotool({u"mousemove"_s, u"--window"_s, id, QString::number(at.x()), QString::number(at.y()),
                 u"click"_s, u"1"_s});
        return QFile::exists(marker) == markerWanted;
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
        for (const auto &window : windows(copy))
            titles << window.second;
        return (u"running: %1, marker: %2, windows: %3"_s.arg(copy.state() == QProcess::Running)
                    .arg(QFile::exists(presentationMarkerPath(m_home)))
                    .arg(titles.join(u" | "_s)))
            .toUtf8();
    }

    static void stop(QProcess &process)
    {
        if (process.state() == QProcess::NotRunning)
            return;
        process.terminate();
        if (!process.waitForFinished(10000))
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
        QTRY_VERIFY_WITH_TIMEOUT(m_display.canReadLine(), 30000);
        m_displayName = u":"_s + QString::fromLatin1(m_display.readLine()).trimmed();

        // A copy of the program beside its own data root, which holds one page.
        m_program = m_dir.filePath(u"kavuno"_s);
        QVERIFY(QFile::copy(QStringLiteral(KAVUNO_BINARY), m_program));
        m_home = m_dir.filePath(u"kavuno_data"_s);
        QVERIFY(QDir().mkpath(m_home));
        m_page = m_home + u"/index.html"_s;
        QFile page(m_page);
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
        // Both copies run before anything is presented: the second one finds
        // the presentation at one of its regular ticks.
        start(m_first);
        start(m_second);

        QTRY_VERIFY2_WITH_TIMEOUT(clickFirstUntil(&TForm1::SpeedButton14, u"present"_s, true),
                                  describe(m_first).constData(), StartTimeout);
        QCOMPARE(resolvePresentedPath(readPresentationMarker(m_home).path, m_home), m_page);

        QTRY_VERIFY2_WITH_TIMEOUT(showsViewer(m_second), describe(m_second).constData(), StartTimeout);

        QTRY_VERIFY2_WITH_TIMEOUT(clickFirstUntil(&TForm1::SpeedButton13, u"stop"_s, false),
                                  describe(m_first).constData(), TickTimeout);
        QTRY_VERIFY2_WITH_TIMEOUT(!showsViewer(m_second), describe(m_second).constData(), TickTimeout);
        QCOMPARE(m_second.state(), QProcess::Running);
    }
};

QTEST_MAIN(TwoCopiesTest)
#include "tst_twocopies.moc"
