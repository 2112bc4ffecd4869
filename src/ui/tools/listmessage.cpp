#include "ui/tools/listmessage.h"

#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QVBoxLayout>

ListMessage::ListMessage(const QString &caption, const QString &text, const QStringList &items, QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("ListMessage"));
    setWindowTitle(caption);
    auto *layout = new QVBoxLayout(this);
    auto *top = new QHBoxLayout;
    auto *icon = new QLabel(this);
    const int iconSize = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxWarning, nullptr, this).pixmap(iconSize));
    icon->setAlignment(Qt::AlignTop);
    top->addWidget(icon);
    Text = new QLabel(text, this);
    Text->setWordWrap(true);
    Text->setTextInteractionFlags(Qt::TextSelectableByMouse);
    top->addWidget(Text, 1);
    layout->addLayout(top);
    List = new QListWidget(this);
    List->addItems(items);
    List->setSelectionMode(QAbstractItemView::ExtendedSelection);
    List->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    layout->addWidget(List, 1);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    Ok = buttons->button(QDialogButtonBox::Ok);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
    // Wide enough for most paths, at most two thirds of the screen each way.
    const QScreen *screen = parent ? parent->screen() : QGuiApplication::primaryScreen();
    const QRect room = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    const int rows = int(std::min<qsizetype>(items.size(), 12));
    const int width = std::max(List->sizeHintForColumn(0) + 40, 480);
    const int height = sizeHint().height() + rows * std::max(List->sizeHintForRow(0), 16);
    resize(std::min(width, room.width() * 2 / 3), std::min(height, room.height() * 2 / 3));
}

void showListMessage(QWidget *parent, const QString &caption, const QString &text, const QStringList &items)
{
    ListMessage message(caption, text, items, parent);
    message.exec();
}
