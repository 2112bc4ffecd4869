#pragma once

#include <QtGlobal>

// Whether a process of this computer with that number still runs (a file it
// left is then still in use).
bool isLocalProcessRunning(qint64 pid);
