// Several processes writing the same shared file at once, as the copies on the PCs of
// one school do: nothing is torn and nothing is lost.
#include "../forms/plantednames.h"
#include "core/app/rootpath.h"
#include "core/editor/pagesave.h"
#include "core/forms/pagepost.h"
#include "core/forms/sharedfilelock.h"
#include "core/pages/pagefile.h"
#include "core/present/marker.h"
#include "core/search/lookpage.h"
#include "tools/crashwriters.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QSet>
#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <optional>

using namespace Qt::StringLiterals;

namespace {

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Starts one driver per name, each writing times times, and waits for all to end.
void runTogether(const QString &writer, const QString &dir, int times, const QStringList &names)
{
    std::vector<std::unique_ptr<QProcess>> drivers;
    for (const QString &name : names) {
        drivers.push_back(std::make_unique<QProcess>());
        drivers.back()->start(QStringLiteral(KAVUNO_CRASHDRIVER), {writer, dir, QString::number(times), name});
    }
    for (auto &driver : drivers) {
        QVERIFY(driver->waitForFinished(120000));
        QCOMPARE(driver->exitCode(), 0);
    }
}

// Every file below folder with its bytes.
QStringList snapshot(const QString &folder)
{
    QStringList files;
    for (QDirIterator it(folder, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System | QDir::Hidden,
                         QDirIterator::Subdirectories);
         it.hasNext();) {
        const QString path = it.next();
        files << path + u'=' + QString::fromLatin1(readAll(path).toHex());
    }
    files.sort();
    return files;
}

// One writer of a shared file, run against a page: false with why when it did not write.
bool writeUnderLock(const QString &writer, const QString &page, QString &why)
{
    constexpr int LongerThanAnyTest = 600000;
    if (writer == u"post") {
        const PostOutcome outcome = postToPage(page, QString(), QString(), u"x"_s, LongerThanAnyTest);
        why = postOutcomeText(outcome);
        return outcome.status == PostStatus::Posted;
    }
    if (writer == u"answer") {
        const AppendOutcome outcome = appendAnswer(answerCsvPath(page), {u"Q"_s, u"A"_s}, LongerThanAnyTest);
        why = outcome.error;
        return outcome.status == AppendStatus::Appended;
    }
    if (writer == u"LOOK") {
        const auto same = [](const QString &text) { return text; };
        return rewriteLookLinks(page, same, LongerThanAnyTest, &why) == LookPageResult::Written;
    }
    const PageSaveOutcome outcome = saveEditedPage(page, u"edited"_s, nullptr, LongerThanAnyTest);
    why = outcome.error;
    return outcome.status == PageSaveStatus::Written;
}

} // namespace

class SharedWritersTest : public QObject
{
    Q_OBJECT
private slots:
    void cleanup() { setDataRoot(QString()); }

    // Whatever a peer put at a lock's name, each writer comes back at once and
    // says what stands there and where: nothing is waited on, followed or
    // written, in the data root or out of it.
    void whatStandsAtALocksNameIsNamed_data()
    {
        QTest::addColumn<QString>("writer");
        QTest::addColumn<int>("what");
        for (const char *writer : {"post", "answer", "LOOK", "editor save"}) {
            for (const Planted::Kind &kind : Planted::Kinds)
                QTest::addRow("%s, %s", writer, kind.row) << QString::fromLatin1(writer) << int(kind.what);
        }
    }
    void whatStandsAtALocksNameIsNamed()
    {
        QFETCH(QString, writer);
        QFETCH(int, what);
        const auto planted = Planted::What(what);
        QTemporaryDir temp;
        const QString root = temp.filePath(u"root"_s);
        const QString outside = temp.filePath(u"outside"_s);
        QVERIFY(QDir().mkpath(root) && QDir().mkpath(outside));
        const QString secret = outside + u"/secret.csv"_s;
        QFile file(secret);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write("kept\r\n") == 6);
        file.close();
        const QString page = root + u"/1010_p.html"_s;
        QVERIFY(writePageFile(page, CrashWriters::postPage()));
        const QByteArray pageBytes = readAll(page);
        setDataRoot(root);
        const QString guarded = writer == u"answer" ? answerCsvPath(page) : page;
        const QString lock = SharedFileLock::lockPathFor(guarded);
        if (!Planted::plant(planted, lock, secret)) {
            if (errno == EPERM)
                QSKIP("no right to make a device here");
            QFAIL(strerror(errno));
        }
        const QStringList outsideBefore = snapshot(outside);
        std::optional<Planted::FifoWatch> watch;
        if (planted == Planted::Fifo)
            watch.emplace(lock);

        QString why;
        QVERIFY(!writeUnderLock(writer, page, why));
        if (watch)
            QVERIFY2(!watch->opened(), "the FIFO was opened");
        QVERIFY2(why.contains(QFileInfo(lock).fileName()), qPrintable(why));
        QVERIFY2(why.contains(Planted::kindText(planted)), qPrintable(why));
        QCOMPARE(readAll(page), pageBytes);
        QVERIFY(!QFile::exists(answerCsvPath(page)));
        QCOMPARE(snapshot(outside), outsideBefore);
        QVERIFY(QFileInfo(lock).isSymLink() || QFileInfo::exists(lock)); // left as it stood
    }

    void answersFromThreeComputersAreAllKept()
    {
        QTemporaryDir temp;
        runTogether(u"answer"_s, temp.path(), 50, {u"A"_s, u"B"_s, u"C"_s});
        const QString csv = QString::fromUtf8(readAll(temp.filePath(CrashWriters::AnswerCsvName)));
        QStringList rows = csv.split(u"\r\n"_s);
        QCOMPARE(rows.takeLast(), QString());
        QCOMPARE(rows.takeFirst(), CrashWriters::AnswerHeader);
        QCOMPARE(rows.size(), 150);
        QSet<QString> distinct;
        for (const QString &row : rows) {
            QVERIFY2(row.endsWith(QString(200, QChar(0x3042))), qPrintable(row));
            distinct.insert(row.section(u',', 0, 0));
        }
        QCOMPARE(distinct.size(), 150);
    }

    void postsFromThreeComputersAreAllKept()
    {
        QTemporaryDir temp;
        QVERIFY(writePageFile(temp.filePath(CrashWriters::PostPageName), CrashWriters::postPage()));
        runTogether(u"post"_s, temp.path(), 3, {u"A"_s, u"B"_s, u"C"_s});
        const QString page = QString::fromUtf8(readAll(temp.filePath(CrashWriters::PostPageName)));
        QVERIFY(page.endsWith(u"</HTML>\r\n"_s));
        for (const QString &id : {u"A"_s, u"B"_s, u"C"_s}) {
            for (int post = 1; post <= 3; ++post)
                QVERIFY2(page.contains(CrashWriters::postMessage(id, post)), qPrintable(page));
        }
    }

    // Two copies presenting and stopping while a third reads the marker, as its poll
    // and a starting copy do: each read is no marker or one whole path.
    void markerReadsAreWholeWhileTwoCopiesPresent()
    {
        QTemporaryDir temp;
        const QString home = temp.path();
        std::vector<std::unique_ptr<QProcess>> presenters;
        const auto stop = qScopeGuard([&] {
            for (auto &presenter : presenters) {
                presenter->kill();
                presenter->waitForFinished();
            }
        });
        for (int i = 0; i < 2; ++i) {
            presenters.push_back(std::make_unique<QProcess>());
            presenters.back()->start(QStringLiteral(KAVUNO_CRASHDRIVER), {u"present"_s, home});
            QVERIFY(presenters.back()->waitForReadyRead(20000));
        }
        int seen = 0;
        // Until the marker was seen often enough, however slowly the machine runs.
        for (QDeadlineTimer deadline(30000); seen < 300 && !deadline.hasExpired();) {
            const MarkerRead marker = readPresentationMarker(home);
            // A marker removed between the look and the read is no marker.
            if (marker.state != MarkerRead::Read)
                continue;
            const QString path = QString(marker.path).replace(u'\\', u'/');
            bool whole = false;
            for (int version = 0; version < 15 && !whole; ++version)
                whole = path == CrashWriters::presentedPage(home, version);
            QVERIFY2(whole, qPrintable(marker.path));
            ++seen;
        }
        QCOMPARE(seen, 300);
    }
};

QTEST_GUILESS_MAIN(SharedWritersTest)
#include "tst_sharedwriters.moc"
