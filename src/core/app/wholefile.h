#pragma once

#include <QByteArray>
#include <QString>

// Writes a whole file through a temporary file beside it and a rename, so that a
// reader on another computer never sees half of it and a failed write leaves the
// old file. False when nothing was written; errorString then says why.
bool writeWholeFile(const QString &fileName, const QByteArray &bytes, QString *errorString = nullptr);
