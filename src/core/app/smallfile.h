#pragma once

#include <QByteArray>
#include <QString>

// A small file that another computer writes into the shared folder (the
// presentation marker). It is read only when it is a regular file of at most
// limit bytes: a FIFO, a device behind a symbolic link or a huge file would
// hang the window or exhaust the memory. Opening never blocks.
struct SmallFile
{
    enum State { Absent, Refused, Read };
    State state = Absent;
    QByteArray bytes;
};

SmallFile readSmallFile(const QString &path, qint64 limit);
