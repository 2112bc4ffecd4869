#pragma once

// Turns the fuzzer's bytes into the text the program would have read from a file:
// strict UTF-8 where it decodes, else the legacy code page, as the readers do.

#include <QString>
#include <QStringDecoder>

#include <cstddef>
#include <cstdint>

inline QByteArray fuzzBytes(const uint8_t *data, size_t size)
{
    return QByteArray(reinterpret_cast<const char *>(data), qsizetype(size));
}

inline QString fuzzText(const uint8_t *data, size_t size)
{
    const QByteArray bytes = fuzzBytes(data, size);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    QStringDecoder cp932("CP932");
    return cp932.isValid() ? QString(cp932.decode(bytes)) : QString::fromLatin1(bytes);
}
