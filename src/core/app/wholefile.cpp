#include "core/app/wholefile.h"

#include "core/app/atomicfile.h"

bool writeWholeFile(const QString &fileName, const QByteArray &bytes, QString *errorString)
{
    AtomicFile file(fileName);
    if (file.open() && file.write(bytes) && file.commit())
        return true;
    file.cancel();
    if (errorString)
        *errorString = file.errorString();
    return false;
}
