#include "core/app/localprocess.h"

#include <cerrno>
#include <csignal>

bool isLocalProcessRunning(qint64 pid)
{
    return pid > 0 && (::kill(pid_t(pid), 0) == 0 || errno == EPERM);
}
