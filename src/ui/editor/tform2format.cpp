// The formatting buttons of the editor: alignment of the headings and the box,
// inline markup on the focused memo, ruby, links, inline pictures and the
// page styles with their preview in the editor's own fields.
#include "ui/editor/tform2.h"

#include "core/editor/editorstrings.h"
#include "core/editor/formatting.h"
#include "core/editor/picturetools.h"
#include "ui/editor/editorwidgets.h"
#include "ui/editor/rubydialog.h"
#include "ui/editor/tform15.h"

#include <QFileInfo>
#include <QLineEdit>
#include <QScrollBar>
#include <QTextCursor>

using namespace Qt::StringLiterals;
namespace F = Formatting;
namespace S = EditorStrings;

namespace {

// The selection as the memo holds it: Qt hands line breaks out as U+2029.
QString selectionOf(const QTextCursor &cursor)
{
    QString text = cursor.selectedText();
    text.replace(QChar::ParagraphSeparator, u'\n');
    return text;
}

void setLook(QWidget *field, int pointSize, const QColor &background, const QColor &text)
{
    QFont font = field->font();
    font.setPointSize(pointSize);
    field->setFont(font);
    QPalette palette = field->palette();
    palette.setColor(QPalette::Base, background);
    palette.setColor(QPalette::Text, text);
    field->setPalette(palette);
}

} // namespace

void TForm2::connectFormatting()
{
    rubyDialog = new RubyDialog(this);
    for (int number : {4, 5, 6, 7, 8, 9})
        connect(speedButton(number), &SpeedButton::mouseUp, this, [this, number] { alignHeading(number); });
    using Handler = void (TForm2::*)();
    const std::pair<int, Handler> clicks[] = {
        {19, &TForm2::SpeedButton19Click}, {20, &TForm2::SpeedButton20Click}, {21, &TForm2::SpeedButton21Click},
        {24, &TForm2::SpeedButton24Click}, {26, &TForm2::SpeedButton26Click}, {25, &TForm2::SpeedButton25Click},
        {32, &TForm2::SpeedButton32Click}, {33, &TForm2::SpeedButton33Click}, {30, &TForm2::SpeedButton30Click},
        {29, &TForm2::SpeedButton29Click}, {31, &TForm2::SpeedButton31Click}, {16, &TForm2::SpeedButton16Click},
        {34, &TForm2::SpeedButton34Click}, {15, &TForm2::SpeedButton15Click}, {14, &TForm2::SpeedButton14Click},
        {18, &TForm2::SpeedButton18Click}, {13, &TForm2::SpeedButton13Click},
    };
    for (const auto &[number, handler] : clicks)
        connect(speedButton(number), &QToolButton::clicked, this, handler);
}

void TForm2::alignHeading(int button)
{
    const bool h1 = button <= 6;
    const int first = h1 ? 4 : 7;
    static const QString words[] = {u"left"_s, u"center"_s, u"right"_s};
    static const Qt::Alignment alignments[] = {Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight};
    const int index = button - first;
    for (int number = first; number < first + 3; ++number)
        speedButton(number)->setMarked(number == button);
    const QString tag = (h1 ? u"<H1 align=\""_s : u"<H2 align=\""_s) + words[index] + u"\">"_s;
    (h1 ? ETAGH1 : ETAGH2)->setText(tag);
    (h1 ? Memo4 : Memo5)->setTextAlignment(alignments[index]);
}

void TForm2::alignBox(int button)
{
    for (int number : {19, 20, 21})
        speedButton(number)->setMarked(number == button);
    const bool centred = button == 20;
    ETAGP1->setText(centred ? u"<P align=\"center\">"_s : u"<P align=\"left\">"_s);
    ETAGHYO1->setText(centred ? u"align=\"center\""_s : button == 21 ? u"align=\"right\""_s : u"align=\"left\""_s);
    setMemo1Dock(centred ? DockNone : button == 21 ? DockRight : DockLeft);
    const Qt::Alignment alignment = centred ? Qt::AlignHCenter : Qt::AlignLeft;
    Memo1->setTextAlignment(alignment);
    Memo2->setTextAlignment(alignment);
    for (EditorMemo *cell : std::as_const(GridCells))
        cell->setTextAlignment(alignment);
}

EditorMemo *TForm2::focusedMemo() const
{
    for (EditorMemo *memo : {Memo4, Memo5, Memo1, Memo2}) {
        if (memo->tag == 1)
            return memo;
    }
    return nullptr;
}

void TForm2::wrapSelection(Formatting::Markup markup)
{
    EditorMemo *memo = focusedMemo();
    if (!memo)
        return;
    QTextCursor cursor = memo->textCursor();
    if (!cursor.hasSelection())
        return;
    cursor.insertText(F::wrapMarkup(markup, selectionOf(cursor)));
    memo->setTextCursor(cursor);
}

void TForm2::SpeedButton31Click()
{
    rubyDialog->clear();
    EditorMemo *memo = focusedMemo();
    if (!memo)
        return;
    QTextCursor cursor = memo->textCursor();
    if (!cursor.hasSelection())
        return;
    const QString base = selectionOf(cursor);
    const QString reading = rubyDialog->askReading(base);
    if (reading.isEmpty())
        return;
    cursor.insertText(F::rubyMarkup(base, reading));
    memo->setTextCursor(cursor);
}

void TForm2::SpeedButton16Click()
{
    EditorMemo *memo = focusedMemo();
    if (!memo || !Form15)
        return;
    QTextCursor cursor = memo->textCursor();
    const QString target = Form15->askTarget();
    const F::Link link = F::linkFromTarget(target);
    if (link.refused) {
        warn(S::NameBreaksTag.arg(target));
        return;
    }
    if (link.html.isEmpty())
        return;
    cursor.insertText(link.html + selectionOf(cursor));
    memo->setTextCursor(cursor);
    memo->setFocus();
}

void TForm2::SpeedButton34Click()
{
    EditorMemo *memo = focusedMemo();
    QTextCursor cursor = memo ? memo->textCursor() : QTextCursor();
    const QString chosen = choosePicture(pageFolder());
    if (chosen.isEmpty())
        return;
    const QString name = QFileInfo(chosen).fileName();
    if (!pictureUsable(chosen, name))
        return;
    const QSize size = PictureTools::measure(chosen);
    if (!copyPictureIn(chosen, pageFolder() + u'/' + name))
        return;
    if (!memo)
        return;
    cursor.insertText(F::inlinePictureTag(name, size.width(), size.height()) + selectionOf(cursor));
    memo->setTextCursor(cursor);
    memo->setFocus();
}

void TForm2::chooseStyle(int style)
{
    styleNumber = style;
    ApplyStylePreview();
}

void TForm2::ApplyStylePreview()
{
    const F::StylePreview look = F::stylePreview(styleNumber);
    const auto colour = [this](const F::StyleColour &c) {
        switch (c.kind) {
        case F::StyleColour::ButtonFace:
            return palette().color(QPalette::Button);
        case F::StyleColour::ScrollBar:
            return ScrollBar1->palette().color(QPalette::Mid);
        default:
            return c.colour;
        }
    };
    const auto apply = [&](QWidget *field, const F::FieldLook &field_look) {
        setLook(field, field_look.pointSize, colour(field_look.background), colour(field_look.text));
    };
    apply(Memo4, look.heading);
    apply(Memo5, look.subheading);
    apply(Memo1, look.body);
    apply(Memo2, look.body);
    for (EditorMemo *cell : std::as_const(GridCells)) {
        QFont font = cell->font();
        font.setPointSize(look.cellPointSize);
        cell->setFont(font);
    }
    Panel10->setStyleSheet(u"background-color: "_s + colour(look.bar).name());
    for (int number : {15, 14, 18, 13})
        speedButton(number)->setMarked(number == look.raisedButton);
}
