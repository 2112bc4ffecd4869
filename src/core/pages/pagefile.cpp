#include "core/pages/pagefile.h"

#include "core/app/smallfile.h"
#include "core/app/wholefile.h"

#include <QFile>
#include <QStringDecoder>

using namespace Qt::StringLiterals;

namespace {
const QByteArray Utf8Bom("\xEF\xBB\xBF");

PageText decodeWith(QStringDecoder &decoder, const QByteArray &bytes, bool hadBom)
{
    PageText result;
    result.hadBom = hadBom;
    const QByteArrayView body = hadBom ? QByteArrayView(bytes).sliced(Utf8Bom.size()) : QByteArrayView(bytes);
    QString text = decoder.decode(body);
    if (decoder.hasError()) {
        result.status = PageText::Undecodable;
        return result;
    }
    result.status = PageText::Ok;
    result.text = std::move(text);
    return result;
}
} // namespace

QString normalizeLineBreaks(const QString &text)
{
    QString out;
    out.reserve(text.size() + text.size() / 32 + 2);
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text.at(i);
        if (c == u'\r') {
            if (i + 1 < n && text.at(i + 1) == u'\n')
                ++i;
            out += u"\r\n"_s;
        } else if (c == u'\n') {
            out += u"\r\n"_s;
        } else {
            out += c;
        }
    }
    // The last line is ended too, unless the text already ended with a break.
    if (!out.isEmpty() && !out.endsWith(u"\r\n"_s))
        out += u"\r\n"_s;
    return out;
}

QByteArray encodePage(const QString &text)
{
    return Utf8Bom + normalizeLineBreaks(text).toUtf8();
}

bool writePageFile(const QString &path, const QString &text, QString *errorString)
{
    return writeWholeFile(path, encodePage(text), errorString);
}

PageText decodePageUtf8(const QByteArray &bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    return decodeWith(decoder, bytes, bytes.startsWith(Utf8Bom));
}

PageText decodePageLegacy(const QByteArray &bytes)
{
    if (bytes.startsWith(Utf8Bom))
        return decodePageUtf8(bytes);
    QStringDecoder decoder("CP932", QStringDecoder::Flag::Stateless);
    if (!decoder.isValid())
        return PageText{PageText::Undecodable, {}, false};
    return decodeWith(decoder, bytes, false);
}

PageText readPageFile(const QString &path)
{
    const std::optional<QByteArray> bytes = readTextFile(path);
    if (!bytes)
        return {};
    return decodePageUtf8(*bytes);
}
