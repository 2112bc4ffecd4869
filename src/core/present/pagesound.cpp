#include "core/present/pagesound.h"

#include "core/navigation/pathtext.h"
#include "core/present/mediatexts.h"

#include <QUrl>
#include <QtEndian>

using namespace Qt::StringLiterals;

namespace {
constexpr char TemplateHex[]
    = "524946463200000057415645666D7420120000000100010022560000225600000100080000006661637404000000000000006461746100000000";
constexpr int RiffSizeAt = 4;
constexpr int FactSamplesAt = 46;
constexpr int DataSizeAt = 54;

quint32 le32(const QByteArray &b, qint64 at)
{
    return at + 4 <= b.size() ? qFromLittleEndian<quint32>(b.constData() + at) : 0;
}

quint16 le16(const QByteArray &b, qint64 at)
{
    return at + 2 <= b.size() ? qFromLittleEndian<quint16>(b.constData() + at) : 0;
}

void putLe32(QByteArray &b, int at, quint32 value)
{
    qToLittleEndian(value, b.data() + at);
}
} // namespace

QByteArray wavTemplate()
{
    return QByteArray::fromHex(TemplateHex);
}

WavInfo readWavInfo(const QByteArray &bytes, qint64 fileSize)
{
    WavInfo info;
    if (bytes.size() < 12 || !bytes.startsWith("RIFF") || bytes.mid(8, 4) != "WAVE")
        return info;
    info.riffSize = le32(bytes, 4);
    bool haveFormat = false;
    qint64 at = 12;
    while (at + 8 <= bytes.size()) {
        const QByteArray id = bytes.mid(at, 4);
        const quint32 size = le32(bytes, at + 4);
        const qint64 body = at + 8;
        if (id == "fmt " && size >= 16) {
            info.format = le16(bytes, body);
            info.channels = le16(bytes, body + 2);
            info.sampleRate = int(le32(bytes, body + 4));
            info.bitsPerSample = le16(bytes, body + 14);
            haveFormat = true;
        } else if (id == "fact" && size >= 4) {
            info.factSamples = le32(bytes, body);
        } else if (id == "data") {
            info.dataOffset = body;
            info.dataSize = size;
            info.ok = haveFormat && body + qint64(size) <= (fileSize >= 0 ? fileSize : bytes.size());
            return info;
        }
        // Chunks are padded to an even size.
        at = body + qint64(size) + (size & 1);
    }
    return info;
}

bool isPlayableWav(const WavInfo &info)
{
    return info.ok && info.format == 1 && (info.bitsPerSample == 8 || info.bitsPerSample == 16)
           && info.channels > 0 && info.sampleRate > 0;
}

QByteArray wavHeaderFor(qint64 totalSize)
{
    QByteArray header = wavTemplate();
    const auto data = quint32(qMax<qint64>(0, totalSize - WavHeaderSize));
    putLe32(header, RiffSizeAt, quint32(qMax<qint64>(0, totalSize - 8)));
    // One byte per sample: 8-bit mono.
    putLe32(header, FactSamplesAt, data);
    putLe32(header, DataSizeAt, data);
    return header;
}

QString pageSoundPath(const QString &address)
{
    if (address.isEmpty() || isWebAddress(address))
        return QString();
    const QString local = address.contains(u"://"_s) ? QUrl(address).toLocalFile() : address;
    if (local.isEmpty())
        return QString();
    if (local.endsWith(u'/'))
        return local + MediaText::indexSoundName;
    return pathWithoutExtension(local) + MediaText::soundFileExtension;
}

SoundRecording::SoundRecording(const QString &soundFile)
    : m_target(soundFile)
{
}

SoundRecording::~SoundRecording()
{
    if (m_file)
        m_file->cancel();
}

bool SoundRecording::begin()
{
    m_file = std::make_unique<AtomicFile>(m_target);
    if (m_file->open() && m_file->write(wavTemplate()))
        return true;
    m_error = m_file->errorString();
    m_file->cancel();
    m_file.reset();
    return false;
}

bool SoundRecording::append(const QByteArray &samples)
{
    if (!m_file)
        return false;
    if (m_file->write(samples))
        return true;
    m_error = m_file->errorString();
    return false;
}

qint64 SoundRecording::size() const
{
    return m_file ? m_file->size() : 0;
}

SoundRecording::Result SoundRecording::finish(bool keep)
{
    if (!m_file)
        return Result::Failed;
    std::unique_ptr<AtomicFile> file = std::move(m_file);
    if (!keep) {
        file->cancel();
        return Result::Cancelled;
    }
    if (!file->errorString().isEmpty()) {
        m_error = file->errorString();
        file->cancel();
        return Result::Failed;
    }
    const qint64 total = file->size();
    if (total < ShortestKeptSound) {
        file->cancel();
        return Result::TooShort;
    }
    // Players take the sizes from the header: a header saying 0 plays nothing.
    if (!file->seek(0) || !file->write(wavHeaderFor(total)) || !file->commit()) {
        m_error = file->errorString();
        file->cancel();
        return Result::Failed;
    }
    return Result::Kept;
}
