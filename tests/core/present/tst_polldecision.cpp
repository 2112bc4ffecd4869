#include "core/present/polldecision.h"

#include <QTest>

#include <functional>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(PollInputs)
Q_DECLARE_METATYPE(PollDecision)

using Viewer = PollDecision::Viewer;
using Page = PollDecision::Page;
using Level = PollDecision::Level;

// A quiet tick: nothing presented, the watched page unchanged, the count as seen.
static PollInputs quiet()
{
    PollInputs in;
    in.pagePath = u"/k/a.html"_s;
    in.watchedPath = u"/k/a.html"_s;
    in.pageStamp = u"20240101-000000"_s;
    in.watchedStamp = u"20240101-000000"_s;
    in.fileCount = 5;
    in.fileCountSeen = 5;
    in.pageIndex = 2;
    in.pageEntry = u"1020_b.html"_s;
    return in;
}

static PollInputs presented(bool shown, const QString &shownTarget, const QString &shownStamp)
{
    PollInputs in = quiet();
    in.target = u"/k/p.html"_s;
    in.targetExists = true;
    in.targetStamp = u"20240202-000000"_s;
    in.viewerShown = shown;
    in.viewerTarget = shownTarget;
    in.viewerStamp = shownStamp;
    // Changes to the open page and folder wait while a file is presented.
    in.pageStamp = u"20250101-000000"_s;
    in.fileCount = 9;
    return in;
}

static PollDecision expect(std::function<void(PollDecision &)> change = {})
{
    PollDecision d;
    d.watchedStamp = u"20240101-000000"_s;
    d.fileCountSeen = 5;
    if (change)
        change(d);
    return d;
}

// The watched page's file got the stamp 20240101-000010.
static PollDecision pageChanged(Page action)
{
    return expect([action](auto &d) {
        d.page = action;
        d.watchedStamp = u"20240101-000010"_s;
    });
}

class PollDecisionTest : public QObject
{
    Q_OBJECT
private slots:
    void decides_data()
    {
        QTest::addColumn<PollInputs>("in");
        QTest::addColumn<PollDecision>("out");

        QTest::newRow("nothing changed") << quiet() << expect();

        // The viewer.
        QTest::newRow("marker appears: open the viewer")
            << presented(false, {}, {}) << expect([](auto &d) { d.viewer = Viewer::Open; });
        QTest::newRow("marker names another file: retarget")
            << presented(true, u"/k/old.html"_s, u"20240202-000000"_s)
            << expect([](auto &d) { d.viewer = Viewer::Retarget; });
        QTest::newRow("presented file changed: reload")
            << presented(true, u"/k/p.html"_s, u"20240101-120000"_s)
            << expect([](auto &d) { d.viewer = Viewer::Reload; });
        QTest::newRow("presented file unchanged: nothing")
            << presented(true, u"/k/p.html"_s, u"20240202-000000"_s) << expect();
        {
            PollInputs in = presented(true, u"/k/p.html"_s, u"20240202-000000"_s);
            in.targetStamp.clear();
            QTest::newRow("presented file's time unreadable: no reload") << in << expect();
        }
        {
            PollInputs in = quiet();
            in.viewerShown = true;
            in.viewerTarget = u"/k/p.html"_s;
            QTest::newRow("marker gone: close the viewer")
                << in << expect([](auto &d) { d.viewer = Viewer::Close; });
        }

        // The open page.
        {
            PollInputs in = quiet();
            in.pageStamp = u"20240101-000010"_s;
            QTest::newRow("web page changed: refresh") << in << pageChanged(Page::Refresh);
            in.pagePath = in.watchedPath = u"/k/A.HTM"_s;
            QTest::newRow("upper-case .HTM refreshes too") << in << pageChanged(Page::Refresh);
            in.pagePath = in.watchedPath = u"/k/notes.pdf"_s;
            QTest::newRow("PDF changed: reopen") << in << pageChanged(Page::Reopen);
            in.pagePath = in.watchedPath = u"/k.v2/README"_s;
            QTest::newRow("no extension: reopen") << in << pageChanged(Page::Reopen);
            in.pagePath = u"/k/other.html"_s;
            QTest::newRow("another page than the watched one: nothing") << in << expect();
        }
        {
            PollInputs in = quiet();
            in.watchedStamp = u"0"_s;
            QTest::newRow("watched page appeared after a missing open") << in << expect([](auto &d) {
                d.page = Page::Refresh;
                d.watchedStamp = u"20240101-000000"_s;
            });
            in.pageStamp.clear();
            QTest::newRow("empty stamp: nothing") << in << expect([](auto &d) { d.watchedStamp = u"0"_s; });
        }

        // The folder's file count.
        {
            PollInputs in = quiet();
            in.fileCount = 6;
            in.pageIndex = 0;
            QTest::newRow("count changed at page 0: re-read at 0") << in << expect([](auto &d) {
                d.level = Level::Reread;
                d.fileCountSeen = 6;
            });
            in.pageIndex = 3;
            in.pageEntry = u"sub\\1030_c.page.html"_s;
            QTest::newRow("count changed later: find the page again") << in << expect([](auto &d) {
                d.level = Level::RereadAndFind;
                d.fileCountSeen = 6;
                d.findName = u"1030_c.page"_s;
            });
            in.fileCount = 4;
            in.pageStamp = u"20240101-000010"_s;
            QTest::newRow("page changed and a file removed: both") << in << expect([](auto &d) {
                d.page = Page::Refresh;
                d.watchedStamp = u"20240101-000010"_s;
                d.level = Level::RereadAndFind;
                d.fileCountSeen = 4;
                d.findName = u"1030_c.page"_s;
            });
        }
    }

    void decides()
    {
        QFETCH(PollInputs, in);
        QFETCH(PollDecision, out);
        const PollDecision got = decidePoll(in);
        QCOMPARE(got.viewer, out.viewer);
        QCOMPARE(got.page, out.page);
        QCOMPARE(got.watchedStamp, out.watchedStamp);
        QCOMPARE(got.level, out.level);
        QCOMPARE(got.fileCountSeen, out.fileCountSeen);
        QCOMPARE(got.findName, out.findName);
    }
};

QTEST_APPLESS_MAIN(PollDecisionTest)
#include "tst_polldecision.moc"
