#include "ui/present/soundrecorder.h"

#include "core/present/mediatexts.h"

#include <QAudioFormat>
#include <QAudioSource>
#include <QHBoxLayout>
#include <QLabel>
#include <QAudioDevice>
#include <QMediaDevices>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

SoundRecorder::SoundRecorder(const QString &soundFile, QWidget *parent)
    : QDialog(parent)
    , m_recording(soundFile)
{
    setObjectName(u"SoundRecorder"_s);
    setWindowTitle(MediaText::recorderTitle);
    setModal(true);
    auto *layout = new QVBoxLayout(this);
    timeLabel = new QLabel(MediaText::recordingSeconds.arg(0), this);
    timeLabel->setObjectName(u"timeLabel"_s);
    timeLabel->setAlignment(Qt::AlignCenter);
    layout->addWidget(timeLabel);
    auto *row = new QHBoxLayout;
    recordButton = new QPushButton(MediaText::recordButton, this);
    keepButton = new QPushButton(MediaText::keepButton, this);
    cancelButton = new QPushButton(MediaText::cancelButton, this);
    for (QPushButton *b : {recordButton, keepButton, cancelButton}) {
        b->setAutoDefault(false);
        row->addWidget(b);
    }
    layout->addLayout(row);
    connect(recordButton, &QPushButton::clicked, this, &SoundRecorder::toggleRecording);
    connect(keepButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

SoundRecorder::~SoundRecorder()
{
    stopRecording();
}

SoundRecording::Result SoundRecorder::run()
{
    if (!m_recording.begin())
        return SoundRecording::Result::Failed;
    const bool keep = exec() == QDialog::Accepted;
    stopRecording();
    return m_recording.finish(keep);
}

void SoundRecorder::toggleRecording()
{
    if (m_source)
        return stopRecording();
    QAudioFormat format;
    format.setSampleRate(22050);
    format.setChannelCount(1);
    format.setSampleFormat(QAudioFormat::UInt8);
    m_source = new QAudioSource(QMediaDevices::defaultAudioInput(), format, this);
    m_input = m_source->start();
    if (!m_input) {
        stopRecording();
        return;
    }
    connect(m_input, &QIODevice::readyRead, this, &SoundRecorder::takeSamples);
    recordButton->setText(MediaText::stopButton);
}

void SoundRecorder::takeSamples()
{
    if (!m_input)
        return;
    m_recording.append(m_input->readAll());
    const qint64 samples = qMax<qint64>(0, m_recording.size() - WavHeaderSize);
    timeLabel->setText(MediaText::recordingSeconds.arg(samples / 22050));
}

void SoundRecorder::stopRecording()
{
    if (!m_source)
        return;
    takeSamples();
    m_source->stop();
    m_source->deleteLater();
    m_source = nullptr;
    m_input = nullptr;
    recordButton->setText(MediaText::recordButton);
}
