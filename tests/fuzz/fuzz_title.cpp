// The title of any file in a folder, read as the page list reads it.
#include "core/navigation/pagetitle.h"
#include "fuzzinput.h"

#include <QFile>
#include <QTemporaryDir>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("1010_page.html"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return 0;
    file.write(reinterpret_cast<const char *>(data), qint64(size));
    file.close();
    (void)listingTitle(path);
    (void)reloadedTitle(path);
    return 0;
}
