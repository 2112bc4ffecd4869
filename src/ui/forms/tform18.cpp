#include "ui/forms/tform18.h"

#include "core/forms/answercsv.h"
#include "core/forms/formtexts.h"
#include "core/pages/pagefile.h"
#include "ui/forms/formbutton.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;
namespace T = FormTexts;

TForm18::TForm18(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(u"Form18"_s);
    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(u"Memo1"_s);
    SpeedButton1 = formButton(this, u"SpeedButton1"_s, T::WriteAnswersButton);
    SpeedButton2 = formButton(this, u"SpeedButton2"_s, T::StopButton, T::StopHint);
    Label1 = new QLabel(T::AnswerInstruction, this);
    Label1->setObjectName(u"Label1"_s);

    auto *top = new QHBoxLayout;
    top->addWidget(SpeedButton1);
    top->addWidget(SpeedButton2);
    top->addWidget(Label1, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(Memo1, 1);
    resize(800, 600);

    connect(SpeedButton1, &QPushButton::clicked, this, &TForm18::SpeedButton1Click);
    connect(SpeedButton2, &QPushButton::clicked, this, &QDialog::reject);
}

void TForm18::showAnswerSheet(const QString &pagePath)
{
    if (FormShow(pagePath))
        exec();
}

bool TForm18::FormShow(const QString &pagePath)
{
    setWindowTitle(pagePath);
    if (placement)
        setGeometry(placement());
    m_csv = answerCsvPath(pagePath);
    SpeedButton1->setToolTip(m_csv + T::WriteAnswersHintEnd);
    const PageText page = readPageFile(pagePath);
    if (!page.ok()) {
        QMessageBox::warning(parentWidget(), windowTitle(), T::PageUnreadable);
        return false;
    }
    Memo1->setPlainText(answerSheetText(page.text).replace(u"\r\n"_s, u"\n"_s));
    return true;
}

void TForm18::SpeedButton1Click()
{
    const AnswerLine line = answerLine(Memo1->toPlainText());
    // No second press while the row waits for another computer's.
    setEnabled(false);
    const AppendOutcome outcome = appendAnswer(m_csv, line, LockTimeoutMs);
    setEnabled(true);
    if (outcome.status != AppendStatus::Appended) {
        // The sheet stays open with the answers for another try.
        const QString text = outcome.status == AppendStatus::Busy ? T::AnswerBusy : T::AnswerFailed + u'\n' + outcome.error;
        QMessageBox::warning(this, windowTitle(), text.trimmed());
        return;
    }
    QMessageBox::information(this, windowTitle(), T::AnswersWritten);
    accept();
}
