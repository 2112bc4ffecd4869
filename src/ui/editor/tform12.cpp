#include "ui/editor/tform12.h"

#include <QCloseEvent>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QTextDocument>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

TForm12::TForm12(QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                          | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
{
    setObjectName(u"Form12"_s);
    setFont(QFont(u"ＭＳ Ｐゴシック"_s));
    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(u"Memo1"_s);
    QFont memoFont(u"ＭＳ Ｐゴシック"_s);
    memoFont.setPixelSize(16);
    Memo1->setFont(memoFont);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Memo1);
    setGeometry(178, 545, 791, 150);
}

NoteRead TForm12::loadFile(const QString &path)
{
    // A closed window saved its note when it closed; saving again here would
    // create an empty note for every page passed by.
    if (Tag > 0 && !saveNote())
        reportWriteFailure(m_note.path());
    const NoteRead read = m_note.bind(path);
    m_shownPath = path;
    setWindowTitle(path);
    if (read.status == NoteRead::Unreadable) {
        Memo1->setPlainText(NoteText::Unreadable);
        Memo1->setReadOnly(true);
    } else {
        Memo1->setPlainText(read.text);
        Memo1->setReadOnly(false);
    }
    return read;
}

bool TForm12::saveNote()
{
    // The raw text: toPlainText() would turn no-break spaces into blanks.
    QString text = Memo1->document()->toRawText();
    text.replace(QChar::ParagraphSeparator, u'\n');
    return m_note.save(text);
}

void TForm12::showFile(const QString &path)
{
    if (Tag > 0 && !Caption().isEmpty() && Caption() == path) {
        close();
        return;
    }
    loadFile(path);
    show();
}

void TForm12::showEvent(QShowEvent *event)
{
    Tag = 1;
    QWidget::showEvent(event);
}

void TForm12::closeEvent(QCloseEvent *event)
{
    Tag = 0;
    if (!saveNote())
        reportWriteFailure(m_note.path());
    event->accept();
}

void TForm12::reportWriteFailure(const QString &path)
{
    // The typed text would be lost without a word: say so, without blocking the
    // caller that is switching pages or closing down.
    auto *box = new QMessageBox(QMessageBox::Warning, NoteText::WriteFailedTitle,
                                NoteText::WriteFailed + path, QMessageBox::Ok, parentWidget());
    box->setObjectName(u"NoteWriteFailed"_s);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}
