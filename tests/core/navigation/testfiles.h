#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

// Writes a small fixture file; returns false when it could not.
inline bool writeFixture(const QString &path, const QByteArray &bytes = "x")
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

inline QByteArray readFixture(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
