#pragma once

#include <QByteArray>
#include <QString>

// What the editor read of its page file, so that a save can tell whether
// another computer wrote the page meanwhile (a post, another editor).
struct PageSnapshot
{
    bool exists = false;
    QByteArray bytes;
};

PageSnapshot takePageSnapshot(const QString &path);

enum class PageSaveStatus {
    Written,
    Changed,     // the page is no longer as read: nothing was written
    Busy,        // another computer held the page's lock too long
    LockBlocked, // something that is no lock file stands at the lock's name: error names it
    WriteFailed, // error tells why; the old file is unchanged
};

struct PageSaveOutcome
{
    PageSaveStatus status = PageSaveStatus::Written;
    QString error;
    QString holder; // when Busy: the computer that holds the lock, if its lock names one
};

// Writes the editor's page text to path under the lock that posts into the
// page take. With read given, only while the file is still as read; without
// it (another file the user chose to replace, or the user's choice to
// overwrite), whatever it holds.
PageSaveOutcome saveEditedPage(const QString &path, const QString &pageText, const PageSnapshot *read,
                               int lockTimeoutMs);
