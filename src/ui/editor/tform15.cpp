#include "ui/editor/tform15.h"

#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

TForm15::TForm15(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint)
{
    setObjectName(u"Form15"_s);
    setFixedSize(676, 104);

    auto *label = new QLabel(u"リンク"_s, this);
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(u"Edit1"_s);
    SpeedButton1 = new QToolButton(this);
    SpeedButton1->setObjectName(u"SpeedButton1"_s);
    SpeedButton1->setText(u"参照"_s);
    BitBtn1 = new QPushButton(u"OK"_s, this);
    BitBtn1->setObjectName(u"BitBtn1"_s);
    BitBtn1->setDefault(true);
    BitBtn2 = new QPushButton(u"キャンセル"_s, this);
    BitBtn2->setObjectName(u"BitBtn2"_s);

    OpenDialog1 = new QFileDialog(this);
    OpenDialog1->setObjectName(u"OpenDialog1"_s);
    OpenDialog1->setFileMode(QFileDialog::ExistingFile);
    OpenDialog1->setOption(QFileDialog::DontUseNativeDialog);
    OpenDialog1->setNameFilters({u"全て (*)"_s, u"PDF (*.pdf)"_s});

    auto *top = new QHBoxLayout;
    top->addWidget(label);
    top->addWidget(Edit1, 1);
    top->addWidget(SpeedButton1);
    auto *bottom = new QHBoxLayout;
    bottom->addStretch(1);
    bottom->addWidget(BitBtn1);
    bottom->addWidget(BitBtn2);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(bottom);

    connect(BitBtn1, &QPushButton::clicked, this, &TForm15::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &TForm15::BitBtn2Click);
    connect(SpeedButton1, &QToolButton::clicked, this, &TForm15::SpeedButton1Click);
}

QString TForm15::askTarget()
{
    exec();
    return m_caption;
}

void TForm15::BitBtn1Click()
{
    setCaption(Edit1->text());
    accept();
}

void TForm15::BitBtn2Click()
{
    reject();
}

void TForm15::reject()
{
    setCaption({});
    QDialog::reject();
}

void TForm15::SpeedButton1Click()
{
    if (OpenDialog1->exec() != QDialog::Accepted)
        return;
    const QStringList files = OpenDialog1->selectedFiles();
    if (!files.isEmpty())
        Edit1->setText(files.constFirst());
}

void TForm15::setCaption(const QString &caption)
{
    m_caption = caption;
    setWindowTitle(caption);
}
