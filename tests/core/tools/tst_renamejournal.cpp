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
#include "core/tools/renameworker.h"
#include "core/tools/renamerecord.h"
#include "core/tools/renamesteps.h"

#include "core/navigation/testfiles.h"
#include "tools/sftpshare.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QDirIterator>
#include <QProcess>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <QUrl>

#include <condition_variable>
#include <cstdio>
#include <memory>
#include <mutex>
#include <optional>

#include <poll.h>

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
    // A program stopped while it wrote the plan leaves it under a temporary name the next writer removes,
    // and its lock, which the next rename takes over.
    hidden.removeIf(AtomicFile::isTemporaryName);
    hidden.removeAll(u".kavuno-renaming.lock"_s);
    if (!hidden.isEmpty())
        return u"left hidden: "_s + hidden.join(u", "_s);
    return brokenLink(root);
}

// A level of pages with a picture between each two, each page naming its
// picture and the next page; a page of B and the root's index name A's files
// too. Page keptAt holds a byte no encoding has: it cannot be rewritten, so
// the files it names keep their names.
void makeLevelWithPictures(const QString &root, int pages, int keptAt)
{
    const QString a = root + u"/A/"_s;
    QDir().mkpath(a);
    QDir().mkpath(root + u"/B"_s);
    const auto page = [](int k) { return u"%1_p%2.html"_s.arg(20000 + 20 * k).arg(k, 4, 10, QChar(u'0')); };
    const auto picture = [](int k) { return u"%1_g%2.jpg"_s.arg(20010 + 20 * k).arg(k, 4, 10, QChar(u'0')); };
    for (int k = 0; k < pages; ++k) {
        QByteArray text = u"<HTML><BODY>ID:P%1;\r\n<A href=\"%2\" title=\"P%3;\">n</A><IMG src=\"%4\" title=\"G%1;\">"
                          "</BODY></HTML>\r\n"_s.arg(k).arg(page((k + 1) % pages)).arg((k + 1) % pages).arg(picture(k))
                              .toUtf8();
        if (k == keptAt)
            text += "\xFF";
        writeFixture(a + page(k), text);
        writeFixture(a + picture(k), u"ID:G%1;"_s.arg(k).toUtf8());
    }
    writeFixture(root + u"/B/1010_b.html"_s, u"<A href=\"../A/%1\" title=\"P5;\">b</A><IMG src=\"../A/%2\" title=\"G5;\">"_s
                                                 .arg(page(5), picture(5)).toUtf8());
    writeFixture(root + u"/index.html"_s,
                 u"<A href=\"A/%1\" title=\"P0;\">i</A><IMG src=\"A/%2\" title=\"G0;\">"_s.arg(page(0), picture(0)).toUtf8());
}

// Renames as the window does, in a process of its own whose share stalls at
// its move number stallAt: that move, and the lock's beat, wait until told to
// go on, the way a share holds a request. Returns the process; stalled gets a
// byte once the move waits, and go lets it on.
pid_t renameWithAStall(const QString &root, const QString &folder, const QList<PageMove> &moves, Companions companions,
                       int stallAt, int stalled, int go)
{
    const pid_t child = ::fork();
    if (child != 0)
        return child;
    std::mutex mutex;
    std::condition_variable released;
    bool waiting = false;
    int movesSeen = 0;
    RenameSteps::setHook([&](const QString &step, const QString &, const QString &) {
        std::unique_lock<std::mutex> locker(mutex);
        if (step == u"move" && ++movesSeen == stallAt) {
            waiting = true;
            locker.unlock();
            char byte = 's';
            if (::write(stalled, &byte, 1) != 1 || ::read(go, &byte, 1) != 1)
                ::_exit(5);
            locker.lock();
            waiting = false;
            released.notify_all();
        }
        // The whole share stalls: the beat waits as well.
        released.wait(locker, [&] { return !waiting; });
    });
    FolderRenameLock lock(folder);
    if (!lock.acquire(0) || settleStoppedRename(folder, root) != SettleState::Settled)
        ::_exit(4);
    FolderRename rename(folder, root, companions);
    rename.renameFolder(moves, false);
    rename.finishRest({});
    RenameSteps::setHook({});
    ::_exit(0);
}

// Renames as the window does: the folder's own files and pages, then the rest
// of the root; what the rest gave.
FolderRenameOutcome renameFolderFirst(const QString &root, const QString &folder, const QList<PageMove> &moves)
{
    FolderRenameLock lock(folder);
    if (!lock.acquire(0))
        return {};
    FolderRename rename(folder, root, ReorderCompanions);
    rename.renameFolder(moves, false);
    return rename.finishRest({});
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

// Opens folder as the window does, what a stopped rename left there finished
// first as the rename worker finishes it; what the user was told last, and
// the entries listed.
QString toldOnOpening(const QString &root, const QString &folder, QStringList *listed)
{
    struct Host : NavigatorHost
    {
        QString root;
        QString told;
        void ShowFlashMessage(const QString &text, int) override { told = text; }
        void renameLeftIn(const QString &folder) override { told = settleText(settleRenameOnOpening(folder, root)); }
    } host;
    host.root = root;
    Navigator nav(&host);
    nav.HomeDir = root;
    nav.OpenFolderLevel(folder, 0, true);
    *listed = nav.levels().top().MidashiF;
    return host.told;
}

// The lock of another PC whose beat count is beats, its clock at beatSecs.
QByteArray peerLock(qint64 beatSecs, const QByteArray &name = "other-pc", qint64 beats = 7)
{
    return "kavuno-rename-lock\ntoken 0123456789abcdef\nname " + name + "\nwriter other-pc-1#pid:[1]#9\npid 4242\nbeat "
           + QByteArray::number(beats).rightJustified(12, '0') + ' ' + QByteArray::number(beatSecs).rightJustified(12, '0')
           + "\n";
}

QByteArray recordBytes(const QString &host, qint64 pid, const QStringList &items)
{
    QStringList fields{u"kavuno-renaming"_s, u"1"_s, host, QString::number(pid), QString::number(int(Companion::Note)),
                       u"1"_s, u"0"_s, QString::number(items.size() / 2)};
    for (qsizetype i = 0; i + 1 < items.size(); i += 2)
        fields << (i == 0 ? u"0"_s : u"1"_s) << items.at(i) << items.at(i + 1);
    return (fields.join(QChar(0)) + QChar(0)).toUtf8();
}

// q(1).html .. q(pages).html in folder, each naming the next (the last the first).
void makeChain(const QString &folder, int pages)
{
    QDir().mkpath(folder);
    for (int k = 1; k <= pages; ++k)
        writeFixture(folder + u"/q(%1).html"_s.arg(k),
                     u"<HTML><BODY>ID:P%1;\r\n<A href=\"q(%2).html\" title=\"P%2;\">next</A></BODY></HTML>\r\n"_s
                         .arg(k)
                         .arg(k % pages + 1)
                         .toUtf8());
}

// Renames q(1)..q(pages) to q(2)..q(pages + 1) in a process of its own that
// stops once stopAfter pages are rewritten, leaving the record behind.
void stopRenameOfChain(const QString &root, const QString &folder, int pages, int stopAfter)
{
    const QStringList entries = pageListOrder(listPageFiles(folder), u"kavuno"_s);
    const NumberedRename rename{u"q"_s, 2, 1, 1, 0, pages - 1};
    const QList<PageMove> moves = planNumbered(entries, rename, FolderNames(FolderNames::list(folder), NumberedCompanions));
    const pid_t child = ::fork();
    if (child == 0) {
        renameUsedFiles(folder, root, moves, NumberedCompanions, [&] {
            if (readFixture(RenameRecord::path(folder)).count(QByteArray("\0P\0", 3)) >= stopAfter)
                ::_exit(3);
        });
        ::_exit(0);
    }
    ::waitpid(child, nullptr, 0);
}

bool standsThere(const QString &path)
{
    struct stat st;
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0;
}

// Another PC opening the folder: takes its lock, finishes what the record
// tells, says "finished" when it found a record and finished it.
int finishAsAnotherPc(const QString &folder, const QString &root)
{
    FolderRenameLock lock(folder);
    // A PC of its own cannot tell the stopped writer's process is gone: it
    // waits for the lock to stand unchanged.
    lock.setStaleAfter(3000);
    if (!lock.acquire(60000)) {
        std::fprintf(stderr, "lock not taken: %d %s\n", int(lock.reason()), strerror(errno));
        return 4;
    }
    const bool found = standsThere(RenameRecord::path(folder));
    if (settleStoppedRename(folder, root, nullptr, lock.ticker()) != SettleState::Settled)
        return 5;
    const bool finished = found && !standsThere(RenameRecord::path(folder));
    lock.release();
    std::printf(finished ? "finished\n" : "nothing\n");
    return 0;
}

// A process on a PC made from the same disk image as this one: same host name,
// machine id and boot, but process numbers of its own. shell puts a shell
// before it, so that its number differs from the other's.
QStringList asClonedPc(const QStringList &command, bool shell)
{
    QStringList args{u"--pid"_s, u"--fork"_s, u"--mount-proc"_s};
    if (shell)
        args << u"sh"_s << u"-c"_s << u"\"$0\" \"$@\"; exit $?"_s;
    return args + command;
}

// Holds the folder's lock for a while once it has it, proving at each look
// that it still holds it; prints when it held it (monotonic nanoseconds).
int holdLockInTurn(const QString &folder)
{
    FolderRenameLock lock(folder);
    lock.setStaleAfter(2000);
    if (!lock.acquire(60000))
        return 4;
    const qint64 start = QDeadlineTimer::current().deadlineNSecs();
    bool held = true;
    for (int look = 0; look < 15; ++look) {
        held = held && lock.holds();
        QThread::msleep(10);
    }
    const qint64 end = QDeadlineTimer::current().deadlineNSecs();
    lock.release();
    std::printf("%lld %lld %s\n", static_cast<long long>(start), static_cast<long long>(end), held ? "held" : "lost");
    return 0;
}

// Waits waitMs for the lock of folder, breaking it after staleMs unchanged;
// prints whether it was taken.
int tryLock(const QString &folder, int staleMs, int waitMs)
{
    FolderRenameLock lock(folder);
    lock.setStaleAfter(staleMs);
    std::printf(lock.acquire(waitMs) ? "taken\n" : "busy\n");
    return 0;
}

// Fills the file system of dir.
void fillDisk(const QString &dir)
{
    QFile filler(dir + u"/filler"_s);
    if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return;
    const QByteArray chunk(4096, 'x');
    while (filler.write(chunk) == chunk.size()) {
    }
}

// Takes the lock of dir, then begins a record there, the disk filled before
// one or the other as mode says; prints why what failed failed.
int tryRenameIn(const QString &dir, const QString &mode)
{
    if (mode == u"full before the lock")
        fillDisk(dir);
    FolderRenameLock lock(dir);
    RenameBlock why = lock.acquire(0) ? RenameBlock::None : lock.reason();
    if (why == RenameBlock::None) {
        if (mode == u"full before the record")
            fillDisk(dir);
        RenameRecord record(dir);
        if (!record.begin(Companion::Note, {}))
            why = record.problem();
    }
    std::printf("%d\n", int(why));
    return 0;
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
        // A byte no encoding has: the page round-trips in none.
        writeFixture(root.path() + u"/B/sjis.html"_s, "<IMG src=\"../A/2000_kept.jpg\">\xFF");
        const FolderRenameOutcome outcome
            = renameUsedFiles(a, root.path(), planReorder({u"1010_p1.html"_s, u"1040_photo.jpg"_s, u"2000_kept.jpg"_s}, 0, 0).moves,
                              ReorderCompanions);
        QCOMPARE(namesNow(a), (QStringList{u"1000_p1.html<-1010_p1.html"_s, u"1010_photo.jpg<-1040_photo.jpg"_s,
                                           u"2000_kept.jpg"_s}));
        QCOMPARE(outcome.kept, QStringList{u"2000_kept.jpg"_s});
        QCOMPARE(outcome.keptFor, QStringList{root.path() + u"/B/sjis.html"_s});
        const PageNamesFile kept{root.path() + u"/B/sjis.html"_s, a + u"/2000_kept.jpg"_s, a + u"/1020_kept.jpg"_s};
        QCOMPARE(outcome.keptNames, QList<PageNamesFile>{kept});
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

    // A page with more tags than are read, or tags that would cost more to read
    // than its size allows, keeps the names it holds: the files it may name keep
    // theirs, and the user is told which page.
    void pageTooLargeToReadKeepsTheFilesItNames_data()
    {
        QTest::addColumn<QByteArray>("big");
        QTest::newRow("more tags than are read")
            << "<IMG src=\"1020_pic.jpg\">" + QByteArray("<B>x</B>").repeated(MarkupTagLimit / 2);
        QByteArray copied = "<P><IMG src=\"1020_pic.jpg\"></P><P>";
        for (int i = 0; i < 1000; ++i)
            copied += "<b id=" + QByteArray::number(i) + ">";
        QTest::newRow("unclosed formatting tags copied into each later block")
            << copied + "</P>" + QByteArray("<div>x</div>").repeated(1000);
    }
    void pageTooLargeToReadKeepsTheFilesItNames()
    {
        QFETCH(QByteArray, big);
        QTemporaryDir dir;
        makeFiles(dir.path(), {u"1010_p.html"_s, u"1020_pic.jpg"_s, u"1030_other.jpg"_s});
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
        QTest::addColumn<int>("finisherStopsAt");
        for (int step = 1; step <= 26; ++step) {
            QTest::addRow("stopped before step %d", step) << step << false << 0;
            QTest::addRow("stopped after step %d", step) << step << true << 0;
        }
        // Whoever finishes a record may stop too: the next one finishes it.
        for (int step : {4, 10, 16, 22})
            for (int finisher : {1, 2, 4, 7})
                QTest::addRow("stopped before step %d, its finisher before step %d", step, finisher) << step << false << finisher;
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
        QFETCH(int, finisherStopsAt);
        const pid_t finisher = finisherStopsAt > 0 ? ::fork() : -1;
        if (finisher == 0) {
            int ticks = 0;
            settleStoppedRename(a, root.path(), nullptr, [&] {
                if (++ticks == finisherStopsAt)
                    ::_exit(3);
            });
            ::_exit(0);
        }
        if (finisher > 0)
            QCOMPARE(::waitpid(finisher, &status, 0), finisher);
        QCOMPARE(settleRenameOnOpening(a, root.path()).pagesNotWritten, QStringList());
        QVERIFY(!QFile::exists(RenameRecord::path(a)));
        const QString problem = rotationProblem(root.path());
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
    }

    // The folder's own files and pages first, the rest of the data root
    // after: a program stopped in between, or a copy opening the folder
    // while the rest is rewritten,
    // never ends with a page naming the wrong file.
    void folderFirstThenTheRestOfTheRoot_data()
    {
        QTest::addColumn<QString>("between");
        QTest::newRow("the rest rewritten") << u"nothing"_s;
        QTest::newRow("stopped in between, finished on opening") << u"stopped"_s;
        QTest::newRow("opened meanwhile, the rest rewritten") << u"opened"_s;
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
        } else {
            if (between == u"opened") {
                // The worker holds the lock: the opening leaves the record to it.
                QCOMPARE(settleRenameOnOpening(a, root.path()).pagesNotWritten, QStringList());
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
            QCOMPARE(settleRenameOnOpening(a, root.path()).pagesNotWritten, QStringList());
        }
        QVERIFY(!QFile::exists(RenameRecord::path(a)));
        const QString problem = rotationProblem(root.path());
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
    }

    // A page of another folder, read only after the folder's own moves, is
    // rewritten in the encoding its bytes round-trip in, whatever its label
    // says: only its values change, the new names in that encoding too.
    void pagesOfOtherFoldersKeepTheirEncoding_data()
    {
        QTest::addColumn<QByteArray>("codec");
        QTest::addColumn<QString>("label");
        QTest::newRow("CP932 labelled Shift_JIS") << QByteArray("CP932") << u"Shift_JIS"_s;
        QTest::newRow("CP932 labelled UTF-8") << QByteArray("CP932") << u"UTF-8"_s;
        QTest::newRow("CP932 labelled Windows-31J") << QByteArray("CP932") << u"Windows-31J"_s;
        QTest::newRow("CP932 without a label") << QByteArray("CP932") << QString();
        QTest::newRow("EUC-JP labelled EUC-JP") << QByteArray("EUC-JP") << u"EUC-JP"_s;
        QTest::newRow("EUC-JP labelled Shift_JIS") << QByteArray("EUC-JP") << u"Shift_JIS"_s;
        QTest::newRow("UTF-8 without a mark") << QByteArray("UTF-8") << u"UTF-8"_s;
    }
    void pagesOfOtherFoldersKeepTheirEncoding()
    {
        QFETCH(QByteArray, codec);
        QFETCH(QString, label);
        QTemporaryDir root;
        makeFiles(root.path(), {u"A/"_s, u"B/"_s, u"A/1010_p1.html"_s, u"A/1040_写真.jpg"_s});
        const QString a = root.path() + u"/A"_s;
        const QString page = root.path() + u"/B/page.html"_s;
        const auto pageNaming = [&](const QString &picture, const QString &link) {
            const QString meta = label.isEmpty() ? QString() : u"<META charset=%1>"_s.arg(label);
            QStringEncoder encoder(codec.constData());
            return QByteArray(encoder(meta + u"<TITLE>写真のページ</TITLE>\r\n本文です。<IMG src=\"../A/%1\">"
                                             "<A href=\"../A/%2\">戻る</A>\r\n"_s.arg(picture, link)));
        };
        writeFixture(page, pageNaming(u"1040_写真.jpg"_s, u"1010_p1.html"_s));
        const FolderRenameOutcome rest =
            renameFolderFirst(root.path(), a, planReorder({u"1010_p1.html"_s, u"1040_写真.jpg"_s}, 0, 0).moves);
        QCOMPARE(rest.pagesLeftNaming, QStringList());
        QCOMPARE(readFixture(page), pageNaming(u"1010_写真.jpg"_s, u"1000_p1.html"_s));
        QVERIFY(!QFile::exists(RenameRecord::path(a)));
    }

    // A page of another folder that round-trips in no encoding keeps its
    // bytes and the record: the user is told which page names which file by
    // its old name, and once the page is mended the next opening finishes.
    void pageInNoEncodingKeepsTheRecordAndIsTold()
    {
        QTemporaryDir root;
        makeFiles(root.path(), {u"A/"_s, u"B/"_s, u"A/1010_p1.html"_s, u"A/1040_photo.jpg"_s});
        const QString a = root.path() + u"/A"_s;
        const QString page = root.path() + u"/B/bad.html"_s;
        const QByteArray bad = "<IMG src=\"../A/1040_photo.jpg\" title=\"A/1040_photo.jpg\">\xFF";
        writeFixture(page, bad);
        const FolderRenameOutcome rest =
            renameFolderFirst(root.path(), a, planReorder({u"1010_p1.html"_s, u"1040_photo.jpg"_s}, 0, 0).moves);
        QCOMPARE(rest.pagesLeftNaming, QStringList{page});
        QVERIFY(rest.recordKept);
        const PageNamesFile told{page, a + u"/1040_photo.jpg"_s, a + u"/1010_photo.jpg"_s};
        QCOMPARE(rest.notWrittenNames, QList<PageNamesFile>{told});
        QCOMPARE(describeNamedFiles(rest.notWrittenNames, root.path()),
                 QStringList{u"B/bad.html: A/1040_photo.jpg → A/1010_photo.jpg"_s});
        QCOMPARE(readFixture(page), bad);
        QVERIFY(QFile::exists(RenameRecord::path(a)));
        QCOMPARE(settleRenameOnOpening(a, root.path()).pagesNotWritten, QStringList{page});
        // Mended by hand (its old name still in it): the next opening rewrites it.
        writeFixture(page, bad.chopped(1));
        QCOMPARE(settleRenameOnOpening(a, root.path()).pagesNotWritten, QStringList());
        QVERIFY(!QFile::exists(RenameRecord::path(a)));
        QCOMPARE(brokenLink(root.path()), QString());
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
        // The folder is taken for the rename before the disk fills.
        auto lock = std::make_unique<FolderRenameLock>(a);
        QVERIFY(lock->acquire(0));
        setWritable(false);
        const FolderRenameOutcome outcome = renameUsedFiles(
            a, rootPath, planReorder(pageListOrder(listPageFiles(a), u"kavuno"_s), 2, 0).moves, ReorderCompanions);
        QCOMPARE(outcome.recordKept, QFile::exists(RenameRecord::path(a)));
        lock.reset();
        setWritable(true);
        settleRenameOnOpening(a, rootPath);
        QVERIFY(!QFile::exists(RenameRecord::path(a)));
        const QString problem = rotationProblem(rootPath);
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
        QVERIFY2(brokenLink(b).isEmpty(), qPrintable(brokenLink(b)));
        // The read-only page kept the files it names where they were; the full disk kept the record.
        QVERIFY(diskFull ? outcome.recordKept : !outcome.kept.isEmpty());
    }

    // A record is finished by whoever holds the folder's lock, whenever and
    // by whomever it was written: its writer held the lock and stops once the
    // lock is not its own. Only a regular file that holds one is read:
    // anything else under its name is set aside unopened.
    void recordIsFinishedByTheLocksHolder_data()
    {
        QTest::addColumn<QString>("planted");
        QTest::addColumn<int>("settled");
        QTest::addColumn<QStringList>("after");
        const QStringList untouched{u"a.%xt"_s, u"a.html"_s};
        const QStringList finished{u"b.%xt<-a.%xt"_s, u"b.html<-a.html"_s};
        QTest::newRow("a folder") << u"folder"_s << int(SettleState::Settled) << untouched;
        QTest::newRow("a link to a record") << u"link"_s << int(SettleState::Settled) << untouched;
        QTest::newRow("a name leaving the folder") << u"outside"_s << int(SettleState::Settled) << untouched;
        QTest::newRow("another PC's, just written, no lock beside it") << u"peer"_s << int(SettleState::Settled) << finished;
        QTest::newRow("this machine's, its writer running, no lock beside it")
            << u"running"_s << int(SettleState::Settled) << finished;
        QTest::newRow("this machine's, its writer gone") << u"gone"_s << int(SettleState::Settled) << finished;
        QTest::newRow("a folder, every numbered aside name taken") << u"folder, asides"_s << int(SettleState::Settled)
                                                                   << untouched;
        QTest::newRow("a cloned PC's, same host tag, just written") << u"clone"_s << int(SettleState::Settled) << finished;
        QTest::newRow("its writer gone, another PC's live lock beside it") << u"gone, peer lock"_s
                                                                          << int(SettleState::Busy) << untouched;
    }
    void recordIsFinishedByTheLocksHolder()
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
        const auto here = [](qint64 pid) { return RenameWriter::tagOf(pid); };
        // A process number no process has now: a child that ended.
        const pid_t ended = ::fork();
        if (ended == 0)
            ::_exit(0);
        ::waitpid(ended, nullptr, 0);
        if (planted.startsWith(u"folder"))
            QVERIFY(QDir(a).mkdir(u".kavuno-renaming"_s));
        for (int n = 1; planted == u"folder, asides" && n < 1000; ++n)
            QVERIFY(QDir(a).mkdir(u".kavuno-renaming-aside-"_s + QString::number(n)));
        if (planted == u"clone")
            writeFixture(record, recordBytes(AtomicFile::thisHostTag(), ended, moves));
        if (planted == u"link") {
            writeFixture(root.path() + u"/target"_s, recordBytes(here(ended), ended, moves));
            QVERIFY(QFile::link(root.path() + u"/target"_s, record));
        }
        if (planted == u"outside")
            writeFixture(record, recordBytes(here(ended), ended, {u"../out.html"_s, u"gone.html"_s}));
        if (planted == u"peer")
            writeFixture(record, recordBytes(u"another-pc"_s, 4242, moves));
        if (planted == u"running")
            writeFixture(record, recordBytes(here(::getppid()), ::getppid(), moves));
        if (planted.startsWith(u"gone"))
            writeFixture(record, recordBytes(here(ended), ended, moves));
        if (planted == u"gone, peer lock")
            writeFixture(FolderRenameLock::lockPath(a), peerLock(QDateTime::currentSecsSinceEpoch()));
        QCOMPARE(int(settleStoppedRename(a, root.path())), settled);
        QStringList now = namesNow(a).filter(QRegularExpression(u"^[^.]"_s));
        QCOMPARE(now, after);
        QVERIFY(QFile::exists(root.path() + u"/out.html"_s));
        if (planted == u"link")
            QCOMPARE(readFixture(root.path() + u"/target"_s), recordBytes(here(ended), ended, moves));
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
        writeFixture(a + u"/sjis.html"_s, "<IMG src=\"a.jpg\">\xFF");
        writeFixture(RenameRecord::path(a), recordBytes(RenameWriter::tagOf(QCoreApplication::applicationPid()),
                                                        QCoreApplication::applicationPid(),
                                                        {u"a.jpg"_s, u"b.jpg"_s}));
        QStringList listed;
        const QString told = toldOnOpening(root.path(), a, &listed);
        QCOMPARE(listed, (QStringList{u"b.jpg"_s, u"sjis.html"_s, u"u.html"_s}));
        QCOMPARE(brokenLink(root.path()), QString());
        QVERIFY2(told.contains(a + u"/sjis.html"_s), qPrintable(told));
    }

    // A rename whose folder keeps files for a page that cannot be rewritten
    // leaves a record its next reader reads: stopped anywhere, it is
    // finished when the folder is opened, every value leading where it did.
    void recordWithKeptFilesIsFinishedAfterAKill_data()
    {
        QTest::addColumn<int>("stopAt");
        for (const int step : {1, 10, 20, 24, 28, 32, 36, 40, 44, 48, 52, 56})
            QTest::addRow("stopped before step %d", step) << step;
    }
    void recordWithKeptFilesIsFinishedAfterAKill()
    {
        QFETCH(int, stopAt);
        QTemporaryDir root;
        const int pages = 10;
        makeLevelWithPictures(root.path(), pages, 2);
        const QString a = root.path() + u"/A"_s;
        const QStringList entries = pageListOrder(listPageFiles(a), u"kavuno"_s);
        // The first page to the end ("End" in the order dialog).
        const QList<PageMove> moves = planReorder(entries, 0, int(entries.size()) - 1).moves;
        const pid_t child = ::fork();
        if (child == 0) {
            int ticks = 0;
            renameUsedFiles(a, root.path(), moves, ReorderCompanions, [&] {
                if (++ticks == stopAt)
                    ::_exit(3);
            });
            ::_exit(0);
        }
        int status = 0;
        QCOMPARE(::waitpid(child, &status, 0), child);
        QCOMPARE(settleRenameOnOpening(a, root.path()).pagesNotWritten, QStringList());
        QVERIFY(!standsThere(RenameRecord::path(a)));
        QCOMPARE(brokenLink(root.path()), QString());
        // What the page that cannot be rewritten names kept its name.
        QVERIFY(QFile::exists(a + u"/20060_p0003.html"_s));
        QVERIFY(QFile::exists(a + u"/20050_g0002.jpg"_s));
    }

    // A holder of the folder whose share stalls one move past the stale time
    // loses the lock to another PC, which finishes the record; the stalled
    // move, let on late, does no harm: every page beside its note, every
    // value leading where it did, nothing left hidden.
    void stalledMoveOfALostHolderDoesNoHarm_data()
    {
        QTest::addColumn<QString>("operation");
        QTest::addColumn<int>("stallAt");
        // The rotation: pages and notes step aside into a hidden folder (moves
        // 1 and 2), move on (3 to 6) and come out of it (7 and 8).
        for (const int move : {1, 2, 3, 5, 7, 8})
            QTest::addRow("rotation, stalled at move %d", move) << u"rotation"_s << move;
        // A chain q(1)..q(6) to q(2)..q(7): each move into a name just given up.
        for (const int move : {1, 4})
            QTest::addRow("chain, stalled at move %d", move) << u"chain"_s << move;
    }
    void stalledMoveOfALostHolderDoesNoHarm()
    {
        QFETCH(QString, operation);
        QFETCH(int, stallAt);
        QTemporaryDir root;
        const QString a = root.path() + u"/A"_s;
        QList<PageMove> moves;
        Companions companions = ReorderCompanions;
        if (operation == u"rotation") {
            makeRotation(root.path());
            moves = planReorder(pageListOrder(listPageFiles(a), u"kavuno"_s), 2, 0).moves;
        } else {
            makeChain(a, 6);
            const NumberedRename rename{u"q"_s, 2, 1, 1, 0, 5};
            companions = NumberedCompanions;
            moves = planNumbered(pageListOrder(listPageFiles(a), u"kavuno"_s), rename,
                                 FolderNames(FolderNames::list(a), NumberedCompanions));
        }
        int stalled[2];
        int go[2];
        QCOMPARE(::pipe(stalled), 0);
        QCOMPARE(::pipe(go), 0);
        const pid_t holder = renameWithAStall(root.path(), a, moves, companions, stallAt, stalled[1], go[0]);
        const auto reap = qScopeGuard([&] {
            char byte = 'g';
            if (::write(go[1], &byte, 1) == 1)
                ::waitpid(holder, nullptr, 0);
            for (const int fd : {stalled[0], stalled[1], go[0], go[1]})
                ::close(fd);
        });
        pollfd waiting{stalled[0], POLLIN, 0};
        QCOMPARE(::poll(&waiting, 1, 60000), 1);
        // Another PC waits for the lock, sees it unchanged for its stale time,
        // takes it and finishes what the record tells.
        {
            FolderRenameLock lock(a);
            lock.setStaleAfter(1500);
            QVERIFY(lock.acquire(30000));
            QCOMPARE(settleStoppedRename(a, root.path()), SettleState::Settled);
        }
        QVERIFY(!standsThere(RenameRecord::path(a)));
        // The stalled move lands now; its sender finds the lock gone and stops.
        char byte = 'g';
        QCOMPARE(::write(go[1], &byte, 1), 1);
        int status = 0;
        QCOMPARE(::waitpid(holder, &status, 0), holder);
        QCOMPARE(WEXITSTATUS(status), 0);
        const QString problem = operation == u"rotation" ? rotationProblem(root.path()) : brokenLink(root.path());
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
        QStringList names = QDir(a).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
        names.removeIf([](const QString &name) { return !name.startsWith(u'.'); });
        QCOMPARE(names, QStringList());
        if (operation == u"chain") {
            QCOMPARE(QDir(a).entryList({u"*.html"_s}, QDir::Files),
                     (QStringList{u"q(2).html"_s, u"q(3).html"_s, u"q(4).html"_s, u"q(5).html"_s, u"q(6).html"_s,
                                  u"q(7).html"_s}));
        }
    }

    // The file tool's picture rename is a rename as the three commands make
    // it: the pages of every folder follow (in their own encodings), a page
    // that cannot be rewritten keeps the picture it names, and the user is
    // told which page and which picture.
    void pictureRenameFollowsInEveryFolder()
    {
        QTemporaryDir root;
        const QString a = root.path() + u"/A"_s;
        QDir(root.path()).mkpath(u"A"_s);
        QDir(root.path()).mkpath(u"B/C"_s);
        makeFiles(a, {u"photo.jpg"_s, u"other.jpg"_s});
        writeFixture(a + u"/p.html"_s, "<IMG src=\"photo.jpg\" title=\"photo.jpg\">");
        writeFixture(root.path() + u"/B/C/deep.html"_s, "<IMG src=\"../../A/photo.jpg\" title=\"photo.jpg\">");
        QStringEncoder cp932("CP932");
        const QString sjis = root.path() + u"/B/sjis.html"_s;
        writeFixture(sjis, cp932(u"<TITLE>写真</TITLE><IMG src=\"../A/photo.jpg\">"_s));
        const QString bad = root.path() + u"/B/bad.html"_s;
        writeFixture(bad, "<IMG src=\"../A/other.jpg\" title=\"other.jpg\">\xFF");
        LinkResolver resolver(root.path(), a);
        const PictureRenameOutcome outcome = renamePictures({a + u"/photo.jpg"_s, a + u"/other.jpg"_s}, u"img"_s, resolver);
        QCOMPARE(outcome.failed, QString());
        QCOMPARE(outcome.renamed, (QList<QPair<QString, QString>>{{a + u"/photo.jpg"_s, a + u"/img0.jpg"_s}}));
        QCOMPARE(readFixture(root.path() + u"/B/C/deep.html"_s),
                 QByteArray("<IMG src=\"../../A/img0.jpg\" title=\"photo.jpg\">"));
        QCOMPARE(readFixture(sjis), QByteArray(cp932(u"<TITLE>写真</TITLE><IMG src=\"../A/img0.jpg\">"_s)));
        QCOMPARE(outcome.kept, QStringList{a + u"/other.jpg"_s});
        const PageNamesFile kept{bad, a + u"/other.jpg"_s, a + u"/img1.jpg"_s};
        QCOMPARE(outcome.keptNames, QList<PageNamesFile>{kept});
        QVERIFY(!standsThere(RenameRecord::path(a)));
        QCOMPARE(brokenLink(root.path()), QString());
    }

    // Two PCs cloned from one image open a folder where a rename stopped:
    // exactly one of them finishes it, and every page leads to the next.
    void twoPcsFinishOneStoppedRenameOnce_data()
    {
        QTest::addColumn<bool>("onShare");
        QTest::newRow("local disk") << false;
        QTest::newRow("two mounts of one share") << true;
    }
    void twoPcsFinishOneStoppedRenameOnce()
    {
        QFETCH(bool, onShare);
        // Without process namespaces, two processes of this PC stand in.
        const bool cloned = QProcess::execute(u"unshare"_s, asClonedPc({u"true"_s}, false)) == 0;
        QTemporaryDir root;
        const int pages = 300;
        makeChain(root.path() + u"/A"_s, pages);
        stopRenameOfChain(root.path(), root.path() + u"/A"_s, pages, 30);
        std::unique_ptr<SftpShare> shares[2];
        QString roots[2] = {root.path(), root.path()};
        if (onShare) {
            for (int pc = 0; pc < 2; ++pc) {
                shares[pc] = std::make_unique<SftpShare>(root.path());
                const QString problem = shares[pc]->start();
                if (!problem.isEmpty())
                    QSKIP(qPrintable(u"SKIPPED on a network share: "_s + problem));
                roots[pc] = shares[pc]->folder();
            }
        }
        QProcess pcs[2];
        for (int pc = 0; pc < 2; ++pc) {
            const QStringList finish{u"--finish-stopped-rename"_s, roots[pc] + u"/A"_s, roots[pc]};
            pcs[pc].setProcessChannelMode(QProcess::ForwardedErrorChannel);
            if (cloned)
                pcs[pc].start(u"unshare"_s, asClonedPc(QStringList{QCoreApplication::applicationFilePath()} + finish, pc == 1));
            else
                pcs[pc].start(QCoreApplication::applicationFilePath(), finish);
            // The second opens the folder while the first finishes.
            for (int wait = 0; pc == 0 && wait < 2000 && !standsThere(FolderRenameLock::lockPath(root.path() + u"/A"_s)); ++wait)
                QTest::qWait(5);
        }
        QStringList said;
        for (QProcess &pc : pcs) {
            QVERIFY(pc.waitForFinished(120000));
            QCOMPARE(pc.exitCode(), 0);
            said << QString::fromUtf8(pc.readAllStandardOutput()).trimmed();
        }
        QCOMPARE(said.count(u"finished"_s), 1);
        QVERIFY(!standsThere(RenameRecord::path(root.path() + u"/A"_s)));
        QCOMPARE(brokenLink(root.path()), QString());
        QStringList expected;
        for (int k = 2; k <= pages + 1; ++k)
            expected << u"q(%1).html"_s.arg(k);
        const QStringList names = QDir(root.path() + u"/A"_s).entryList({u"*.html"_s}, QDir::Files);
        QCOMPARE(QSet<QString>(names.cbegin(), names.cend()), QSet<QString>(expected.cbegin(), expected.cend()));
    }

    // Whatever stands under the lock's name and is no lock goes aside, unopened.
    void lockThatIsNoLockIsMovedAside_data()
    {
        QTest::addColumn<QString>("planted");
        QTest::newRow("a folder") << u"folder"_s;
        QTest::newRow("a dangling link") << u"dangling"_s;
        QTest::newRow("a link to a file") << u"link"_s;
        QTest::newRow("a pipe") << u"pipe"_s;
    }
    void lockThatIsNoLockIsMovedAside()
    {
        QFETCH(QString, planted);
        QTemporaryDir dir;
        const QString lock = FolderRenameLock::lockPath(dir.path());
        const QString target = dir.path() + u"/target.txt"_s;
        if (planted == u"folder")
            QVERIFY(QDir().mkdir(lock));
        if (planted == u"dangling")
            QVERIFY(QFile::link(dir.path() + u"/none"_s, lock));
        if (planted == u"link") {
            writeFixture(target, "keep");
            QVERIFY(QFile::link(target, lock));
        }
        if (planted == u"pipe")
            QCOMPARE(::mkfifo(QFile::encodeName(lock).constData(), 0644), 0);
        FolderRenameLock taker(dir.path());
        QVERIFY(taker.acquire(0));
        QVERIFY(taker.holds());
        const QStringList aside = QDir(dir.path()).entryList({u".kavuno-renaming-aside-*"_s},
                                                             QDir::AllEntries | QDir::Hidden | QDir::System);
        QCOMPARE(aside.size(), 1);
        if (planted == u"link")
            QCOMPARE(readFixture(target), QByteArray("keep"));
    }

    // Another's lock is left alone while its holder may work; a lock whose
    // holder is gone is taken.
    void lockIsTakenOnlyWhenItsHolderIsGone_data()
    {
        QTest::addColumn<QString>("holder");
        QTest::addColumn<int>("waitMs");
        QTest::addColumn<bool>("taken");
        // The waiter watches for a stale time shorter than it waits.
        QTest::newRow("another PC's, beating") << u"beating"_s << 2500 << false;
        QTest::newRow("another PC's, beating, its clock 10 minutes behind this one's")
            << u"clock behind"_s << 2500 << false;
        QTest::newRow("another PC's, markup in its name") << u"markup"_s << 0 << false;
        QTest::newRow("another PC's, its last beat an hour ago by this clock") << u"long ago"_s << 0 << false;
        QTest::newRow("another PC's, unchanged for the stale time") << u"unchanged"_s << 2500 << true;
        QTest::newRow("of a process of this PC that ended") << u"ended"_s << 0 << true;
        QTest::newRow("of another task of this program, on another thread") << u"this program"_s << 300 << false;
    }
    void lockIsTakenOnlyWhenItsHolderIsGone()
    {
        QFETCH(QString, holder);
        QFETCH(int, waitMs);
        QFETCH(bool, taken);
        QTemporaryDir dir;
        const QString lock = FolderRenameLock::lockPath(dir.path());
        // The holder's clock, as its beat says it.
        const qint64 behind = holder == u"clock behind" ? 600 : holder == u"long ago" ? 3600 : 0;
        const auto holderNow = [&] { return QDateTime::currentSecsSinceEpoch() - behind; };
        std::optional<FolderRenameLock> other;
        if (holder == u"beating" || holder == u"unchanged" || holder == u"clock behind" || holder == u"long ago")
            writeFixture(lock, peerLock(holderNow()));
        if (holder == u"markup")
            writeFixture(lock, peerLock(holderNow(), "<b>pc-07</b>\u202e"));
        if (holder == u"ended") {
            const pid_t child = ::fork();
            if (child == 0) {
                FolderRenameLock held(dir.path());
                ::_exit(held.acquire(0) ? 0 : 1);
            }
            int status = 0;
            ::waitpid(child, &status, 0);
            QCOMPARE(WEXITSTATUS(status), 0);
            QVERIFY(QFile::exists(lock));
        }
        if (holder == u"this program") {
            // A task of this program that works on a thread of its own.
            other.emplace(dir.path());
            bool held = false;
            std::unique_ptr<QThread> worker(QThread::create([&] { held = other->acquire(0); }));
            worker->start();
            worker->wait();
            QVERIFY(held);
        }
        // Its holder beats on, on a PC of its own, while the lock is waited for.
        std::atomic<bool> beating{holder == u"beating" || holder == u"clock behind"};
        std::unique_ptr<QThread> beat(QThread::create([&] {
            for (qint64 n = 0; beating.load(); ++n) {
                writeFixture(lock, peerLock(holderNow(), "other-pc", n));
                QThread::msleep(200);
            }
        }));
        beat->start();
        const auto stopBeat = qScopeGuard([&] {
            beating.store(false);
            beat->wait();
        });
        FolderRenameLock taker(dir.path());
        taker.setStaleAfter(1500);
        QCOMPARE(taker.acquire(waitMs), taken);
        QCOMPARE(taker.holds(), taken);
        if (taken)
            return;
        QCOMPARE(taker.reason(), RenameBlock::Busy);
        QCOMPARE(taker.heldByThisProgram(), holder == u"this program");
        if (holder == u"beating")
            QCOMPARE(taker.holderName(), u"other-pc"_s);
        if (holder == u"markup")
            QCOMPARE(taker.holderName(), u"bpc-07b"_s);
    }

    // The lock's holder beats from a thread of its own: a step that stalls
    // for longer than the stale time does not let a waiter break it.
    void heldLockBeatsWhileAStepStalls()
    {
        QTemporaryDir dir;
        FolderRenameLock holder(dir.path());
        QVERIFY(holder.acquire(0));
        // Another PC waits well past its stale time meanwhile, and finds the lock alive.
        QProcess waiter;
        waiter.start(QCoreApplication::applicationFilePath(), {u"--try-lock"_s, dir.path(), u"2500"_s, u"5000"_s});
        QVERIFY(waiter.waitForFinished(60000));
        QCOMPARE(waiter.readAllStandardOutput().trimmed(), QByteArray("busy"));
        QVERIFY(holder.holds());
    }

    // PCs that find one abandoned lock at once take it in turn: never two at a time.
    void abandonedLockIsTakenByOneAtATime()
    {
        QTemporaryDir dir;
        writeFixture(FolderRenameLock::lockPath(dir.path()), peerLock(QDateTime::currentSecsSinceEpoch()));
        QProcess pcs[4];
        for (QProcess &pc : pcs)
            pc.start(QCoreApplication::applicationFilePath(), {u"--hold-lock"_s, dir.path()});
        QList<QPair<qint64, qint64>> held;
        for (QProcess &pc : pcs) {
            QVERIFY(pc.waitForFinished(60000));
            QCOMPARE(pc.exitCode(), 0);
            const QList<QByteArray> said = pc.readAllStandardOutput().trimmed().split(' ');
            QCOMPARE(said.value(2), QByteArray("held"));
            held.append({said.at(0).toLongLong(), said.at(1).toLongLong()});
        }
        std::sort(held.begin(), held.end());
        for (qsizetype i = 1; i < held.size(); ++i)
            QVERIFY2(held.at(i).first > held.at(i - 1).second, "two held the lock at once");
    }

    // With no space or no right to write the lock or the record, that is the reason given.
    void fullOrReadOnlyDiskIsTheReasonGiven_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<QString>("options");
        QTest::addColumn<int>("reason");
        QTest::newRow("no space for the lock") << u"full before the lock"_s << u"size=64k"_s << int(RenameBlock::DiskFull);
        QTest::newRow("no space for the record") << u"full before the record"_s << u"size=64k"_s << int(RenameBlock::DiskFull);
        QTest::newRow("a read-only folder") << u"read-only"_s << u"size=64k,ro"_s << int(RenameBlock::NotAllowed);
    }
    void fullOrReadOnlyDiskIsTheReasonGiven()
    {
        QFETCH(QString, mode);
        QFETCH(QString, options);
        QFETCH(int, reason);
        QTemporaryDir dir;
        // A small file system of its own, seen by the test's process only.
        QProcess pc;
        pc.start(u"unshare"_s, {u"--mount"_s, u"--propagation"_s, u"private"_s, u"sh"_s, u"-c"_s,
                                u"mount -t tmpfs -o \"$3\" tmpfs \"$1\" || exit 99; exec \"$0\" --try-rename \"$1\" \"$2\""_s,
                                QCoreApplication::applicationFilePath(), dir.path(), mode, options});
        QVERIFY(pc.waitForFinished(60000));
        if (pc.exitCode() != 0)
            QSKIP("a file system of the test's own cannot be mounted here (unshare --mount, tmpfs)");
        QCOMPARE(pc.readAllStandardOutput().trimmed().toInt(), reason);
    }

    // A folder opened while another PC renames in it is shown as it is, and
    // the user is told what the rename waits for; the record is left alone.
    // (This program's own work in the background shows its progress itself.)
    void openingSaysWhatAHalfRenamedFolderWaitsFor_data()
    {
        QTest::addColumn<bool>("anotherPc");
        QTest::newRow("another PC renames") << true;
        QTest::newRow("this program rewrites pages in the background") << false;
    }
    void openingSaysWhatAHalfRenamedFolderWaitsFor()
    {
        QFETCH(bool, anotherPc);
        QTemporaryDir root;
        const QString a = root.path() + u"/A"_s;
        QDir(root.path()).mkpath(u"A"_s);
        makeFiles(a, {u"a.html"_s});
        const QByteArray record = recordBytes(u"other-pc-1#pid:[1]#9"_s, 4242, {u"a.html"_s, u"b.html"_s});
        writeFixture(RenameRecord::path(a), record);
        FolderRenameLock background(a);
        if (anotherPc)
            writeFixture(FolderRenameLock::lockPath(a), peerLock(QDateTime::currentSecsSinceEpoch()));
        else
            QVERIFY(background.acquire(0));
        QStringList listed;
        const QString told = toldOnOpening(root.path(), a, &listed);
        QCOMPARE(listed, QStringList{u"a.html"_s});
        QCOMPARE(readFixture(RenameRecord::path(a)), record);
        if (anotherPc)
            QVERIFY2(told.contains(u"other-pc"_s) && told.contains(u"待っています"_s), qPrintable(told));
        else
            QCOMPARE(told, QString());
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

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc == 4 && qstrcmp(argv[1], "--finish-stopped-rename") == 0)
        return finishAsAnotherPc(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));
    if (argc == 5 && qstrcmp(argv[1], "--try-lock") == 0)
        return tryLock(QString::fromLocal8Bit(argv[2]), atoi(argv[3]), atoi(argv[4]));
    if (argc == 3 && qstrcmp(argv[1], "--hold-lock") == 0)
        return holdLockInTurn(QString::fromLocal8Bit(argv[2]));
    if (argc == 4 && qstrcmp(argv[1], "--try-rename") == 0)
        return tryRenameIn(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));
    RenameJournalTest test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}
#include "tst_renamejournal.moc"
