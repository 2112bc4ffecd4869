#pragma once

#include <QFrame>
#include <QTextEdit>
#include <QToolButton>

// Qt's text widgets break lines with "\n"; the page fields and pages use CR LF.
QString fieldTextFromWidget(const QString &widgetText);
QString widgetTextFromField(const QString &fieldText);

// The text of a document as the user typed it (for fieldTextFromWidget). toPlainText()
// would turn no-break spaces into blanks and line separators into breaks, changing
// the page on every edit.
QString documentText(const QTextDocument *document);

// A memo of the editor: plain text only, one alignment for all its lines, and a
// focus flag that the markup buttons read after the focus has moved to them.
class EditorMemo : public QTextEdit
{
    Q_OBJECT
public:
    explicit EditorMemo(const QString &name, QWidget *parent = nullptr);

    // The text with CR LF line breaks, as the page fields hold it.
    QString fieldText() const;
    void setFieldText(const QString &text);

    // Display lines, wrapped lines included; a last empty line does not count.
    int displayLines() const;

    void setTextAlignment(Qt::Alignment alignment);
    Qt::Alignment textAlignment() const;

    int tag = 0; // 1 while the memo has the keyboard focus

signals:
    void focusEntered();
    void focusLeft();

protected:
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
};

// A panel that tells when its size changed; its children are placed by hand.
class EditorPanel : public QFrame
{
    Q_OBJECT
public:
    explicit EditorPanel(const QString &name, QWidget *parent = nullptr);

signals:
    void resized();

protected:
    void resizeEvent(QResizeEvent *event) override;
};

// A tool button that never takes the focus, is drawn flat unless marked, and
// reports which mouse button was released over it.
class SpeedButton : public QToolButton
{
    Q_OBJECT
public:
    SpeedButton(const QString &name, const QString &caption, const QString &hint, QWidget *parent = nullptr);

    // A marked button is drawn raised, the others flat.
    void setMarked(bool marked);
    bool isMarked() const;

    int tag = 0;

signals:
    void mouseUp(Qt::MouseButton button);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
};
