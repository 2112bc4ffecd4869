#include "core/navigation/linkpage.h"
#include "core/navigation/navigator.h"
#include "core/navigation/navigatorhost.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

using namespace Qt::StringLiterals;

namespace {
const QString Head = u"\xFEFF<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">\r\n"
                     "<HTML><HEAD><TITLE>%1</TITLE></HEAD><BODY>\r\n"_s;

void writePage(const QString &path, const QString &title, const QString &body)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write((Head.arg(title) + body + u"\r\n</BODY></HTML>\r\n"_s).toUtf8());
}

// A browser that loads at once: following a link loads it and completes.
class FakeWindow : public NavigatorHost, public AfterLoadHost
{
public:
    Navigator nav{this};
    QString lastLoadedUrl;
    AfterLoad afterLoad{nav, *this, lastLoadedUrl};

    QString location;
    QString caption;
    QString webHtml;
    QStringList lowerPane, commandLines, followed, labels, positions;
    int dirIndexStep = 0;
    int pageClicks = 0;
    int remakes = 0;
    bool sound = false, heldOff = false;
    int soundsArmed = 0;
    bool postEnabled = false;

    void load(const QString &url)
    {
        location = url;
        afterLoad.documentComplete(url);
    }
    QString fileUrl(int index) const { return QUrl::fromLocalFile(nav.entryPath(index)).toString(); }

    // NavigatorHost
    void PageClick() override
    {
        ++pageClicks;
        const QString entry = nav.currentEntry();
        load(entry.startsWith(u"http"_s) ? entry : fileUrl(nav.PBan()));
    }
    void ReMake() override { ++remakes; }
    QString shownAddress() const override { return caption; }

    // AfterLoadHost
    QString locationUrl() const override { return location; }
    void setCaption(const QString &text) override { caption = text; }
    void setPostButtonEnabled(bool enabled) override { postEnabled = enabled; }
    // A held answer comes when the test hands it on, as the browser's may.
    bool holdHtml = false;
    std::function<void(const QString &)> heldHtml;
    int serial = 0;
    void documentHtml(const std::function<void(const QString &)> &done) override
    {
        if (holdHtml)
            heldHtml = done;
        else
            done(webHtml);
    }
    int loadSerial() const override { return serial; }
    bool pageHasSound() const override { return sound; }
    bool soundHeldOff() const override { return heldOff; }
    void armPageSound() override { ++soundsArmed; }
    void showInLowerPane(const QString &url) override { lowerPane << url; }
    void RunCommandLine(const QString &line) override { commandLines << line; }
    void setDirIndexStep(int step) override { dirIndexStep = step; }
    void setCurrentButtonLabel(const QString &label) override { labels << label; }
    void followLink(const QString &target) override
    {
        followed << target;
        load(target);
    }
    void showPosition(const QString &text) override { positions << text; }
};
} // namespace

class AfterLoadTest : public QObject
{
    Q_OBJECT
private:
    QTemporaryDir m_dir;
    QString m_root;
    int m_count = 0;

    QString path(const QString &name) const { return m_root + u'/' + name; }

private slots:
    void init()
    {
        QVERIFY(m_dir.isValid());
        m_root = m_dir.path() + u"/root"_s + QString::number(++m_count);
        QVERIFY(QDir().mkpath(m_root));
    }

    void ordinaryPageGetsCaptionPositionAndSound()
    {
        writePage(path(u"1010_a.html"_s), u"A"_s, u"<P>text</P>"_s);
        writePage(path(u"1020_b.html"_s), u"B"_s, u"<!-- NOTLINK --><P>【リンク】<A href=\"1010_a.html\">a</A></P>"_s);
        FakeWindow w;
        w.sound = true;
        QVERIFY(w.nav.OpenFolderLevel(m_root, 1, true));
        w.PageClick();
        QCOMPARE(w.caption, w.fileUrl(1));
        QVERIFY(w.postEnabled);
        QCOMPARE(w.soundsArmed, 1);
        QCOMPARE(w.positions, QStringList{u"2 / 2"_s});
        QVERIFY(w.followed.isEmpty());
        QCOMPARE(w.nav.levels().height(), 1);

        // The same address again in a row is processed once.
        w.load(w.fileUrl(1));
        QCOMPARE(w.positions.size(), 1);
        w.lastLoadedUrl.clear();
        w.heldOff = true;
        w.load(w.fileUrl(1));
        QCOMPARE(w.positions.size(), 2);
        QCOMPARE(w.soundsArmed, 1);
    }

    void oneCommandLinkRunsIt()
    {
        writePage(path(u"1010_links.html"_s), u"L"_s, u"<A href=\"/x/$GO intro\">【リンク】Intro</A>"_s);
        FakeWindow w;
        QVERIFY(w.nav.OpenFolderLevel(m_root, 0, true));
        w.PageClick();
        QCOMPARE(w.commandLines, QStringList{u"GO intro,"_s});
        QCOMPARE(w.dirIndexStep, 1);
    }

    void oneWebLinkIsFollowedWithItsLabel()
    {
        writePage(path(u"1010_links.html"_s), u"L"_s,
                  u"<A href=\"http://example.org/a.html\">【リンク】Example</A>"_s);
        FakeWindow w;
        QVERIFY(w.nav.OpenFolderLevel(m_root, 0, true));
        w.webHtml = u"<P>the web page</P>"_s;
        w.PageClick();
        QCOMPARE(w.followed, QStringList{u"http://example.org/a.html"_s});
        QCOMPARE(w.labels, QStringList{u"Example"_s});
        QCOMPARE(w.caption, u"http://example.org/a.html"_s);
    }

    void lateBodyOfALeftLinkPageIsDropped_data()
    {
        QTest::addColumn<bool>("left");
        QTest::newRow("still shown") << false;
        QTest::newRow("left before the answer") << true;
    }
    void lateBodyOfALeftLinkPageIsDropped()
    {
        QFETCH(bool, left);
        writePage(path(u"1010_a.html"_s), u"A"_s, u"<P>a</P>"_s);
        FakeWindow w;
        QVERIFY(w.nav.OpenFolderLevel(m_root, 0, true));
        w.holdHtml = true;
        w.load(u"http://h/links.html"_s);
        QVERIFY(w.heldHtml);
        if (left) {
            ++w.serial;
            w.load(w.fileUrl(0));
        }
        w.heldHtml(u"<A href=\"http://h/next.html\">【リンク】next</A>"_s);
        QCOMPARE(w.followed, left ? QStringList() : QStringList{u"http://h/next.html"_s});
    }

    void threeLinksMakeALevelThatReturnLeaves()
    {
        QVERIFY(QDir().mkpath(path(u"sub"_s)));
        writePage(path(u"index.html"_s), u"Home"_s, u"<P>home</P>"_s);
        writePage(path(u"sub/1010_links.html"_s), u"L"_s,
                  u"<A HREF=\"1020_x.html\">【リンク】X</A><A href=\"1030_y.html\">Y</A>"
                  "<A href=\"http://example.org/\">【リンク】Web</A>"_s);
        writePage(path(u"sub/1020_x.html"_s), u"X"_s, u"<P>x</P>"_s);
        writePage(path(u"sub/1030_y.html"_s), u"Y"_s, u"<P>y</P>"_s);
        FakeWindow w;
        QVERIFY(w.nav.OpenFolderLevel(m_root, 0, true));
        QVERIFY(w.nav.OpenFolderLevel(path(u"sub"_s), 0, true));
        w.PageClick();

        QCOMPARE(w.nav.levels().height(), 2);
        QCOMPARE(w.nav.levels().top().MidashiF,
                 (QStringList{u"1020_x.html"_s, u"1030_y.html"_s, u"http://example.org/"_s}));
        QCOMPARE(w.nav.levels().top().MidashiT, (QStringList{u"【リンク】X"_s, u"Y"_s, u"【リンク】Web"_s}));
        QCOMPARE(w.remakes, 1);
        // The first link opened from the link page's folder.
        QCOMPARE(w.caption, QUrl::fromLocalFile(path(u"sub/1020_x.html"_s)).toString());
        QCOMPARE(w.positions.last(), u"1 / 3"_s);

        w.nav.PopLevel();
        QCOMPARE(w.nav.levels().height(), 1);
        QCOMPARE(w.nav.CurDir, m_root);
        QCOMPARE(w.nav.currentEntry(), u"index.html"_s);
    }

    void circleOfLinkPagesStops()
    {
        writePage(path(u"1010_a.html"_s), u"A"_s, u"<A href=\"1020_b.html\">【リンク】B</A>"_s);
        writePage(path(u"1020_b.html"_s), u"B"_s, u"<A href=\"1010_a.html\">【リンク】A</A>"_s);
        FakeWindow w;
        QVERIFY(w.nav.OpenFolderLevel(m_root, 0, true));
        w.PageClick();
        QCOMPARE(w.followed.size(), LinkExpansionGuard::Limit);
        // The user opens it again: it is a link page as before.
        w.lastLoadedUrl.clear();
        w.followed.clear();
        w.PageClick();
        QCOMPARE(w.followed.size(), LinkExpansionGuard::Limit);
    }

    void answerPageIsCopiedIntoTheLowerPane()
    {
        writePage(path(u"1010_q.html"_s), u"Q"_s,
                  u"<A href=\"/$NEXT\">n</A><A href=\"/$_%E3%80%90○】\">o</A><A href=\"/$_【○】\">o</A>"_s);
        FakeWindow w;
        QVERIFY(w.nav.OpenFolderLevel(m_root, 0, true));
        w.nav.HighlightCurrent = true;
        w.PageClick();
        QCOMPARE(w.lowerPane, QStringList{w.fileUrl(0)});
    }

    void withoutHighlightOneLoadKeepsPositionAndFocus()
    {
        writePage(path(u"1010_a.html"_s), u"A"_s, u"<P>a</P>"_s);
        FakeWindow w;
        QVERIFY(w.nav.OpenFolderLevel(m_root, 0, true));
        w.nav.HighlightCurrent = false;
        w.PageClick();
        QVERIFY(w.positions.isEmpty());
        QVERIFY(w.nav.HighlightCurrent);
        QCOMPARE(w.caption, w.fileUrl(0));
    }
};

QTEST_APPLESS_MAIN(AfterLoadTest)
#include "tst_afterload.moc"
