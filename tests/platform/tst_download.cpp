#include "core/navigation/testfiles.h"
#include "platform/download.h"
#include "platform/oneanswerserver.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QByteArray body(int size)
{
    QByteArray bytes(size, '\0');
    for (int i = 0; i < size; ++i)
        bytes[i] = char('a' + i % 26);
    return bytes;
}

QByteArray answer(const QByteArray &statusLine, const QByteArray &content, qint64 declaredLength)
{
    return OneAnswerServer::answer(statusLine, content, declaredLength);
}

} // namespace

class DownloadTest : public QObject
{
    Q_OBJECT
private slots:
    void savesWholeAnswerInBlocks()
    {
        const QByteArray content = body(3000);
        OneAnswerServer server(answer("HTTP/1.1 200 OK", content, content.size()));
        QTemporaryDir dir;
        const QString target = dir.filePath(u"b.zip"_s);
        QList<qint64> counts;
        QCOMPARE(downloadToFile(server.url(u"a/b.zip"_s), target, [&](qint64 n) { counts << n; }),
                 DownloadResult::Saved);
        QCOMPARE(readFixture(target), content);
        QVERIFY(server.requests.value(0).startsWith("GET /a/b.zip "));
        QVERIFY(server.requests.value(0).contains("User-Agent: Vatu-Rim\r\n"));
        QVERIFY(!counts.isEmpty());
        QCOMPARE(counts.last(), 3000);
        for (qsizetype i = 0; i < counts.size(); ++i)
            QVERIFY(counts[i] - (i ? counts[i - 1] : 0) <= 1024);
    }

    void keepsOldFileUnlessWholeSuccess_data()
    {
        QTest::addColumn<QByteArray>("serverAnswer");
        QTest::addColumn<DownloadResult>("result");
        QTest::newRow("404") << answer("HTTP/1.1 404 Not Found", "missing", 7) << DownloadResult::NotFetched;
        QTest::newRow("500") << answer("HTTP/1.1 500 Internal Server Error", "", 0) << DownloadResult::NotFetched;
        QTest::newRow("body cut short") << answer("HTTP/1.1 200 OK", body(1000), 3000) << DownloadResult::NotFetched;
    }
    void keepsOldFileUnlessWholeSuccess()
    {
        QFETCH(QByteArray, serverAnswer);
        QFETCH(DownloadResult, result);
        OneAnswerServer server(serverAnswer);
        QTemporaryDir dir;
        const QString target = dir.filePath(u"b.zip"_s);
        QVERIFY(writeFixture(target, "old"));
        QCOMPARE(downloadToFile(server.url(u"b.zip"_s), target), result);
        QCOMPARE(readFixture(target), QByteArray("old"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{u"b.zip"_s});
    }

    void refusedConnectionMakesNoFile()
    {
        QTcpServer closed;
        QVERIFY(closed.listen(QHostAddress::LocalHost));
        const quint16 port = closed.serverPort();
        closed.close();
        QTemporaryDir dir;
        const QString target = dir.filePath(u"b.zip"_s);
        QCOMPARE(downloadToFile(QUrl(u"http://127.0.0.1:%1/b.zip"_s.arg(port)), target), DownloadResult::NotFetched);
        QVERIFY(QDir(dir.path()).isEmpty(QDir::Files | QDir::Hidden | QDir::Dirs | QDir::NoDotAndDotDot));
    }

    void missingFolderIsAWriteFailure()
    {
        OneAnswerServer server(answer("HTTP/1.1 200 OK", "x", 1));
        QTemporaryDir dir;
        QCOMPARE(downloadToFile(server.url(u"x"_s), dir.filePath(u"no/such/x"_s)), DownloadResult::WriteFailed);
    }
};

QTEST_GUILESS_MAIN(DownloadTest)
#include "tst_download.moc"
