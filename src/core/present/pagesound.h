#pragma once

#include "core/app/atomicfile.h"

#include <QByteArray>
#include <QString>

#include <memory>

// The one sound of a page: a WAV file beside it, recorded as 8-bit mono 22050 Hz PCM.

// The 58 bytes an empty recording starts from: RIFF, an 18-byte format chunk,
// a fact chunk and an empty data chunk.
QByteArray wavTemplate();
inline constexpr int WavHeaderSize = 58;
// A sound file shorter than this holds no recording worth keeping.
inline constexpr qint64 ShortestKeptSound = 1024;

// What a WAV file says about itself; ok false when it is no WAV we can play.
struct WavInfo
{
    bool ok = false;
    int format = 0;
    int channels = 0;
    int sampleRate = 0;
    int bitsPerSample = 0;
    quint32 riffSize = 0;
    quint32 factSamples = 0;
    qint64 dataOffset = 0;
    quint32 dataSize = 0;
};
// bytes is the file or its beginning; fileSize, when given, the whole file's
// size, in which the samples must lie.
WavInfo readWavInfo(const QByteArray &bytes, qint64 fileSize = -1);
// Whether the sound player reads the file to its end: PCM of 8 or 16 bits
// with every chunk up to the samples whole in the file.
bool isPlayableWav(const WavInfo &info);
// How much of a sound file is read to tell that: its chunks before the
// samples lie in its beginning.
inline constexpr qint64 WavHeadBytes = 64 * 1024;

// The header of a template-started file of totalSize bytes with its sizes
// written in: the RIFF size, the fact sample count and the data size.
QByteArray wavHeaderFor(qint64 totalSize);

// The sound file of the open page from its address (a file URL or a local
// path): the page's own folder and name with ".wav"; "index.wav" for a folder
// address ending in "/". Empty for web addresses.
QString pageSoundPath(const QString &address);

// One recording: the samples go into a temporary file beside the sound file,
// which replaces the sound only when the recording is kept and long enough.
class SoundRecording
{
public:
    enum class Result { Kept, Cancelled, TooShort, Failed };

    explicit SoundRecording(const QString &soundFile);
    ~SoundRecording();

    // Opens the temporary file with the template in it; false when it cannot be written.
    bool begin();
    bool append(const QByteArray &samples);
    qint64 size() const;
    // Ends the recording: with keep, the sizes are written into the header and
    // the sound file replaced when the recording reaches ShortestKeptSound.
    // Anything else leaves an existing sound file as it was.
    Result finish(bool keep);
    QString errorString() const { return m_error; }

private:
    QString m_target;
    std::unique_ptr<AtomicFile> m_file;
    QString m_error;
};
