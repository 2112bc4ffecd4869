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
// The same, the root opened anew when its folder was removed and made again
// under its name since it was opened.
const RootState &reopenedRootState();
