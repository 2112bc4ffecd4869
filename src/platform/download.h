#pragma once

#include <QString>
#include <QUrl>

#include <functional>

enum class DownloadResult {
    Saved,
    NotFetched,  // no connection, an answer other than 2xx, or a body cut short: the file is left as it was
    WriteFailed, // the file could not be written: it is left as it was
};

// Fetches url from the server (never from a cache) into fileName. The file is
// replaced only by a 2xx answer received whole, through a temporary file beside
// it; otherwise an existing file stays and no file is made. progress gets the
// running byte count after each block of at most 1024 bytes. Waits in a local
// event loop, so the window keeps painting and taking input meanwhile.
DownloadResult downloadToFile(const QUrl &url, const QString &fileName,
                              const std::function<void(qint64 received)> &progress = {});
