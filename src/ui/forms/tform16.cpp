#include "ui/forms/tform16.h"

#include "core/forms/formtexts.h"
#include "core/forms/pagepost.h"
#include "core/navigation/pathtext.h"
#include "ui/forms/formbutton.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;
namespace T = FormTexts;

TForm16::TForm16(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint)
{
    setObjectName(u"Form16"_s);
    Label4 = new QLabel(this);
    Label4->setObjectName(u"Label4"_s);
    Label2 = new QLabel(this);
    Label2->setObjectName(u"Label2"_s);
    Label2->hide();
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(u"Edit1"_s);
    Edit2 = new QLineEdit(this);
    Edit2->setObjectName(u"Edit2"_s);
    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(u"Memo1"_s);
    SpeedButton1 = formButton(this, u"SpeedButton1"_s, T::PostButton, T::PostHint);
    SpeedButton2 = formButton(this, u"SpeedButton2"_s, T::CancelButton, T::CancelHint);
    SpeedButton3 = formButton(this, u"SpeedButton3"_s, T::RefreshDateButton);

    auto *fields = new QFormLayout;
    auto *dateRow = new QHBoxLayout;
    dateRow->addWidget(Edit1, 1);
    dateRow->addWidget(SpeedButton3);
    fields->addRow(T::DateLabel, dateRow);
    fields->addRow(T::PosterLabel, Edit2);
    // The two buttons stand side by side in the middle of the bottom row.
    auto *bottom = new QHBoxLayout;
    bottom->addStretch(1);
    bottom->addWidget(SpeedButton1);
    bottom->addSpacing(4);
    bottom->addWidget(SpeedButton2);
    bottom->addStretch(1);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Label4);
    layout->addLayout(fields);
    layout->addWidget(Memo1, 1);
    layout->addLayout(bottom);
    resize(640, 320);

    connect(SpeedButton1, &QPushButton::clicked, this, &TForm16::SpeedButton1Click);
    connect(SpeedButton2, &QPushButton::clicked, this, &QDialog::reject);
    connect(SpeedButton3, &QPushButton::clicked, this, &TForm16::SpeedButton3Click);
}

bool TForm16::postInto(const QString &pagePath, const QString &title)
{
    setWindowTitle(fileNameOf(pagePath));
    Label4->setText(T::PromptStart + title + T::PromptEnd);
    Label2->setText(pagePath);
    return exec() == QDialog::Accepted;
}

void TForm16::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    FormShow();
}

void TForm16::FormShow()
{
    SpeedButton3Click();
    Memo1->setFocus();
}

void TForm16::SpeedButton3Click()
{
    Edit1->setText(postDateLine(now()));
}

void TForm16::SpeedButton1Click()
{
    // The memo gives "\n"; the page takes CR LF, turned into "<BR>".
    const QString message = Memo1->toPlainText().replace(u'\n', u"\r\n"_s);
    if (message.trimmed().isEmpty()) {
        QMessageBox::information(this, windowTitle(), T::EmptyMessage);
        return;
    }
    // No second press while the post waits for another computer's.
    setEnabled(false);
    const PostOutcome outcome = postToPage(Label2->text(), Edit1->text(), Edit2->text(), message, LockTimeoutMs);
    setEnabled(true);
    if (outcome.status == PostStatus::Posted)
        return accept();
    QMessageBox::warning(this, windowTitle(), postOutcomeText(outcome));
    // Without a place for posts there is nothing to try again; otherwise the text stays for another try.
    if (outcome.status == PostStatus::NoPlace || outcome.status == PostStatus::NoParagraph
        || outcome.status == PostStatus::TooMuchMarkup)
        reject();
}
