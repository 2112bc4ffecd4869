#pragma once

#include <QByteArray>
#include <QString>

// The presentation marker: one file in the data root, shared by every running
// copy, naming the presented file. Its bytes are UTF-8 with a byte-order mark:
// the presenter's full path, one double quote, CR LF.

QString presentationMarkerPath(const QString &homeDir);

// The marker's bytes for a local path. The path is written with "\" so that a
// Windows copy on the same share finds the file name in it.
QByteArray encodePresentationMarker(const QString &localPath);

// The path a marker names: the text before its first double quote. Empty when
// the marker holds no double quote or is not valid UTF-8 (it names nothing).
QString decodePresentationMarker(const QByteArray &bytes);

// Writes the marker through a temporary file and a rename, so that no copy ever
// reads half a marker. Returns false when nothing was written.
bool writePresentationMarker(const QString &homeDir, const QString &localPath);

struct MarkerRead
{
    enum State { Absent, Unreadable, Read };
    State state = Absent;
    QString path; // what the marker names; may be empty when it names nothing
};

MarkerRead readPresentationMarker(const QString &homeDir);

// Where a presented file lies in our own data root: the longest tail of the
// presenter's path (taken apart at "\" and "/") that names an existing file
// below our data root, exact names before names that differ only in case; else
// the file of that name directly in the data root. Empty when the path names no
// file name. Never outside the data root. The result need not exist.
QString resolvePresentedPath(const QString &presenterPath, const QString &homeDir);
