// The body area of the editor: the five layouts, the picture frame and its
// backup, the table grid and the heights of the heading area.
#include "ui/editor/tform2.h"

#include "core/editor/editorgeometry.h"
#include "core/editor/picturebackup.h"
#include "core/editor/picturetools.h"
#include "core/editor/tagattr.h"
#include "core/pages/picturefile.h"
#include "ui/editor/editorwidgets.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QSignalBlocker>

using namespace Qt::StringLiterals;
namespace G = EditorGeometry;

QString TForm2::pageFolder() const
{
    const QString path = caption();
    const qsizetype slash = std::max(path.lastIndexOf(u'/'), path.lastIndexOf(u'\\'));
    return slash < 0 ? QString() : path.left(slash);
}

QString TForm2::DefaultImageName() const
{
    return ::DefaultImageName(caption());
}

void TForm2::markLayoutButton(SpeedButton *button)
{
    for (int number : {10, 11, 12, 3, 23})
        speedButton(number)->setMarked(false);
    button->setMarked(true);
}

static void enablePictureTools(TForm2 *form, bool enabled)
{
    form->GroupBox3->setEnabled(enabled);
    for (int number : {1, 2, 37})
        form->speedButton(number)->setEnabled(enabled);
}

// The three picture layouts differ only in their flag, button and align words;
// an empty word takes the align attribute away.
static void showPictureLayout(TForm2 *form, int flag, int buttonNumber, const QString &paragraphAlign,
                              const QString &pictureAlign)
{
    form->layoutFlag = flag;
    form->Panel16->hide();
    form->Panel6->show();
    enablePictureTools(form, true);
    form->markLayoutButton(form->speedButton(buttonNumber));
    form->LayoutImagePanel(flag);
    form->ETAGSRC1->setText(SetTagAttr(form->ETAGSRC1->text(), paragraphAlign));
    form->Edit7->setText(SetTagAttr(form->Edit7->text(), pictureAlign));
}

void TForm2::SetLayoutImageLeft()
{
    showPictureLayout(this, G::ImageLeft, 10, QString(), u"align=\"left\""_s);
}

void TForm2::SetLayoutImageCenter()
{
    showPictureLayout(this, G::ImageCentred, 11, u"align=\"center\""_s, u"align=\"center\""_s);
}

void TForm2::SetLayoutImageRight()
{
    showPictureLayout(this, G::ImageRight, 12, QString(), u"align=\"right\""_s);
}

void TForm2::SetLayoutTextOnly()
{
    layoutFlag = G::NoImageLayout;
    Panel16->hide();
    Panel6->hide();
    enablePictureTools(this, false);
    markLayoutButton(speedButton(3));
    ETAGSRC1->clear();
    Edit7->clear();
    arrangeBody();
}

void TForm2::SetLayoutTable()
{
    layoutFlag = G::NoImageLayout;
    Panel16->show();
    Panel16->raise();
    Panel6->hide();
    enablePictureTools(this, false);
    markLayoutButton(speedButton(23));
    arrangeBody();
}

void TForm2::LayoutImagePanel(int mode)
{
    G::ImageFrameInput input;
    input.mode = mode;
    input.sizeFixed = sizeFixed;
    input.fixedWidth = G::sizeFieldValue(GX->text());
    input.fixedHeight = G::sizeFieldValue(GY->text());
    input.picturePresent = picturePresent;
    input.currentFrame = PanelImage1->size();
    input.columnWidth = mode == G::ImageCentred ? Panel3->width() : pictureColumnWidth;
    input.maxWindowWidth = MaxWindowWidth;
    const G::ImageFrameResult result = G::layoutImagePanel(input);

    PanelImage1->setGeometry(result.frame);
    if (mode == G::ImageCentred)
        pictureColumnHeight = result.columnHeight;
    else
        pictureColumnWidth = result.columnWidth;
    GX->setText(QString::number(result.gx));
    GY->setText(QString::number(result.gy));
    PictureAspect = result.aspect;
    {
        const QSignalBlocker programmatic(ScrollBar1);
        ScrollBar1->setRange(result.scrollMinimum, result.scrollMaximum);
        ScrollBar1->show();
        ScrollBar1->setValue(result.scrollPosition);
    }
    arrangeBody();
}

void TForm2::setPreview(const QImage &source)
{
    previewSource = source;
    paintPreview();
}

void TForm2::paintPreview()
{
    // Scaled here once for each frame size: a label that scales its picture
    // itself does it again at every paint.
    const QSize size = Image1->size();
    if (previewSource.isNull() || size.isEmpty()) {
        Image1->clear();
        return;
    }
    Image1->setPixmap(QPixmap::fromImage(
        previewSource.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)));
}

void TForm2::arrangeBody()
{
    const int w = Panel3->width();
    const int h = Panel3->height();
    QRect text(0, 0, w, h);
    if (!Panel6->isHidden()) {
        switch (layoutFlag) {
        case G::ImageLeft:
            Panel6->setGeometry(0, 0, pictureColumnWidth, h);
            text = QRect(pictureColumnWidth, 0, std::max(0, w - pictureColumnWidth), h);
            break;
        case G::ImageRight:
            Panel6->setGeometry(std::max(0, w - pictureColumnWidth), 0, pictureColumnWidth, h);
            text = QRect(0, 0, std::max(0, w - pictureColumnWidth), h);
            break;
        default:
            Panel6->setGeometry(0, 0, w, pictureColumnHeight);
            PanelImage1->move(G::centredLeft(w, PanelImage1->width()), 0);
            text = QRect(0, pictureColumnHeight, w, std::max(0, h - pictureColumnHeight));
            break;
        }
    }
    Panel4->setGeometry(text);
    if (!Panel16->isHidden())
        Panel16->setGeometry(0, 0, w, h);
}

// The backup itself is the page model's; the window shows its fields.
PictureBackup TForm2::pictureBackup() const
{
    return {TAIHI1->text(), TAIHI2->text(), TAIHI3->text(), TAIHI4->text(), TAIHI5->text()};
}

void TForm2::showPictureFields(const PageModel &model, const PictureBackup &backup)
{
    ETAGSRC1->setText(model.pictureParagraphTag);
    Edit7->setText(model.pictureTag);
    Gname->setText(model.pictureName);
    Edit2->setText(model.linkTarget);
    Edit3->setText(model.linkText);
    picturePresent = model.picturePresent;
    TAIHI1->setText(backup.paragraphTag);
    TAIHI2->setText(backup.pictureTag);
    TAIHI3->setText(backup.pictureName);
    TAIHI4->setText(backup.linkTarget);
    TAIHI5->setText(backup.linkText);
}

void TForm2::SaveImageTags()
{
    PictureBackup backup = pictureBackup();
    const PageModel model = collectModel();
    ::SaveImageTags(model, backup);
    showPictureFields(model, backup);
}

void TForm2::ClearImage()
{
    PictureBackup backup = pictureBackup();
    PageModel model = collectModel();
    ::ClearImage(model, backup);
    showPictureFields(model, backup);
    setPreview({});
}

void TForm2::RestoreImageTags()
{
    const PictureBackup backup = pictureBackup();
    PageModel model = collectModel();
    model.path = caption();
    ::RestoreImageTags(model, backup);
    showPictureFields(model, backup);
}

void TForm2::ReloadSavedImage()
{
    const QString path = findFileInFolder(pageFolder(), TAIHI3->text());
    if (!path.isEmpty())
        LoadImageFile(path);
}

void TForm2::LoadImageFile(const QString &path)
{
    if (!QFileInfo(path).isFile())
        return;
    const QSize natural = PictureTools::measure(path);
    const QImage image = PictureTools::previewImage(path);
    // A picture that cannot be read (cut short on the share, not a picture) is left
    // as the page names it: no size of 0 × 0 goes into its tag.
    if (image.isNull() || !natural.isValid())
        return;
    setPreview(image);
    picturePresent = true;
    enablePictureTools(this, true);
    PictureAspect = double(natural.height()) / natural.width();

    const int fixedWidth = G::sizeFieldValue(GX->text());
    const int fixedHeight = G::sizeFieldValue(GY->text());
    if (!sizeFixed || fixedHeight <= 0 || fixedWidth <= 0) {
        // Without a kept size (or with a side of 0 or none) the picture shows at its own size.
        GX->setText(QString::number(natural.width()));
        GY->setText(QString::number(natural.height()));
        sizeFixed = true;
    } else {
        PictureAspect = double(fixedHeight) / fixedWidth;
    }
    const QSize size(G::sizeFieldValue(GX->text()), G::sizeFieldValue(GY->text()));
    const QSize frame = G::previewFrame(size);
    PanelImage1->resize(frame);
    setScrollPosition(size.width());
    Gname->setText(QFileInfo(path).fileName());
    Gname->adjustSize(); // the label on the picture shows the whole name

    if (Edit7->text().isEmpty()) {
        const QString align = layoutFlag < G::ImageLeft ? u"center"_s
                              : layoutFlag == G::ImageLeft ? u"left"_s
                                                           : u"right"_s;
        ETAGSRC1->setText(u"<P>"_s);
        Edit7->setText(u"<IMG src=\""_s + Gname->text() + u"\" width=\""_s + GX->text() + u"\" height=\""_s
                       + GY->text() + u"\" vspace=\"4\" hspace=\"4\" align=\""_s + align + u"\">"_s);
    }
    if (layoutFlag == G::ImageCentred)
        pictureColumnHeight = frame.height();
    else if (layoutFlag > G::ImageCentred)
        pictureColumnWidth = frame.width();
    arrangeBody();
    SaveImageTags();
}

void TForm2::SpeedButton10Click()
{
    RestoreImageTags();
    SetLayoutImageLeft();
    ReloadSavedImage();
}

void TForm2::SpeedButton11Click()
{
    RestoreImageTags();
    SetLayoutImageCenter();
    ReloadSavedImage();
}

void TForm2::SpeedButton12Click()
{
    RestoreImageTags();
    SetLayoutImageRight();
    ReloadSavedImage();
}

void TForm2::SpeedButton3MouseUp(Qt::MouseButton button)
{
    if (button == Qt::RightButton) {
        Memo4->clear();
        Memo5->clear();
        Memo2->clear();
        return;
    }
    SetLayoutTextOnly();
    ClearImage();
}

void TForm2::SpeedButton23MouseUp(Qt::MouseButton button)
{
    if (button == Qt::RightButton) {
        for (EditorMemo *cell : std::as_const(GridCells))
            cell->clear();
        return;
    }
    SetLayoutTable();
}

void TForm2::Panel16Resize()
{
    const QList<QRect> cells = G::gridCellRects(Panel16->width(), Panel16->height());
    for (int i = 0; i < GridCells.size() && i < cells.size(); ++i)
        GridCells.at(i)->setGeometry(cells.at(i));
}

void TForm2::arrangeHeading()
{
    const int w = Panel7->width();
    const int bar = BarHeight;
    const int h11 = memo4Height + memo5Height + bar;
    Panel11->setGeometry(0, 0, w, h11);
    Memo4->setGeometry(0, 0, w, memo4Height);
    Memo5->setGeometry(0, memo4Height, w, memo5Height);
    Panel10->setGeometry(0, memo4Height + memo5Height, w, bar);
    Panel12->setGeometry(0, h11, w, std::max(0, Panel7->height() - h11));
}

void TForm2::setHeadingAreaHeight(int height)
{
    Panel7->setFixedHeight(std::max(0, height));
    arrangeHeading();
}

void TForm2::Memo4Change()
{
    memo4Height = G::headingMemoHeight(Memo4->displayLines());
    const int panel12 = Panel12->height();
    arrangeHeading();
    setHeadingAreaHeight(Panel11->height() + panel12);
}

void TForm2::Memo5Change()
{
    memo5Height = G::subheadingMemoHeight(Memo5->displayLines());
    const int panel12 = Panel12->height();
    arrangeHeading();
    setHeadingAreaHeight(Panel11->height() + panel12);
}

void TForm2::Memo1Change()
{
    setHeadingAreaHeight(G::headingAreaAfterFramedText(Memo1->displayLines(), Panel11->height()));
}

void TForm2::setMemo1Dock(int dock)
{
    memo1Dock = dock;
    Panel12Resize();
}

void TForm2::Panel12Resize()
{
    const int w = Panel12->width();
    const int h = Panel12->height();
    switch (memo1Dock) {
    case DockLeft:
        Memo1->setGeometry(0, 0, PageWidth, h);
        break;
    case DockRight:
        Memo1->setGeometry(w - PageWidth, 0, PageWidth, h);
        break;
    case DockNone:
        Memo1->setGeometry(G::centredLeft(w, PageWidth), 0, PageWidth, h);
        break;
    default:
        Memo1->setGeometry(0, 0, w, h);
        break;
    }
}

void TForm2::CheckBox1Click()
{
    if (CheckBox1->isChecked())
        CheckBox2->setChecked(false);
}

void TForm2::CheckBox2Click()
{
    if (CheckBox2->isChecked())
        CheckBox1->setChecked(false);
}
