#include "core/navigation/pagetitle.h"

#include "core/app/rootpath.h"
#include "core/app/smallfile.h"
#include "core/app/wholefile.h"
#include "core/navigation/navigationtexts.h"
#include "core/navigation/pathtext.h"
#include "core/pages/markers.h"
#include "core/pages/pagefile.h"
#include "core/pages/pagetext.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

using namespace Qt::StringLiterals;
using namespace NavigationTexts;

QString fileNameTitle(const QString &entry)
{
    const QString name = pathWithoutExtension(fileNameOf(entry));
    return name.mid(name.indexOf(u'_') + 1);
}

static bool isHtmlName(const QString &path)
{
    return fileNameOf(path).contains(u".ht"_s, Qt::CaseInsensitive);
}

namespace {
const QByteArray utf8Bom("\xEF\xBB\xBF");
const QByteArray utf16LeBom("\xFF\xFE");
const QByteArray utf16BeBom("\xFE\xFF");

// An own page's title and markers stand in its first few hundred bytes.
constexpr qint64 HeadSize = 4096;
// No title is looked for further into a file than this.
constexpr qint64 ReadLimit = 1024 * 1024;

bool hasUtf16Mark(const QByteArray &bytes)
{
    return bytes.startsWith(utf16LeBom) || bytes.startsWith(utf16BeBom);
}

// A byte-order mark decides the encoding; without one the text is read as UTF-8.
QString decodeByMark(const QByteArray &bytes)
{
    if (bytes.startsWith(utf16LeBom) || bytes.startsWith(utf16BeBom)) {
        QStringDecoder utf16(bytes.startsWith(utf16LeBom) ? QStringDecoder::Utf16LE : QStringDecoder::Utf16BE);
        return utf16(QByteArrayView(bytes).sliced(2));
    }
    return QString::fromUtf8(bytes.startsWith(utf8Bom) ? QByteArrayView(bytes).sliced(3) : QByteArrayView(bytes));
}

// An open file read with the system calls a read needs (no stat, no buffer);
// never blocks on a pipe or device that stands under a page's name.
class HeadFile
{
public:
    // A page of the data root that leads out of it is no page of ours.
    explicit HeadFile(const QString &path)
        : m_fd(openInDataRoot(AT_FDCWD, QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK))
    {
    }
    ~HeadFile()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    HeadFile(const HeadFile &) = delete;
    HeadFile &operator=(const HeadFile &) = delete;
    bool isOpen() const { return m_fd >= 0; }

    // Reads on until the file has given limit bytes and one more; whole is set
    // when that was all of it (a short read is the end of a file). False when
    // the file cannot be read.
    bool readUpTo(qint64 limit, QByteArray &bytes, bool &whole)
    {
        const qint64 have = bytes.size();
        bytes.resize(limit + 1);
        qint64 n;
        do {
            n = ::read(m_fd, bytes.data() + have, size_t(limit + 1 - have));
        } while (n < 0 && errno == EINTR);
        bytes.resize(have + std::max<qint64>(n, 0));
        whole = n >= 0 && bytes.size() <= limit;
        return n >= 0;
    }

private:
    int m_fd;
};

bool readCapped(const QString &path, QByteArray &bytes)
{
    HeadFile file(path);
    bool whole = false;
    if (!file.isOpen() || !file.readUpTo(ReadLimit, bytes, whole))
        return false;
    bytes.truncate(ReadLimit);
    return true;
}

// The bytes without a multi-byte sequence cut at their end.
QByteArrayView withoutCutSequence(const QByteArray &bytes)
{
    qsizetype end = bytes.size();
    for (qsizetype back = 1; back <= 3 && back <= bytes.size(); ++back) {
        const uchar c = uchar(bytes.at(bytes.size() - back));
        if ((c & 0xC0) == 0x80)
            continue; // a continuation byte: look further back for its lead
        const int length = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
        if (length > back)
            end = bytes.size() - back;
        break;
    }
    return QByteArrayView(bytes).first(end);
}

// The rules below read a page as UTF-16 text or, much cheaper, as its UTF-8
// bytes: every marker is ASCII, and UTF-8 holds ASCII bytes only as themselves.
qsizetype findText(QStringView text, QLatin1StringView needle, qsizetype from, Qt::CaseSensitivity cs)
{
    return text.indexOf(needle, from, cs);
}

qsizetype findText(QByteArrayView text, QLatin1StringView needle, qsizetype from, Qt::CaseSensitivity cs)
{
    const QByteArrayView wanted(needle.data(), needle.size());
    if (cs == Qt::CaseSensitive)
        return text.indexOf(wanted, from);
    const qsizetype n = wanted.size();
    const char first = wanted.front();
    const bool letterFirst = QChar::isLetter(uchar(first));
    for (qsizetype i = from; i + n <= text.size(); ++i) {
        if (!letterFirst) {
            const void *hit = std::memchr(text.data() + i, first, size_t(text.size() - n - i + 1));
            if (!hit)
                return -1;
            i = static_cast<const char *>(hit) - text.data();
        }
        if (qstrnicmp(text.data() + i, wanted.data(), n) == 0)
            return i;
    }
    return -1;
}

char16_t unitAt(QStringView text, qsizetype i)
{
    return text[i].unicode();
}

char16_t unitAt(QByteArrayView text, qsizetype i)
{
    return uchar(text[i]);
}

QString toText(QStringView text)
{
    return text.toString();
}

QString toText(QByteArrayView text)
{
    return QString::fromUtf8(text);
}

// The markers as ASCII, for both kinds of reading.
struct Needles
{
    QByteArray titleStart = Markers::TitleStart.toLatin1();
    QByteArray titleEnd = Markers::TitleEnd.toLatin1();
    QByteArray ownPage = Markers::OwnPageMark.toLatin1();
};

const Needles &needles()
{
    static const Needles n;
    return n;
}

// The charset value declared by the first META of the head: where it stands in
// the text (at, size), or at -1 when no META declares one. settled is false
// while the text read so far leaves that open.
struct MetaCharset
{
    qsizetype at = -1;
    qsizetype size = 0;
    bool settled = false;
};

template<typename View>
MetaCharset metaCharset(View text, bool whole)
{
    MetaCharset out;
    qsizetype headEnd = findText(text, "</HEAD"_L1, 0, Qt::CaseInsensitive);
    const qsizetype body = findText(text, "<BODY"_L1, 0, Qt::CaseInsensitive);
    if (body >= 0 && (headEnd < 0 || body < headEnd))
        headEnd = body;
    const qsizetype limit = headEnd >= 0 ? headEnd : text.size();
    for (qsizetype meta = findText(text, "<META"_L1, 0, Qt::CaseInsensitive); meta >= 0 && meta < limit;
         meta = findText(text, "<META"_L1, meta + 5, Qt::CaseInsensitive)) {
        const qsizetype end = findText(text, ">"_L1, meta, Qt::CaseSensitive);
        if (end < 0)
            break;
        const qsizetype key = findText(text, "charset="_L1, meta, Qt::CaseInsensitive);
        if (key < 0 || key > end)
            continue;
        qsizetype at = key + 8;
        if (at < end && (unitAt(text, at) == u'"' || unitAt(text, at) == u'\''))
            ++at;
        qsizetype stop = at;
        while (stop < end && !u"\"'; \t\r\n/"_s.contains(QChar(unitAt(text, stop))))
            ++stop;
        out.at = at;
        out.size = stop - at;
        out.settled = true;
        return out;
    }
    out.settled = whole || headEnd >= 0;
    return out;
}

template<typename View>
bool declaresShiftJis(View text, const MetaCharset &charset)
{
    return charset.at >= 0
           && toText(text.sliced(charset.at, charset.size)).compare(ShiftJisName, Qt::CaseInsensitive) == 0;
}

// A legacy page declaring Shift_JIS, decoded from the code page with its
// declaration saying UTF-8; empty when the bytes are no such page.
QString convertedLegacyText(const QByteArray &bytes)
{
    const PageText legacyPage = decodePageLegacy(bytes);
    if (!legacyPage.ok())
        return {};
    QString legacy = legacyPage.text;
    const MetaCharset charset = metaCharset(QStringView(legacy), true);
    if (!declaresShiftJis(QStringView(legacy), charset))
        return {};
    return legacy.replace(charset.at, charset.size, Utf8Name);
}

// The page's text after the Shift_JIS conversion, which writes the converted
// page over the file; bytes is all of the file.
QString convertOrDecode(const QString &path, const QByteArray &bytes, PageConversion *conversion)
{
    if (conversion)
        *conversion = PageConversion::NotNeeded;
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8(bytes);
    if (bytes.startsWith(utf8Bom) || !utf8.hasError())
        return text;
    if (hasUtf16Mark(bytes))
        return decodeByMark(bytes);
    const QString legacy = convertedLegacyText(bytes);
    if (legacy.isEmpty())
        return text;
    const bool written = writeWholeFile(path, utf8Bom + legacy.toUtf8());
    if (conversion)
        *conversion = written ? PageConversion::Converted : PageConversion::WriteFailed;
    return legacy;
}

enum class Look { Open, FileName, Title };

// The title rule on text, which is the file's beginning (all of it when whole).
template<typename View>
Look titleLook(View text, bool whole, QString *title)
{
    const Needles &n = needles();
    const qsizetype q = findText(text, QLatin1StringView(n.titleEnd), 0, Qt::CaseInsensitive);
    if (q < 0)
        return whole ? Look::FileName : Look::Open;
    // The first "<TITLE>" is before q here, or after it.
    const qsizetype p = findText(text, QLatin1StringView(n.titleStart), 0, Qt::CaseInsensitive);
    if (p < 0 || q - p <= n.titleStart.size())
        return Look::FileName;
    if (findText(text, QLatin1StringView(n.ownPage), 0, Qt::CaseSensitive) < 0)
        return whole ? Look::FileName : Look::Open;
    *title = UnescapeAngles(toText(text.sliced(p + n.titleStart.size(), q - p - n.titleStart.size())));
    return Look::Title;
}

// The listing title from the bytes read so far; Look::Open asks for more.
Look lookAtBytes(const QString &path, const QByteArray &bytes, bool whole, QString *title)
{
    if (hasUtf16Mark(bytes))
        return titleLook(QStringView(decodeByMark(bytes)), whole, title);
    if (bytes.startsWith(utf8Bom))
        return titleLook(QByteArrayView(bytes).sliced(utf8Bom.size()), whole, title);
    const QByteArrayView complete = whole ? QByteArrayView(bytes) : withoutCutSequence(bytes);
    // A page that is not UTF-8 and declares Shift_JIS is converted, which
    // needs all of it.
    const MetaCharset charset = metaCharset(complete, whole);
    if (!charset.settled)
        return Look::Open;
    if (!declaresShiftJis(complete, charset))
        return titleLook(complete, whole, title);
    if (!whole)
        return Look::Open;
    const QString text = convertOrDecode(path, bytes, nullptr);
    return titleLook(QStringView(text), whole, title);
}
} // namespace

QString convertedShiftJisPage(const QByteArray &bytes)
{
    if (bytes.startsWith(utf8Bom) || decodePageUtf8(bytes).ok() || hasUtf16Mark(bytes))
        return {};
    return convertedLegacyText(bytes);
}

QString readPageText(const QString &path, PageConversion *conversion)
{
    if (conversion)
        *conversion = PageConversion::NotNeeded;
    const std::optional<QByteArray> bytes = readTextFile(path);
    if (!bytes)
        return {};
    return convertOrDecode(path, *bytes, conversion);
}

QString listingTitle(const QString &path)
{
    if (!isHtmlName(path))
        return fileNameTitle(path);
    HeadFile file(path);
    if (!file.isOpen())
        return fileNameTitle(path);
    QByteArray bytes;
    bool whole = false;
    QString title;
    for (const qint64 limit : {HeadSize, ReadLimit}) {
        if (!file.readUpTo(limit, bytes, whole))
            break;
        const Look look = lookAtBytes(path, bytes, whole, &title);
        if (look == Look::Title)
            return title;
        if (look == Look::FileName || whole)
            break;
    }
    return fileNameTitle(path);
}

QString reloadedTitle(const QString &path)
{
    QByteArray bytes;
    const QString text = isHtmlName(path) && readCapped(path, bytes) ? decodeByMark(bytes) : QString();
    const qsizetype p = text.indexOf(Markers::TitleStart);
    if (p < 0 || !text.contains(Markers::OwnPageMark))
        return fileNameTitle(path);
    const qsizetype q = text.indexOf(Markers::TitleEnd);
    const qsizetype length = q - p - Markers::TitleStart.size();
    return length > 0 ? text.mid(p + Markers::TitleStart.size(), length) : QString();
}

QString refreshedButtonTitle(const QString &path, const QString &storedTitle)
{
    if (!QFileInfo::exists(path) || !isHtmlName(path))
        return UnescapeAngles(storedTitle);
    QByteArray bytes;
    const QString text = readCapped(path, bytes) ? decodeByMark(bytes) : QString();
    const qsizetype open = text.indexOf(u"<TITLE"_s, 0, Qt::CaseInsensitive);
    if (open < 0 || !text.contains(Markers::OwnPageMark))
        return fileNameTitle(path);
    const qsizetype start = text.indexOf(u'>', open);
    const qsizetype end = start < 0 ? -1 : text.indexOf(u"</TITLE"_s, start, Qt::CaseInsensitive);
    const QString title = end < 0 ? QString() : text.mid(start + 1, end - start - 1);
    return title.isEmpty() ? fileNameTitle(path) : title;
}
