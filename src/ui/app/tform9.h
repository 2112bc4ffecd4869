#pragma once

#include <QDialog>

// The folder-open window: created at start-up and never shown.
class TForm9 : public QDialog
{
    Q_OBJECT
public:
    explicit TForm9(QWidget *parent = nullptr)
        : QDialog(parent)
    {
        setObjectName(QStringLiteral("Form9"));
    }
};
