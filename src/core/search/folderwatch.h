#pragma once

#include <QByteArray>

#include <functional>
#include <vector>

// Tells which names in watched folders were written, replaced or removed since
// the last look, so that kept page texts need no look at each file's stamp.
// Only on file systems of this machine: a folder shared over the network is
// changed by other PCs without telling this one, so there it never starts.
class FolderWatch
{
public:
    FolderWatch() = default;
    ~FolderWatch();
    FolderWatch(const FolderWatch &) = delete;
    FolderWatch &operator=(const FolderWatch &) = delete;

    // Starts anew for folders below root (an open folder), the old watches
    // gone; false when the changes there cannot be known this way.
    bool start(int root);
    bool isActive() const { return m_active; }
    // Watches an open folder; its id, or -1.
    int add(int folder);

    struct Event
    {
        int watch = -1;     // -1: events were lost, nothing watched can be trusted
        bool folderGone = false; // the folder itself was removed, moved or unmounted
        QByteArray name;    // the name in the folder that changed (may be empty)
    };
    // Hands over every change noticed since the last call, without waiting.
    void takeEvents(const std::function<void(const Event &)> &take);

private:
    // Removes every watch and what they noticed. The descriptor stays open:
    // closing it waits on the system for a long while.
    void clear();
    int m_fd = -1;
    bool m_active = false;
    std::vector<int> m_watches;
};
