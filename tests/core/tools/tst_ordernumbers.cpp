// Reordering, stripping and numbering page files on disk, with their notes,
// sounds and sub-folders; and the renumber dialog's checks.
#include "core/navigation/nameorder.h"
#include "core/navigation/pagelist.h"
#include "core/pages/pagefile.h"
#include "core/tools/folderrename.h"
#include "core/tools/ordernumbers.h"
#include "core/tools/ordertexts.h"
#include "core/tools/picturerename.h"
#include "core/tools/renumberfields.h"

#include "core/navigation/testfiles.h"

#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

using namespace Qt::StringLiterals;

// Files hold their own first name, so that the result shows where each went.
// "name/" is a folder; it holds a file "was" with its first name.
static void makeFolder(const QString &root, const QStringList &names)
{
    for (const QString &name : names) {
        if (name.endsWith(u'/')) {
            QDir(root).mkpath(name);
            writeFixture(root + u'/' + name + u"was"_s, name.toUtf8());
        } else {
            writeFixture(root + u'/' + name, name.toUtf8());
        }
    }
}

// Each entry as "name", or "name<-first name" when it came from another.
static QStringList folderState(const QString &root)
{
    QStringList state;
    const QDir dir(root);
    for (const QFileInfo &info : dir.entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name)) {
        const QString name = info.fileName() + (info.isDir() ? u"/"_s : QString());
        const QString was = QString::fromUtf8(readFixture(info.isDir() ? info.filePath() + u"/was"_s : info.filePath()));
        state << (was == name ? name : name + u"<-"_s + was);
    }
    state.sort();
    return state;
}

// The moves of an operation on the folder's level: "reorder from to", "strip"
// or "number name start step digits first last".
static QList<PageMove> plan(const QString &dir, const QString &operation, Companions *companions)
{
    const QStringList entries = pageListOrder(listPageFiles(dir), u"kavuno"_s);
    const QStringList op = operation.split(u' ');
    if (op.at(0) == u"reorder"_s) {
        *companions = ReorderCompanions;
        return planReorder(entries, op.at(1).toInt(), op.at(2).toInt()).moves;
    }
    if (op.at(0) == u"strip"_s) {
        *companions = StripCompanions;
        FolderNames names(FolderNames::list(dir), StripCompanions);
        return planStrip(entries, names);
    }
    *companions = NumberedCompanions;
    // The name may hold blanks: the numbers are the last five words.
    const QStringList n = op.mid(op.size() - 5);
    const NumberedRename rename{op.mid(1, op.size() - 6).join(u' '), n[0].toInt(), n[1].toInt(), n[2].toInt(),
                                n[3].toInt(), n[4].toInt()};
    return planNumbered(entries, rename, FolderNames(FolderNames::list(dir), NumberedCompanions));
}

class OrderNumbersTest : public QObject
{
    Q_OBJECT
private slots:
    void renamesTheLevel_data()
    {
        QTest::addColumn<QStringList>("before");
        QTest::addColumn<QString>("operation");
        QTest::addColumn<QStringList>("after");

        QTest::newRow("c moved to 3, notes and sounds (listed too) follow")
            << QStringList{u"index.html"_s, u"a.html"_s, u"a.%xt"_s, u"b.html"_s, u"b.wav"_s, u"c.html"_s, u"c.%xt"_s, u"c.wav"_s}
            << u"reorder 4 2"_s
            << QStringList{u"1010_a.%xt<-a.%xt"_s, u"1010_a.html<-a.html"_s, u"1020_c.%xt<-c.%xt"_s, u"1020_c.html<-c.html"_s,
                           u"1020_c.wav<-c.wav"_s, u"1030_b.html<-b.html"_s, u"1030_b.wav<-b.wav"_s, u"index.html"_s};
        QTest::newRow("my_ is an old prefix")
            << QStringList{u"a.html"_s, u"my_page.html"_s} << u"reorder 1 0"_s
            << QStringList{u"1000_page.html<-my_page.html"_s, u"1010_a.html<-a.html"_s};
        QTest::newRow("swapped names, the note stays with its page")
            << QStringList{u"1000_a.html"_s, u"1000_a.%xt"_s, u"1010_a.html"_s} << u"reorder 1 0"_s
            << QStringList{u"1000_a.html<-1010_a.html"_s, u"1010_a.%xt<-1000_a.%xt"_s, u"1010_a.html<-1000_a.html"_s};
        QTest::newRow("three names round, sounds along")
            << QStringList{u"1000_a.html"_s, u"1010_a.html"_s, u"1010_a.wav"_s, u"1020_a.html"_s} << u"reorder 3 0"_s
            << QStringList{u"1000_a.html<-1020_a.html"_s, u"1010_a.html<-1000_a.html"_s, u"1020_a.html<-1010_a.html"_s,
                           u"1020_a.wav<-1010_a.wav"_s};
        QTest::newRow("a stray note at the target keeps the page")
            << QStringList{u"a.html"_s, u"1000_a.%xt"_s} << u"reorder 0 0"_s
            << QStringList{u"1000_a.%xt"_s, u"a.html"_s};

        QTest::newRow("strip: taken name gets #, the sound is a page of its own")
            << QStringList{u"1000_a.html"_s, u"1000_a.wav"_s, u"1010_a.html"_s, u"1010_a.%xt"_s, u"b.wav"_s} << u"strip"_s
            << QStringList{u"a#.%xt<-1010_a.%xt"_s, u"a#.html<-1010_a.html"_s, u"a.html<-1000_a.html"_s,
                           u"a.wav<-1000_a.wav"_s, u"b.wav"_s};
        QTest::newRow("strip: no prefixes, nothing changes")
            << QStringList{u"a.html"_s, u"a.%xt"_s, u"b.pdf"_s} << u"strip"_s
            << QStringList{u"a.%xt"_s, u"a.html"_s, u"b.pdf"_s};
        QTest::newRow("strip: another page's note keeps its name")
            << QStringList{u"1000_a.html"_s, u"1000_a.%xt"_s, u"a.pdf"_s, u"a.%xt"_s} << u"strip"_s
            << QStringList{u"a#.%xt<-1000_a.%xt"_s, u"a#.html<-1000_a.html"_s, u"a.%xt"_s, u"a.pdf"_s};
        QTest::newRow("strip: a page and a PDF keep their shared note")
            << QStringList{u"1000_a.html"_s, u"1000_a.pdf"_s, u"1000_a.%xt"_s} << u"strip"_s
            << QStringList{u"a.%xt<-1000_a.%xt"_s, u"a.html<-1000_a.html"_s, u"a.pdf<-1000_a.pdf"_s};

        QTest::newRow("number 1 to 3")
            << QStringList{u"a.html"_s, u"b.pdf"_s, u"c.html"_s} << u"number page 100 1 3 0 2"_s
            << QStringList{u"page(100).html<-a.html"_s, u"page(101).pdf<-b.pdf"_s, u"page(102).html<-c.html"_s};
        QTest::newRow("number 4 digits, step 10")
            << QStringList{u"a.html"_s, u"b.html"_s, u"c.html"_s} << u"number page 100 10 4 0 2"_s
            << QStringList{u"page(0100).html<-a.html"_s, u"page(0110).html<-b.html"_s, u"page(0120).html<-c.html"_s};
        QTest::newRow("number with page(101) taken, note and folder follow")
            << QStringList{u"a.html"_s, u"b.html"_s, u"b.%xt"_s, u"b/"_s, u"page(101).html"_s} << u"number page 100 1 3 0 2"_s
            << QStringList{u"page(100).html<-a.html"_s, u"page(101).%xt<-b.%xt"_s, u"page(101).html<-b.html"_s,
                           u"page(101)/<-b/"_s, u"page(102).html<-page(101).html"_s};
        QTest::newRow("number with step 0: one page takes the number")
            << QStringList{u"a.html"_s, u"b.html"_s, u"c.html"_s} << u"number page 7 0 3 0 2"_s
            << QStringList{u"b.html"_s, u"c.html"_s, u"page(007).html<-a.html"_s};
        QTest::newRow("number: a folder at the target is a clash")
            << QStringList{u"a.html"_s, u"page(100)/"_s} << u"number page 100 1 3 0 0"_s
            << QStringList{u"a.html"_s, u"page(100)/"_s};
        QTest::newRow("number: only the range")
            << QStringList{u"a.html"_s, u"b.html"_s, u"c.html"_s} << u"number x 5 1 1 1 1"_s
            << QStringList{u"a.html"_s, u"c.html"_s, u"x(5).html<-b.html"_s};
        QTest::newRow("number: a chain of two clashes")
            << QStringList{u"a.html"_s, u"page(100).html"_s, u"page(101).html"_s} << u"number page 100 1 3 0 2"_s
            << QStringList{u"page(100).html<-a.html"_s, u"page(101).html<-page(100).html"_s, u"page(102).html<-page(101).html"_s};
        QTest::newRow("number: a chain of three clashes, notes along")
            << QStringList{u"a.html"_s, u"page(100).html"_s, u"page(100).%xt"_s, u"page(101).html"_s, u"page(102).html"_s,
                           u"page(102).%xt"_s}
            << u"number page 100 1 3 0 3"_s
            << QStringList{u"page(100).html<-a.html"_s, u"page(101).%xt<-page(100).%xt"_s, u"page(101).html<-page(100).html"_s,
                           u"page(102).html<-page(101).html"_s, u"page(103).%xt<-page(102).%xt"_s,
                           u"page(103).html<-page(102).html"_s};
        QTest::newRow("number: names going round")
            << QStringList{u"p(1).html"_s, u"p(10).html"_s, u"p(10).%xt"_s, u"p(2).html"_s, u"p(3).html"_s, u"p(4).html"_s,
                           u"p(5).html"_s, u"p(6).html"_s, u"p(7).html"_s, u"p(8).html"_s, u"p(9).html"_s, u"p(9)/"_s}
            << u"number p 1 1 1 0 9"_s
            << QStringList{u"p(1).html"_s, u"p(2).html<-p(10).html"_s, u"p(2).%xt<-p(10).%xt"_s, u"p(3).html<-p(2).html"_s,
                           u"p(4).html<-p(3).html"_s, u"p(5).html<-p(4).html"_s, u"p(6).html<-p(5).html"_s,
                           u"p(7).html<-p(6).html"_s, u"p(8).html<-p(7).html"_s, u"p(9).html<-p(8).html"_s,
                           u"p(10).html<-p(9).html"_s, u"p(10)/<-p(9)/"_s};
        QTest::newRow("number: a name with a path or $ renames nothing")
            << QStringList{u"a.html"_s, u"b.html"_s} << u"number ../x$ 1 1 1 0 1"_s
            << QStringList{u"a.html"_s, u"b.html"_s};
    }
    void renamesTheLevel()
    {
        QFETCH(QStringList, before);
        QFETCH(QString, operation);
        QFETCH(QStringList, after);
        QTemporaryDir dir;
        makeFolder(dir.path(), before);
        Companions companions;
        const QList<PageMove> moves = plan(dir.path(), operation, &companions);
        carryOutMoves(dir.path(), moves, companions);
        after.sort();
        QCOMPARE(folderState(dir.path()), after);
    }

    // Pages name the files of their folder; a rename takes their values along.
    void pagesFollowTheFilesTheyUse_data()
    {
        QTest::addColumn<QStringList>("before");
        QTest::addColumn<QString>("text"); // of the level's first page
        QTest::addColumn<QString>("operation");
        QTest::addColumn<QString>("page"); // where the first page is then
        QTest::addColumn<QString>("after");
        QTest::addColumn<QStringList>("kept");
        QTest::newRow("reorder: pictures and pages in any quotes")
            << QStringList{u"a.html"_s, u"b.html"_s, u"photo.jpg"_s}
            << u"<BODY background=photo.jpg><IMG src=\"photo.jpg\"><A HREF='b.html#x'>b</A><IMG src=\"xphoto.jpg\">"_s
            << u"reorder 0 0"_s << u"1000_a.html"_s
            << u"<BODY background=1020_photo.jpg><IMG src=\"1020_photo.jpg\"><A HREF='1010_b.html#x'>b</A><IMG src=\"xphoto.jpg\">"_s
            << QStringList{};
        QTest::newRow("number: the files of a sub-folder that follows its page")
            << QStringList{u"a.html"_s, u"b.html"_s, u"b/"_s} << u"<IMG src=\"b/was\"><IMG src=\"./B.HTML\">"_s
            << u"number page 100 1 3 0 1"_s << u"page(100).html"_s
            << u"<IMG src=\"page(101)/was\"><IMG src=\"./page(101).html\">"_s << QStringList{};
        QTest::newRow("number: a blank in a value without quotes")
            << QStringList{u"a.html"_s, u"b.html"_s} << u"<A href=b.html>b</A><A href=\"b.html\">b</A>"_s
            << u"number my page 1 1 1 0 1"_s << u"my page(1).html"_s
            << u"<A href=my%20page(2).html>b</A><A href=\"my page(2).html\">b</A>"_s << QStringList{};
        QTest::newRow("strip: a page that round-trips in no encoding uses the picture")
            << QStringList{u"1000_a.html"_s, u"1010_photo.jpg"_s, u"1020_b.html"_s}
            << u"<IMG src=\"1010_photo.jpg\">\xFF"_s << u"strip"_s << u"a.html"_s
            << u"<IMG src=\"1010_photo.jpg\">\xFF"_s << QStringList{u"1010_photo.jpg"_s};
    }
    void pagesFollowTheFilesTheyUse()
    {
        QFETCH(QStringList, before);
        QFETCH(QString, text);
        QFETCH(QString, operation);
        QFETCH(QString, page);
        QFETCH(QString, after);
        QFETCH(QStringList, kept);
        QTemporaryDir dir;
        makeFolder(dir.path(), before);
        // "\xFF" stands for a byte that no encoding has.
        const QByteArray bytes = text.toUtf8().replace("\xC3\xBF", "\xFF");
        QVERIFY(writeFixture(dir.filePath(before.at(0)), bytes));
        Companions companions;
        const QList<PageMove> moves = plan(dir.path(), operation, &companions);
        const FolderRenameOutcome outcome = renameUsedFiles(dir.path(), dir.path(), moves, companions);
        QCOMPARE(outcome.kept, kept);
        QCOMPARE(outcome.pagesNotWritten, QStringList());
        const QByteArray now = readFixture(dir.filePath(page));
        if (kept.isEmpty())
            QCOMPARE(decodePageUtf8(now).text, after);
        else
            QCOMPARE(now, bytes);
        for (const QString &name : std::as_const(kept))
            QVERIFY(QFile::exists(dir.filePath(name)));
    }

    // A folder may hold names that differ only in case: each keeps what names it.
    void namesDifferingOnlyInCaseKeepTheirUses_data()
    {
        QTest::addColumn<QStringList>("before");
        QTest::addColumn<QString>("text"); // of the level's first page
        QTest::addColumn<QString>("operation");
        QTest::addColumn<QString>("page"); // where the first page is then
        QTest::addColumn<QString>("after");
        QTest::newRow("reorder: x.jpg and X.jpg; a spelling neither has takes the one a link finds")
            << QStringList{u"a.html"_s, u"x.jpg"_s, u"X.jpg"_s}
            << u"<IMG src=\"x.jpg\"><IMG src=\"X.jpg\"><IMG src=\"./X.JPG\">"_s << u"reorder 0 0"_s << u"1000_a.html"_s
            << u"<IMG src=\"1020_x.jpg\"><IMG src=\"1010_X.jpg\"><IMG src=\"./1010_X.jpg\">"_s;
        QTest::newRow("reorder: the one name matches in any case")
            << QStringList{u"a.html"_s, u"Photo.jpg"_s} << u"<IMG src=\"PHOTO.JPG\">"_s << u"reorder 0 0"_s
            << u"1000_a.html"_s << u"<IMG src=\"1010_Photo.jpg\">"_s;
        QTest::newRow("number: b.html and B.html")
            << QStringList{u"a.html"_s, u"b.html"_s, u"B.html"_s} << u"<A href=\"b.html\">b</A><A href='B.html'>B</A>"_s
            << u"number page 100 1 3 0 2"_s << u"page(100).html"_s
            << u"<A href=\"page(102).html\">b</A><A href='page(101).html'>B</A>"_s;
        QTest::newRow("number: the sub-folder b follows its page, B stays")
            << QStringList{u"a.html"_s, u"b.html"_s, u"b/"_s, u"B/"_s} << u"<IMG src=\"b/was\"><IMG src=\"B/was\">"_s
            << u"number page 100 1 3 0 1"_s << u"page(100).html"_s
            << u"<IMG src=\"page(101)/was\"><IMG src=\"B/was\">"_s;
    }
    void namesDifferingOnlyInCaseKeepTheirUses()
    {
        QFETCH(QStringList, before);
        QFETCH(QString, text);
        QFETCH(QString, operation);
        QFETCH(QString, page);
        QFETCH(QString, after);
        QTemporaryDir dir;
        makeFolder(dir.path(), before);
        QVERIFY(writeFixture(dir.filePath(before.at(0)), text.toUtf8()));
        Companions companions;
        const QList<PageMove> moves = plan(dir.path(), operation, &companions);
        const FolderRenameOutcome outcome = renameUsedFiles(dir.path(), dir.path(), moves, companions);
        QCOMPARE(outcome.pagesNotWritten, QStringList());
        QCOMPARE(decodePageUtf8(readFixture(dir.filePath(page))).text, after);
    }

    // New names go into the values of every page that names the renamed files.
    void namesThatWouldBreakTagsAreRefused_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("refused");
        QTest::newRow("an attribute in double quotes") << u"x\" onmouseover=\"document.title=666\" y=\""_s << true;
        QTest::newRow("a single quote") << u"it's"_s << true;
        QTest::newRow("a tag") << u"<b>"_s << true;
        QTest::newRow("a tab") << u"a\tb"_s << true;
        QTest::newRow("a line break") << u"a\r\nb"_s << true;
        QTest::newRow("DEL") << u"a\u007f"_s << true;
        QTest::newRow("blanks and kana") << u"my ページ"_s << false;
    }
    void namesThatWouldBreakTagsAreRefused()
    {
        QFETCH(QString, name);
        QFETCH(bool, refused);
        const QStringList entries{u"a.html"_s, u"b.html"_s};
        const NumberedRename rename{name, 1, 1, 1, 0, 1};
        QCOMPARE(numberedNameProblem(entries, rename) == NumberedNameProblem::Refused, refused);
        const FolderNames names(QSet<QString>(entries.cbegin(), entries.cend()), NumberedCompanions);
        QCOMPARE(planNumbered(entries, rename, names).isEmpty(), refused);
        // The file tool's prefix goes into pages the same way.
        QCOMPARE(isRefusedPicturePrefix(name), refused);
    }

    // A program stopped in the middle of a swap leaves a page under a hidden
    // name: it gets that name back, or one next to it when that is taken.
    void strandedPagesGetTheirNamesBack()
    {
        QTemporaryDir dir;
        makeFolder(dir.path(), {u".kavuno-rename-1.1010_a.html"_s, u".kavuno-rename-2.1020_b.html"_s, u"1020_b.html"_s,
                                u".kavuno-rename-x.c.html"_s});
        QCOMPARE(restoreStrandedRenames(dir.path()), (QStringList{u"1010_a.html"_s, u"1020_b#.html"_s}));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name),
                 (QStringList{u".kavuno-rename-x.c.html"_s, u"1010_a.html"_s, u"1020_b#.html"_s, u"1020_b.html"_s}));
    }

    // What a run left in its hidden folder gets its names back too, the
    // folder goes; a second name of a file that stands under its own name
    // (a move on a share stopped halfway) is no stray and goes.
    void strandedPagesInARunsHiddenFolderGetTheirNamesBack()
    {
        QTemporaryDir dir;
        QDir(dir.path()).mkdir(u".kavuno-rename-5e"_s);
        QDir(dir.path()).mkdir(u".kavuno-rename-77"_s);
        makeFolder(dir.path(), {u".kavuno-rename-5e/1010_a.html"_s, u".kavuno-rename-5e/1010_a.%xt"_s,
                                u".kavuno-rename-5e/1020_b.html"_s, u"1020_b.html"_s});
        QCOMPARE(::link(QFile::encodeName(dir.filePath(u"1020_b.html"_s)).constData(),
                        QFile::encodeName(dir.filePath(u".kavuno-rename-77/1020_b.html"_s)).constData()),
                 0);
        QStringList restored = restoreStrandedRenames(dir.path());
        restored.sort();
        QCOMPARE(restored, (QStringList{u"1010_a.%xt"_s, u"1010_a.html"_s, u"1020_b#.html"_s}));
        QCOMPARE(folderState(dir.path()),
                 (QStringList{u"1010_a.%xt<-.kavuno-rename-5e/1010_a.%xt"_s, u"1010_a.html<-.kavuno-rename-5e/1010_a.html"_s,
                              u"1020_b#.html<-.kavuno-rename-5e/1020_b.html"_s, u"1020_b.html"_s}));
    }

    // The refusal of a plan made from a level another PC changed says what changed.
    void changedLevelIsTold_data()
    {
        QTest::addColumn<QStringList>("shown");
        QTest::addColumn<QStringList>("folder");
        QTest::addColumn<QStringList>("told");
        QTest::newRow("unchanged") << QStringList{u"a.html"_s, u"b.html"_s} << QStringList{u"a.html"_s, u"b.html"_s}
                                   << QStringList{};
        QTest::newRow("a page gone, one new")
            << QStringList{u"a.html"_s, u"b.html"_s} << QStringList{u"a.html"_s, u"c.html"_s}
            << QStringList{OrderTexts::PageGone.arg(u"b.html"_s), OrderTexts::PageAdded.arg(u"c.html"_s)};
        QTest::newRow("the order") << QStringList{u"b.html"_s, u"a.html"_s} << QStringList{u"a.html"_s, u"b.html"_s}
                                   << QStringList{OrderTexts::PageOrderChanged};
    }
    void changedLevelIsTold()
    {
        QFETCH(QStringList, shown);
        QFETCH(QStringList, folder);
        QFETCH(QStringList, told);
        QTemporaryDir dir;
        makeFolder(dir.path(), folder);
        QCOMPARE(levelChanges(shown, dir.path(), u"kavuno"_s), told);
        QCOMPARE(levelMatchesFolder(shown, dir.path(), u"kavuno"_s), told.isEmpty());
    }

    // A record in the form an older program wrote tells no writer: it is set
    // aside, and the files stay as they are.
    void interruptedGroupIsPutBack_data()
    {
        QTest::addColumn<QStringList>("before");
        QTest::addColumn<QStringList>("after");
        QTest::newRow("the page moved, its note and folder not")
            << QStringList{u"r(120).html"_s, u"q(31).%xt"_s, u"q(31)/"_s}
            << QStringList{u".kavuno-renaming-aside-"_s, u"q(31).%xt"_s, u"q(31)/"_s, u"r(120).html"_s};
        QTest::newRow("page and note moved, the folder not")
            << QStringList{u"r(120).html"_s, u"r(120).%xt"_s, u"q(31)/"_s}
            << QStringList{u".kavuno-renaming-aside-"_s, u"q(31)/"_s, u"r(120).%xt"_s, u"r(120).html"_s};
        QTest::newRow("all moved: the group stays")
            << QStringList{u"r(120).html"_s, u"r(120).%xt"_s, u"r(120)/"_s}
            << QStringList{u".kavuno-renaming-aside-"_s, u"r(120).%xt"_s, u"r(120).html"_s, u"r(120)/"_s};
    }
    void interruptedGroupIsPutBack()
    {
        QFETCH(QStringList, before);
        QFETCH(QStringList, after);
        QTemporaryDir dir;
        makeFolder(dir.path(), before);
        // What a group writes before it moves, as the stopped program left it.
        const QStringList moves{u"q(31).html"_s, u"r(120).html"_s, u"q(31).%xt"_s, u"r(120).%xt"_s, u"q(31)"_s, u"r(120)"_s};
        QVERIFY(writeFixture(dir.filePath(u".kavuno-renaming"_s), moves.join(QChar(0)).toUtf8()));
        QCOMPARE(settleStoppedRename(dir.path(), dir.path()), SettleState::Settled);
        QStringList state = folderState(dir.path());
        state.replaceInStrings(QRegularExpression(u"^(\\.kavuno-renaming-aside-)[0-9a-f]+<-.*"_s), u"\\1"_s);
        QCOMPARE(state, after);
    }

    // A level of more than 900 entries needs five digits: every name gets them.
    void longLevelsSortAsNumbered()
    {
        QStringList entries;
        for (int i = 0; i < 1002; ++i)
            entries << u"p%1.html"_s.arg(i, 4, 10, QChar(u'0'));
        const ReorderPlan plan = planReorder(entries, 0, 0);
        QStringList targets;
        for (const PageMove &move : plan.moves)
            targets << move.to;
        QCOMPARE(targets.size(), 1002);
        QCOMPARE(targets.at(0), u"01000_p0000.html"_s);
        QStringList sorted = targets;
        sortFileNames(sorted);
        QCOMPARE(sorted, targets);
        QCOMPARE(planReorder(entries.mid(0, 901), 0, 0).moves.constLast().to, u"10000_p0900.html"_s);
        QCOMPARE(planReorder(entries.mid(0, 900), 0, 0).moves.constLast().to, u"9990_p0899.html"_s);
    }

    void renumberChecksCorrectOneFieldAtATime_data()
    {
        // start, step, digits, first, last; the tags are first 2, last 5, step 1.
        QTest::addColumn<QStringList>("fields");
        QTest::addColumn<int>("outcome");
        QTest::addColumn<QStringList>("corrected");
        const auto row = [](const char *name, QStringList in, RenumberCheck::Outcome outcome, QStringList out) {
            QTest::newRow(name) << in << int(outcome) << out;
        };
        row("all good", {u"100"_s, u"1"_s, u"3"_s, u"2"_s, u"5"_s}, RenumberCheck::Passed, {u"100"_s, u"1"_s, u"3"_s, u"2"_s, u"5"_s});
        row("empty range and step get their stored numbers", {u"100"_s, u""_s, u"3"_s, u""_s, u"x"_s}, RenumberCheck::Beep,
            {u"100"_s, u"1"_s, u"3"_s, u"2"_s, u"5"_s});
        row("empty start beeps, nothing corrected", {u""_s, u"1"_s, u"3"_s, u"2"_s, u"5"_s}, RenumberCheck::Beep,
            {u""_s, u"1"_s, u"3"_s, u"2"_s, u"5"_s});
        row("negative step", {u"-5"_s, u"-1"_s, u"3"_s, u"2"_s, u"5"_s}, RenumberCheck::Beep, {u"-5"_s, u"0"_s, u"3"_s, u"2"_s, u"5"_s});
        row("negative start", {u"-5"_s, u"1"_s, u"3"_s, u"2"_s, u"5"_s}, RenumberCheck::Beep, {u"0"_s, u"1"_s, u"3"_s, u"2"_s, u"5"_s});
        row("empty digits is no number", {u"1"_s, u"1"_s, u""_s, u"2"_s, u"5"_s}, RenumberCheck::InvalidNumber,
            {u"1"_s, u"1"_s, u""_s, u"2"_s, u"5"_s});
        row("0 digits", {u"1"_s, u"1"_s, u"0"_s, u"2"_s, u"5"_s}, RenumberCheck::Beep, {u"1"_s, u"1"_s, u"1"_s, u"2"_s, u"5"_s});
        row("too many digits", {u"1"_s, u"1"_s, u"999999"_s, u"2"_s, u"5"_s}, RenumberCheck::Beep, {u"1"_s, u"1"_s, u"32"_s, u"2"_s, u"5"_s});
        row("first after last", {u"1"_s, u"1"_s, u"3"_s, u"4"_s, u"3"_s}, RenumberCheck::Beep, {u"1"_s, u"1"_s, u"3"_s, u"4"_s, u"4"_s});
        row("last past the level", {u"1"_s, u"1"_s, u"3"_s, u"2"_s, u"9"_s}, RenumberCheck::Beep, {u"1"_s, u"1"_s, u"3"_s, u"2"_s, u"5"_s});
    }
    void renumberChecksCorrectOneFieldAtATime()
    {
        QFETCH(QStringList, fields);
        QFETCH(int, outcome);
        QFETCH(QStringList, corrected);
        const RenumberCheck check = checkRenumberFields({fields[0], fields[1], fields[2], fields[3], fields[4], 2, 5, 1});
        QCOMPARE(int(check.outcome), outcome);
        const RenumberFields &f = check.fields;
        QCOMPARE((QStringList{f.start, f.step, f.digits, f.first, f.last}), corrected);
    }

    void previewShowsTheLastPagesNumber_data()
    {
        QTest::addColumn<QStringList>("fields");
        QTest::addColumn<QString>("preview");
        QTest::newRow("3 pages from 100") << QStringList{u"100"_s, u"1"_s, u"3"_s, u"1"_s, u"3"_s} << u"102"_s;
        QTest::newRow("step 10, 4 digits") << QStringList{u"100"_s, u"10"_s, u"4"_s, u"1"_s, u"3"_s} << u"0120"_s;
        QTest::newRow("empty digits pad nothing") << QStringList{u"7"_s, u"1"_s, u""_s, u"1"_s, u"1"_s} << u"7"_s;
        QTest::newRow("no start, no preview") << QStringList{u""_s, u"1"_s, u"3"_s, u"1"_s, u"3"_s} << QString();
        QTest::newRow("huge numbers do not overflow")
            << QStringList{u"2000000000"_s, u"2000000000"_s, u"1"_s, u"1"_s, u"3"_s} << u"6000000000"_s;
    }
    void previewShowsTheLastPagesNumber()
    {
        QFETCH(QStringList, fields);
        QFETCH(QString, preview);
        const std::optional<QString> shown = renumberPreview({fields[0], fields[1], fields[2], fields[3], fields[4], 1, 3, 1});
        QCOMPARE(shown.value_or(QString()), preview);
    }
};

QTEST_GUILESS_MAIN(OrderNumbersTest)
#include "tst_ordernumbers.moc"
