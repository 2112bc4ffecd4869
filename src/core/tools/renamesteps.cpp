#include "core/tools/renamesteps.h"

#include <QMutex>

namespace {
QMutex hookMutex;
RenameSteps::Hook hook;
} // namespace

void RenameSteps::setHook(const Hook &given)
{
    const QMutexLocker locker(&hookMutex);
    hook = given;
}

void RenameSteps::before(const QString &step, const QString &from, const QString &to)
{
    Hook call;
    {
        const QMutexLocker locker(&hookMutex);
        call = hook;
    }
    if (call)
        call(step, from, to);
}
