// Renames that finish whole: every file named after a page follows it, the
// pages of the whole data root follow the files they use, and a rename that a
// stopped program left is finished from its record, which is trusted only
// where its writer is gone.
#include "core/app/atomicfile.h"
#include "core/navigation/navigator.h"
#include "core/navigation/navigatorhost.h"
#include "core/navigation/pagelist.h"
#include "core/navigation/pathtext.h"
#include "core/pages/markupscan.h"
#include "core/tools/folderrename.h"
#include "core/tools/ordernumbers.h"
#include "core/tools/picturerename.h"
#include "core/tools/renamefinisher.h"
#include "core/tools/renamerecord.h"

#include "core/navigation/testfiles.h"

#include <QDir>
#include <QDirIterator>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

// Writes each "name" (a folder when it ends with "/") holding "ID:" + its name.
void makeFiles(const QString &root, const QStringList &names)
{
    for (const QString &name : names) {
        if (name.endsWith(u'/'))
            QDir(root).mkpath(name);
        else
            writeFixture(root + u'/' + name, "ID:" + name.toUtf8());
    }
}

// The entries of a folder as "name<-first name" (or "name" for an unmoved one).
QStringList namesNow(const QString &folder)
{
    QStringList state;
    for (const QFileInfo &info : QDir(folder).entryInfoList(QDir::Files | QDir::Hidden, QDir::Name)) {
        const QString was = QString::fromUtf8(readFixture(info.filePath())).mid(3);
        state << (was == info.fileName() || was.isEmpty() ? info.fileName() : info.fileName() + u"<-"_s + was);
    }
    return state;
}

QList<PageMove> planOf(const QString &folder, const QString &operation, Companions *companions)
{
    const QStringList entries = pageListOrder(listPageFiles(folder), u"kavuno"_s);
    if (operation.startsWith(u"reorder"_s)) {
        *companions = ReorderCompanions;
        const QStringList op = operation.split(u' ');
        return planReorder(entries, op.at(1).toInt(), op.at(2).toInt()).moves;
    }
    if (operation == u"strip"_s) {
        *companions = StripCompanions;
        FolderNames names(FolderNames::list(folder), StripCompanions);
        return planStrip(entries, names);
    }
    *companions = NumberedCompanions;
    NumberedRename rename{u"page"_s, 100, 1, 3, 0, int(entries.size()) - 1};
    return planNumbered(entries, rename, FolderNames(FolderNames::list(folder), NumberedCompanions));
}

// Pages name files as <A href="x" title="ID">: every such value of every page
// of the root must lead to the file that holds "ID:" + ID.
QString brokenLink(const QString &root, bool subFolders = true)
{
    static const QRegularExpression link(u"(?:href|src)=\"([^\"]*)\" title=\"([^\"]*)\""_s);
    for (QDirIterator it(root, {u"*.html"_s}, QDir::Files,
                         subFolders ? QDirIterator::Subdirectories : QDirIterator::NoIteratorFlags);
         it.hasNext();) {
        const QString page = it.next();
        const QString text = QString::fromUtf8(readFixture(page));
        for (auto m = link.globalMatch(text); m.hasNext();) {
            const QRegularExpressionMatch found = m.next();
            const QString target = QFileInfo(page).path() + u'/' + found.captured(1);
            if (!readFixture(target).contains(QByteArray(QByteArray("ID:") + found.captured(2).toUtf8())))
                return page + u" names "_s + found.captured(1) + u" for "_s + found.captured(2) + u": "_s
                       + namesNow(QFileInfo(page).path()).join(u", "_s);
        }
    }
    return {};
}

// A folder whose pages swap round in a reorder (2 to 0 turns 1000 -> 1010 ->
// 1020 -> 1000), each with its note, naming each other and a picture; the
// root's index and a page in a sub-folder name them too.
void makeRotation(const QString &root)
{
    QDir(root).mkpath(u"A/sub"_s);
    const QString a = root + u"/A/"_s;
    for (int p = 0; p < 3; ++p) {
        const QString page = u"10%1_x"_s.arg(p * 10, 2, 10, QChar(u'0'));
        const QString next = u"10%1_x.html"_s.arg((p + 1) % 3 * 10, 2, 10, QChar(u'0'));
        writeFixture(a + page + u".html"_s,
                     u"<HTML><BODY>ID:P%1\r\n<A href=\"%2\" title=\"P%3\">n</A><IMG src=\"1030_p.jpg\" title=\"pic\">"
                     "</BODY></HTML>\r\n"_s.arg(p).arg(next).arg((p + 1) % 3).toUtf8());
        writeFixture(a + page + u".%xt"_s, u"ID:P%1-note"_s.arg(p).toUtf8());
    }
    writeFixture(a + u"1030_p.jpg"_s, "ID:pic");
    writeFixture(root + u"/index.html"_s, "\xEF\xBB\xBF<A href=\"A/1010_x.html\" title=\"P1\">1</A>");
    writeFixture(a + u"sub/s.html"_s, "<A href=\"../1020_x.html\" title=\"P2\">2</A>");
}

// Each page of the rotation beside its own note, nothing left hidden.
QString rotationProblem(const QString &root)
{
    const QString a = root + u"/A"_s;
    for (const QString &page : QDir(a).entryList({u"*.html"_s}, QDir::Files)) {
        const QByteArray text = readFixture(a + u'/' + page);
        const qsizetype id = text.indexOf("ID:P");
        const QByteArray note = readFixture(a + u'/' + pathWithoutExtension(page) + u".%xt"_s);
        if (id < 0 || note != text.mid(id, 5) + "-note")
            return page + u" is not beside its note: "_s + namesNow(a).join(u", "_s);
    }
    QStringList hidden = QDir(a).entryList(QDir::Files | QDir::Hidden).filter(QRegularExpression(u"^\\."_s));
    // A program stopped while it wrote the plan leaves it under a temporary name the next writer removes.
    hidden.removeIf(AtomicFile::isTemporaryName);
    if (!hidden.isEmpty())
        return u"left hidden: "_s + hidden.join(u", "_s);
    return brokenLink(root);
}

// Removes the record's last entry, as if the program had stopped just before writing it.
void dropLastEntry(const QString &record)
{
    QByteArray bytes = readFixture(record);
    QList<QByteArray> fields = bytes.split('\0');
    fields.removeLast();
    if (fields.size() > 4 && fields.at(fields.size() - 4) == "M")
        fields.resize(fields.size() - 4);
    else if (fields.size() > 3 && fields.at(fields.size() - 3) == "P")
        fields.resize(fields.size() - 3);
    else
        return;
    QFile file(record);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(fields.join('\0') + '\0');
}

QByteArray recordBytes(const QString &host, qint64 pid, const QStringList &items)
{
    QStringList fields{u"kavuno-renaming"_s, u"1"_s, host, QString::number(pid), QString::number(int(Companion::Note)),
                       u"1"_s, u"0"_s, QString::number(items.size() / 2)};
    for (qsizetype i = 0; i + 1 < items.size(); i += 2)
        fields << (i == 0 ? u"0"_s : u"1"_s) << items.at(i) << items.at(i + 1);
    return (fields.join(QChar(0)) + QChar(0)).toUtf8();
}

} // namespace

class RenameJournalTest : public QObject
{
    Q_OBJECT
private slots:
    // The note, the sound, the answer CSV and the drawing follow their page.
    void everyFileNamedAfterThePageFollowsIt_data()
    {
        QTest::addColumn<QStringList>("before");
        QTest::addColumn<QString>("operation");
        QTest::addColumn<QStringList>("after");
        QTest::newRow("reorder: the answers of 1010_ws go to _1020_ws.csv")
            << QStringList{u"1000_a.html"_s, u"1005_b.html"_s, u"1010_ws.html"_s, u"_1010_ws.csv"_s, u"1010_ws.wav"_s,
                           u"_%ws.bmp"_s}
            << u"reorder 0 0"_s
            << QStringList{u"1000_a.html"_s, u"1010_b.html<-1005_b.html"_s, u"1020_ws.html<-1010_ws.html"_s,
                           u"1020_ws.wav<-1010_ws.wav"_s, u"_%ws.bmp"_s, u"_1020_ws.csv<-_1010_ws.csv"_s};
        QTest::newRow("strip: sound and answers too")
            << QStringList{u"1010_ws.html"_s, u"1010_ws.%xt"_s, u"_1010_ws.csv"_s, u"1010_ws.wav"_s} << u"strip"_s
            << QStringList{u"_ws.csv<-_1010_ws.csv"_s, u"ws.%xt<-1010_ws.%xt"_s, u"ws.html<-1010_ws.html"_s,
                           u"ws.wav<-1010_ws.wav"_s};
        QTest::newRow("strip: two pages share a drawing, the first keeps it")
            << QStringList{u"1000_a.html"_s, u"1010_a.html"_s, u"1010_a.%xt"_s, u"_%a.bmp"_s} << u"strip"_s
            << QStringList{u"_%a.bmp"_s, u"a#.%xt<-1010_a.%xt"_s, u"a#.html<-1010_a.html"_s, u"a.html<-1000_a.html"_s};
        QTest::newRow("numbered: drawing, answers and sound")
            << QStringList{u"1010_q.html"_s, u"_%q.bmp"_s, u"_1010_q.csv"_s, u"1010_q.wav"_s} << u"number"_s
            << QStringList{u"_%page(100).bmp<-_%q.bmp"_s, u"_page(100).csv<-_1010_q.csv"_s,
                           u"page(100).html<-1010_q.html"_s, u"page(100).wav<-1010_q.wav"_s};
    }
    void everyFileNamedAfterThePageFollowsIt()
    {
        QFETCH(QStringList, before);
        QFETCH(QString, operation);
        QFETCH(QStringList, after);
        QTemporaryDir dir;
        makeFiles(dir.path(), before);
        Companions companions;
        const QList<PageMove> moves = planOf(dir.path(), operation, &companions);
        renameUsedFiles(dir.path(), dir.path(), moves, companions);
        QCOMPARE(namesNow(dir.path()), after);
    }

    // Pages anywhere in the data root follow a reorder of A and keep their
    // bytes but for the names; a page that cannot be rewritten keeps the
    // picture's name and is told.
    void pagesOfTheWholeRootFollow()
    {
        QTemporaryDir root;
        QDir(root.path()).mkpath(u"A/sub"_s);
        QDir(root.path()).mkpath(u"B"_s);
        const QString a = root.path() + u"/A"_s;
        makeFiles(a, {u"1010_p1.html"_s, u"1040_photo.jpg"_s, u"2000_kept.jpg"_s});
        writeFixture(root.path() + u"/index.html"_s,
                     "<A href=\"A/1010_p1.html\" title=\"1010_p1.html\">p</A>\r\n<IMG src=\"A/1040_photo.jpg\" "
                     "title=\"1040_photo.jpg\">\r\n");
        writeFixture(a + u"/sub/s.html"_s, "\xEF\xBB\xBF<IMG src=\"../1040_photo.jpg\" title=\"1040_photo.jpg\">");
        // Shift_JIS: no valid UTF-8.
        writeFixture(root.path() + u"/B/sjis.html"_s, "<IMG src=\"../A/2000_kept.jpg\">\x83\x65");
        const FolderRenameOutcome outcome
            = renameUsedFiles(a, root.path(), planReorder({u"1010_p1.html"_s, u"1040_photo.jpg"_s, u"2000_kept.jpg"_s}, 0, 0).moves,
                              ReorderCompanions);
        QCOMPARE(namesNow(a), (QStringList{u"1000_p1.html<-1010_p1.html"_s, u"1010_photo.jpg<-1040_photo.jpg"_s,
                                           u"2000_kept.jpg"_s}));
        QCOMPARE(outcome.kept, QStringList{u"2000_kept.jpg"_s});
        QCOMPARE(outcome.keptFor, QStringList{root.path() + u"/B/sjis.html"_s});
        QCOMPARE(readFixture(root.path() + u"/index.html"_s),
                 QByteArray("<A href=\"A/1000_p1.html\" title=\"1010_p1.html\">p</A>\r\n<IMG src=\"A/1010_photo.jpg\" "
                            "title=\"1040_photo.jpg\">\r\n"));
        QCOMPARE(readFixture(a + u"/sub/s.html"_s),
                 QByteArray("\xEF\xBB\xBF<IMG src=\"../1010_photo.jpg\" title=\"1040_photo.jpg\">"));
        QCOMPARE(brokenLink(root.path()), QString());
    }

    // However a page in another folder writes the name, it follows the file.
    void everySpellingOfANameFollows_data()
    {
        QTest::addColumn<QString>("picture");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("after");
        QTest::newRow("as written") << u"1020_pic.jpg"_s << u"../A/1020_pic.jpg"_s << u"../A/1000_pic.jpg"_s;
        QTest::newRow("in another case") << u"1020_pic.jpg"_s << u"../A/1020_PIC.JPG"_s << u"../A/1000_pic.jpg"_s;
        QTest::newRow("Windows separators") << u"1020_pic.jpg"_s << u"..\\A\\1020_pic.jpg"_s << u"..\\A\\1000_pic.jpg"_s;
        QTest::newRow("a query and a fragment")
            << u"1020_pic.jpg"_s << u"../A/1020_pic.jpg?v=2#top"_s << u"../A/1000_pic.jpg?v=2#top"_s;
        QTest::newRow("percent escapes") << u"1020_写真.jpg"_s << u"../A/1020_%E5%86%99%E7%9C%9F.jpg"_s
                                         << u"../A/1000_%E5%86%99%E7%9C%9F.jpg"_s;
        QTest::newRow("an escaped ampersand") << u"1020_a&b.jpg"_s << u"../A/1020_a&amp;b.jpg"_s << u"../A/1000_a&b.jpg"_s;
        QTest::newRow("a blank in the name") << u"1020_my pic.jpg"_s << u"../A/1020_my pic.jpg"_s << u"../A/1000_my pic.jpg"_s;
    }
    void everySpellingOfANameFollows()
    {
        QFETCH(QString, picture);
        QFETCH(QString, value);
        QFETCH(QString, after);
        QTemporaryDir root;
        const QString a = root.path() + u"/A"_s;
        QDir(root.path()).mkpath(u"A"_s);
        QDir(root.path()).mkpath(u"B"_s);
        makeFiles(a, {u"1010_p.html"_s, picture});
        writeFixture(root.path() + u"/B/b.html"_s, (u"<IMG src=\""_s + value + u"\">"_s).toUtf8());
        renameUsedFiles(a, root.path(), planReorder({u"1010_p.html"_s, picture}, 1, 0).moves, ReorderCompanions);
        QCOMPARE(QString::fromUtf8(readFixture(root.path() + u"/B/b.html"_s)), u"<IMG src=\""_s + after + u"\">"_s);
    }

    // A new name with "#", "?" or "%" is written as a browser reads it back:
    // the value still leads to the renamed file (a page, a picture, a folder),
    // in double quotes, single quotes or none.
    void namesWithHashQueryOrPercentStayReachable_data()
    {
        QTest::addColumn<QString>("operation");
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("renamedTo");
        QTest::newRow("strip gives a#.html") << u"strip"_s << QStringList{u"1000_a.html"_s, u"1010_a.html"_s}
                                             << u"\"../A/1010_a.html#top\""_s << u"a#.html"_s;
        QTest::newRow("numbered q#") << u"number q#"_s << QStringList{u"x.html"_s} << u"'../A/x.html'"_s
                                     << u"q#(100).html"_s;
        QTest::newRow("numbered 7%41") << u"number 7%41"_s << QStringList{u"x.html"_s} << u"../A/x.html"_s
                                       << u"7%41(100).html"_s;
        QTest::newRow("numbered what?") << u"number what?"_s << QStringList{u"x.html"_s} << u"\"../A/x.html?v=1\""_s
                                        << u"what?(100).html"_s;
        QTest::newRow("numbered q#: a picture in the page's folder")
            << u"number q#"_s << QStringList{u"unit.html"_s, u"unit/"_s, u"unit/pic.jpg"_s}
            << u"\"../A/unit/pic.jpg\""_s << u"q#(100)/pic.jpg"_s;
        QTest::newRow("file tool prefix p#") << u"pictures p#"_s << QStringList{u"photo.jpg"_s}
                                             << u"\"../A/photo.jpg\""_s << u"p#0.jpg"_s;
        QTest::newRow("file tool prefix 100%4") << u"pictures 100%4"_s << QStringList{u"photo.jpg"_s}
                                                << u"../A/photo.jpg"_s << u"100%40.jpg"_s;
    }
    void namesWithHashQueryOrPercentStayReachable()
    {
        QFETCH(QString, operation);
        QFETCH(QStringList, files);
        QFETCH(QString, value);
        QFETCH(QString, renamedTo);
        QTemporaryDir root;
        const QString a = root.path() + u"/A"_s;
        QDir(root.path()).mkpath(u"A"_s);
        QDir(root.path()).mkpath(u"B"_s);
        makeFiles(a, files);
        const QString page = root.path() + u"/B/b.html"_s;
        writeFixture(page, (u"<A href="_s + value + u">x</A>"_s).toUtf8());
        const QString name = operation.section(u' ', 1);
        if (operation == u"strip") {
            FolderNames names(FolderNames::list(a), StripCompanions);
            renameUsedFiles(a, root.path(), planStrip(pageListOrder(listPageFiles(a), u"kavuno"_s), names), StripCompanions);
        } else if (operation.startsWith(u"number")) {
            const QStringList entries = pageListOrder(listPageFiles(a), u"kavuno"_s);
            const NumberedRename rename{name, 100, 1, 3, 0, int(entries.size()) - 1};
            QCOMPARE(int(numberedNameProblem(entries, rename)), int(NumberedNameProblem::None));
            renameUsedFiles(a, root.path(), planNumbered(entries, rename, FolderNames(FolderNames::list(a), NumberedCompanions)),
                            NumberedCompanions);
        } else {
            LinkResolver resolver(root.path(), a);
            QCOMPARE(renamePictures({a + u'/' + files.constFirst(), page}, name, resolver).renamed.size(), 1);
        }
        QVERIFY2(QFile::exists(a + u'/' + renamedTo), qPrintable(namesNow(a).join(u", "_s)));
        // The value as the page holds it now, read as a browser reads it.
        static const QRegularExpression href(u"href=(\"[^\"]*\"|'[^']*'|[^ >]*)"_s);
        const QString text = QString::fromUtf8(readFixture(page));
        QString written = href.match(text).captured(1);
        if (written.startsWith(u'"') || written.startsWith(u'\''))
            written = written.mid(1).chopped(1);
        const QString reached = QUrl::fromLocalFile(page).resolved(QUrl(written)).toLocalFile();
        QVERIFY2(reached == a + u'/' + renamedTo, qPrintable(text + u" leads to "_s + reached));
    }

    // A page with more tags than are read keeps the names it holds: the files
    // it may name keep theirs, and the user is told which page.
    void pageTooLargeToReadKeepsTheFilesItNames()
    {
        QTemporaryDir dir;
        makeFiles(dir.path(), {u"1010_p.html"_s, u"1020_pic.jpg"_s, u"1030_other.jpg"_s});
        const QByteArray big = "<IMG src=\"1020_pic.jpg\">" + QByteArray("<B>x</B>").repeated(MarkupTagLimit / 2);
        writeFixture(dir.path() + u"/1010_p.html"_s, big);
        const FolderRenameOutcome outcome = renameUsedFiles(
            dir.path(), dir.path(),
            planReorder({u"1010_p.html"_s, u"1020_pic.jpg"_s, u"1030_other.jpg"_s}, 0, 0).moves, ReorderCompanions);
        QCOMPARE(outcome.kept, QStringList{u"1020_pic.jpg"_s});
        QVERIFY(QFile::exists(dir.path() + u"/1020_pic.jpg"_s));
        QCOMPARE(readFixture(outcome.keptFor.value(0)), big);
    }

    // A page inside a sub-folder that follows its page is found there and
    // still names the files of the level.
    void pagesInAFolderThatFollowsItsPageAreRewritten()
    {
        QTemporaryDir dir;
        makeFiles(dir.path(), {u"pic.jpg"_s, u"unit.html"_s, u"unit/"_s});
        writeFixture(dir.path() + u"/unit/s.html"_s,
                     "<A href=\"../unit.html\" title=\"unit.html\"><IMG src=\"../pic.jpg\" title=\"pic.jpg\"></A>");
        Companions companions;
        const QList<PageMove> moves = planOf(dir.path(), u"number"_s, &companions);
        QCOMPARE(renameUsedFiles(dir.path(), dir.path(), moves, companions).pagesNotWritten, QStringList());
        QVERIFY(QFile::exists(dir.path() + u"/page(101)/s.html"_s));
        QCOMPARE(readFixture(dir.path() + u"/page(101)/s.html"_s),
                 QByteArray("<A href=\"../page(101).html\" title=\"unit.html\"><IMG src=\"../page(100).jpg\" "
                            "title=\"pic.jpg\"></A>"));
    }

    // A rename stopped at any step, before or after what its record last
    // tells, is finished when the folder is opened: every page beside its
    // note, every value leading to the file it named.
    void stoppedRenameIsFinishedOnOpening_data()
    {
        QTest::addColumn<int>("stopAt");
        QTest::addColumn<bool>("stepTaken");
        for (int step = 1; step <= 26; ++step) {
            QTest::addRow("stopped before step %d", step) << step << false;
            QTest::addRow("stopped after step %d", step) << step << true;
        }
    }
    void stoppedRenameIsFinishedOnOpening()
    {
        QFETCH(int, stopAt);
        QFETCH(bool, stepTaken);
        QTemporaryDir root;
        makeRotation(root.path());
        const QString a = root.path() + u"/A"_s;
        const QList<PageMove> moves = planReorder(pageListOrder(listPageFiles(a), u"kavuno"_s), 2, 0).moves;
        const pid_t child = ::fork();
        if (child == 0) {
            int ticks = 0;
            renameUsedFiles(a, root.path(), moves, ReorderCompanions, [&] {
                if (++ticks == stopAt + (stepTaken ? 1 : 0))
                    ::_exit(3);
            });
            ::_exit(0);
        }
        int status = 0;
        QCOMPARE(::waitpid(child, &status, 0), child);
        if (stepTaken && QFile::exists(RenameRecord::path(a)))
            dropLastEntry(RenameRecord::path(a));
        QCOMPARE(settleRenameOnOpening(a, root.path()), QStringList());
        QVERIFY(!QFile::exists(RenameRecord::path(a)));
        const QString problem = rotationProblem(root.path());
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
    }

    // The folder's own files and pages first, the rest of the data root
    // after: a program stopped in between (or its worker stopped as it
    // closes), or a copy opening the folder while the rest is rewritten,
    // never ends with a page naming the wrong file.
    void folderFirstThenTheRestOfTheRoot_data()
    {
        QTest::addColumn<QString>("between");
        QTest::newRow("the rest rewritten") << u"nothing"_s;
        QTest::newRow("stopped in between, finished on opening") << u"stopped"_s;
        QTest::newRow("opened meanwhile, the rest rewritten") << u"opened"_s;
        QTest::newRow("the worker runs to its end") << u"worker"_s;
        QTest::newRow("the worker stopped, finished on opening") << u"worker stopped"_s;
    }
    void folderFirstThenTheRestOfTheRoot()
    {
        QFETCH(QString, between);
        QTemporaryDir root;
        makeRotation(root.path());
        const QString a = root.path() + u"/A"_s;
        const QByteArray index = readFixture(root.path() + u"/index.html"_s);
        auto lock = std::make_unique<FolderRenameLock>(a);
        QVERIFY(lock->acquire(0));
        auto rename = std::make_unique<FolderRename>(a, root.path(), ReorderCompanions);
        const FolderRenameOutcome outcome
            = rename->renameFolder(planReorder(pageListOrder(listPageFiles(a), u"kavuno"_s), 2, 0).moves, false);
        QCOMPARE(outcome.pagesNotWritten, QStringList());
        QVERIFY(rename->restLeft());
        // The folder's pages lead to the pages they named; the root's index not yet.
        QCOMPARE(brokenLink(a, false), QString());
        QCOMPARE(readFixture(root.path() + u"/index.html"_s), index);
        QVERIFY(QFile::exists(RenameRecord::path(a)));
        bool finishedOnOpening = between == u"stopped";
        if (between == u"stopped") {
            rename.reset();
            lock.reset();
        } else if (between.startsWith(u"worker")) {
            RenameFinisher finisher;
            QSignalSpy finished(&finisher, &RenameFinisher::finished);
            finisher.finish(std::move(rename), std::move(lock));
            QVERIFY(finisher.busy());
            // As the program closes.
            finishedOnOpening = between.endsWith(u"stopped");
            if (finishedOnOpening)
                finisher.stop();
            QVERIFY(finished.wait(30000));
            QCOMPARE(finisher.outcome().recordKept, finishedOnOpening);
            QCOMPARE(QFile::exists(RenameRecord::path(a)), finishedOnOpening);
        } else {
            if (between == u"opened") {
                // The worker holds the lock: the opening leaves the record to it.
                QCOMPARE(settleRenameOnOpening(a, root.path()), QStringList());
                QCOMPARE(readFixture(root.path() + u"/index.html"_s), index);
                QVERIFY(QFile::exists(RenameRecord::path(a)));
            }
            const FolderRenameOutcome rest = rename->finishRest(lock->ticker());
            QCOMPARE(rest.pagesNotWritten, QStringList());
            QVERIFY(!rest.recordKept);
            lock.reset();
        }
        if (finishedOnOpening) {
            QCOMPARE(readFixture(root.path() + u"/index.html"_s), index);
            QCOMPARE(settleRenameOnOpening(a, root.path()), QStringList());
        }
        QVERIFY(!QFile::exists(RenameRecord::path(a)));
        const QString problem = rotationProblem(root.path());
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
    }

    // A page that cannot be written keeps the files it names where they are,
    // or (when it fails at its write) keeps the record until the folder is
    // opened again with the page writable: no value is left dead.
    void pageThatCannotBeWrittenLeavesNoDeadValue_data()
    {
        QTest::addColumn<bool>("diskFull");
        QTest::newRow("a read-only page in another folder") << false;
        QTest::newRow("the disk full") << true;
    }
    void pageThatCannotBeWrittenLeavesNoDeadValue()
    {
        QFETCH(bool, diskFull);
        QTemporaryDir temp;
        QString rootPath = temp.path();
        QString mounted;
        const auto unmount = qScopeGuard([&] {
            if (!mounted.isEmpty())
                ::umount2(QFile::encodeName(mounted).constData(), MNT_DETACH);
        });
        const auto mountTmpfs = [&](const QString &at, const char *options) {
            QDir().mkpath(at);
            if (::mount("tmpfs", QFile::encodeName(at).constData(), "tmpfs", 0, options) != 0)
                return false;
            mounted = at;
            return true;
        };
        if (diskFull) {
            // A small file system of its own holds the whole data root.
            rootPath = temp.path() + u"/small"_s;
            if (!mountTmpfs(rootPath, "size=512k"))
                QSKIP("No small file system can be mounted here (needs the right to mount a tmpfs)");
        }
        makeRotation(rootPath);
        const QString a = rootPath + u"/A"_s;
        const QString b = rootPath + u"/B"_s;
        if (!diskFull) {
            // B holds a page that names a picture and a page of A, and cannot be written.
            if (::geteuid() == 0) {
                if (!mountTmpfs(b, "size=64k"))
                    QSKIP("No read-only folder can be made for root here (needs the right to mount a tmpfs)");
            } else {
                QDir().mkpath(b);
            }
        }
        QDir().mkpath(b);
        writeFixture(b + u"/b.html"_s, "<A href=\"../A/1020_x.html\" title=\"P2\"><IMG src=\"../A/1030_p.jpg\" title=\"pic\">");
        const auto setWritable = [&](bool writable) {
            if (diskFull) {
                QFile::remove(rootPath + u"/filler"_s);
                if (!writable) {
                    // Room for the record only: no page can be written.
                    struct statvfs fs;
                    QVERIFY(::statvfs(QFile::encodeName(rootPath).constData(), &fs) == 0);
                    const qint64 room = qint64(fs.f_bavail) * qint64(fs.f_frsize);
                    QFile filler(rootPath + u"/filler"_s);
                    QVERIFY(filler.open(QIODevice::WriteOnly));
                    filler.write(QByteArray(room - qint64(fs.f_frsize), 'f'));
                    filler.close();
                }
            } else if (::geteuid() == 0) {
                QCOMPARE(::mount(nullptr, QFile::encodeName(b).constData(), nullptr,
                                 MS_REMOUNT | (writable ? 0 : MS_RDONLY), nullptr),
                         0);
            } else {
                QVERIFY(QFile::setPermissions(b, writable ? QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner
                                                          : QFile::ReadOwner | QFile::ExeOwner));
            }
        };
        setWritable(false);
        const FolderRenameOutcome outcome = renameUsedFiles(
            a, rootPath, planReorder(pageListOrder(listPageFiles(a), u"kavuno"_s), 2, 0).moves, ReorderCompanions);
        QCOMPARE(outcome.recordKept, QFile::exists(RenameRecord::path(a)));
        setWritable(true);
        settleRenameOnOpening(a, rootPath);
        QVERIFY(!QFile::exists(RenameRecord::path(a)));
        const QString problem = rotationProblem(rootPath);
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
        QVERIFY2(brokenLink(b).isEmpty(), qPrintable(brokenLink(b)));
        // The read-only page kept the files it names where they were; the full disk kept the record.
        QVERIFY(diskFull ? outcome.recordKept : !outcome.kept.isEmpty());
    }

    // Only a record whose writer is gone is settled, and only a regular file
    // that holds one: anything else under its name is set aside unopened.
    void recordIsTrustedOnlyWhereItsWriterIsGone_data()
    {
        QTest::addColumn<QString>("planted");
        QTest::addColumn<int>("settled");
        QTest::addColumn<QStringList>("after");
        const QStringList untouched{u"a.%xt"_s, u"a.html"_s};
        const QStringList finished{u"b.%xt<-a.%xt"_s, u"b.html<-a.html"_s};
        QTest::newRow("a folder") << u"folder"_s << int(SettleState::Settled) << untouched;
        QTest::newRow("a link to a record") << u"link"_s << int(SettleState::Settled) << untouched;
        QTest::newRow("a name leaving the folder") << u"outside"_s << int(SettleState::Settled) << untouched;
        QTest::newRow("another PC's, just written") << u"peer"_s << int(SettleState::Busy) << untouched;
        QTest::newRow("another PC's, long unchanged") << u"old peer"_s << int(SettleState::Settled) << finished;
        QTest::newRow("this machine's, its writer running") << u"running"_s << int(SettleState::Busy) << untouched;
        QTest::newRow("this machine's, its writer gone") << u"gone"_s << int(SettleState::Settled) << finished;
    }
    void recordIsTrustedOnlyWhereItsWriterIsGone()
    {
        QFETCH(QString, planted);
        QFETCH(int, settled);
        QFETCH(QStringList, after);
        QTemporaryDir root;
        const QString a = root.path() + u"/A"_s;
        QDir(root.path()).mkpath(u"A"_s);
        makeFiles(a, {u"a.html"_s, u"a.%xt"_s});
        makeFiles(root.path(), {u"out.html"_s});
        const QString record = RenameRecord::path(a);
        const QStringList moves{u"a.html"_s, u"b.html"_s, u"a.%xt"_s, u"b.%xt"_s};
        const QString here = AtomicFile::thisHostTag();
        // A process number no process has now: a child that ended.
        const pid_t ended = ::fork();
        if (ended == 0)
            ::_exit(0);
        ::waitpid(ended, nullptr, 0);
        if (planted == u"folder")
            QVERIFY(QDir(a).mkdir(u".kavuno-renaming"_s));
        if (planted == u"link") {
            writeFixture(root.path() + u"/target"_s, recordBytes(here, ended, moves));
            QVERIFY(QFile::link(root.path() + u"/target"_s, record));
        }
        if (planted == u"outside")
            writeFixture(record, recordBytes(here, ended, {u"../out.html"_s, u"gone.html"_s}));
        if (planted == u"peer" || planted == u"old peer")
            writeFixture(record, recordBytes(u"another-pc"_s, 4242, moves));
        if (planted == u"running")
            writeFixture(record, recordBytes(here, ::getppid(), moves));
        if (planted == u"gone")
            writeFixture(record, recordBytes(here, ended, moves));
        if (planted == u"old peer") {
            QFile file(record);
            QVERIFY(file.open(QIODevice::ReadWrite));
            QVERIFY(file.setFileTime(QDateTime::currentDateTime().addSecs(-RenameRecord::StaleSeconds - 60),
                                     QFileDevice::FileModificationTime));
        }
        QCOMPARE(int(settleStoppedRename(a, root.path())), settled);
        QStringList now = namesNow(a).filter(QRegularExpression(u"^[^.]"_s));
        QCOMPARE(now, after);
        QVERIFY(QFile::exists(root.path() + u"/out.html"_s));
        if (planted == u"link")
            QCOMPARE(readFixture(root.path() + u"/target"_s), recordBytes(here, ended, moves));
        if (settled == int(SettleState::Busy))
            return;
        // Whatever was planted is no obstacle to the next rename.
        QVERIFY(!QFileInfo::exists(record) && !QFileInfo(record).isSymLink());
        renameUsedFiles(a, root.path(), {{u"a.html"_s, u"c.html"_s}}, Companion::Note);
        QVERIFY(QFile::exists(a + u"/c.html"_s) || QFile::exists(a + u"/b.html"_s));
        QVERIFY(!QFileInfo::exists(record));
    }

    // Opening a folder finishes the rename recorded there and tells of the
    // pages it cannot rewrite.
    void openingTellsThePagesAStoppedRenameCannotRewrite()
    {
        QTemporaryDir root;
        const QString a = root.path() + u"/A"_s;
        QDir(root.path()).mkpath(u"A"_s);
        makeFiles(a, {u"a.jpg"_s});
        writeFixture(a + u"/u.html"_s, "<IMG src=\"a.jpg\" title=\"a.jpg\">");
        writeFixture(a + u"/sjis.html"_s, "<IMG src=\"a.jpg\">\x83\x65");
        writeFixture(RenameRecord::path(a), recordBytes(AtomicFile::thisHostTag(), QCoreApplication::applicationPid(),
                                                        {u"a.jpg"_s, u"b.jpg"_s}));
        struct Host : NavigatorHost
        {
            QString told;
            void ShowFlashMessage(const QString &text, int) override { told = text; }
        } host;
        Navigator nav(&host);
        nav.HomeDir = root.path();
        nav.OpenFolderLevel(a, 0, true);
        QCOMPARE(nav.levels().top().MidashiF, (QStringList{u"b.jpg"_s, u"sjis.html"_s, u"u.html"_s}));
        QCOMPARE(brokenLink(root.path()), QString());
        QVERIFY2(host.told.contains(a + u"/sjis.html"_s), qPrintable(host.told));
    }

    // One program at a time renames in a folder.
    void secondRenamerWaitsForTheLock()
    {
        QTemporaryDir dir;
        FolderRenameLock first(dir.path());
        QVERIFY(first.acquire(0));
        FolderRenameLock second(dir.path());
        QVERIFY(!second.acquire(0));
        first.release();
        QVERIFY(second.acquire(0));
    }

    // A page hidden in a swap whose name another took since shows again
    // under a "#" name, its note and folder with it.
    void strandedPageTakesAHashNameWithItsCompanions()
    {
        QTemporaryDir dir;
        makeFiles(dir.path(), {u".kavuno-rename-1.q(10).html"_s, u".kavuno-rename-2.q(10).%xt"_s,
                               u".kavuno-rename-3._q(10).csv"_s, u"q(10).html"_s, u"q(10).%xt"_s, u"q(10)#.%xt"_s});
        QCOMPARE(restoreStrandedRenames(dir.path()),
                 (QStringList{u"q(10)##.html"_s, u"q(10)##.%xt"_s, u"_q(10)##.csv"_s}));
        QCOMPARE(namesNow(dir.path()),
                 (QStringList{u"_q(10)##.csv<-.kavuno-rename-3._q(10).csv"_s, u"q(10)##.%xt<-.kavuno-rename-2.q(10).%xt"_s,
                              u"q(10)##.html<-.kavuno-rename-1.q(10).html"_s, u"q(10)#.%xt"_s, u"q(10).%xt"_s,
                              u"q(10).html"_s}));
    }
};

QTEST_GUILESS_MAIN(RenameJournalTest)
#include "tst_renamejournal.moc"
