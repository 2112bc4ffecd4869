// The closing buttons, the page sizes and the editor's tools.
#include "ui/editor/tform2.h"

#include "core/editor/editorstrings.h"
#include "core/editor/editortools.h"
#include "core/editor/fieldsread.h"
#include "core/pages/markers.h"
#include "ui/editor/editorwidgets.h"
#include "ui/editor/tform12.h"

#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTextDocument>

using namespace Qt::StringLiterals;
namespace S = EditorStrings;

void TForm2::BitBtn4Click()
{
    // Edits made in the source count: read them back before building.
    if (sourceMode && !SpeedButton28Click())
        return;
    if (SavePageFile(caption()))
        accept();
}

void TForm2::BitBtn1Click()
{
    if (sourceMode && !SpeedButton28Click())
        return;
    if (Label5->text().isEmpty()) {
        BitBtn4Click();
        return;
    }
    if (saveUnderChosenName())
        accept();
}

bool TForm2::saveUnderChosenName()
{
    const QString chosen = chooseSavePath(pageFolder(), Label5->text());
    if (chosen.isEmpty())
        return false;
    const QFileInfo target(chosen);
    const bool samePage = target.absoluteFilePath() == QFileInfo(caption()).absoluteFilePath();
    if (target.exists() && !samePage && !confirm(S::ReplaceQuestion.arg(target.fileName())))
        return false;
    const QString previous = caption();
    setCaption(chosen);
    if (SavePageFile(chosen))
        return true;
    setCaption(previous);
    return false;
}

void TForm2::BitBtn2Click()
{
    // "閉じる" says what it does: it closes without a question.
    QDialog::reject();
}

void TForm2::reject()
{
    // Escape is pressed often, to cancel input-method text among others.
    if (edited() && !confirmDrop(S::CloseUnsavedQuestion))
        return;
    QDialog::reject();
}

bool TForm2::edited() const
{
    return collectModel() != shownModel || (sourceMode && Memo82->document()->isModified());
}

void TForm2::setPageSize(int width, const QString &sizeTag)
{
    PageWidth = width;
    page.PageSizeTag = sizeTag;
    Panel12Resize();
}

void TForm2::Button2Click()
{
    setPageSize(EditorTools::pageWidthFor(EditorTools::PageSize::A4, 0), Markers::SizeTagA4);
}

void TForm2::Button1Click()
{
    setPageSize(EditorTools::pageWidthFor(EditorTools::PageSize::B4, 0), Markers::SizeTagB4);
}

void TForm2::SpeedButton38Click()
{
    const QWidget *main = parentWidget() ? parentWidget()->window() : this;
    setPageSize(EditorTools::pageWidthFor(EditorTools::PageSize::Fit, main->width(), Panel8->width()),
                Markers::SizeTagFit);
}

void TForm2::SpeedButton41Click()
{
    Memo4->setFieldText(EditorTools::stampDateIntoHeading(Memo4->fieldText(), now().date()));
}

void TForm2::SpeedButton39Click()
{
    const EditorTools::InitialTexts texts = EditorTools::initialTexts(caption(), Edit1->text(), now().date());
    Memo1->setFieldText(texts.framedText);
    Memo2->setFieldText(texts.text);
    Memo4->clear();
    Edit1->setText(texts.title);
    for (QLineEdit *edit : {Edit5, Edit6, Edit2, Edit3})
        edit->clear();
    Memo5->clear();
    for (EditorMemo *cell : std::as_const(GridCells))
        cell->clear();
}

void TForm2::leaveSourceMode()
{
    SpeedButton *toggle = speedButton(28);
    toggle->setText(S::SourceEditHint);
    toggle->setToolTip(S::SourceEditHint);
    toggle->tag = 0;
    toggle->setMarked(false);
    sourceMode = false;
    Panel17->hide();
    Panel1->setFixedHeight(26);
    EditArea->show();
}

bool TForm2::SpeedButton28Click()
{
    SpeedButton *toggle = speedButton(28);
    if (!sourceMode) {
        BuildPageFromFields(QString());
        toggle->setToolTip(S::SourceBackHint);
        toggle->tag = 1;
        toggle->setMarked(true);
        sourceMode = true;
        EditArea->hide();
        Panel1->setMinimumHeight(0);
        Panel1->setMaximumHeight(QWIDGETSIZE_MAX);
        Panel17->show();
        Memo82->setFocus();
        return true;
    }
    // The source is read as a page file is: one that would hold the window stays here.
    const FieldsRefusal refusal = refusalForFields(fieldTextFromWidget(documentText(Memo82->document())));
    if (refusal != FieldsRefusal::None) {
        warn(S::SourceNotRead.arg(refusalReason(refusal)));
        return false;
    }
    LoadPageToFields(caption());
    leaveSourceMode();
    ApplyTagsToControls();
    return true;
}

void TForm2::SpeedButton22Click()
{
    if (!noteWindow)
        noteWindow = new TForm12(this);
    if (noteWindow->Tag > 0) {
        noteWindow->close();
        return;
    }
    noteWindow->resize(840, 600);
    const QRect screen = noteWindow->screen() ? noteWindow->screen()->availableGeometry() : QRect();
    noteWindow->move(noteWindow->x(), screen.top() + 10);
    noteWindow->loadFile(EditorTools::editNotePath(caption()));
    noteWindow->show();
}

void TForm2::closeEditNotes()
{
    if (noteWindow && noteWindow->Tag > 0)
        noteWindow->close();
}
