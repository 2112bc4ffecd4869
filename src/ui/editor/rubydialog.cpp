#include "ui/editor/rubydialog.h"

#include "core/editor/editorstrings.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

RubyDialog::RubyDialog(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(u"RubyDialog"_s);
    setWindowTitle(EditorStrings::RubyCaption);
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(u"Edit1"_s);
    Label1 = new QLabel(this);
    Label1->setObjectName(u"Label1"_s);
    QFont large = Label1->font();
    large.setPixelSize(32);
    Label1->setFont(large);
    BitBtn1 = new QPushButton(u"OK"_s, this);
    BitBtn1->setObjectName(u"BitBtn1"_s);
    BitBtn1->setDefault(true);
    BitBtn2 = new QPushButton(u"キャンセル"_s, this);
    BitBtn2->setObjectName(u"BitBtn2"_s);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(BitBtn1);
    buttons->addWidget(BitBtn2);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Edit1);
    layout->addWidget(Label1);
    layout->addLayout(buttons);
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::accept);
    connect(BitBtn2, &QPushButton::clicked, this, &RubyDialog::reject);
}

void RubyDialog::clear()
{
    Edit1->clear();
    Label1->clear();
}

QString RubyDialog::askReading(const QString &base)
{
    Label1->setText(base);
    Edit1->setFocus();
    exec();
    return Edit1->text();
}

void RubyDialog::reject()
{
    Edit1->clear();
    QDialog::reject();
}
