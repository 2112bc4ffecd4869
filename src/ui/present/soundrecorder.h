#pragma once

#include "core/present/pagesound.h"

#include <QDialog>

class QAudioSource;
class QIODevice;
class QLabel;
class QPushButton;

// Our own sound recorder: records 8-bit mono 22050 Hz from the default input
// into a recording of the page's sound file, kept only when the user saves it.
class SoundRecorder : public QDialog
{
    Q_OBJECT
public:
    SoundRecorder(const QString &soundFile, QWidget *parent = nullptr);
    ~SoundRecorder() override;

    // Shows the window modally; the recording's end.
    SoundRecording::Result run();
    QString errorString() const { return m_recording.errorString(); }

    QPushButton *recordButton = nullptr;
    QPushButton *keepButton = nullptr;
    QPushButton *cancelButton = nullptr;
    QLabel *timeLabel = nullptr;

private:
    void toggleRecording();
    void takeSamples();
    void stopRecording();

    SoundRecording m_recording;
    QAudioSource *m_source = nullptr;
    QIODevice *m_input = nullptr;
};
