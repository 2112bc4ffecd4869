#pragma once

#include <QDateTime>
#include <QString>

// A file's last-write stamp as the update poll compares it: local time,
// "yyyyMMdd-hhmmss". Read from the file's metadata only: the file is never
// opened, so another PC saving it is never blocked and a missing file is never
// created.
struct FileStamp
{
    enum State {
        Read,     // text holds the stamp
        Missing,  // no such file
        Unusable, // a time before 2000 (no usable time recorded)
        Failed,   // the time could not be read
    };
    State state = Missing;
    QString text;
};

FileStamp readFileStamp(const QString &path);

QString formatFileStamp(const QDateTime &localTime);
