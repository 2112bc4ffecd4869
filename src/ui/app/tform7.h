#pragma once

#include <QDialog>

// The name-entry window: created at start-up and never shown.
class TForm7 : public QDialog
{
    Q_OBJECT
public:
    explicit TForm7(QWidget *parent = nullptr)
        : QDialog(parent)
    {
        setObjectName(QStringLiteral("Form7"));
    }
};
