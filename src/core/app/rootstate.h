#pragma once

#include <QByteArray>
#include <QString>

// The data root as this thread last saw it: its names and its descriptor.
// Shared by the two halves of the root's boundary (rootpath, beneath).
struct RootState
{
    QString given;
    QString real;
    QByteArray givenBytes;
    QByteArray realBytes;
    // The root held open (O_PATH) from the moment it is known; -1 before.
    int fd = -1;
};

const RootState &currentRootState();

// Opens the root anew when its folder was removed and made again under its
// name (or its share mounted again) since it was opened: true when it was, so
// that a failed open may be tried once more. Asked only after a failure.
bool reopenReplacedRoot();

// What an open descriptor is, by the kernel's own name for it: one call, and
// about what was opened rather than about a name that may have changed since.
// Empty when the kernel names none.
QByteArray descriptorPath(int fd);
