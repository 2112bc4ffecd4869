#include "core/present/stamp.h"

#include <QFileInfo>

using namespace Qt::StringLiterals;

QString formatFileStamp(const QDateTime &localTime)
{
    return localTime.toString(u"yyyyMMdd-hhmmss"_s);
}

FileStamp readFileStamp(const QString &path)
{
    const QFileInfo info(path);
    if (!info.isFile())
        return {FileStamp::Missing, {}};
    const QDateTime time = info.lastModified().toLocalTime();
    if (!time.isValid())
        return {FileStamp::Failed, {}};
    if (time.date().year() < 2000)
        return {FileStamp::Unusable, {}};
    return {FileStamp::Read, formatFileStamp(time)};
}
