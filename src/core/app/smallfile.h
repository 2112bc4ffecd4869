#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

struct stat;

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

// The same read for a name relative to an open folder (AT_FDCWD for a path):
// one open that never blocks, one fstat, the reads, one close. A file of the
// data root whose real path leads out of it is refused. bytes holds at
// most limit bytes; a file that grows past it while read is refused as well.
// stat, when given, receives what fstat said of the file that was read.
SmallFile::State readRegularFileAt(int folder, const char *name, qint64 limit, QByteArray &bytes,
                                   struct stat *stat = nullptr);

// The most a page, a note, a list or a variable file is read into memory at
// once: anything larger is no text of ours, and a FIFO or a device is none either.
constexpr qint64 WholeTextLimit = qint64(64) << 20;

// The largest page the program hands to the editor or to a browser: a larger
// file another PC wrote would make every copy that shows it exhaust its memory.
constexpr qint64 PageSizeLimit = qint64(8) << 20;

// The whole of a text file read as readSmallFile does with WholeTextLimit;
// empty optional when it is absent or refused.
std::optional<QByteArray> readTextFile(const QString &path);
