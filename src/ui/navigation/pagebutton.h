#pragma once

#include <QPushButton>

class TForm1;

// One page button of the right column; Tag is the index of its page.
class PageButton : public QPushButton
{
    Q_OBJECT
public:
    PageButton(TForm1 &form, int tag, QWidget *parent);

    int Tag;

    // Shows a label as written: an "&" is no keyboard mnemonic here.
    void setLabel(const QString &label);
    QString label() const { return m_label; }

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    TForm1 &m_form;
    QString m_label;
};
