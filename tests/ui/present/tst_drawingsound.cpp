// Drawing on a capture of the page, the page sound and the media player, in
// the main window on a small data root.
#include "ui/app/tform1.h"

#include "core/navigation/testfiles.h"
#include "core/present/marker.h"
#include "core/present/pagesound.h"
#include "core/present/updatepoll.h"
#include "platform/mediabackend.h"
#include "ui/app/fakeplatform.h"
#include "ui/navigation/pagebutton.h"
#include "ui/present/tform14.h"
#include "ui/present/tform6.h"
#include "ui/present/tinyavi.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFileDialog>
#include <QFrame>
#include <QImageReader>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QSignalSpy>
#include <QSlider>
#include <QSoundEffect>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QWebEngineView>

using namespace Qt::StringLiterals;

static QByteArray page(const char *title)
{
    return QByteArray("<html><head><title>") + title
           + "</title></head><body style='margin:0'><div style='background:#00a000;height:300px'>" + title
           + "</div></body></html>";
}

static bool hasGreen(const QImage &image)
{
    for (int y = 0; y < image.height(); y += 7)
        for (int x = 0; x < image.width(); x += 7)
            if (image.pixelColor(x, y) == QColor(0, 0xa0, 0))
                return true;
    return false;
}

// Answers the next modal message with OK and remembers its text.
static void answerNextMessage(QString *text)
{
    QTimer::singleShot(0, [text] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            *text = box->text();
            box->accept();
        }
    });
}

// Cancels the file dialog that opens next and tells the folder it showed.
static void cancelNextFileDialog(QString *folder)
{
    auto *poll = new QTimer;
    poll->setInterval(10);
    QObject::connect(poll, &QTimer::timeout, [poll, folder] {
        if (auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget())) {
            *folder = dialog->directory().absolutePath();
            poll->stop();
            poll->deleteLater();
            dialog->reject();
        }
    });
    poll->start();
}

class DrawingSoundTest : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;
    QString m_home;
    FakePlatform m_platform;
    std::unique_ptr<TForm1> m_form;

    bool openAndLoad(int index)
    {
        QSignalSpy loaded(m_form->WebBrowser1, &QWebEngineView::loadFinished);
        m_form->nav.PBanSave(index);
        m_form->PageClick();
        return loaded.wait(30000);
    }

    // The page has painted once a capture shows it.
    bool captureShowsThePage()
    {
        QTest::qWait(0);
        m_form->CaptureToImage1();
        return hasGreen(m_form->Image1->pixmap().toImage());
    }

    void move(const QPoint &at, Qt::MouseButtons buttons)
    {
        QMouseEvent event(QEvent::MouseMove, at, m_form->Image11->mapToGlobal(at), Qt::NoButton, buttons,
                          Qt::NoModifier);
        QApplication::sendEvent(m_form->Image11, &event);
    }

    QImage drawingFile() const { return QImage(m_home + u"/_%map.bmp"_s); }

private slots:
    void initTestCase()
    {
        m_home = m_dir.filePath(u"web"_s);
        QVERIFY(QDir().mkpath(m_home));
        QVERIFY(writeFixture(m_home + u"/0120_map.html"_s, page("map")));
        QVERIFY(writeFixture(m_home + u"/0130_my page.html"_s, page("sound")));
        QVERIFY(writeFixture(m_home + u"/0130_my page.wav"_s, wavHeaderFor(58 + 2000) + QByteArray(2000, char(0x80))));
        QImage picture(60, 40, QImage::Format_RGB32);
        picture.fill(Qt::blue);
        QVERIFY(picture.save(m_home + u"/0140_pic.jpg"_s));
        m_form = std::make_unique<TForm1>(m_platform, m_dir.filePath(u"web.exe"_s));
        m_form->TXTcommand = [](const QString &) {};
        m_form->resize(900, 600);
        QSignalSpy loaded(m_form->WebBrowser1, &QWebEngineView::loadFinished);
        m_form->show();
        m_form->FormShow();
        QVERIFY(loaded.wait(30000));
        disconnect(m_form->Timer5, nullptr, m_form->Poll, nullptr);
    }

    void bottomRowAndPenMenu()
    {
        QCOMPARE(m_form->SpeedButton5->toolTip(), u"フォルダにある画像を提示"_s);
        QCOMPARE(m_form->SpeedButton19->toolTip(), u"左：画面に描く　/右：前回描いた画面へ"_s);
        QCOMPARE(m_form->SpeedButton8->toolTip(), u"左：画面を残してページに戻る／右：画面を残さず戻る"_s);
        QCOMPARE(m_form->SpeedButton20->toolTip(), u"画面を画像で保存＆クリップボードへ"_s);
        QCOMPARE(m_form->SpeedButton22->toolTip(), u"線色の変更、画面の保存"_s);
        QStringList items;
        for (QAction *item : m_form->PopupMenu1->actions())
            items << (item->isSeparator() ? u"-"_s : item->objectName() + u' ' + item->text());
        QCOMPARE(items, (QStringList{u"N18 ビュアで表示"_s, u"-"_s, u"N10 赤ペン"_s, u"N11 青ペン"_s, u"N12 黄ペン"_s,
                                     u"N13 白ペン"_s, u"N14 黒ペン"_s, u"-"_s, u"N16 太いペン"_s,
                                     u"N17 標準のペン"_s, u"-"_s, u"N19 赤い部分だけ消去"_s,
                                     u"N15 このページを画像で保存"_s}));
        auto *timer3 = m_form->findChild<QTimer *>(u"Timer3"_s);
        QVERIFY(timer3);
        QCOMPARE(timer3->interval(), 400);
        QVERIFY(timer3->isSingleShot());
    }

    void captureOfTheLoadedPage()
    {
        QVERIFY(openAndLoad(0));
        QTRY_VERIFY_WITH_TIMEOUT(captureShowsThePage(), 20000);
        QVERIFY(hasGreen(QGuiApplication::clipboard()->image()));
        const QString thumbnail = m_dir.filePath(u"thumb.jpg"_s);
        QVERIFY(m_form->CaptureToImage1(thumbnail));
        QCOMPARE(QImageReader(thumbnail).format(), QByteArray("jpeg"));
        QCOMPARE(QImage(thumbnail).size(), m_form->Image1->size());
        QVERIFY(m_form->SpeedButton22->isVisibleTo(m_form.get()));
        // A left press on a page button wipes the capture.
        QTest::mousePress(m_form->PageButtons.value(0), Qt::LeftButton);
        QVERIFY(!m_form->SpeedButton22->isVisibleTo(m_form.get()));
        QVERIFY(!hasGreen(m_form->Image1->pixmap().toImage()));
    }

    void strokeIsSavedIntoTheDrawingFile()
    {
        QVERIFY(openAndLoad(0));
        QTRY_VERIFY_WITH_TIMEOUT(captureShowsThePage(), 20000);
        m_form->StartDrawing(1);
        QVERIFY(m_form->Panel10->isVisible());
        QVERIFY(m_form->SpeedButton8->isVisible());
        QVERIFY(!m_form->SpeedButton19->isVisible());
        QVERIFY(!m_form->Timer5->isActive());
        QCOMPARE(m_form->DrawingPath, m_home + u"/_%map.bmp"_s);
        QVERIFY(hasGreen(drawingFile()));
        // Moves without the button only carry the pen along.
        move(QPoint(20, 200), Qt::NoButton);
        move(QPoint(120, 200), Qt::NoButton);
        QCOMPARE(m_form->Image11->pixmap().toImage().pixelColor(70, 200), QColor(0, 0xa0, 0));
        move(QPoint(220, 200), Qt::LeftButton);
        QCOMPARE(m_form->Image11->pixmap().toImage().pixelColor(170, 200), QColor(255, 0, 0));
        QCOMPARE(m_form->Image11->pixmap().toImage().pixelColor(70, 200), QColor(0, 0xa0, 0));
        QSignalSpy loaded(m_form->WebBrowser1, &QWebEngineView::loadFinished);
        m_form->SpeedButton8MouseDown(false);
        QCOMPARE(drawingFile().pixelColor(170, 200), QColor(255, 0, 0));
        QVERIFY(m_form->SpeedButton19->isVisible());
        QVERIFY(!m_form->SpeedButton8->isVisible());
        QVERIFY(m_form->Timer5->isActive());
        QVERIFY(loaded.wait(30000));
    }

    void revertThenEraseAndTheLastDrawing()
    {
        QVERIFY(openAndLoad(0));
        m_form->StartDrawing(0); // the drawing saved before
        QCOMPARE(m_form->Image11->pixmap().toImage().pixelColor(170, 200), QColor(255, 0, 0));
        m_form->N19Click();
        QCOMPARE(m_form->Image11->pixmap().toImage().pixelColor(170, 200), QColor(0, 0xa0, 0));
        m_form->choosePen(1);
        QCOMPARE(m_form->N19->text(), u"画面の青色を消す"_s);
        move(QPoint(20, 100), Qt::NoButton);
        move(QPoint(120, 100), Qt::LeftButton);
        QCOMPARE(m_form->Image11->pixmap().toImage().pixelColor(70, 100), QColor(0, 0, 255));
        // Right: back to the erased picture, still drawing.
        m_form->SpeedButton8MouseDown(true);
        QCOMPARE(m_form->Image11->pixmap().toImage().pixelColor(70, 100), QColor(0, 0xa0, 0));
        QVERIFY(m_form->SpeedButton8->isVisible());
        QCOMPARE(drawingFile().pixelColor(170, 200), QColor(0, 0xa0, 0));
        m_form->choosePen(0);
    }

    void presentingSavesTheDrawingFirst()
    {
        QVERIFY(openAndLoad(0));
        m_form->StartDrawing(1);
        move(QPoint(20, 50), Qt::NoButton);
        move(QPoint(120, 50), Qt::LeftButton);
        m_form->SpeedButton14Click();
        QCOMPARE(resolvePresentedPath(readPresentationMarker(m_home).path, m_home), m_home + u"/_%map.bmp"_s);
        QCOMPARE(drawingFile().pixelColor(70, 50), QColor(255, 0, 0));
        m_form->SpeedButton13Click();
        QVERIFY(openAndLoad(0));
    }

    // The other PC stops presenting just before a drawing starts: the viewer
    // closes, so that the strokes go into the drawing and not into the viewer
    // that the held poll would leave on top.
    void drawingClosesTheViewerOfAnEndedPresentation()
    {
        QVERIFY(openAndLoad(0));
        QTRY_VERIFY_WITH_TIMEOUT(captureShowsThePage(), 20000);
        TForm14 viewer;
        m_form->setPresentationViewer(&viewer);
        QVERIFY(writePresentationMarker(m_home, m_home + u"/0130_my page.html"_s));
        m_form->Poll->tick();
        QVERIFY(viewer.isShown());
        QVERIFY(QFile::remove(presentationMarkerPath(m_home)));

        QTest::mouseClick(m_form->SpeedButton19, Qt::LeftButton);
        QVERIFY(!viewer.isShown());
        QVERIFY(!viewer.isVisible());
        move(QPoint(20, 250), Qt::NoButton);
        move(QPoint(220, 250), Qt::LeftButton);
        m_form->SpeedButton8MouseDown(false);
        QCOMPARE(drawingFile().pixelColor(120, 250), QColor(255, 0, 0));
        m_form->Poll->setViewer(nullptr);
        QVERIFY(openAndLoad(0));
    }

    // The dialogs opened while drawing pause the poll; their end leaves it off,
    // so that a folder changed by another PC does not reopen the page.
    void strokeOutlivesTheDialogsAndThePoll_data()
    {
        QTest::addColumn<QString>("dialog");
        QTest::newRow("save the capture") << u"SpeedButton20"_s;
        QTest::newRow("pen menu button") << u"SpeedButton22"_s;
        QTest::newRow("save this page as a picture") << u"N15"_s;
    }
    void strokeOutlivesTheDialogsAndThePoll()
    {
        QFETCH(QString, dialog);
        QVERIFY(openAndLoad(0));
        QTRY_VERIFY_WITH_TIMEOUT(captureShowsThePage(), 20000);
        QTest::mouseClick(m_form->SpeedButton19, Qt::LeftButton);
        QVERIFY(m_form->Panel10->isVisible());
        move(QPoint(20, 150), Qt::NoButton);
        move(QPoint(220, 150), Qt::LeftButton);
        QCOMPARE(m_form->Image11->pixmap().toImage().pixelColor(120, 150), QColor(255, 0, 0));

        QString folder;
        cancelNextFileDialog(&folder);
        if (dialog == u"N15"_s) {
            m_form->LastMenuX = -1;
            QTest::mouseClick(m_form->Image11, Qt::RightButton, {}, QPoint(60, 60));
            QVERIFY(m_form->PopupMenu1->isVisible());
            auto *save = m_form->PopupMenu1->findChild<QAction *>(u"N15"_s);
            QTest::mouseClick(m_form->PopupMenu1, Qt::LeftButton, {}, m_form->PopupMenu1->actionGeometry(save).center());
        } else {
            QTest::mouseClick(m_form->findChild<QToolButton *>(dialog), Qt::LeftButton);
        }
        // The dialog opens in the page's folder.
        QCOMPARE(folder, m_home);
        QVERIFY(!m_form->Timer5->isActive());
        QCOMPARE(m_form->SpeedButton12->text(), u"更新中止"_s);

        // Another PC adds a page; a poll that runs would reread the level.
        const QString added = m_home + u"/0150_added.html"_s;
        QVERIFY(writeFixture(added, page("added")));
        if (m_form->Timer5->isActive())
            m_form->Poll->tick();
        QVERIFY(m_form->Panel10->isVisible());
        QVERIFY(m_form->SpeedButton8->isVisible());
        QCOMPARE(m_form->Image11->pixmap().toImage().pixelColor(120, 150), QColor(255, 0, 0));

        QVERIFY(QFile::remove(added));
        QVERIFY(openAndLoad(0));
        QVERIFY(m_form->Timer5->isActive());
    }

    // Shown, the capture lies above the browser: a click there zooms it.
    void clickOnTheCaptureZooms()
    {
        QVERIFY(openAndLoad(0));
        QTRY_VERIFY_WITH_TIMEOUT(captureShowsThePage(), 20000);
        const QImage before = m_form->Image1->pixmap().toImage();
        const QPoint at = m_form->Image1->mapTo(m_form.get(), QPoint(60, 300));
        QTest::mouseClick(m_form->windowHandle(), Qt::LeftButton, {}, at);
        QVERIFY(m_form->Image1->pixmap().toImage() != before);
        QTest::mouseClick(m_form->PageButtons.value(0), Qt::LeftButton);
    }

    void savingThroughTheDialog()
    {
        QVERIFY(openAndLoad(0));
        QString asked;
        QString answer = m_dir.filePath(u"saved"_s);
        m_form->askSavePictureName = [&](const QString &proposed) {
            asked = proposed;
            return answer;
        };
        m_form->SpeedButton20Click();
        QCOMPARE(asked, m_home + u"/ページ画像.bmp"_s);
        QVERIFY(!QImage(answer + u".bmp"_s).isNull());
        answer = m_dir.filePath(u"saved.png"_s);
        QString message;
        answerNextMessage(&message);
        m_form->N15Click();
        QCOMPARE(asked, m_home + u"/0120_map.bmp"_s);
        QVERIFY(message.contains(u"saved.png"_s));
        QVERIFY(!QFileInfo::exists(answer));
        QVERIFY(m_form->Timer5->isActive());
    }

    void drawingOnAWebPageWritesNoPageFile()
    {
        QVERIFY(openAndLoad(0));
        QFile::remove(m_home + u"/_%map.bmp"_s);
        const QStringList before = QDir(m_home).entryList(QDir::Files);
        m_form->CurPageUrl = u"https://example.org/x.html"_s;
        m_form->setCaption(m_form->CurPageUrl);
        m_form->StartDrawing(0);
        QVERIFY(m_form->DrawingPath.isEmpty());
        move(QPoint(20, 50), Qt::NoButton);
        move(QPoint(120, 50), Qt::LeftButton);
        m_form->SpeedButton8MouseDown(true);
        m_form->SpeedButton8MouseDown(false);
        QCOMPARE(QDir(m_home).entryList(QDir::Files), before);
    }

    void soundButtonFollowsThePage()
    {
        QVERIFY(openAndLoad(1));
        QVERIFY(m_form->BitBtn1->isVisibleTo(m_form.get()));
        QCOMPARE(m_form->BitBtn1->property("Tag").toInt(), 1);
        QCOMPARE(m_form->refreshSoundButton(), m_home + u"/0130_my page.wav"_s);
        QVERIFY(openAndLoad(0));
        QVERIFY(!m_form->BitBtn1->isVisibleTo(m_form.get()));
        QCOMPARE(m_form->BitBtn1->property("Tag").toInt(), 0);
    }

    // The play button reads the sound file again: a recording made since is heard.
    void newRecordingIsReadAgain_data()
    {
        QTest::addColumn<QByteArray>("recording");
        QTest::addColumn<QSoundEffect::Status>("status");
        QTest::newRow("a longer recording") << wavHeaderFor(58 + 6000) + QByteArray(6000, char(0x90))
                                            << QSoundEffect::Ready;
        // Not given to the player, which would wait for the rest for ever.
        QTest::newRow("a recording cut short") << wavHeaderFor(58 + 6000) + QByteArray(100, char(0x90))
                                               << QSoundEffect::Null;
    }
    void newRecordingIsReadAgain()
    {
        QFETCH(QByteArray, recording);
        QFETCH(QSoundEffect::Status, status);
        const QString sound = m_home + u"/0130_my page.wav"_s;
        const QByteArray original = readFixture(sound);
        QVERIFY(openAndLoad(1));
        QTest::mouseClick(m_form->BitBtn1, Qt::LeftButton);
        auto *effect = m_form->findChild<QSoundEffect *>();
        QVERIFY(effect);
        QTRY_COMPARE_WITH_TIMEOUT(effect->status(), QSoundEffect::Ready, 10000);
        QVERIFY(writeFixture(sound, recording));
        QSignalSpy loading(effect, &QSoundEffect::statusChanged);
        QTest::mouseClick(m_form->BitBtn1, Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(effect->status(), status, 10000);
        QVERIFY(!loading.isEmpty());
        QVERIFY(writeFixture(sound, original));
    }

    void picturePageOffersThePenMenuButton()
    {
        m_form->nav.PBanSave(3);
        m_form->PageClick();
        QCOMPARE(m_form->nav.currentEntry(), u"0140_pic.jpg"_s);
        QVERIFY(m_form->SpeedButton22->isVisibleTo(m_form.get()));
        QCOMPARE(m_form->DrawImagePath, m_home + u"/0140_pic.jpg"_s);
        QVERIFY(openAndLoad(0));
        QVERIFY(!m_form->SpeedButton22->isVisibleTo(m_form.get()));
    }

    void recordingWithoutAMicrophoneChangesNothing()
    {
        if (hasAudioInput())
            QSKIP("this machine can record");
        const QString sound = m_home + u"/0120_map.wav"_s;
        m_form->RecordSound(sound);
        auto *box = m_form->findChild<QMessageBox *>(u"noRecordingDevice"_s);
        QVERIFY(box);
        box->accept();
        QVERIFY(!QFileInfo::exists(sound));
        QVERIFY(m_form->kabeBASE->isEnabled());
    }

    void playerOpensAVideoAndSteps()
    {
        const QString video = m_dir.filePath(u"clip.avi"_s);
        QVERIFY(writeTinyAvi(video, 64, 48, 20, 10));
        TForm6 player(m_form.get());
        player.playFile(video, QPoint(300, 300));
        QTRY_VERIFY_WITH_TIMEOUT(player.Tag == 0, 20000);
        QCOMPARE(QSize(player.AVIx2, player.AVIy2), QSize(64, 48));
        QCOMPARE(player.control->MediaLengthText, u"00020"_s);
        player.stopbuttonMouseUp();
        player.returnbuttonMouseUp();
        QTRY_COMPARE(player.control->positionFrames(), 0);
        player.plus1MouseUp();
        QTRY_COMPARE(player.control->positionFrames(), 1);
        player.Timer1Timer();
        QCOMPARE(player.Label1->text(), u"001 / 020"_s);
        player.close();
        QVERIFY(player.Caption.isEmpty());
        QVERIFY(!player.MediaPlayer1);
    }

    void doubleClickPlaysAgainFromTheStart()
    {
        const QString video = m_dir.filePath(u"long.avi"_s);
        QVERIFY(writeTinyAvi(video, 64, 48, 40, 10));
        TForm6 player(m_form.get());
        player.playFile(video, QPoint(300, 300));
        QTRY_VERIFY_WITH_TIMEOUT(player.Tag == 0, 20000);
        QTest::mouseClick(player.stopbutton, Qt::LeftButton);
        player.TrackBar1->setValue(30);
        QTRY_COMPARE(player.control->positionFrames(), 30);
        QTest::mouseDClick(player.playbutton, Qt::LeftButton);
        QVERIFY(player.control->MediaPlaying);
        QTRY_VERIFY(player.control->positionFrames() < 30);
        player.close();
    }

    void unreadableVideoIsSaid()
    {
        const QString video = m_dir.filePath(u"broken.avi"_s);
        QVERIFY(writeFixture(video, "not a video"));
        TForm6 player(m_form.get());
        QSignalSpy refused(&player, &TForm6::cannotOpen);
        player.playFile(video, QPoint(10, 10));
        QTRY_COMPARE_WITH_TIMEOUT(refused.count(), 1, 20000);
        QVERIFY(!player.isVisible());
        auto *box = m_form->findChild<QMessageBox *>(u"cannotOpenMessage"_s);
        QVERIFY(box);
        QCOMPARE(box->text(), u"そのファイルは開けません"_s);
        box->accept();
    }
};

QTEST_MAIN(DrawingSoundTest)
#include "tst_drawingsound.moc"
