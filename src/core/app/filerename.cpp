#include "core/app/filerename.h"

#include "core/app/beneath.h"

bool renameWithoutReplace(const QString &from, const QString &to)
{
    return Beneath::rename(from, to, false);
}
