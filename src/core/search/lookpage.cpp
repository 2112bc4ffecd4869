#include "core/search/lookpage.h"

#include "core/forms/sharedfilelock.h"
#include "core/pages/markers.h"
#include "core/pages/pagefile.h"
#include "core/pages/pagetext.h"
#include "core/search/fileversion.h"

#include <QFileInfo>

LookPageResult rewriteLookLinks(const QString &path, const std::function<QString(const QString &text)> &build,
                                int lockTimeoutMs, QString *lockFailure)
{
    SharedFileLock lock(path);
    if (!lock.acquire(lockTimeoutMs)) {
        if (lock.busy())
            return LookPageResult::Busy;
        if (lockFailure)
            *lockFailure = lock.failureText();
        return LookPageResult::WriteFailed;
    }
    // A link planted in the folder would carry another file's text into this one.
    if (QFileInfo(path).isSymLink())
        return LookPageResult::WriteFailed;
    QByteArray bytes;
    if (!readFileBytes(path, bytes))
        return LookPageResult::Unreadable;
    // The mark is ASCII: a file without it is no page of ours, whatever its encoding.
    if (!bytes.contains(Markers::OwnPageMark.toUtf8()))
        return LookPageResult::NotOwnPage;
    const PageText page = decodePageUtf8(bytes);
    if (!page.ok())
        return LookPageResult::Undecodable;
    const QString built = build(page.text);
    // A copy that writes without the lock (an older one) may have changed it meanwhile.
    QByteArray now;
    if (!readFileBytes(path, now) || now != bytes)
        return LookPageResult::Changed;
    return writePageFile(path, built) ? LookPageResult::Written : LookPageResult::WriteFailed;
}
