// A peer who keeps exchanging a folder of the data root with a link to a folder
// elsewhere, thousands of times a second, while this PC answers, posts, writes,
// renames, lists and reads in that folder: nothing outside is made, changed or
// read, and each operation lands inside or says it could not.
#include "core/app/beneath.h"
#include "core/app/filerename.h"
#include "core/app/rootpath.h"
#include "core/app/smallfile.h"
#include "core/app/wholefile.h"
#include "core/forms/answercsv.h"
#include "core/forms/pagepost.h"
#include "core/navigation/levelprefetch.h"
#include "core/navigation/pagelist.h"
#include "core/tools/folderrenamerun.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <atomic>
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <thread>

using namespace Qt::StringLiterals;

namespace {

QByteArray worksheet(const QByteArray &mark)
{
    return "<HTML><HEAD><TITLE>" + mark + "</TITLE></HEAD><BODY><P>[ ] question " + mark + "</P></BODY></HTML>";
}

// Every file under folder with its size, time and bytes.
QStringList snapshot(const QString &folder)
{
    QStringList seen;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        struct stat st {};
        ::lstat(QFile::encodeName(path).constData(), &st);
        QFile f(path);
        const QByteArray bytes = S_ISREG(st.st_mode) && f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
        seen << path + u' ' + QString::number(st.st_size) + u' ' + QString::number(st.st_mtim.tv_nsec)
                    + u' ' + QString::fromLatin1(bytes.toHex());
    }
    seen.sort();
    return seen;
}

// Exchanges two names of one folder as fast as it can until stopped.
class Swapper
{
public:
    Swapper(const QString &a, const QString &b) : m_a(QFile::encodeName(a)), m_b(QFile::encodeName(b))
    {
        m_thread = std::thread([this] {
            while (!m_stop.load(std::memory_order_relaxed)) {
                if (::renameat2(AT_FDCWD, m_a.constData(), AT_FDCWD, m_b.constData(), RENAME_EXCHANGE) == 0)
                    m_swaps.fetch_add(1, std::memory_order_relaxed);
            }
        });
    }
    ~Swapper() { stop(); }
    void stop()
    {
        m_stop.store(true);
        if (m_thread.joinable())
            m_thread.join();
    }
    long swaps() const { return m_swaps.load(); }

private:
    QByteArray m_a, m_b;
    std::atomic<bool> m_stop{false};
    std::atomic<long> m_swaps{0};
    std::thread m_thread;
};

} // namespace

class RootSwapTest : public QObject
{
    Q_OBJECT

    QTemporaryDir temp;
    QString root;
    QString outside;

private slots:
    void init()
    {
        QDir(temp.path()).removeRecursively();
        root = temp.filePath(u"notes_data"_s);
        outside = temp.filePath(u"outside"_s);
        QVERIFY(QDir().mkpath(root + u"/race"_s) && QDir().mkpath(outside));
        QVERIFY(writeWholeFile(root + u"/race/1010_p.html"_s, worksheet("inside")));
        QVERIFY(writeWholeFile(root + u"/race/1020_q.html"_s, worksheet("inside")));
        // The outside folder holds the same names, and one more.
        QVERIFY(writeWholeFile(outside + u"/1010_p.html"_s, worksheet("OUTSIDE")));
        QVERIFY(writeWholeFile(outside + u"/1020_q.html"_s, worksheet("OUTSIDE")));
        QVERIFY(writeWholeFile(outside + u"/1099_only_outside.html"_s, worksheet("OUTSIDE")));
        QVERIFY(QFile::link(outside, root + u"/racex"_s));
        setDataRoot(root);
    }
    void cleanup() { setDataRoot(QString()); }

    void operationsStayInsideWhileAPeerSwapsTheFolder_data()
    {
        QTest::addColumn<QString>("operation");
        QTest::addColumn<bool>("swapping");
        for (const char *operation :
             {"answers", "posts", "whole-file writes", "renames", "a folder's rename", "listing with titles",
              "page reads"}) {
            QTest::addRow("%s, folder swapped with a link out", operation) << QString::fromLatin1(operation) << true;
            QTest::addRow("%s, no swap: every one lands", operation) << QString::fromLatin1(operation) << false;
        }
    }
    void operationsStayInsideWhileAPeerSwapsTheFolder()
    {
        QFETCH(QString, operation);
        QFETCH(bool, swapping);
        const QStringList before = snapshot(outside);
        const QString race = root + u"/race"_s;
        constexpr int Rounds = 1000;
        constexpr int FolderRenames = 60;
        int failed = 0;
        int outsideSeen = 0;
        if (operation == u"renames")
            QVERIFY(writeWholeFile(race + u"/r0.html"_s, "moving"));
        {
            std::unique_ptr<Swapper> swapper;
            if (swapping)
                swapper = std::make_unique<Swapper>(race, root + u"/racex"_s);
            // Until both have had their turns many times over.
            for (int i = 0; i < Rounds || (swapper && swapper->swaps() < 2 * Rounds && i < 100 * Rounds); ++i) {
                if (operation == u"answers") {
                    failed += appendAnswer(answerCsvPath(race + u"/1010_p.html"_s), AnswerLine{u"q1"_s, u"a1"_s}, 0)
                                  .status
                              != AppendStatus::Appended;
                } else if (operation == u"posts") {
                    failed += postToPage(race + u"/1020_q.html"_s, u"date"_s, u"peer"_s, u"hello"_s, 0).status
                              != PostStatus::Posted;
                } else if (operation == u"whole-file writes") {
                    const QString name = u"w"_s + QString::number(i % 7) + u".html"_s;
                    failed += !writeWholeFile(race + u'/' + name, worksheet("written"));
                } else if (operation == u"a folder's rename") {
                    if (i >= FolderRenames)
                        continue;
                    const QString from = i % 2 ? u"1025_q.html"_s : u"1020_q.html"_s;
                    const QString to = i % 2 ? u"1020_q.html"_s : u"1025_q.html"_s;
                    const FolderRenameOutcome outcome = renameUsedFiles(race, root, {{from, to}}, Companions());
                    failed += outcome.notStarted || outcome.moves.finalNames.value(0) != to;
                } else if (operation == u"renames") {
                    const QString from = race + (i % 2 ? u"/r1.html"_s : u"/r0.html"_s);
                    const QString to = race + (i % 2 ? u"/r0.html"_s : u"/r1.html"_s);
                    failed += !renameWithoutReplace(from, to) && !renameWithoutReplace(to, from);
                } else if (operation == u"listing with titles") {
                    const QStringList pages = listPageFiles(race);
                    failed += pages.size() != 2;
                    outsideSeen += pages.contains(u"1099_only_outside.html"_s);
                    outsideSeen += listingTitles(race, pages).contains(u"OUTSIDE"_s);
                } else if (const auto bytes = readTextFile(race + u"/1010_p.html"_s)) {
                    outsideSeen += bytes->contains("OUTSIDE");
                } else {
                    ++failed;
                }
            }
            if (swapper) {
                swapper->stop();
                QVERIFY2(swapper->swaps() > 100, qPrintable(QString::number(swapper->swaps())));
            }
        }
        QCOMPARE(snapshot(outside), before);
        QCOMPARE(outsideSeen, 0);
        if (!swapping)
            QCOMPARE(failed, 0);
        // Whatever its name now, the real folder holds what landed, and a write
        // that failed left no temporary behind once the next write came.
        const QString real = QFileInfo(root + u"/race"_s).isSymLink() ? root + u"/racex"_s : root + u"/race"_s;
        QVERIFY(writeWholeFile(real + u"/w0.html"_s, "last"));
        QStringList left = QDir(real).entryList({u".*.tmp"_s}, QDir::Files | QDir::Hidden);
        // A stopped rename's record is the next rename's to clear, not the writer's.
        left.removeIf([](const QString &name) { return name.startsWith(u"..kavuno-renaming"_s); });
        QVERIFY2(left.isEmpty(), qPrintable(left.join(u' ')));
        if (operation == u"renames")
            QCOMPARE(QDir(real).entryList({u"r?.html"_s}, QDir::Files).size(), 1);
    }

    // The kernel walks links that stay in the root, whether they name it by a
    // relative path or by its absolute one.
    void linksThatStayInsideAreFollowed_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<bool>("reached");
        QTest::newRow("relative") << u"race"_s << true;
        QTest::newRow("absolute, the root as given") << u"<root>/race"_s << true;
        QTest::newRow("relative, up and back in") << u"../notes_data/race"_s << false;
        QTest::newRow("absolute, out") << u"<outside>"_s << false;
        QTest::newRow("dot-dot out") << u"../outside"_s << false;
    }
    void linksThatStayInsideAreFollowed()
    {
        QFETCH(QString, target);
        QFETCH(bool, reached);
        target.replace(u"<root>"_s, root).replace(u"<outside>"_s, outside);
        QVERIFY(QFile::link(target, root + u"/alias"_s));
        const QString page = root + u"/alias/1010_p.html"_s;
        const std::optional<QByteArray> bytes = readTextFile(page);
        QCOMPARE(bool(bytes), reached);
        if (bytes)
            QVERIFY(bytes->contains("inside"));
        QCOMPARE(Beneath::isFile(page), reached);
        QCOMPARE(writeWholeFile(root + u"/alias/new.html"_s, "x"), reached);
        QVERIFY(!QFile::exists(outside + u"/new.html"_s));
    }
};

QTEST_GUILESS_MAIN(RootSwapTest)
#include "tst_rootswap.moc"
