#pragma once

#include "core/tools/folderrenamerun.h"
#include "core/tools/renameplan.h"

#include <QElapsedTimer>
#include <QLockFile>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

// One PC at a time changes the names in a folder: a lock beside its record,
// hidden like it (".kavuno-renaming.lock"), so that no list offers it.
class FolderRenameLock
{
public:
    // How long a rename waits for the lock before it asks whether to wait on.
    static constexpr int WaitMs = 3000;
    // A lock of another PC unchanged this long is abandoned: its holder touches it every second.
    static constexpr int StaleAfterMs = 10000;

    explicit FolderRenameLock(const QString &folder);

    // Waits up to timeoutMs, processing events meanwhile; false while another holds it.
    bool acquire(int timeoutMs);
    void release() { m_lock.reset(); }
    // Shows other PCs that the holder still works (at most once a second):
    // a lock left unchanged for a few seconds is taken as abandoned.
    void keepAlive();
    std::function<void()> ticker()
    {
        return [this] { keepAlive(); };
    }

private:
    QString m_path;
    std::optional<QLockFile> m_lock;
    QElapsedTimer m_touched;
};

enum class SettleState {
    Settled, // nothing was left, or what was left is finished
    Busy,    // the record of a rename that may still run: nothing was touched
};
// Finishes the rename a stopped program left in folder: its moves from where
// each file is, then the pages not rewritten yet; then files left under hidden
// names get names the level shows. The folder's rename lock is held.
// pagesNotWritten gets the pages that could not be rewritten.
SettleState settleStoppedRename(const QString &folder, const QString &root, QStringList *pagesNotWritten = nullptr,
                                const std::function<void()> &tick = {});

// As a folder is opened: settles a stopped rename recorded there when no other
// PC renames in it right now. Returns the pages that could not be rewritten.
QStringList settleRenameOnOpening(const QString &folder, const QString &root);
