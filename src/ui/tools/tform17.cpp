#include "ui/tools/tform17.h"

#include "core/tools/ordertexts.h"
#include "core/tools/renumberfields.h"
#include "platform/platform.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QRegularExpressionValidator>
#include <QToolButton>

using namespace Qt::StringLiterals;
namespace T = OrderTexts;

static QLineEdit *numberField(QWidget *parent, const QString &name, const QString &text)
{
    auto *edit = new QLineEdit(text, parent);
    edit->setObjectName(name);
    edit->setAlignment(Qt::AlignRight);
    edit->setValidator(new QRegularExpressionValidator(QRegularExpression(u"[0-9]*"_s), edit));
    return edit;
}

static QToolButton *button(QWidget *parent, const QString &name, const QString &text)
{
    auto *b = new QToolButton(parent);
    b->setObjectName(name);
    b->setText(text);
    b->setToolButtonStyle(Qt::ToolButtonTextOnly);
    b->setMinimumSize(110, 30);
    return b;
}

TForm17::TForm17(Platform &platform, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
    , m_platform(platform)
{
    setObjectName(u"Form17"_s);
    setWindowTitle(T::RenumberCaption);
    setFixedSize(457, 240);

    Edit1 = new QLineEdit(T::DefaultName, this);
    Edit1->setObjectName(u"Edit1"_s);
    Edit2 = numberField(this, u"Edit2"_s, T::DefaultStart);
    Edit3 = numberField(this, u"Edit3"_s, T::DefaultStep);
    Edit4 = numberField(this, u"Edit4"_s, T::DefaultDigits);
    Edit5 = numberField(this, u"Edit5"_s, {});
    Edit6 = numberField(this, u"Edit6"_s, {});
    Edit7 = numberField(this, u"Edit7"_s, u"1"_s);
    Edit7->setEnabled(false);
    Edit7->setStyleSheet(u"QLineEdit { color: red; }"_s);
    SpeedButton3 = button(this, u"SpeedButton3"_s, T::ThisPageButton);
    SpeedButton1 = button(this, u"SpeedButton1"_s, T::OkButton);
    SpeedButton2 = button(this, u"SpeedButton2"_s, T::CancelButton);

    auto *heading = new QLabel(T::RenumberHeading, this);
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);
    auto label = [this](const QString &text) { return new QLabel(text, this); };

    // Name ( start )   the first page's name
    //      ( preview )  the last page's number
    auto *grid = new QGridLayout;
    grid->addWidget(label(T::NameLabel), 0, 0);
    grid->addWidget(label(T::StartLabel), 0, 2);
    grid->addWidget(Edit1, 1, 0);
    grid->addWidget(label(u"("_s), 1, 1);
    grid->addWidget(Edit2, 1, 2);
    grid->addWidget(label(u")"_s), 1, 3);
    grid->addWidget(label(u"("_s), 2, 1);
    grid->addWidget(Edit7, 2, 2);
    grid->addWidget(label(u")"_s), 2, 3);
    grid->addWidget(label(T::StepLabel), 0, 5);
    grid->addWidget(Edit3, 1, 5);
    grid->addWidget(label(T::DigitsLabel), 0, 6);
    grid->addWidget(Edit4, 1, 6);
    grid->addWidget(label(T::FirstLabel), 3, 0);
    grid->addWidget(Edit5, 3, 2);
    grid->addWidget(label(T::LastLabel), 4, 0);
    grid->addWidget(Edit6, 4, 2);
    grid->setColumnStretch(4, 1);
    grid->setColumnMinimumWidth(0, 120);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(SpeedButton3);
    buttons->addStretch(1);
    buttons->addWidget(SpeedButton1);
    buttons->addWidget(SpeedButton2);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    layout->addLayout(grid);
    layout->addStretch(1);
    layout->addLayout(buttons);

    for (QLineEdit *edit : {Edit2, Edit3, Edit5, Edit6})
        connect(edit, &QLineEdit::textChanged, this, &TForm17::Edit5Change);
    connect(SpeedButton1, &QToolButton::clicked, this, &TForm17::SpeedButton1Click);
    connect(SpeedButton2, &QToolButton::clicked, this, &TForm17::SpeedButton2Click);
    connect(SpeedButton3, &QToolButton::clicked, this, &TForm17::SpeedButton3Click);
}

static int numberOr(const QLineEdit *edit, int fallback)
{
    bool ok = false;
    const int n = edit->text().toInt(&ok);
    return ok ? n : fallback;
}

NumberedRename TForm17::rename() const
{
    NumberedRename r;
    r.name = Edit1->text();
    r.start = numberOr(Edit2, 0);
    r.step = numberOr(Edit3, 0);
    r.digits = numberOr(Edit4, 1);
    r.first = numberOr(Edit5, 1) - 1;
    r.last = numberOr(Edit6, 1) - 1;
    return r;
}

void TForm17::showEvent(QShowEvent *event)
{
    Edit6Tag = numberOr(Edit6, 1);
    Edit5Tag = numberOr(Edit5, 1);
    Edit3Tag = numberOr(Edit3, 1);
    SpeedButton1Tag = 0;
    Edit5Change();
    QDialog::showEvent(event);
}

static RenumberFields fieldsOf(const TForm17 &f)
{
    return {f.Edit2->text(), f.Edit3->text(), f.Edit4->text(), f.Edit5->text(), f.Edit6->text(),
            f.Edit5Tag, f.Edit6Tag, f.Edit3Tag};
}

void TForm17::Edit5Change()
{
    if (const std::optional<QString> preview = renumberPreview(fieldsOf(*this)))
        Edit7->setText(*preview);
}

void TForm17::SpeedButton1Click()
{
    const RenumberCheck check = checkRenumberFields(fieldsOf(*this));
    const RenumberFields &f = check.fields;
    const std::pair<QLineEdit *, QString> corrected[] = {
        {Edit2, f.start}, {Edit3, f.step}, {Edit4, f.digits}, {Edit5, f.first}, {Edit6, f.last}};
    for (const auto &[edit, text] : corrected) {
        if (edit->text() != text)
            edit->setText(text);
    }
    Edit5Change();
    switch (check.outcome) {
    case RenumberCheck::Passed:
        SpeedButton1Tag = 1;
        accept();
        break;
    case RenumberCheck::Beep:
        m_platform.beep();
        break;
    case RenumberCheck::InvalidNumber:
        QMessageBox::warning(this, T::RenumberCaption, T::InvalidNumber.arg(Edit4->text()));
        break;
    }
}

void TForm17::SpeedButton3Click()
{
    Edit5->setText(QString::number(Edit5Tag));
    Edit6->setText(Edit5->text());
    SpeedButton1Click();
}

void TForm17::SpeedButton2Click()
{
    SpeedButton1Tag = 0;
    reject();
}
