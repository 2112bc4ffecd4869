#include "core/navigation/testfiles.h"
#include "platform/download.h"

#include <QFile>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// A web server on 127.0.0.1 that answers every request with one fixed answer.
class OneAnswerServer : public QObject
{
public:
    explicit OneAnswerServer(QByteArray answer) : m_answer(std::move(answer))
    {
        connect(&m_server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *socket = m_server.nextPendingConnection()) {
                connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
                    m_request += socket->readAll();
                    if (!m_request.contains("\r\n\r\n"))
                        return;
                    socket->write(m_answer);
                    socket->disconnectFromHost();
                });
                connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            }
        });
        m_server.listen(QHostAddress::LocalHost);
    }

    QUrl url(const QString &path) const
    {
        return QUrl(u"http://127.0.0.1:%1/%2"_s.arg(m_server.serverPort()).arg(path));
    }
    QByteArray request() const { return m_request; }

private:
    QTcpServer m_server;
    QByteArray m_answer;
    QByteArray m_request;
};

QByteArray body(int size)
{
    QByteArray bytes(size, '\0');
    for (int i = 0; i < size; ++i)
        bytes[i] = char('a' + i % 26);
    return bytes;
}

QByteArray answer(const QByteArray &statusLine, const QByteArray &content, qint64 declaredLength)
{
    return statusLine + "\r\nContent-Type: application/octet-stream\r\nContent-Length: "
           + QByteArray::number(declaredLength) + "\r\nConnection: close\r\n\r\n" + content;
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
        QVERIFY(server.request().startsWith("GET /a/b.zip "));
        QVERIFY(server.request().contains("User-Agent: Vatu-Rim\r\n"));
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
