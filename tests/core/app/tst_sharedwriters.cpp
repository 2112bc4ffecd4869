// Several processes writing the same shared file at once, as the copies on the PCs of
// one school do: nothing is torn and nothing is lost.
#include "core/present/marker.h"
#include "tools/crashwriters.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

class SharedWritersTest : public QObject
{
    Q_OBJECT
private slots:
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
