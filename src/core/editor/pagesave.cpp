#include "core/editor/pagesave.h"

#include "core/forms/sharedfilelock.h"
#include "core/pages/pagefile.h"
#include "core/search/fileversion.h"

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
    SharedFileLock lock(path);
    if (!lock.acquire(lockTimeoutMs)) {
        if (lock.busy()) {
            outcome.status = PageSaveStatus::Busy;
            outcome.holder = lock.holderName();
        } else {
            // The lock's folder is the page's: what keeps the lock out keeps the page out.
            outcome.status = lock.notALockFile() ? PageSaveStatus::LockBlocked : PageSaveStatus::WriteFailed;
            outcome.error = lock.failureText();
        }
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
