#include "ui/editor/editorwidgets.h"

#include <QAbstractTextDocumentLayout>
#include <QMouseEvent>
#include <QTextDocument>
#include <QTextBlock>
#include <QTextLayout>

using namespace Qt::StringLiterals;

QString fieldTextFromWidget(const QString &widgetText)
{
    QString text = widgetText;
    text.replace(QChar::ParagraphSeparator, u'\n');
    text.replace(u"\n"_s, u"\r\n"_s);
    return text;
}

QString documentText(const QTextDocument *document)
{
    // Blocks are separated by paragraph separators, which fieldTextFromWidget turns into breaks.
    return document->toRawText();
}

QString widgetTextFromField(const QString &fieldText)
{
    QString text = fieldText;
    text.replace(u"\r\n"_s, u"\n"_s);
    text.replace(u'\r', u'\n');
    return text;
}

EditorMemo::EditorMemo(const QString &name, QWidget *parent)
    : QTextEdit(parent)
{
    setObjectName(name);
    setAcceptRichText(false);
    setTabChangesFocus(true);
    setLineWrapMode(QTextEdit::WidgetWidth);
}

QString EditorMemo::fieldText() const
{
    return fieldTextFromWidget(documentText(document()));
}

void EditorMemo::setFieldText(const QString &text)
{
    const Qt::Alignment alignment = textAlignment();
    setPlainText(widgetTextFromField(text));
    setTextAlignment(alignment);
}

int EditorMemo::displayLines() const
{
    QTextDocument *doc = document();
    doc->documentLayout()->documentSize(); // lays the text out at the current width
    int lines = 0;
    for (QTextBlock block = doc->begin(); block.isValid(); block = block.next()) {
        const bool last = !block.next().isValid();
        if (last && block.text().isEmpty())
            break;
        const QTextLayout *layout = block.layout();
        lines += layout && layout->lineCount() > 0 ? layout->lineCount() : 1;
    }
    return lines;
}

void EditorMemo::setTextAlignment(Qt::Alignment alignment)
{
    QTextOption option = document()->defaultTextOption();
    option.setAlignment(alignment);
    document()->setDefaultTextOption(option);
}

Qt::Alignment EditorMemo::textAlignment() const
{
    return document()->defaultTextOption().alignment();
}

void EditorMemo::focusInEvent(QFocusEvent *event)
{
    tag = 1;
    QTextEdit::focusInEvent(event);
    emit focusEntered();
}

void EditorMemo::focusOutEvent(QFocusEvent *event)
{
    tag = 0;
    QTextEdit::focusOutEvent(event);
    emit focusLeft();
}

EditorPanel::EditorPanel(const QString &name, QWidget *parent)
    : QFrame(parent)
{
    setObjectName(name);
}

void EditorPanel::resizeEvent(QResizeEvent *event)
{
    QFrame::resizeEvent(event);
    emit resized();
}

SpeedButton::SpeedButton(const QString &name, const QString &caption, const QString &hint, QWidget *parent)
    : QToolButton(parent)
{
    setObjectName(name);
    setText(caption);
    setToolTip(hint);
    setFocusPolicy(Qt::NoFocus);
    setAutoRaise(true);
}

void SpeedButton::setMarked(bool marked)
{
    setAutoRaise(!marked);
}

bool SpeedButton::isMarked() const
{
    return !autoRaise();
}

void SpeedButton::mousePressEvent(QMouseEvent *event)
{
    // A right press is kept here, so that its release comes back to this button.
    if (event->button() == Qt::RightButton) {
        event->accept();
        return;
    }
    QToolButton::mousePressEvent(event);
}

void SpeedButton::mouseReleaseEvent(QMouseEvent *event)
{
    const bool inside = rect().contains(event->position().toPoint());
    QToolButton::mouseReleaseEvent(event);
    if (inside && (event->button() == Qt::LeftButton || event->button() == Qt::RightButton))
        emit mouseUp(event->button());
}
