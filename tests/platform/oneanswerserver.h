#pragma once

#include <QByteArray>
#include <QStringList>
#include <QTcpServer>
#include <QTcpSocket>
#include <QUrl>

// A web server on 127.0.0.1 that answers every request with one fixed answer
// and closes the connection; it records the requests.
class OneAnswerServer : public QObject
{
public:
    explicit OneAnswerServer(QByteArray answer) : m_answer(std::move(answer))
    {
        connect(&m_server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *socket = m_server.nextPendingConnection()) {
                auto *request = new QByteArray;
                connect(socket, &QTcpSocket::readyRead, socket, [this, socket, request] {
                    *request += socket->readAll();
                    if (!request->contains("\r\n\r\n"))
                        return;
                    requests << *request;
                    socket->write(m_answer);
                    socket->disconnectFromHost();
                });
                connect(socket, &QTcpSocket::disconnected, socket, [socket, request] {
                    delete request;
                    socket->deleteLater();
                });
            }
        });
        m_server.listen(QHostAddress::LocalHost);
    }

    // "127.0.0.1:port"
    QString origin() const { return QStringLiteral("127.0.0.1:%1").arg(m_server.serverPort()); }
    QUrl url(const QString &path) const { return QUrl(QStringLiteral("http://") + origin() + u'/' + path); }

    // An answer with a status line, a declared length and a body.
    static QByteArray answer(const QByteArray &statusLine, const QByteArray &body, qint64 declaredLength,
                             const QByteArray &type = "application/octet-stream")
    {
        return statusLine + "\r\nContent-Type: " + type + "\r\nContent-Length: " + QByteArray::number(declaredLength)
               + "\r\nConnection: close\r\n\r\n" + body;
    }

    QList<QByteArray> requests;

private:
    QTcpServer m_server;
    QByteArray m_answer;
};
