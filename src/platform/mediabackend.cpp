#include "platform/mediabackend.h"

#include <QAudioDevice>
#include <QMediaDevices>
#include <QtGlobal>

void chooseMediaBackend()
{
    if (qEnvironmentVariableIsEmpty("QT_MEDIA_BACKEND"))
        qputenv("QT_MEDIA_BACKEND", "ffmpeg");
}

bool hasAudioOutput()
{
    return !QMediaDevices::audioOutputs().isEmpty();
}

bool hasAudioInput()
{
    return !QMediaDevices::audioInputs().isEmpty();
}
