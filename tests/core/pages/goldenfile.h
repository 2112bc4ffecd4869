#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTest>

// Exact page bytes are checked against files in tests/data. Run a test with
// KAVUNO_WRITE_GOLDEN=1 to write a missing golden file (then check it by eye).
inline QByteArray goldenBytes(const QString &relativePath, const QByteArray &actual)
{
    const QString path = QStringLiteral(KAVUNO_TEST_DATA "/") + relativePath;
    QFile file(path);
    if (!file.exists() && qEnvironmentVariableIsSet("KAVUNO_WRITE_GOLDEN")) {
        if (file.open(QIODevice::WriteOnly))
            file.write(actual);
        return actual;
    }
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray("missing golden file ") + path.toUtf8();
    return file.readAll();
}

#define COMPARE_GOLDEN(relativePath, actual)                                                                           \
    do {                                                                                                               \
        const QByteArray actualBytes_ = (actual);                                                                      \
        QCOMPARE(actualBytes_, goldenBytes((relativePath), actualBytes_));                                             \
    } while (false)
