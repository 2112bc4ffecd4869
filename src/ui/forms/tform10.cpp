#include "ui/forms/tform10.h"

#include "core/app/smallfile.h"
#include "core/pages/pagefile.h"
#include "core/tools/folderlist.h"
#include "core/tools/foldertexts.h"
#include "ui/forms/formbutton.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;
namespace T = FolderTexts;

namespace {
// The list as a Windows copy may have saved it: UTF-8, else the legacy code page.
QString listText(const QString &path)
{
    const QByteArray bytes = readTextFile(path).value_or(QByteArray());
    const PageText utf8 = decodePageUtf8(bytes);
    return utf8.ok() ? utf8.text : decodePageLegacy(bytes).text;
}
} // namespace

TForm10::TForm10(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(u"Form10"_s);
    Panel1 = new QLabel(T::ListTitle, this);
    Panel1->setObjectName(u"Panel1"_s);
    Panel1->setFrameShape(QFrame::Panel);
    Panel1->setAlignment(Qt::AlignCenter);
    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(u"Memo1"_s);
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    SpeedButton1 = formButton(this, u"SpeedButton1"_s, T::ReadButton, T::ReadHint);
    SpeedButton2 = formButton(this, u"SpeedButton2"_s, T::SaveButton, T::SaveHint);
    SpeedButton2->setStyleSheet(u"color: red;"_s);
    SpeedButton3 = formButton(this, u"SpeedButton3"_s, T::CreateButton, T::CreateHint);
    SpeedButton4 = formButton(this, u"SpeedButton4"_s, T::CloseButton, T::CloseHint);

    auto *reminders = new QVBoxLayout;
    reminders->addWidget(new QLabel(T::PathReminder, this));
    reminders->addWidget(new QLabel(T::CommentReminder, this));
    auto *buttons = new QVBoxLayout;
    buttons->addLayout(reminders);
    for (QPushButton *b : {SpeedButton1, SpeedButton2, SpeedButton3, SpeedButton4})
        buttons->addWidget(b);
    buttons->addStretch(1);
    auto *body = new QHBoxLayout;
    body->addWidget(Memo1, 1);
    body->addLayout(buttons);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Panel1);
    layout->addLayout(body, 1);
    resize(800, 600);

    connect(SpeedButton1, &QPushButton::clicked, this, &TForm10::SpeedButton1Click);
    connect(SpeedButton2, &QPushButton::clicked, this, &TForm10::SpeedButton2Click);
    connect(SpeedButton3, &QPushButton::clicked, this, &TForm10::SpeedButton3Click);
    connect(SpeedButton4, &QPushButton::clicked, this, &QDialog::reject);
}

void TForm10::showList(const QString &path)
{
    setWindowTitle(path);
    FormShow();
    exec();
}

void TForm10::FormShow()
{
    if (placement)
        setGeometry(placement());
    Memo1->clear();
    if (QFileInfo::exists(windowTitle()))
        Memo1->setPlainText(listText(windowTitle()));
}

void TForm10::SpeedButton1Click()
{
    const QStringList names = existingFolderNames(ExeDir, [] { QApplication::processEvents(QEventLoop::ExcludeUserInputEvents); });
    Memo1->setPlainText(names.join(u'\n'));
}

void TForm10::SpeedButton2Click()
{
    const QString path = windowTitle();
    if (QFileInfo::exists(path)
        && QMessageBox::warning(this, windowTitle(), T::AskOverwrite, QMessageBox::Yes | QMessageBox::No)
            == QMessageBox::No)
        return;
    QString error;
    if (!writePageFile(path, Memo1->toPlainText(), &error))
        QMessageBox::warning(this, windowTitle(), T::SaveFailed.arg(error));
}

void TForm10::SpeedButton3Click()
{
    if (QMessageBox::warning(this, windowTitle(), T::AskCreate, QMessageBox::Yes | QMessageBox::No) == QMessageBox::No)
        return;
    const FolderListResult result = createListedFolders(Memo1->toPlainText(), ExeDir, ExeBaseName, HomeDir);
    if (!result.refused.isEmpty())
        QMessageBox::warning(this, windowTitle(), T::RefusedLines.arg(result.refused.join(u'\n')));
}
