#include "core/editor/pagesave.h"

#include "core/forms/sharedfilelock.h"
#include "core/pages/pagefile.h"
#include "core/search/fileversion.h"

#include <QFileInfo>

PageSnapshot takePageSnapshot(const QString &path)
{
    PageSnapshot snapshot;
    snapshot.exists = readFileBytes(path, snapshot.bytes);
    return snapshot;
}

PageSaveOutcome saveEditedPage(const QString &path, const QString &pageText, const PageSnapshot *read,
                               int lockTimeoutMs)
{
    PageSaveOutcome outcome;
    // Without its folder the lock cannot be made: the write says why it fails.
    const bool folderExists = QFileInfo(QFileInfo(path).absolutePath()).isDir();
    SharedFileLock lock(path);
    if (folderExists && !lock.acquire(lockTimeoutMs) && !lock.permissionDenied()) {
        outcome.status = lock.notALockFile() ? PageSaveStatus::LockBlocked : PageSaveStatus::Busy;
        return outcome;
    }
    if (read) {
        const PageSnapshot now = takePageSnapshot(path);
        if (now.exists != read->exists || now.bytes != read->bytes) {
            outcome.status = PageSaveStatus::Changed;
            return outcome;
        }
    }
    if (!writePageFile(path, pageText, &outcome.error))
        outcome.status = PageSaveStatus::WriteFailed;
    return outcome;
}
