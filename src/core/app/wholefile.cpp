#include "core/app/wholefile.h"

#include <QSaveFile>

bool writeWholeFile(const QString &fileName, const QByteArray &bytes, QString *errorString)
{
    QSaveFile file(fileName);
    const bool written = file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
    if (!written)
        file.cancelWriting();
    if (written && file.commit())
        return true;
    if (errorString)
        *errorString = file.errorString();
    return false;
}
