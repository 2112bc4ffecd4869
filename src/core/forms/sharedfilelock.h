#pragma once

#include <QLockFile>
#include <QString>

// A lock beside a file that several computers change at once (a page that takes
// posts, an answer CSV): neither appending nor a read-change-write is atomic
// between computers on a network share. The lock file is "_" + the file's name +
// ".lock" in the same folder, so no page list shows it. A lock left by a copy
// that ended without unlocking is broken after StaleAfterMs.
class SharedFileLock
{
public:
    static constexpr int StaleAfterMs = 5000;

    explicit SharedFileLock(const QString &file);

    // Waits up to timeoutMs for the lock, processing events but no user input
    // meanwhile (never sleeping the thread). False when another holds it that long,
    // or when the lock file cannot be made (permissionDenied() then tells).
    bool acquire(int timeoutMs);
    bool permissionDenied() const;

    static QString lockPathFor(const QString &file);

private:
    QLockFile m_lock;
    // A folder of the data root that leads out of it takes no lock file.
    bool m_outside = false;
};
