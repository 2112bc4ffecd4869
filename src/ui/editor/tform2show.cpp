// Showing the editor: reading the page into the fields and bringing the
// buttons, alignments and layout into line with them.
#include "ui/editor/tform2.h"

#include "core/editor/editorgeometry.h"
#include "core/editor/tagattr.h"
#include "core/pages/picturefile.h"
#include "core/editor/editorstrings.h"
#include "ui/editor/editorwidgets.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollBar>

using namespace Qt::StringLiterals;
namespace G = EditorGeometry;

void TForm2::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TForm2::FormShow()
{
    if (QWidget *owner = parentWidget()) {
        const QWidget *main = owner->window();
        resize(main->size());
        move(main->geometry().center() - rect().center());
    }

    // Every page starts from a neutral body, so nothing of the previous page's
    // layout or picture shows on this one.
    layoutFlag = G::NoImageLayout;
    Panel16->hide();
    Panel6->hide();
    setPreview({});
    picturePresent = false;
    sizeFixed = false;

    LoadPageToFields(caption());
    leaveSourceMode();
    for (QLineEdit *backup : {TAIHI1, TAIHI2, TAIHI3, TAIHI4, TAIHI5})
        backup->clear();
    for (EditorMemo *memo : {Memo4, Memo5, Memo1, Memo2})
        memo->setTextAlignment(Qt::AlignLeft);

    memo4Height = G::headingMemoHeight(Memo4->displayLines());
    memo5Height = G::subheadingMemoHeight(Memo5->displayLines());
    setHeadingAreaHeight(G::headingAreaOnShow(Memo4->displayLines(), Memo5->displayLines(), Memo1->displayLines(),
                                              BarHeight));
    ApplyTagsToControls();
    ApplyStylePreview();
    shownModel = collectModel();
}

static Qt::Alignment markAlignment(const QString &tag, SpeedButton *left, SpeedButton *centre, SpeedButton *right)
{
    const QString lower = tag.toLower();
    if (lower.contains(u"left"_s)) {
        left->setMarked(true);
        return Qt::AlignLeft;
    }
    if (lower.contains(u"center"_s)) {
        centre->setMarked(true);
        return Qt::AlignHCenter;
    }
    if (lower.contains(u"right"_s)) {
        right->setMarked(true);
        return Qt::AlignRight;
    }
    left->setMarked(true);
    return Qt::AlignLeft;
}

void TForm2::ApplyTagsToControls()
{
    editorOpen = true;
    titlePresent = !Edit1->text().isEmpty() || !Memo4->toPlainText().isEmpty();

    for (int number : {4, 5, 6, 7, 8, 9, 19, 20, 21, 10, 11, 12, 3, 23})
        speedButton(number)->setMarked(false);
    setMemo1Dock(DockFill);
    Edit1->setFocus();
    const QString pictureName = ExtractSrc(Edit7->text());

    Memo4->setTextAlignment(markAlignment(ETAGH1->text(), speedButton(4), speedButton(5), speedButton(6)));
    Memo5->setTextAlignment(markAlignment(ETAGH2->text(), speedButton(7), speedButton(8), speedButton(9)));

    // The box and the text paragraph: the tests run one after the other, so a
    // box on the right with text on the left ends with the right box marked.
    bool matched = false;
    if (ETAGP1->text().contains(u"left"_s)) {
        speedButton(19)->setMarked(true);
        setMemo1Dock(DockLeft);
        Memo1->setTextAlignment(Qt::AlignLeft);
        Memo2->setTextAlignment(Qt::AlignLeft);
        matched = true;
    }
    if (ETAGP1->text().contains(u"center"_s)) {
        speedButton(20)->setMarked(true);
        setMemo1Dock(DockNone);
        Memo1->setTextAlignment(Qt::AlignHCenter);
        Memo2->setTextAlignment(Qt::AlignHCenter);
        matched = true;
    }
    if (ETAGHYO1->text().contains(u"right"_s)) {
        speedButton(21)->setMarked(true);
        speedButton(19)->setMarked(false);
        setMemo1Dock(DockRight);
        Memo1->setTextAlignment(Qt::AlignLeft);
        Memo2->setTextAlignment(Qt::AlignLeft);
        matched = true;
    }
    if (!matched) {
        speedButton(19)->setMarked(true);
        setMemo1Dock(DockLeft);
    }

    if (!pictureName.isEmpty()) {
        const QString path = findFileInFolder(pageFolder(), pictureName);
        if (!path.isEmpty())
            LoadImageFile(path);
    } else {
        ClearImage();
        SetLayoutTextOnly();
    }

    const QString tag = Edit7->text().toLower();
    if (tag.contains(u"\"left\""_s))
        SetLayoutImageLeft();
    else if (tag.contains(u"\"center\""_s))
        SetLayoutImageCenter();
    else if (tag.contains(u"\"right\""_s))
        SetLayoutImageRight();

    if (tableFlag > 0)
        SetLayoutTable();
}

void TForm2::done(int result)
{
    FormClose();
    QDialog::done(result);
}

void TForm2::FormClose()
{
    sizeFixed = false;
    setPreview({});
    picturePresent = false;
    editorOpen = false;
    closeEditNotes();
}
