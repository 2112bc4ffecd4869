// Another PC made names of the shared data root symbolic links to files and a
// folder elsewhere. Whatever route the program takes to a file (listing a level,
// DIR, titles, the Shift_JIS conversion, posts, notes, pictures, the search, any
// whole-file write), nothing out of the root is listed, entered, read or written,
// and every link stays a link.
#include "core/app/rootpath.h"
#include "core/app/smallfile.h"
#include "core/app/wholefile.h"
#include "core/commands/commandhost.h"
#include "core/commands/commandinterpreter.h"
#include "core/commands/navigationgate.h"
#include "core/editor/pagenote.h"
#include "core/editor/picturetools.h"
#include "core/forms/pagepost.h"
#include "core/navigation/navigationtexts.h"
#include "core/navigation/levelprefetch.h"
#include "core/navigation/navigator.h"
#include "core/navigation/navigatorhost.h"
#include "core/navigation/pagelist.h"
#include "core/navigation/pageopening.h"
#include "core/navigation/pagetitle.h"
#include "core/navigation/testfiles.h"
#include "core/search/searchlisting.h"
#include "core/tools/folderrename.h"

#include <QBuffer>
#include <QDirIterator>
#include <QImage>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <fcntl.h>
#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace {

class Host : public NavigatorHost, public CommandHost
{
public:
    QStringList flashes;
    void ShowFlashMessage(const QString &text, int) override { flashes << text; }
};

QByteArray ownPage(const QByteArray &title, const QByteArray &charset = "UTF-8")
{
    return "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">\r\n<HTML><HEAD>"
           "<META http-equiv=\"Content-Type\" content=\"text/html; charset=" + charset + "\">"
           "<TITLE>" + title + "</TITLE></HEAD><BODY><P>" + title + "</P></BODY></HTML>\r\n";
}

QByteArray shiftJisPage()
{
    QStringEncoder cp932("CP932");
    return ownPage(cp932(u"秘密の頁"_s), "Shift_JIS");
}

QByteArray jpeg()
{
    QImage image(32, 24, QImage::Format_RGB32);
    image.fill(Qt::darkRed);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG", 90);
    return buffer.data();
}

// Every file below a folder with its bytes and its modification time, and the
// folders' own times: what a write, a made file or a removed one would change.
QStringList snapshot(const QString &folder)
{
    QStringList seen;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    const auto stamp = [](const QString &path) -> QString {
        struct stat st {};
        ::lstat(QFile::encodeName(path).constData(), &st);
        return QString::number(st.st_mtim.tv_sec) + u'.' + QString::number(st.st_mtim.tv_nsec);
    };
    seen << u". "_s + stamp(folder);
    while (it.hasNext()) {
        const QString path = it.next();
        seen << path.mid(folder.size()) + u' ' + stamp(path) + u' '
                    + QString::fromLatin1(readFixture(path).toBase64());
    }
    seen.sort();
    return seen;
}

bool isLink(const QString &path)
{
    return QFileInfo(path).isSymLink();
}

} // namespace

class RootPathTest : public QObject
{
    Q_OBJECT

    QTemporaryDir temp;
    QString root;
    QString outside;

private slots:
    void init()
    {
        root = temp.filePath(u"notes_data"_s);
        outside = temp.filePath(u"elsewhere"_s);
        QDir(temp.path()).removeRecursively();
        QVERIFY(QDir().mkpath(root + u"/sub"_s) && QDir().mkpath(outside + u"/deeper"_s));
        QVERIFY(writeFixture(root + u"/1010_home.html"_s, ownPage("Home")));
        QVERIFY(writeFixture(root + u"/sub/1010_inner.html"_s, ownPage("Inner")));
        QVERIFY(writeFixture(outside + u"/1010_sjis.html"_s, shiftJisPage()));
        // It names a page of the root, as a rename would want to rewrite it.
        QVERIFY(writeFixture(outside + u"/1020_secret.html"_s, ownPage("Secret") + "<A href=\"1010_home.html\">"));
        QVERIFY(writeFixture(outside + u"/picture.jpg"_s, jpeg()));
        QVERIFY(writeFixture(outside + u"/note.txt"_s, "secret note"));
        // deeper holds no page: opening it would write a placeholder there.
        QVERIFY(QFile::link(outside, root + u"/evil"_s));
        QVERIFY(QFile::link(outside + u"/1010_sjis.html"_s, root + u"/1020_sjis.html"_s));
        QVERIFY(QFile::link(outside + u"/1020_secret.html"_s, root + u"/1030_secret.html"_s));
        QVERIFY(QFile::link(outside + u"/picture.jpg"_s, root + u"/1040_picture.jpg"_s));
        QVERIFY(QFile::link(outside + u"/note.txt"_s, root + u"/1010_home.%xt"_s));
        // A link that stays in the root is as good as its target.
        QVERIFY(QFile::link(root + u"/sub"_s, root + u"/alias"_s));
        setDataRoot(root);
    }
    void cleanup() { setDataRoot(QString()); }

    void nothingLeavesTheDataRoot_data()
    {
        QTest::addColumn<QString>("route");
        for (const char *route : {"level listing", "DIR by the folder panel", "DIR by a page's link",
                                  "DIR of a folder named elsewhere", "titles on buttons",
                                  "Shift_JIS conversion at start and poll", "Shift_JIS conversion in the folder",
                                  "links between pages", "search", "posts", "notes", "pictures",
                                  "renames", "whole-file writes", "reads"})
            QTest::newRow(route) << QString::fromLatin1(route);
    }
    void nothingLeavesTheDataRoot()
    {
        QFETCH(QString, route);
        const QStringList before = snapshot(outside);
        Host host;
        Navigator nav(&host);
        nav.HomeDir = root;
        nav.CurDir = root;
        CommandInterpreter commands(nav, host);
        QVERIFY(nav.OpenFolderLevel(root, 0, true));

        if (route == u"level listing") {
            QCOMPARE(listPageFiles(root), QStringList{u"1010_home.html"_s});
            QCOMPARE(countPageFiles(root), 1);
            bool listed = true;
            QVERIFY(listPageFiles(root + u"/evil"_s, &listed).isEmpty());
            QVERIFY(!listed);
            QCOMPARE(listPageFiles(root + u"/alias"_s), QStringList{u"1010_inner.html"_s});
        } else if (route.startsWith(u"DIR")) {
            const QString command = route == u"DIR by a page's link"     ? u"/$DIR evil/deeper"_s
                                    : route == u"DIR by the folder panel" ? QString(u"/$DIR "_s + root + u"/evil"_s)
                                                                           : QString(u"/$DIR "_s + outside);
            QVERIFY(commands.runAddress(command, CommandOrigin::LocalPage));
            QCOMPARE(nav.levels().height(), 1);
            QCOMPARE(nav.CurDir, root);
            QCOMPARE(nav.PBan(), 0);
            QCOMPARE(host.flashes, QStringList{NavigationTexts::FolderOutsideRoot});
            // A link that stays in the root is entered.
            QVERIFY(commands.runAddress(u"/$DIR alias"_s, CommandOrigin::LocalPage));
            QCOMPARE(nav.CurDir, root + u"/alias"_s);
        } else if (route == u"titles on buttons") {
            QCOMPARE(listingTitle(root + u"/1030_secret.html"_s), u"secret"_s);
            QCOMPARE(reloadedTitle(root + u"/1030_secret.html"_s), u"secret"_s);
            QCOMPARE(refreshedButtonTitle(root + u"/1030_secret.html"_s, u"x"_s), u"secret"_s);
            QCOMPARE(listingTitle(root + u"/evil/1020_secret.html"_s), u"secret"_s);
        } else if (route == u"Shift_JIS conversion at start and poll") {
            // The start reads its first level ahead; it and each poll that sees a
            // change list the level again.
            // As at a start, the folder last changed a while ago.
            const timespec hourAgo{time(nullptr) - 3600, 0};
            const timespec times[2]{hourAgo, hourAgo};
            QCOMPARE(::utimensat(AT_FDCWD, QFile::encodeName(root).constData(), times, 0), 0);
            LevelPrefetch ahead(root, u"kavuno"_s);
            bool listed = false;
            int count = 0;
            QStringList entries, titles;
            QVERIFY(ahead.take(listed, count, entries, titles));
            QCOMPARE(entries, QStringList{u"1010_home.html"_s});
            QVERIFY(nav.OpenFolderLevel(root, 0, false));
            QCOMPARE(listingTitle(root + u"/1020_sjis.html"_s), u"sjis"_s);
            PageConversion conversion = PageConversion::Converted;
            QVERIFY(readPageText(root + u"/1020_sjis.html"_s, &conversion).isEmpty());
            QCOMPARE(conversion, PageConversion::NotNeeded);
        } else if (route == u"Shift_JIS conversion in the folder") {
            listingTitles(root + u"/evil"_s, {u"1010_sjis.html"_s});
            readPageText(root + u"/evil/1010_sjis.html"_s);
        } else if (route == u"links between pages") {
            for (const QString &name : {u"1030_secret.html"_s, u"evil/1020_secret.html"_s, u"evil"_s}) {
                const QString address = QUrl::fromLocalFile(root + u'/' + name).toString();
                for (const bool mainFrame : {true, false})
                    QCOMPARE(decideNavigation(address, mainFrame, nav.entries(), 0, root, root).action,
                             GateAction::RefuseOutside);
            }
            QVERIFY(!outsideRootPageHtml(root + u"/1030_secret.html"_s, root).isEmpty());
        } else if (route == u"search") {
            const SearchListing found = ZENBU(root);
            QCOMPARE(found.size(), 2);
            for (const SearchEntry &entry : found)
                QVERIFY2(!entry.path.contains(u"secret"_s) && !entry.path.contains(u"sjis"_s), qPrintable(entry.path));
        } else if (route == u"posts") {
            for (const QString &page : {u"/1030_secret.html"_s, u"/evil/1020_secret.html"_s})
                QCOMPARE(postToPage(root + page, QString(), u"peer"_s, u"hello"_s, 0).status, PostStatus::WriteFailed);
        } else if (route == u"notes") {
            QCOMPARE(readNoteFile(root + u"/1010_home.%xt"_s).status, NoteRead::Unreadable);
            QVERIFY(!writeNoteFile(root + u"/1010_home.%xt"_s, u"mine"_s));
            QVERIFY(!writeNoteFile(root + u"/evil/1020_secret.%xt"_s, u"mine"_s));
        } else if (route == u"pictures") {
            QVERIFY(pictureForView(root + u"/1040_picture.jpg"_s, 100).isNull());
            QVERIFY(pictureForView(root + u"/evil/picture.jpg"_s, 100).isNull());
            // Nor does the editor show it in a page it edits.
            QVERIFY(PictureTools::previewImage(root + u"/1040_picture.jpg"_s).isNull());
            QVERIFY(!PictureTools::measure(root + u"/evil/picture.jpg"_s).isValid());
            QVERIFY(!PictureTools::previewImage(outside + u"/picture.jpg"_s).isNull());
        } else if (route == u"renames") {
            const FolderRenameOutcome renamed =
                renameUsedFiles(root, root, {{u"1010_home.html"_s, u"1015_home.html"_s}}, Companions());
            QVERIFY(renamed.pagesNotWritten.isEmpty());
            QVERIFY(QFile::exists(root + u"/1015_home.html"_s));
        } else if (route == u"whole-file writes") {
            QString error;
            QVERIFY(!writeWholeFile(root + u"/1030_secret.html"_s, "mine", &error));
            QVERIFY2(error.contains(u"リンク"_s), qPrintable(error));
            QVERIFY(!writeWholeFile(root + u"/evil/_new.html"_s, "mine", &error));
            QVERIFY(!writeWholeFile(root + u"/evil/1020_secret.html"_s, "mine"));
            QVERIFY(writeWholeFile(root + u"/alias/_new.html"_s, "mine"));
        } else if (route == u"reads") {
            QVERIFY(!readTextFile(root + u"/1030_secret.html"_s));
            QVERIFY(!readTextFile(root + u"/evil/note.txt"_s));
            QCOMPARE(readSmallFile(root + u"/evil/note.txt"_s, 100).state, SmallFile::Refused);
            QVERIFY(readTextFile(root + u"/alias/1010_inner.html"_s));
            // Files named elsewhere are not the data root's to judge.
            QVERIFY(readTextFile(outside + u"/note.txt"_s));
        } else {
            QFAIL("no such route");
        }

        QCOMPARE(snapshot(outside), before);
        for (const QString &link : {u"/evil"_s, u"/1020_sjis.html"_s, u"/1030_secret.html"_s, u"/1040_picture.jpg"_s,
                                    u"/1010_home.%xt"_s})
            QVERIFY2(isLink(root + link), qPrintable(link));
    }

    // The check itself: by real path, for what does not exist yet, and only for
    // names in the data root.
    void realPathDecides_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("leads");
        QTest::newRow("plain page") << u"/1010_home.html"_s << false;
        QTest::newRow("link out") << u"/1030_secret.html"_s << true;
        QTest::newRow("into a linked folder") << u"/evil/1020_secret.html"_s << true;
        QTest::newRow("new file in a linked folder") << u"/evil/new/x.html"_s << true;
        QTest::newRow("link that stays in") << u"/alias/1010_inner.html"_s << false;
        QTest::newRow("dot-dot out") << u"/sub/../../elsewhere/note.txt"_s << false; // named elsewhere
        QTest::newRow("new file") << u"/sub/new.html"_s << false;
    }
    void realPathDecides()
    {
        QFETCH(QString, path);
        QFETCH(bool, leads);
        QCOMPARE(leadsOutOfDataRoot(root + path), leads);
        QCOMPARE(staysInRoot(root + path, root), !leads && !path.contains(u".."_s));
    }
};

QTEST_MAIN(RootPathTest)
#include "tst_rootpath.moc"
