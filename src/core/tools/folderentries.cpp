#include "core/tools/folderentries.h"

#include "core/app/beneath.h"

QStringList folderEntries(const QString &folder, bool *ok)
{
    QStringList names;
    for (const Beneath::Entry &entry : Beneath::list(folder, ok))
        names << entry.name;
    return names;
}
