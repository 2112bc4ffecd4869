#pragma once

#include <QDialog>
#include <QStringList>

class QLabel;
class QListWidget;
class QPushButton;

// A message with a list of files or pages that may be long: the list scrolls
// and the window fits on the screen, its OK button always in reach.
class ListMessage : public QDialog
{
    Q_OBJECT
public:
    ListMessage(const QString &caption, const QString &text, const QStringList &items, QWidget *parent);

    QLabel *Text = nullptr;
    QListWidget *List = nullptr;
    QPushButton *Ok = nullptr;
};

// Shows the message and waits for OK.
void showListMessage(QWidget *parent, const QString &caption, const QString &text, const QStringList &items);
