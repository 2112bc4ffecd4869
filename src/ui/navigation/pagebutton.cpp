#include "ui/navigation/pagebutton.h"

#include "ui/app/tform1.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyleOptionButton>
#include <QStylePainter>

using namespace Qt::StringLiterals;

PageButton::PageButton(TForm1 &form, int tag, QWidget *parent)
    : QPushButton(parent)
    , Tag(tag)
    , m_form(form)
{
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::StrongFocus);
}

void PageButton::setLabel(const QString &label)
{
    m_label = label;
    setText(QString(label).replace(u'&', u"&&"_s));
}

// A page opens on the press, not on the release.
void PageButton::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton && event->button() != Qt::RightButton)
        return QPushButton::mousePressEvent(event);
    setFocus(Qt::MouseFocusReason);
    m_form.PageButtonMouseDown(this, event->button() == Qt::RightButton, event->globalPosition().toPoint());
    event->accept();
}

void PageButton::mouseReleaseEvent(QMouseEvent *event)
{
    event->accept();
}

void PageButton::keyPressEvent(QKeyEvent *event)
{
    if (m_form.PageButtonKeyPress(event->key()) || m_form.CMDialogKey(event->key()))
        return event->accept();
    QPushButton::keyPressEvent(event);
}

// The button would click on the release of the blank: the press has opened the page.
void PageButton::keyReleaseEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Space)
        return event->accept();
    QPushButton::keyReleaseEvent(event);
}

void PageButton::focusInEvent(QFocusEvent *event)
{
    QPushButton::focusInEvent(event);
    m_form.PageButtonEnter(this);
}

// Tab (with or without Shift) moves to the next button as Down does, and no further.
bool PageButton::event(QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) {
            m_form.CMDialogKey(Qt::Key_Tab);
            return true;
        }
    }
    return QPushButton::event(event);
}

// A two-line label in a narrow button (a folder of many pages) is stepped by
// the type size, as the Windows Gothic font is; the Japanese font's tall line
// spacing would cut the second line in half.
void PageButton::paintEvent(QPaintEvent *event)
{
    const QStringList lines = m_label.split(u'\n');
    const int step = fontInfo().pixelSize() + 1;
    if (lines.size() < 2 || int(lines.size()) * fontMetrics().lineSpacing() + 4 <= height())
        return QPushButton::paintEvent(event);
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    painter.drawControl(QStyle::CE_PushButtonBevel, option);
    QRect area = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
    if (!icon().isNull()) {
        const QSize size = iconSize();
        icon().paint(&painter, QRect(QPoint(area.left(), area.center().y() - size.height() / 2), size));
        area.setLeft(area.left() + size.width() + 4);
    }
    painter.setPen(palette().color(QPalette::ButtonText));
    int top = area.center().y() - int(lines.size()) * step / 2;
    for (const QString &line : lines) {
        painter.drawText(QRect(area.left(), top, area.width(), step), Qt::AlignLeft | Qt::AlignVCenter, line);
        top += step;
    }
}
