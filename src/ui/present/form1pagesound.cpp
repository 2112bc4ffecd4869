// The page's sound: its button, the automatic play after a page opens, and recording.
#include "ui/app/tform1.h"

#include "core/app/rootpath.h"
#include "core/navigation/bottombar.h"
#include "core/present/mediatexts.h"
#include "core/present/pagesound.h"
#include "platform/mediabackend.h"
#include "ui/navigation/pagebutton.h"
#include "ui/present/soundrecorder.h"

#include <QFile>
#include <QFileInfo>
#include <QFrame>
#include <QMessageBox>
#include <QPushButton>
#include <QSoundEffect>
#include <QTimer>
#include <QUrl>

using namespace Qt::StringLiterals;

void TForm1::buildPageSound()
{
    chooseMediaBackend();
    BitBtn1->setToolTip(MediaText::soundHint);
    BitBtn1->setCursor(Qt::PointingHandCursor);
    BitBtn1->setProperty("Tag", 0);
    Timer3 = new QTimer(this);
    Timer3->setObjectName(u"Timer3"_s);
    Timer3->setInterval(400);
    Timer3->setSingleShot(true);
    connect(Timer3, &QTimer::timeout, this, &TForm1::Timer3Timer);
    // One tick right after start, for the first page.
    Timer3->start();
    UpdateSoundButton = [this] { refreshSoundButton(); };
}

QString TForm1::refreshSoundButton()
{
    const QString path = pageSoundPath(Caption);
    if (!path.isEmpty() && QFileInfo(path).isFile()) {
        BitBtn1->setProperty("Tag", 1);
        BitBtn1->move(soundButtonLeft(kabeBASE->width(), BitBtn1->width(), kabeRight->width(), hyoushi->width()), 2);
        BitBtn1->setToolTip(MediaText::soundHint);
        BitBtn1->show();
        BitBtn1->raise();
    } else {
        BitBtn1->setProperty("Tag", 0);
        BitBtn1->hide();
    }
    return path;
}

void TForm1::PlayWav(const QString &fileName)
{
    if (!pageSound)
        pageSound = new QSoundEffect(this);
    pageSound->stop();
    // The effect keeps the sound it read and takes the same file again for no
    // change: a sound recorded anew since would not be heard. So it lets go of
    // it and reads the file again every time.
    pageSound->setSource(QUrl());
    // The effect waits for ever on a file that ends before its sound does, and
    // letting go of it then hangs the window.
    QFile file(fileName);
    if (leadsOutOfDataRoot(fileName) || !file.open(QIODevice::ReadOnly) || !isPlayableWav(readWavInfo(file.read(WavHeadBytes), file.size())))
        return;
    pageSound->setSource(QUrl::fromLocalFile(fileName));
    // Without a sound device the page stays silent.
    if (hasAudioOutput())
        pageSound->play();
}

void TForm1::Timer3Timer()
{
    Timer3->stop();
    const QString path = refreshSoundButton();
    if (!path.isEmpty() && QFileInfo(path).isFile())
        PlayWav(path);
}

void TForm1::hSAISEIMouseUp(bool rightButton)
{
    if (nav.PBan() < 0)
        return;
    const QString path = refreshSoundButton();
    if (rightButton) {
        if (!path.isEmpty())
            RecycleFile(path);
        refreshSoundButton();
    } else if (!path.isEmpty() && QFileInfo(path).isFile()) {
        PlayWav(path);
    }
    if (PageButton *button = PageButtons.value(nav.PBan()))
        button->setFocus(Qt::OtherFocusReason);
}

void TForm1::RecordSound(const QString &path)
{
    // Without a microphone (or a sound server) nothing is recorded and nothing changes.
    if (!hasAudioInput()) {
        auto *box = new QMessageBox(QMessageBox::Information, nav.ExeBaseName, MediaText::noRecordingDevice,
                                    QMessageBox::Ok, this);
        box->setObjectName(u"noRecordingDevice"_s);
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->open();
        return;
    }
    PollPause pause(*this);
    // The window takes no clicks while the recorder is open.
    kabeBASE->setEnabled(false);
    SoundRecorder recorder(path, this);
    const SoundRecording::Result result = recorder.run();
    kabeBASE->setEnabled(true);
    if (result == SoundRecording::Result::Failed)
        QMessageBox::warning(this, nav.ExeBaseName, MediaText::recordingFailed.arg(recorder.errorString()));
    refreshSoundButton();
}
