// Several processes writing the same shared file at once, as the copies on the PCs of
// one school do: nothing is torn and nothing is lost.
#include "core/pages/pagefile.h"
#include "core/present/marker.h"
#include "tools/crashwriters.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QSet>
#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

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

} // namespace

class SharedWritersTest : public QObject
{
    Q_OBJECT
private slots:
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
