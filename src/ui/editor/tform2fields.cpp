// The editor's fields and the page model: the model holds the page as read,
// the controls hold what the user changes; a build collects them again.
#include "ui/editor/tform2.h"

#include "core/editor/editorstrings.h"
#include "core/editor/fieldsread.h"
#include "core/editor/pagebuilder.h"
#include "core/editor/pagereader.h"
#include "core/pages/pagefile.h"
#include "ui/editor/editorwidgets.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextDocument>

using namespace Qt::StringLiterals;

void TForm2::showModel(const PageModel &model)
{
    page = model;
    Label5->setText(model.path);
    Edit1->setText(model.title);
    Edit5->setText(model.titleSecondLine);
    Edit6->setText(model.titleHint);
    ETAGH1->setText(model.headingTag);
    Memo4->setFieldText(model.heading);
    ETAGH2->setText(model.subheadingTag);
    Memo5->setFieldText(model.subheading);
    ETAGHYO1->setText(model.tableAlign);
    tableFlag = model.tableHasGrid ? 1 : 0;
    Memo1->setFieldText(model.cells[0]);
    for (int i = 0; i < GridCells.size(); ++i)
        GridCells.at(i)->setFieldText(model.cells[i + 1]);
    ETAGSRC1->setText(model.pictureParagraphTag);
    Edit7->setText(model.pictureTag);
    Gname->setText(model.pictureName);
    GX->setText(model.pictureWidth);
    GY->setText(model.pictureHeight);
    sizeFixed = model.pictureSizeFixed;
    Edit2->setText(model.linkTarget);
    Edit3->setText(model.linkText);
    ETAGP1->setText(model.paragraphTag);
    Memo2->setFieldText(model.text);
    styleNumber = model.style;
    PageWidth = model.pageWidth;
    CheckBox1->setChecked(model.quiz);
    CheckBox2->setChecked(model.answer);
    Panel19->setFrameStyle(model.quizPanelRaised ? QFrame::Panel | QFrame::Raised : QFrame::NoFrame);
    Label3->clear();
    Panel12Resize();
}

PageModel TForm2::collectModel() const
{
    PageModel model = page;
    model.path = Label5->text();
    model.title = Edit1->text();
    model.titleSecondLine = Edit5->text();
    model.titleHint = Edit6->text();
    model.headingTag = ETAGH1->text();
    model.heading = Memo4->fieldText();
    model.subheadingTag = ETAGH2->text();
    model.subheading = Memo5->fieldText();
    model.tableAlign = ETAGHYO1->text();
    model.tableHasGrid = tableFlag > 0;
    model.cells[0] = Memo1->fieldText();
    for (int i = 0; i < GridCells.size(); ++i)
        model.cells[i + 1] = GridCells.at(i)->fieldText();
    model.pictureParagraphTag = ETAGSRC1->text();
    model.pictureTag = Edit7->text();
    model.pictureName = Gname->text();
    model.pictureWidth = GX->text();
    model.pictureHeight = GY->text();
    model.pictureSizeFixed = sizeFixed;
    model.picturePresent = picturePresent;
    model.linkTarget = Edit2->text();
    model.linkText = Edit3->text();
    model.paragraphTag = ETAGP1->text();
    model.text = Memo2->fieldText();
    model.style = styleNumber;
    model.pageWidth = PageWidth;
    model.quiz = CheckBox1->isChecked();
    model.answer = CheckBox2->isChecked();
    return model;
}

void TForm2::LoadPageToFields(const QString &path)
{
    showModel(::LoadPageToFields(fieldTextFromWidget(documentText(Memo82->document())), path));
    if (pageRead)
        pageRead();
}

void TForm2::BuildPageFromFields(const QString &path)
{
    const PageBuild built = ::BuildPageFromFields(collectModel(), path, now().date());
    Memo82->setPlainText(widgetTextFromField(built.page));
    Label3->setText(built.archiveName);
}

bool TForm2::SavePageFile(const QString &path)
{
    // Another file the user chose to replace is written whatever it holds.
    bool overwrite = QFileInfo(path).absoluteFilePath() != QFileInfo(readPath).absoluteFilePath();
    for (;;) {
        const PageBuild built = ::BuildPageFromFields(collectModel(), path, now().date());
        const PageSaveOutcome outcome = saveEditedPage(path, built.page, overwrite ? nullptr : &readSnapshot,
                                                       LockTimeoutMs);
        switch (outcome.status) {
        case PageSaveStatus::Written:
            Memo82->setPlainText(widgetTextFromField(built.page));
            Label3->setText(built.archiveName);
            return true;
        case PageSaveStatus::Busy:
            warn(outcome.holder.isEmpty() ? EditorStrings::PageBusy.arg(QFileInfo(path).fileName())
                                          : EditorStrings::PageBusyOn.arg(QFileInfo(path).fileName(), outcome.holder));
            return false;
        case PageSaveStatus::LockBlocked:
            warn(EditorStrings::LockNotAFile.arg(QFileInfo(path).fileName(), outcome.error));
            return false;
        case PageSaveStatus::WriteFailed:
            warn(EditorStrings::SaveFailed.arg(outcome.error));
            return false;
        case PageSaveStatus::Changed:
            break;
        }
        switch (askChangedPage(EditorStrings::PageChangedQuestion.arg(QFileInfo(path).fileName()))) {
        case ChangedPageChoice::Overwrite:
            overwrite = true;
            continue;
        case ChangedPageChoice::SaveAs:
            return saveUnderChosenName();
        case ChangedPageChoice::Reload:
            reloadPage();
            return false;
        case ChangedPageChoice::Cancel:
            return false;
        }
    }
}

void TForm2::openPage(const QString &path, const QString &pageText, const PageSnapshot &read)
{
    setCaption(path);
    Memo82->setPlainText(widgetTextFromField(pageText));
    readPath = path;
    readSnapshot = read;
}

void TForm2::reloadPage()
{
    // Read as opening reads it: a page that would hold the window keeps the edit.
    const QString name = QFileInfo(readPath).fileName();
    const PageForFields file = readPageForFields(readPath);
    const FieldsRefusal refusal = file.tooLarge ? FieldsRefusal::TooLarge
                                  : file.page.ok() ? refusalForFields(file.page.text)
                                                   : FieldsRefusal::None;
    if (refusal != FieldsRefusal::None) {
        warn(EditorStrings::PageNotRereadBecause.arg(name, refusalReason(refusal)));
        return;
    }
    if (!file.page.ok()) {
        warn(EditorStrings::PageNotReread.arg(name));
        return;
    }
    openPage(readPath, file.page.text, file.read);
    FormShow();
}
