// Drawing on a capture of the page: the capture, the drawing layer, its end,
// and saving pictures.
#include "ui/app/tform1.h"

#include "core/app/rootpath.h"
#include "core/navigation/pathtext.h"
#include "core/pages/templates.h"
#include "core/present/drawing.h"
#include "core/present/mediatexts.h"
#include "core/present/updatepoll.h"
#include "platform/platform.h"
#include "ui/bar/holdofftimer.h"
#include "ui/navigation/pagebutton.h"
#include "ui/present/drawingevents.h"

#include <QAction>
#include <QClipboard>
#include <QFileDialog>
#include <QFileInfo>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QTimer>
#include <QToolButton>
#include <QUrl>
#include <QWebEngineView>

using namespace Qt::StringLiterals;

static QToolButton *barButton(TForm1 &f, const QString &name, QStyle::StandardPixmap icon, const QString &hint)
{
    auto *button = new QToolButton(f.kabedown);
    button->setObjectName(name);
    button->setIcon(f.style()->standardIcon(icon));
    button->setAutoRaise(true);
    button->setFixedSize(30, 30);
    button->setToolTip(hint);
    return button;
}

static QAction *menuItem(QMenu *menu, const QString &name, const QString &caption)
{
    QAction *item = menu->addAction(caption);
    item->setObjectName(name);
    return item;
}

void TForm1::buildDrawing()
{
    Image1 = new QLabel(kabe);
    Image1->setObjectName(u"Image1"_s);
    Image1->hide();
    // Shown, the capture lies over the browser area, where a click zooms it;
    // the picture panel and the open panel still come above it.
    Image1->stackUnder(Panel10);

    SpeedButton5 = barButton(*this, u"SpeedButton5"_s, QStyle::SP_FileDialogStart, MediaText::pictureHint);
    SpeedButton20 = barButton(*this, u"SpeedButton20"_s, QStyle::SP_DialogSaveButton, MediaText::saveCaptureHint);
    SpeedButton22 = barButton(*this, u"SpeedButton22"_s, QStyle::SP_DialogApplyButton, MediaText::penMenuHint);
    SpeedButton22->hide();
    SpeedButton19->setToolTip(MediaText::startDrawingHint);
    SpeedButton8->setToolTip(MediaText::endDrawingHint);
    connect(SpeedButton5, &QToolButton::clicked, this, &TForm1::SpeedButton5Click);
    connect(SpeedButton20, &QToolButton::clicked, this, &TForm1::SpeedButton20Click);
    connect(SpeedButton22, &QToolButton::clicked, this, &TForm1::SpeedButton20Click);

    Image11->setCursor(Qt::PointingHandCursor);
    Image11->setMouseTracking(true);

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(u"PopupMenu1"_s);
    N18 = menuItem(PopupMenu1, u"N18"_s, MediaText::viewerItem);
    N18->setCheckable(true);
    N18->setChecked(true);
    PopupMenu1->addSeparator();
    for (int index = 0; index < PenColourCount; ++index) {
        QAction *pen = menuItem(PopupMenu1, u"N1"_s + QString::number(index), penCaption(index));
        connect(pen, &QAction::triggered, this, [this, index] { choosePen(index); });
    }
    PopupMenu1->addSeparator();
    QAction *thick = menuItem(PopupMenu1, u"N16"_s, MediaText::thickPen);
    QAction *standard = menuItem(PopupMenu1, u"N17"_s, MediaText::standardPen);
    PopupMenu1->addSeparator();
    N19 = menuItem(PopupMenu1, u"N19"_s, MediaText::eraseRedFirst);
    QAction *save = menuItem(PopupMenu1, u"N15"_s, MediaText::savePageAsPicture);
    connect(N18, &QAction::triggered, this, [this] {
        N18->setChecked(true);
        N18Click();
    });
    connect(thick, &QAction::triggered, this, [this] { choosePenWidth(ThickPenWidth); });
    connect(standard, &QAction::triggered, this, [this] { choosePenWidth(StandardPenWidth); });
    connect(N19, &QAction::triggered, this, &TForm1::N19Click);
    connect(save, &QAction::triggered, this, &TForm1::N15Click);

    askSavePictureName = [this](const QString &proposed) {
        const QString extension = fileExtension(proposed).mid(1);
        QFileDialog dialog(this, QString(), proposed, MediaText::saveFilter);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDefaultSuffix(extension.isEmpty() ? u"bmp"_s : extension);
        return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
    };
    askOpenPictureName = [this] {
        return QFileDialog::getOpenFileName(this, QString(), nav.CurDir + u'/', MediaText::openFilter);
    };

    new DrawingEvents(*this);
    kabedownResize();
}

// The page area as this window shows it, whatever window is in front.
static QImage capturePageArea(TForm1 &f)
{
    const QSize size(qMax(1, f.kabe->width() - 2), qMax(1, f.kabeBrowser->height() - 2));
    return f.kabe->grab(QRect(QPoint(0, 0), size)).toImage().convertToFormat(QImage::Format_RGB32);
}

static void takeCapture(TForm1 &f)
{
    // A capture on show would be taken instead of the page below it.
    const bool shown = !f.Image1->isHidden();
    f.Image1->hide();
    const QImage capture = capturePageArea(f);
    f.Image1->setPixmap(QPixmap::fromImage(capture));
    f.Image1->setGeometry(0, 0, capture.width(), capture.height());
    f.Image1->setVisible(shown);
}

static void putOnClipboard(const QImage &picture)
{
    if (QClipboard *clipboard = QGuiApplication::clipboard())
        clipboard->setImage(picture);
}

static QImage imageOf(const QLabel *label)
{
    return label->pixmap().toImage();
}

static void resetDrawingLayer(TForm1 &f)
{
    f.ScrollBox2->horizontalScrollBar()->setValue(0);
    f.ScrollBox2->verticalScrollBar()->setValue(0);
    f.Image11->move(0, 0);
    f.Image11->resize(f.Image1->size());
}

// Saves a drawing as a bitmap; a failure is told and leaves the file as it was.
static bool saveDrawing(TForm1 &f, const QImage &picture, const QString &fileName)
{
    QString error;
    if (savePicture(picture, fileName, PictureSaveChoice::Bmp, 0, &error))
        return true;
    QMessageBox::warning(&f, f.nav.ExeBaseName, MediaText::pictureNotSaved.arg(fileName) + u'\n' + error);
    return false;
}

bool TForm1::CaptureToImage1(const QString &fileName)
{
    takeCapture(*this);
    Image1->show();
    SpeedButton22->show();
    const QImage capture = imageOf(Image1);
    putOnClipboard(capture);
    return fileName.isEmpty() || savePicture(capture, fileName, PictureSaveChoice::Jpeg, 90);
}

void TForm1::StartDrawing(int mode)
{
    // The held poll could not close it later: a viewer left on top would take the strokes.
    Poll->closeViewerNoLongerPresented();
    // The poll stays off until the next page opening starts it again: a
    // reread of the level would take the strokes away.
    Poll->holdUntilPageOpens();
    SpeedButton19->hide();
    SpeedButton22->show();
    SpeedButton8->show();
    takeCapture(*this);
    DrawingPath = drawingFileFor(CurPagePath, CurPageUrl, Caption);
    Image1->show();
    const QImage capture = imageOf(Image1);
    putOnClipboard(capture);
    resetDrawingLayer(*this);

    QImage last;
    if (mode == 0 && !DrawingPath.isEmpty() && !leadsOutOfDataRoot(DrawingPath))
        last.load(DrawingPath);
    if (last.isNull()) {
        if (!DrawingPath.isEmpty())
            saveDrawing(*this, capture, DrawingPath);
        Image11->setPixmap(QPixmap::fromImage(capture));
    } else {
        Image11->setPixmap(QPixmap::fromImage(last));
        Image11->resize(last.size());
    }
    DrawImagePath = DrawingPath;
    Panel10->setGeometry(kabe->rect());
    Panel10->show();
    Panel10->raise();
}

void TForm1::SpeedButton8MouseDown(bool rightButton)
{
    if (rightButton) {
        Image11->setPixmap(Image1->pixmap());
        if (!DrawingPath.isEmpty())
            saveDrawing(*this, imageOf(Image11), DrawingPath);
        DrawImagePath = DrawingPath;
        return;
    }
    // A drawing that could not be saved stays on screen to be saved elsewhere.
    if (!DrawImagePath.isEmpty() && !saveDrawing(*this, imageOf(Image11), DrawImagePath))
        return;
    SpeedButton8->hide();
    SpeedButton19->show();
    nav.TiteleLoad(nav.PBan());
    RefreshPageButton(nav.PBan());
    PageClick(false, true);
}

void TForm1::Image11MouseMove(const QPoint &pos, bool leftButtonDown)
{
    if (PenWidth == 0)
        PenWidth = StandardPenWidth;
    if (leftButtonDown && !Image11->pixmap().isNull()) {
        QPixmap picture = Image11->pixmap();
        {
            QPainter painter(&picture);
            painter.setPen(QPen(penColour(PenColorIndex), PenWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            painter.drawLine(LastPenPoint, pos);
        }
        Image11->setPixmap(picture);
    }
    LastPenPoint = pos;
}

void TForm1::Image11MouseDown(const QPoint &pos, const QPoint &globalPos)
{
    if (pos.x() == LastMenuX)
        return;
    N18->setText(SpeedButton19->isVisible() ? MediaText::viewerItemOriginal : MediaText::viewerItem);
    PopupMenu1->popup(globalPos + QPoint(20, 20));
    LastMenuX = pos.x();
    LastPenPoint = pos;
}

void TForm1::choosePen(int index)
{
    PenColorIndex = index;
    N19->setText(eraseCaption(index));
}

void TForm1::choosePenWidth(int width)
{
    PenWidth = width;
}

void TForm1::N19Click()
{
    const QImage erased = eraseColour(imageOf(Image11), PenColorIndex);
    Image11->setPixmap(QPixmap::fromImage(erased));
    // A later revert returns to the erased picture.
    Image1->setPixmap(QPixmap::fromImage(erased));
    SpeedButton8->setEnabled(true);
}

// Asks for a name and saves the picture; a name that cannot be saved is told.
static void savePictureAs(TForm1 &f, const QImage &picture, const QString &proposed, int jpegQuality)
{
    const QString chosen = f.askSavePictureName ? f.askSavePictureName(proposed) : QString();
    if (chosen.isEmpty())
        return;
    const PictureSaveChoice choice = pictureSaveChoice(chosen);
    if (choice.format == PictureSaveChoice::Refused) {
        QMessageBox::warning(&f, f.nav.ExeBaseName, MediaText::unknownPictureExtension.arg(chosen));
        return;
    }
    QString error;
    if (!savePicture(picture, choice.fileName, choice.format, jpegQuality, &error))
        QMessageBox::warning(&f, f.nav.ExeBaseName, MediaText::pictureNotSaved.arg(choice.fileName) + u'\n' + error);
}

void TForm1::N15Click()
{
    // A web page has no file of its own here: the name is the capture's.
    const bool web = isWebAddress(CurPageUrl) || isWebAddress(Caption);
    const QString proposed = web ? nav.CurDir + u'/' + MediaText::captureFileName : proposedDrawingName(CurPagePath);
    PollPause pause(*this);
    savePictureAs(*this, imageOf(Image11), proposed, 90);
}

void TForm1::SpeedButton20Click()
{
    takeCapture(*this);
    putOnClipboard(imageOf(Image1));
    resetDrawingLayer(*this);
    PollPause pause(*this);
    // The dialog opens in the page's folder, not in the program's.
    savePictureAs(*this, imageOf(Image1), nav.CurDir + u'/' + MediaText::captureFileName, 100);
}

void TForm1::N18Click()
{
    if (!SpeedButton19->isVisible()) {
        DrawingPath = drawingFileFor(CurPagePath, CurPageUrl, Caption);
        if (!DrawingPath.isEmpty() && !saveDrawing(*this, imageOf(Image11), DrawingPath))
            return;
    }
    if (!DrawImagePath.isEmpty())
        platform.openWithShell(DrawImagePath);
}

void TForm1::Image1Click(const QPoint &pos)
{
    const QImage picture = imageOf(Image1);
    if (picture.isNull())
        return;
    const QSize area = kabe->size();
    const QRect part = zoomSourceRect(pos.x(), pos.y(), area.width(), area.height());
    const QImage zoomed = picture.copy(part).scaled(area, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    Image1->setPixmap(QPixmap::fromImage(zoomed));
    putOnClipboard(zoomed);
}

void TForm1::wipeCapture()
{
    Image1->hide();
    SpeedButton22->hide();
    QPixmap blank(Image1->size().expandedTo(QSize(1, 1)));
    blank.fill(kabe->palette().color(QPalette::Window));
    Image1->setPixmap(blank);
}

void TForm1::SpeedButton5Click()
{
    Panel10->hide();
    PollPause pause(*this);
    const QString chosen = askOpenPictureName ? askOpenPictureName() : QString();
    if (chosen.isEmpty())
        return;
    const QString placeholder = NEWHTMLSAVE(nav.CurDir, MediaText::drawingPreparing);
    if (QFileInfo::exists(placeholder))
        WebBrowser1->setUrl(QUrl::fromLocalFile(placeholder));
    else
        WebBrowser1->setHtml(progressPageText(MediaText::drawingPreparing));
    Timer4->waitOneTick();
    CurPageUrl = chosen;
    if (RememberPageStamp)
        RememberPageStamp(CurPageUrl);
    WebBrowser1->setUrl(QUrl::fromLocalFile(chosen));
}
