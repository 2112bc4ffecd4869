// The page's sound file: its name, the empty template and a recording's end.
#include "core/navigation/testfiles.h"
#include "core/present/pagesound.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class PageSoundTest : public QObject
{
    Q_OBJECT

private slots:
    void templateIsTheEmptyEightBitMonoSound()
    {
        const QByteArray bytes = wavTemplate();
        QCOMPARE(bytes.size(), 58);
        QCOMPARE(bytes.toHex().toUpper(),
                 QByteArray("524946463200000057415645666D7420120000000100010022560000225600000100080000006661637404"
                            "000000000000006461746100000000"));
        const WavInfo info = readWavInfo(bytes);
        QVERIFY(info.ok);
        QCOMPARE(info.format, 1);
        QCOMPARE(info.channels, 1);
        QCOMPARE(info.sampleRate, 22050);
        QCOMPARE(info.bitsPerSample, 8);
        QCOMPARE(info.dataOffset, qint64(58));
        QCOMPARE(info.dataSize, 0u);
    }

    // The player waits for ever on a file that ends before its samples do.
    void playableSoundFiles_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<qint64>("fileSize"); // -1: bytes is the whole file
        QTest::addColumn<bool>("playable");
        const QByteArray recording = wavHeaderFor(58 + 100) + QByteArray(100, char(0x80));
        QByteArray sixteenBit = recording;
        sixteenBit[34] = 16;
        QByteArray floating = recording;
        floating[20] = 3;
        QByteArray noChannels = recording;
        noChannels[22] = 0;
        QTest::newRow("recording") << recording << qint64(-1) << true;
        QTest::newRow("empty template") << wavTemplate() << qint64(-1) << true;
        QTest::newRow("16-bit") << sixteenBit << qint64(-1) << true;
        QTest::newRow("samples cut short") << recording.left(recording.size() - 1) << qint64(-1) << false;
        QTest::newRow("header cut short") << recording.left(40) << qint64(-1) << false;
        QTest::newRow("no RIFF") << QByteArray("RIFF broken") << qint64(-1) << false;
        QTest::newRow("floating point") << floating << qint64(-1) << false;
        QTest::newRow("no channels") << noChannels << qint64(-1) << false;
        QTest::newRow("chunk past the end") << wavTemplate().left(38) + "junk" + QByteArray("\xff\xff\x00\x00", 4)
                                                   + wavTemplate().mid(50)
                                            << qint64(-1) << false;
        // Only the head of a long file is read.
        QTest::newRow("head of a whole recording") << recording.left(58) << qint64(recording.size()) << true;
        QTest::newRow("head of a recording cut short") << recording.left(58) << qint64(recording.size() - 1) << false;
    }
    void playableSoundFiles()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(qint64, fileSize);
        QFETCH(bool, playable);
        QCOMPARE(isPlayableWav(readWavInfo(bytes, fileSize)), playable);
    }

    void keptRecordingHasItsSizesInTheHeader()
    {
        QTemporaryDir dir;
        const QString sound = dir.filePath(u"p.wav"_s);
        SoundRecording recording(sound);
        QVERIFY(recording.begin());
        // Nothing replaces the sound before the recording is kept.
        QVERIFY(!QFileInfo::exists(sound));
        QVERIFY(recording.append(QByteArray(1500, char(0x80))));
        QVERIFY(recording.append(QByteArray(501, char(0x90))));
        QCOMPARE(recording.finish(true), SoundRecording::Result::Kept);
        const QByteArray bytes = readFixture(sound);
        QCOMPARE(bytes.size(), 58 + 2001);
        const WavInfo info = readWavInfo(bytes);
        QVERIFY(info.ok);
        QCOMPARE(qint64(info.riffSize), qint64(bytes.size() - 8));
        QCOMPARE(info.dataSize, 2001u);
        QCOMPARE(info.factSamples, 2001u);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{u"p.wav"_s});
    }

    void unkeptRecordingLeavesTheSound_data()
    {
        QTest::addColumn<QByteArray>("existing");
        QTest::addColumn<int>("samples");
        QTest::addColumn<bool>("keep");
        QTest::addColumn<int>("result");
        const QByteArray old = wavHeaderFor(58 + 2000) + QByteArray(2000, char(0x70));
        QTest::newRow("cancelled over a sound") << old << 5000 << false << int(SoundRecording::Result::Cancelled);
        QTest::newRow("too short over a sound") << old << 100 << true << int(SoundRecording::Result::TooShort);
        QTest::newRow("too short, no sound") << QByteArray() << 965 << true << int(SoundRecording::Result::TooShort);
        // Another copy's short file is not this recording's to remove.
        QTest::newRow("short file of another") << wavTemplate() << 10 << true << int(SoundRecording::Result::TooShort);
    }

    void unkeptRecordingLeavesTheSound()
    {
        QFETCH(QByteArray, existing);
        QFETCH(int, samples);
        QFETCH(bool, keep);
        QFETCH(int, result);
        QTemporaryDir dir;
        const QString sound = dir.filePath(u"p.wav"_s);
        if (!existing.isEmpty())
            QVERIFY(writeFixture(sound, existing));
        SoundRecording recording(sound);
        QVERIFY(recording.begin());
        QVERIFY(recording.append(QByteArray(samples, char(0x81))));
        QCOMPARE(int(recording.finish(keep)), result);
        QCOMPARE(QFileInfo::exists(sound), !existing.isEmpty());
        QCOMPARE(readFixture(sound), existing);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), existing.isEmpty() ? 0 : 1);
    }

    void recordingIntoAnUnwritableFolderFails()
    {
        SoundRecording recording(u"/nonexistent-folder/p.wav"_s);
        QVERIFY(!recording.begin());
        QCOMPARE(recording.finish(true), SoundRecording::Result::Failed);
    }

    void soundPathOfTheOpenPage_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("sound");
        QTest::newRow("page") << u"file:///d/0120_map.html"_s << u"/d/0120_map.wav"_s;
        QTest::newRow("blank in the name") << u"file:///d/my%20page.html"_s << u"/d/my page.wav"_s;
        QTest::newRow("japanese name") << u"file:///d/%E6%97%A5%E5%A0%B1.html"_s << u"/d/日報.wav"_s;
        QTest::newRow("folder address") << u"file:///d/sub/"_s << u"/d/sub/index.wav"_s;
        QTest::newRow("index page") << u"file:///d/index.html"_s << u"/d/index.wav"_s;
        QTest::newRow("page of a search level") << u"/cur/sub/p.html"_s << u"/cur/sub/p.wav"_s;
        QTest::newRow("web page") << u"https://example.org/a.html"_s << QString();
        QTest::newRow("nothing open") << QString() << QString();
    }

    void soundPathOfTheOpenPage()
    {
        QFETCH(QString, address);
        QFETCH(QString, sound);
        QCOMPARE(pageSoundPath(address), sound);
    }
};

QTEST_GUILESS_MAIN(PageSoundTest)
#include "tst_pagesound.moc"
