// The picture buttons of the editor: loading, deleting, painting, linking and
// opening the page's picture, and the header and background pictures. Every
// picture a page uses is copied into the page's folder.
#include "ui/editor/tform2.h"

#include "core/app/wholefile.h"
#include "core/editor/editorgeometry.h"
#include "core/editor/editorstrings.h"
#include "core/editor/formatting.h"
#include "core/editor/picturetools.h"
#include "core/editor/tagattr.h"
#include "core/pages/picturefile.h"
#include "platform/platform.h"
#include "ui/app/uitexts.h"
#include "ui/editor/editorwidgets.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTextCursor>

using namespace Qt::StringLiterals;
namespace G = EditorGeometry;
namespace P = PictureTools;
namespace S = EditorStrings;

void TForm2::connectPictures()
{
    choosePicture = [this](const QString &folder) {
        return QFileDialog::getOpenFileName(this, QString(), folder, S::PictureFilter);
    };
    chooseLinkFile = [this](const QString &folder) { return QFileDialog::getOpenFileName(this, QString(), folder); };
    connect(speedButton(1), &SpeedButton::mouseUp, this, &TForm2::SpeedButton1MouseUp);
    connect(speedButton(2), &SpeedButton::mouseUp, this, &TForm2::SpeedButton2MouseUp);
    connect(speedButton(17), &SpeedButton::mouseUp, this, &TForm2::SpeedButton17MouseUp);
    connect(speedButton(37), &SpeedButton::mouseUp, this, &TForm2::SpeedButton17MouseUp);
    connect(speedButton(27), &QToolButton::clicked, this, &TForm2::SpeedButton27Click);
    connect(speedButton(40), &QToolButton::clicked, this, &TForm2::SpeedButton40Click);
    connect(ScrollBar1, &QScrollBar::valueChanged, this, &TForm2::ScrollBar1Scroll);
    Image1->installEventFilter(this);
}

bool TForm2::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Image1 && event->type() == QEvent::MouseButtonDblClick) {
        Image1DblClick();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

Platform &TForm2::desktop() const
{
    return platform ? *platform : systemPlatform();
}

bool TForm2::nameFitsTag(const QString &name)
{
    if (!Formatting::breaksTag(name))
        return true;
    warn(S::NameBreaksTag.arg(name));
    return false;
}

bool TForm2::pictureUsable(const QString &chosen, const QString &name)
{
    if (!nameFitsTag(name))
        return false;
    if (P::measure(chosen).isValid() && P::decodes(chosen))
        return true;
    warn(S::PictureUnreadable.arg(QFileInfo(chosen).fileName()));
    return false;
}

bool TForm2::copyPictureIn(const QString &source, const QString &target)
{
    const QString name = QFileInfo(target).fileName();
    bool overwrite = false;
    switch (P::copyNeed(source, target)) {
    case P::CopyNeed::AlreadyThere:
        return true;
    case P::CopyNeed::ReplaceOther:
        // Another page of the folder may show the picture of that name.
        if (!confirm(S::ReplaceOtherPicture.arg(name)))
            return false;
        overwrite = true;
        break;
    case P::CopyNeed::Copy:
        break;
    }
    if (desktop().copyFile(source, target, overwrite))
        return true;
    warn(S::PictureCopyFailed.arg(name));
    return false;
}

QString TForm2::MeasureImage(const QString &path) const
{
    const QSize size = P::measure(path);
    return size.isValid() ? QString::number(size.width()) + u',' + QString::number(size.height()) : u"0,0"_s;
}

bool TForm2::gomi(const QString &path)
{
    // The desktop's trash asks nothing: the question is ours.
    const QString name = QFileInfo(path).fileName();
    if (!confirm(UiTexts::AskRecycle.arg(name)))
        return false;
    if (!desktop().moveToTrash({path}).isEmpty()) {
        warn(UiTexts::RecycleFailed.arg(name));
        return false;
    }
    return true;
}

void TForm2::SpeedButton1MouseUp(Qt::MouseButton button)
{
    if (button == Qt::RightButton) {
        const QString current = findFileInFolder(pageFolder(), Gname->text());
        if (!current.isEmpty()) {
            if (gomi(current)) {
                ClearImage();
                sizeFixed = false;
                if (layoutFlag > G::NoImageLayout)
                    LayoutImagePanel(layoutFlag);
                Edit2->clear();
                Edit3->clear();
            }
            return;
        }
    }

    const QString chosen = choosePicture(pageFolder());
    if (chosen.isEmpty())
        return; // nothing changed, so the layout the user chose stays
    const QString name = QFileInfo(chosen).fileName();
    if (!pictureUsable(chosen, name))
        return;
    const QString copy = pageFolder() + u'/' + name;
    if (!copyPictureIn(chosen, copy))
        return;
    if (layoutFlag < G::ImageLeft) {
        RestoreImageTags();
        SetLayoutImageCenter();
        ReloadSavedImage();
    }
    sizeFixed = false;
    LoadImageFile(copy);
    Gname->setText(name);
    const QString align = layoutFlag < G::ImageLeft ? u"center"_s : layoutFlag == G::ImageLeft ? u"left"_s : u"right"_s;
    Edit7->setText(u"<IMG src=\""_s + name + u"\" width=\""_s + GX->text() + u"\" height=\""_s + GY->text()
                   + u"\" align=\""_s + align + u"\">"_s);
    ApplyTagsToControls();
}

void TForm2::SpeedButton2MouseUp(Qt::MouseButton button)
{
    const QString folder = pageFolder();
    QString newName;
    if (button == Qt::RightButton || Gname->text().isEmpty()) {
        newName = u'_' + DefaultImageName();
        if (!nameFitsTag(newName))
            return;
        const QString existing = folder + u'/' + newName;
        if (QFileInfo::exists(existing) && !gomi(existing))
            return;
        Edit7->setText(SetTagAttr(Edit7->text(), u"src=\""_s + newName + u'"'));
        Gname->setText(newName);
    }

    QString path = findFileInFolder(folder, Gname->text());
    if (path.isEmpty()) {
        const QString name = Gname->text();
        // Only a plain name is made here: a new file never goes outside the folder.
        if (name.contains(u'/') || name.contains(u'\\') || name.startsWith(u'.'))
            return;
        path = folder + u'/' + name;
        if (layoutFlag == G::NoImageLayout) {
            RestoreImageTags();
            SetLayoutImageCenter();
            ReloadSavedImage();
        }
        const QByteArray blank = P::blankPicture(path, PanelImage1->size());
        QString error;
        if (!blank.isEmpty() && !writeWholeFile(path, blank, &error))
            warn(S::PictureNotWritten.arg(name) + u'\n' + error);
    }

    QCoreApplication::processEvents();
    const QString program = desktop().paintProgram();
    setEnabled(false);
    if (program.isEmpty())
        desktop().openWithShell(path);
    else
        desktop().startProgram(program, {path}, true);
    QCoreApplication::processEvents();
    setEnabled(true);

    if (QFileInfo(path).isFile()) {
        sizeFixed = false;
        LoadImageFile(path);
        // A tag brought back from the parked picture still names that picture.
        if (!newName.isEmpty() && !Edit7->text().isEmpty())
            Edit7->setText(SetTagAttr(Edit7->text(), u"src=\""_s + newName + u'"'));
    }
    ApplyTagsToControls();
}

void TForm2::SpeedButton17MouseUp(Qt::MouseButton button)
{
    if (button == Qt::RightButton) {
        bool selected = false;
        for (EditorMemo *memo : {Memo4, Memo5, Memo1, Memo2}) {
            QTextCursor cursor = memo->textCursor();
            if (!cursor.hasSelection())
                continue;
            selected = true;
            cursor.clearSelection();
            memo->setTextCursor(cursor);
        }
        if (!selected) {
            Edit2->clear();
            Edit3->clear();
        }
        return;
    }
    const QString chosen = chooseLinkFile(pageFolder());
    if (chosen.isEmpty())
        return;
    const QString target = P::linkTargetFor(pageFolder(), chosen);
    if (!nameFitsTag(target))
        return;
    Edit2->setText(target);
    Edit3->setText(target);
}

void TForm2::SpeedButton27Click()
{
    const QString chosen = choosePicture(QString());
    if (chosen.isEmpty()) {
        page.PageHeaderBlock = P::headerWithPicture(page.PageHeaderBlock, QString());
        return;
    }
    const QString name = P::companionName(QFileInfo(chosen).fileName());
    if (pictureUsable(chosen, name) && copyPictureIn(chosen, pageFolder() + u'/' + name))
        page.PageHeaderBlock = P::headerWithPicture(page.PageHeaderBlock, name);
}

void TForm2::SpeedButton40Click()
{
    const QString chosen = choosePicture(QString());
    if (chosen.isEmpty()) {
        if (const auto plain = P::headEndWithBackground(page.PageHeadEnd, QString()))
            page.PageHeadEnd = *plain;
        return;
    }
    const QString name = P::companionName(QFileInfo(chosen).fileName());
    if (!nameFitsTag(name))
        return;
    const auto withPicture = P::headEndWithBackground(page.PageHeadEnd, name);
    if (!withPicture) {
        warn(S::NoBodyForBackground);
        return;
    }
    if (pictureUsable(chosen, name) && copyPictureIn(chosen, pageFolder() + u'/' + name))
        page.PageHeadEnd = *withPicture;
}

void TForm2::Image1DblClick()
{
    if (Gname->text().isEmpty())
        return;
    const QString path = findFileInFolder(pageFolder(), Gname->text());
    if (!path.isEmpty())
        desktop().openWithShell(path);
}

void TForm2::setScrollPosition(int position)
{
    const QSignalBlocker programmatic(ScrollBar1);
    ScrollBar1->setRange(16, std::max(16, MaxWindowWidth));
    ScrollBar1->show();
    ScrollBar1->setValue(position);
}

void TForm2::placePictureFrame(QSize size)
{
    const QSize frame = G::previewFrame(size);
    PanelImage1->resize(frame);
    if (layoutFlag == G::ImageCentred) {
        pictureColumnHeight = frame.height();
    } else if (layoutFlag > G::ImageCentred) {
        pictureColumnWidth = frame.width();
        PanelImage1->move(0, 0);
    }
    arrangeBody();
}

void TForm2::ScrollBar1Scroll(int position)
{
    GX->setText(QString::number(position));
    GY->setText(QString::number(P::heightForWidth(position, PictureAspect)));
    placePictureFrame(QSize(position, G::sizeFieldValue(GY->text())));
}
