#include "core/tools/pageencoding.h"

#include <QRegularExpression>
#include <QStringDecoder>
#include <QStringEncoder>

#include <algorithm>
#include <array>

using namespace Qt::StringLiterals;

namespace {

const QByteArray Utf8Bom("\xEF\xBB\xBF");

const char *codecName(PageEncoding::Kind kind)
{
    switch (kind) {
    case PageEncoding::Cp932:
        return "CP932";
    case PageEncoding::EucJp:
        return "EUC-JP";
    default:
        return "UTF-8";
    }
}

// The charset a META of the page's head declares, lower-cased; empty when none.
QByteArray declaredCharset(const QByteArray &bytes)
{
    // The head is ASCII in every encoding a page here has; it ends at the body.
    static const QRegularExpression head(u"</head|<body"_s, QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression meta(u"<meta\\b[^>]*?charset\\s*=\\s*[\"']?\\s*([A-Za-z0-9_.:-]+)"_s,
                                         QRegularExpression::CaseInsensitiveOption);
    const QString start = QString::fromLatin1(bytes.left(64 * 1024));
    const qsizetype end = head.match(start).capturedStart();
    const QRegularExpressionMatch found = meta.match(end < 0 ? start : start.left(end));
    return found.hasMatch() ? found.captured(1).toLatin1().toLower() : QByteArray();
}

PageEncoding::Kind kindOfLabel(const QByteArray &label)
{
    static const QByteArray cp932[] = {"shift_jis", "shift-jis", "sjis", "x-sjis", "windows-31j", "cp932", "ms932",
                                       "ms_kanji", "csshiftjis", "csWindows31J"};
    if (label.isEmpty())
        return PageEncoding::None;
    if (label == "utf-8" || label == "utf8")
        return PageEncoding::Utf8;
    if (label == "euc-jp" || label == "eucjp" || label == "x-euc-jp" || label == "cseucpkdfmtjapanese")
        return PageEncoding::EucJp;
    if (std::any_of(std::begin(cp932), std::end(cp932), [&](const QByteArray &name) { return label == name.toLower(); }))
        return PageEncoding::Cp932;
    return PageEncoding::None;
}

// bytes read in kind, when they come back from it byte for byte.
bool roundTrips(PageEncoding::Kind kind, const QByteArray &bytes, PageEncoding *out)
{
    const bool bom = kind == PageEncoding::Utf8 && bytes.startsWith(Utf8Bom);
    const QByteArray body = bom ? bytes.mid(Utf8Bom.size()) : bytes;
    QStringDecoder decoder(codecName(kind), QStringDecoder::Flag::Stateless);
    const QString text = decoder(body);
    if (!decoder.isValid() || decoder.hasError())
        return false;
    QStringEncoder encoder(codecName(kind), QStringEncoder::Flag::Stateless);
    if (encoder(text) != body || encoder.hasError())
        return false;
    *out = {kind, bom, text};
    return true;
}

qsizetype halfWidthKatakana(const QString &text)
{
    return std::count_if(text.cbegin(), text.cend(), [](QChar c) { return c.unicode() >= 0xFF61 && c.unicode() <= 0xFF9F; });
}

} // namespace

PageEncoding pageEncodingOf(const QByteArray &bytes)
{
    PageEncoding utf8;
    // A UTF-8 mark says more than any label.
    if (bytes.startsWith(Utf8Bom))
        return roundTrips(PageEncoding::Utf8, bytes, &utf8) ? utf8 : PageEncoding();
    const PageEncoding::Kind declared = kindOfLabel(declaredCharset(bytes));
    // Of the legacy code pages, the one the bytes round-trip in; where both
    // do, the one whose reading holds fewer half-width katakana (EUC-JP bytes
    // read as CP932 are full of them), else the label's.
    const auto legacy = [&] {
        PageEncoding cp932;
        PageEncoding eucJp;
        const bool inCp932 = roundTrips(PageEncoding::Cp932, bytes, &cp932);
        const bool inEucJp = roundTrips(PageEncoding::EucJp, bytes, &eucJp);
        if (inCp932 && inEucJp) {
            const qsizetype kanaCp932 = halfWidthKatakana(cp932.text);
            const qsizetype kanaEucJp = halfWidthKatakana(eucJp.text);
            if (kanaCp932 != kanaEucJp)
                return kanaEucJp < kanaCp932 ? eucJp : cp932;
            return declared == PageEncoding::EucJp ? eucJp : cp932;
        }
        return inCp932 ? cp932 : inEucJp ? eucJp : PageEncoding();
    };
    if (declared == PageEncoding::Cp932 || declared == PageEncoding::EucJp) {
        const PageEncoding found = legacy();
        if (found.rewritable())
            return found;
    }
    if (roundTrips(PageEncoding::Utf8, bytes, &utf8))
        return utf8;
    return legacy();
}

QByteArray encodeForPage(const PageEncoding &encoding, const QString &text, bool *ok)
{
    QStringEncoder encoder(codecName(encoding.kind), QStringEncoder::Flag::Stateless);
    const QByteArray bytes = encoder(text);
    *ok = encoding.rewritable() && !encoder.hasError();
    if (!*ok)
        return {};
    return encoding.bom ? Utf8Bom + bytes : bytes;
}

bool encodableIn(const PageEncoding &encoding, const QString &name)
{
    if (encoding.kind == PageEncoding::Utf8)
        return true;
    // It must also read back as itself: CP932 and EUC-JP map some characters
    // (the wave dash, some kanji) to others.
    QStringEncoder encoder(codecName(encoding.kind), QStringEncoder::Flag::Stateless);
    const QByteArray bytes = encoder(name);
    QStringDecoder decoder(codecName(encoding.kind), QStringDecoder::Flag::Stateless);
    return !encoder.hasError() && decoder(bytes) == name && !decoder.hasError();
}

QString pageTextForNames(const QByteArray &bytes, const PageEncoding &encoding)
{
    if (encoding.rewritable())
        return encoding.text;
    QStringDecoder legacy("CP932", QStringDecoder::Flag::Stateless);
    const QString text = legacy(bytes);
    return legacy.hasError() || bytes.startsWith(Utf8Bom) ? QString::fromUtf8(bytes) : text;
}
