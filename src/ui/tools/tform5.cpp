#include "ui/tools/tform5.h"

#include "core/tools/ordertexts.h"

#include <QGridLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QToolButton>

using namespace Qt::StringLiterals;
namespace T = OrderTexts;

TForm5::TForm5(QWidget *parent)
    : QDialog(parent, Qt::Tool)
{
    setObjectName(u"Form5"_s);
    setWindowTitle(T::OrderCaption);
    setFixedSize(258, 206);

    ScrollBar1 = new QScrollBar(Qt::Vertical, this);
    ScrollBar1->setObjectName(u"ScrollBar1"_s);
    ScrollBar1->setPageStep(1);
    Memo1 = new QLineEdit(this);
    Memo1->setObjectName(u"Memo1"_s);
    Memo1->setReadOnly(true);
    Memo1->setAlignment(Qt::AlignRight);
    Memo1->setMaxLength(4);
    Memo1->setFocusPolicy(Qt::NoFocus);
    QFont big = Memo1->font();
    big.setPointSize(28);
    Memo1->setFont(big);

    BitBtn1 = new QPushButton(style()->standardIcon(QStyle::SP_DialogOkButton), T::MoveButton, this);
    BitBtn1->setObjectName(u"BitBtn1"_s);
    BitBtn1->setToolTip(T::MoveHint);
    BitBtn1->setDefault(true);
    BitBtn2 = new QPushButton(style()->standardIcon(QStyle::SP_DialogCloseButton), T::CloseButton, this);
    BitBtn2->setObjectName(u"BitBtn2"_s);
    BitBtn2->setToolTip(T::CloseHint);
    SpeedButton1 = new QToolButton(this);
    SpeedButton1->setObjectName(u"SpeedButton1"_s);
    SpeedButton1->setText(T::StripButton);
    SpeedButton1->setToolTip(T::StripHint);
    SpeedButton1->setStyleSheet(u"color: red;"_s);
    SpeedButton1->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);

    auto *grid = new QGridLayout(this);
    grid->addWidget(ScrollBar1, 0, 0, 4, 1);
    grid->addWidget(Memo1, 0, 1);
    grid->addWidget(BitBtn1, 1, 1);
    grid->addWidget(BitBtn2, 2, 1);
    grid->addWidget(SpeedButton1, 3, 1);
    grid->setColumnStretch(1, 1);

    connect(ScrollBar1, &QScrollBar::valueChanged, this, &TForm5::ScrollBar1Change);
    connect(BitBtn1, &QPushButton::clicked, this, &TForm5::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &TForm5::BitBtn2Click);
    connect(SpeedButton1, &QToolButton::clicked, this, &TForm5::SpeedButton1Click);
}

void TForm5::setPositions(int count, int position)
{
    ScrollBar1->setRange(0, std::max(0, count - 1));
    ScrollBar1->setValue(position);
    ScrollBar1Change();
}

void TForm5::ScrollBar1Change()
{
    Memo1->setText(QString::number(ScrollBar1->value() + 1));
}

void TForm5::BitBtn1Click()
{
    accept();
}

void TForm5::BitBtn2Click()
{
    reject();
}

void TForm5::SpeedButton1Click()
{
    Tag = 1;
    reject();
}

void TForm5::showEvent(QShowEvent *event)
{
    Tag = 0;
    ScrollBar1->setFocus();
    QDialog::showEvent(event);
}
