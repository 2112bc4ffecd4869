#include "ui/present/tform6.h"

#include "core/app/rootpath.h"
#include "core/present/mediatexts.h"
#include "platform/mediabackend.h"
#include "ui/app/uitexts.h"

#include <QApplication>
#include <QAudioOutput>
#include <QCloseEvent>
#include <QCursor>
#include <QHBoxLayout>
#include <QLabel>
#include <QMediaMetaData>
#include <QMediaPlayer>
#include <QMessageBox>
#include <QMouseEvent>
#include <QScreen>
#include <QSlider>
#include <QStyle>
#include <QTimer>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>
#include <QVideoWidget>

using namespace Qt::StringLiterals;

namespace {
constexpr int ControlsHeight = 45;
const QSize DesignClientSize(210, 145);
} // namespace

// The framework's player as the frame arithmetic sees it.
class TForm6::Backend : public MediaBackend
{
public:
    explicit Backend(TForm6 &form)
        : f(form)
    {
    }
    void play() override
    {
        if (f.MediaPlayer1)
            f.MediaPlayer1->play();
    }
    void pause() override
    {
        if (f.MediaPlayer1)
            f.MediaPlayer1->pause();
    }
    void stop() override
    {
        if (f.MediaPlayer1)
            f.MediaPlayer1->stop();
    }
    qint64 position() const override { return f.MediaPlayer1 ? f.MediaPlayer1->position() : 0; }
    void setPosition(qint64 ms) override
    {
        if (f.MediaPlayer1)
            f.MediaPlayer1->setPosition(ms);
    }
    qint64 duration() const override { return f.MediaPlayer1 ? f.MediaPlayer1->duration() : 0; }
    double frameRate() const override
    {
        return f.MediaPlayer1 ? f.MediaPlayer1->metaData().value(QMediaMetaData::VideoFrameRate).toDouble() : 0;
    }

private:
    TForm6 &f;
};

static QToolButton *playerButton(QWidget *parent, const QString &name, const QString &text, QStyle::StandardPixmap icon)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(name);
    if (text.isEmpty())
        button->setIcon(parent->style()->standardIcon(icon));
    else
        button->setText(text);
    button->setAutoRaise(true);
    button->setFixedSize(24, 22);
    return button;
}

TForm6::TForm6(QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint)
    , m_backend(std::make_unique<Backend>(*this))
{
    chooseMediaBackend();
    setObjectName(u"Form6"_s);
    control = std::make_unique<PlayerControl>(*m_backend);
    resize(DesignClientSize);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    Panel1 = new QWidget(this);
    Panel1->setObjectName(u"Panel1"_s);
    Panel1->setStyleSheet(u"background: black;"_s);
    auto *surface = new QVBoxLayout(Panel1);
    surface->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Panel1, 1);

    Panel3 = new QWidget(this);
    Panel3->setObjectName(u"Panel3"_s);
    Panel3->setFixedHeight(ControlsHeight);
    Panel3->setAutoFillBackground(true);
    QPalette silver = Panel3->palette();
    silver.setColor(QPalette::Window, QColor(0xC0, 0xC0, 0xC0));
    Panel3->setPalette(silver);
    auto *controls = new QVBoxLayout(Panel3);
    controls->setContentsMargins(2, 0, 2, 1);
    controls->setSpacing(0);
    TrackBar1 = new QSlider(Qt::Horizontal, Panel3);
    TrackBar1->setObjectName(u"TrackBar1"_s);
    TrackBar1->setTickPosition(QSlider::NoTicks);
    controls->addWidget(TrackBar1);
    auto *row = new QHBoxLayout;
    row->setSpacing(2);
    playbutton = playerButton(Panel3, u"playbutton"_s, QString(), QStyle::SP_MediaPlay);
    stopbutton = playerButton(Panel3, u"stopbutton"_s, QString(), QStyle::SP_MediaPause);
    returnbutton = playerButton(Panel3, u"returnbutton"_s, QString(), QStyle::SP_MediaSkipBackward);
    plus1 = playerButton(Panel3, u"plus1"_s, MediaText::stepForward, QStyle::SP_CustomBase);
    minus1 = playerButton(Panel3, u"minus1"_s, MediaText::stepBack, QStyle::SP_CustomBase);
    Label1 = new QLabel(MediaText::positionAtDesign, Panel3);
    Label1->setObjectName(u"Label1"_s);
    for (QWidget *w : {static_cast<QWidget *>(playbutton), static_cast<QWidget *>(stopbutton),
                       static_cast<QWidget *>(returnbutton), static_cast<QWidget *>(plus1),
                       static_cast<QWidget *>(minus1)})
        row->addWidget(w);
    row->addWidget(Label1, 1);
    controls->addLayout(row);
    layout->addWidget(Panel3);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(u"Timer1"_s);
    Timer1->setInterval(10);

    connect(playbutton, &QToolButton::clicked, this, &TForm6::playbuttonClick);
    // A double click plays again from the start.
    playbutton->installEventFilter(this);
    connect(stopbutton, &QToolButton::clicked, this, &TForm6::stopbuttonMouseUp);
    connect(returnbutton, &QToolButton::clicked, this, &TForm6::returnbuttonMouseUp);
    connect(plus1, &QToolButton::clicked, this, &TForm6::plus1MouseUp);
    connect(minus1, &QToolButton::clicked, this, &TForm6::minus1MouseUp);
    connect(Timer1, &QTimer::timeout, this, &TForm6::Timer1Timer);
    connect(TrackBar1, &QSlider::valueChanged, this, &TForm6::TrackBar1Change);
}

TForm6::~TForm6()
{
    releasePlayer();
}

void TForm6::playFile(const QString &file, const QPoint &centre)
{
    if (isVisible())
        close();
    AVIx1 = centre.x();
    AVIy1 = centre.y();
    Caption = file;
    setWindowTitle(file);
    Tag = 1;
    show();
    playbuttonDblClick();
}

bool TForm6::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == playbutton && event->type() == QEvent::MouseButtonDblClick
        && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
        // While the file is still opening there is nothing to play again.
        if (Tag == 0)
            playbuttonDblClick();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void TForm6::showEvent(QShowEvent *event)
{
    Tag = 1;
    setWindowState(windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized));
    QWidget::showEvent(event);
}

void TForm6::createPlayer()
{
    releasePlayer();
    MediaPlayer1 = new QMediaPlayer(this);
    MediaPlayer1->setObjectName(u"MediaPlayer1"_s);
    videoSurface = new QVideoWidget(Panel1);
    videoSurface->setObjectName(u"videoSurface"_s);
    Panel1->layout()->addWidget(videoSurface);
    MediaPlayer1->setVideoOutput(videoSurface);
    // Without a sound device the video plays silently.
    if (hasAudioOutput())
        MediaPlayer1->setAudioOutput(new QAudioOutput(MediaPlayer1));
    // Errors and the loaded media arrive after the source was set.
    connect(MediaPlayer1, &QMediaPlayer::errorOccurred, this, [this](QMediaPlayer::Error error) {
        if (error != QMediaPlayer::NoError && Tag == 1)
            openFailed();
    });
    connect(MediaPlayer1, &QMediaPlayer::mediaStatusChanged, this, [this](QMediaPlayer::MediaStatus status) {
        if (Tag != 1 || m_failed)
            return;
        if (status == QMediaPlayer::InvalidMedia)
            openFailed();
        else if (status == QMediaPlayer::LoadedMedia || status == QMediaPlayer::BufferedMedia)
            mediaOpened();
    });
}

void TForm6::releasePlayer()
{
    Timer1->stop();
    if (MediaPlayer1) {
        MediaPlayer1->disconnect(this);
        MediaPlayer1->stop();
        MediaPlayer1->deleteLater();
        MediaPlayer1 = nullptr;
    }
    if (videoSurface) {
        videoSurface->deleteLater();
        videoSurface = nullptr;
    }
}

void TForm6::playbuttonDblClick()
{
    if (Tag == 1) {
        m_failed = false;
        createPlayer();
        const QUrl source = Caption.contains(u"://"_s) ? QUrl(Caption) : QUrl::fromLocalFile(Caption);
        // A link out of the data root plays nothing of what lies behind it.
        if (!(source.isLocalFile() && leadsOutOfDataRoot(source.toLocalFile())))
            MediaPlayer1->setSource(source);
        return;
    }
    if (!MediaPlayer1)
        return;
    Timer1->start();
    control->playAgain();
    moveCursorToControls();
}

void TForm6::mediaOpened()
{
    Tag = 0;
    const QSize natural = MediaPlayer1->metaData().value(QMediaMetaData::Resolution).toSize();
    const QSize video = natural.isValid() && !natural.isEmpty() ? natural : QSize(DesignClientSize.width(),
                                                                                   DesignClientSize.height() - ControlsHeight);
    AVIx2 = video.width();
    AVIy2 = video.height();
    resize(AVIx2, AVIy2 + ControlsHeight);
    const QScreen *where = QGuiApplication::screenAt(QPoint(AVIx1, AVIy1));
    if (!where)
        where = screen();
    const QRect area = where ? where->availableGeometry() : QRect(0, 0, 1280, 800);
    move(playerTopLeft(QPoint(AVIx1, AVIy1), frameGeometry().size(), area));
    TrackBar1->setMaximum(control->lengthFrames());
    control->opened();
    Timer1->start();
    moveCursorToControls();
}

void TForm6::openFailed()
{
    m_failed = true;
    const QString file = Caption;
    auto *box = new QMessageBox(QMessageBox::Warning, QApplication::applicationName(), UiTexts::CannotOpenFile,
                                QMessageBox::Ok, parentWidget());
    box->setObjectName(u"cannotOpenMessage"_s);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
    close();
    emit cannotOpen(file);
}

void TForm6::moveCursorToControls()
{
    // Onto the control row, so that stop and the steps are at hand.
    QCursor::setPos(returnbutton->mapToGlobal(returnbutton->rect().center()));
}

void TForm6::playbuttonClick()
{
    Timer1->start();
    control->play();
}

void TForm6::stopbuttonMouseUp()
{
    Timer1->start();
    control->stop();
}

void TForm6::returnbuttonMouseUp()
{
    Timer1->start();
    control->returnToStart();
}

void TForm6::plus1MouseUp()
{
    Timer1->start();
    control->step(1);
}

void TForm6::minus1MouseUp()
{
    Timer1->start();
    control->step(-1);
}

void TForm6::Timer1Timer()
{
    const PlayerControl::View view = control->tick();
    m_following = true;
    TrackBar1->setMaximum(view.trackMax);
    TrackBar1->setValue(view.trackPosition);
    m_following = false;
    Label1->setText(view.label);
}

void TForm6::TrackBar1Change(int position)
{
    if (m_following)
        return;
    const QString label = control->trackBarChanged(position);
    if (!label.isEmpty())
        Label1->setText(label);
}

void TForm6::closeEvent(QCloseEvent *event)
{
    releasePlayer();
    control->MediaPlaying = false;
    Caption.clear();
    Tag = 0;
    QWidget::closeEvent(event);
}
