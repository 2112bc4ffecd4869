#pragma once

#include <QPushButton>

// A named button of the forms' windows that Enter in a text field never presses.
inline QPushButton *formButton(QWidget *parent, const QString &name, const QString &text,
                               const QString &hint = QString())
{
    auto *button = new QPushButton(text, parent);
    button->setObjectName(name);
    button->setToolTip(hint);
    button->setAutoDefault(false);
    return button;
}
