#include "platform/download.h"

#include "core/app/atomicfile.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkProxyFactory>
#include <QNetworkReply>
#include <QNetworkRequest>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

// The name the program gives itself to web servers.
constexpr auto UserAgent = "Vatu-Rim";
constexpr qint64 BlockSize = 1024;
constexpr int TransferTimeoutMs = 60000;

// The desktop's proxy settings, as the system configures them.
class SystemProxyFactory : public QNetworkProxyFactory
{
public:
    QList<QNetworkProxy> queryProxy(const QNetworkProxyQuery &query) override
    {
        return systemProxyForQuery(query);
    }
};

bool receivedWhole(QNetworkReply *reply, qint64 received)
{
    if (reply->error() != QNetworkReply::NoError)
        return false;
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (status < 200 || status > 299)
        return false;
    const QVariant length = reply->header(QNetworkRequest::ContentLengthHeader);
    return !length.isValid() || length.toLongLong() == received;
}

} // namespace

DownloadResult downloadToFile(const QUrl &url, const QString &fileName,
                              const std::function<void(qint64 received)> &progress)
{
    AtomicFile file(fileName);
    if (!file.open())
        return DownloadResult::WriteFailed;

    QNetworkAccessManager manager;
    manager.setProxyFactory(new SystemProxyFactory);
    QNetworkRequest request(url);
    request.setHeader(QNetworkRequest::UserAgentHeader, QString::fromLatin1(UserAgent));
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    request.setRawHeader("Cache-Control", "no-cache");
    request.setTransferTimeout(TransferTimeoutMs);

    const std::unique_ptr<QNetworkReply> reply(manager.get(request));
    qint64 received = 0;
    bool writeFailed = false;
    const auto takeBlocks = [&] {
        while (!writeFailed && reply->bytesAvailable() > 0) {
            const QByteArray block = reply->read(BlockSize);
            if (!file.write(block)) {
                writeFailed = true;
                reply->abort();
                return;
            }
            received += block.size();
            if (progress)
                progress(received);
        }
    };
    QEventLoop loop;
    QObject::connect(reply.get(), &QNetworkReply::readyRead, &loop, takeBlocks);
    QObject::connect(reply.get(), &QNetworkReply::finished, &loop, &QEventLoop::quit);
    if (!reply->isFinished())
        loop.exec();
    // Whatever arrived with the end of the answer.
    takeBlocks();

    if (writeFailed) {
        file.cancel();
        return DownloadResult::WriteFailed;
    }
    if (!receivedWhole(reply.get(), received)) {
        file.cancel();
        return DownloadResult::NotFetched;
    }
    return file.commit() ? DownloadResult::Saved : DownloadResult::WriteFailed;
}
