#include "ui/tools/tform3.h"

#include "core/navigation/pathtext.h"
#include "core/tools/linkvalues.h"
#include "core/tools/picturerename.h"
#include "core/tools/toolstexts.h"
#include "platform/platform.h"
#include "ui/app/tform1.h"
#include "ui/app/uitexts.h"
#include "ui/tools/renamerunner.h"

#include <QBoxLayout>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>

#include <memory>

using namespace Qt::StringLiterals;
namespace T = ToolsTexts;

static QPushButton *toolButton(const QString &name, const QString &text, const QString &hint, QWidget *parent)
{
    auto *button = new QPushButton(text, parent);
    button->setObjectName(name);
    button->setToolTip(hint);
    button->setAutoDefault(false);
    return button;
}

TForm3::TForm3(Platform &platform, QWidget *parent)
    : QDialog(parent, Qt::Tool | Qt::WindowStaysOnTopHint)
    , m_platform(platform)
{
    setObjectName(u"Form3"_s);
    setWindowTitle(T::FileToolCaption);
    resize(564, 203);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    ListBox1 = new QListWidget(this);
    ListBox1->setObjectName(u"ListBox1"_s);
    ListBox1->setSelectionMode(QAbstractItemView::ExtendedSelection);
    layout->addWidget(ListBox1, 1);

    auto *panel = new QHBoxLayout;
    panel->setContentsMargins(6, 4, 6, 6);
    BitBtn1 = toolButton(u"BitBtn1"_s, T::DeleteButton, T::DeleteHint, this);
    BitBtn1->setStyleSheet(u"color: red"_s);
    panel->addWidget(BitBtn1);
    panel->addStretch();
    auto *group = new QGroupBox(this);
    auto *middle = new QHBoxLayout(group);
    middle->setContentsMargins(4, 2, 4, 2);
    BitBtn4 = toolButton(u"BitBtn4"_s, T::RenameButton, T::RenameHint, group);
    BitBtn4->setStyleSheet(u"color: red"_s);
    Edit1 = new QLineEdit(T::PrefixDefault, group);
    Edit1->setObjectName(u"Edit1"_s);
    Edit1->setToolTip(T::PrefixHint);
    Edit1->setFixedWidth(90);
    middle->addWidget(BitBtn4);
    middle->addWidget(Edit1);
    panel->addWidget(group);
    panel->addStretch();
    BitBtn2 = toolButton(u"BitBtn2"_s, T::CloseButton, T::CloseHint, this);
    panel->addWidget(BitBtn2);
    layout->addLayout(panel);

    connect(BitBtn1, &QPushButton::clicked, this, &TForm3::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &TForm3::BitBtn2Click);
    connect(BitBtn4, &QPushButton::clicked, this, &TForm3::BitBtn4Click);
}

void TForm3::setFiles(const QStringList &files, const QStringList &unselected)
{
    ListBox1->clear();
    ListBox1->addItems(files);
    m_unselected.clear();
    for (const QString &path : unselected)
        m_unselected.insert(pathKey(path));
}

QStringList TForm3::selectedFiles() const
{
    QStringList files;
    for (int i = 0; i < ListBox1->count(); ++i)
        if (ListBox1->item(i)->isSelected())
            files << ListBox1->item(i)->text();
    return files;
}

void TForm3::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (parentWidget())
        move(parentWidget()->window()->geometry().center() - rect().center());
    for (int i = 0; i < ListBox1->count(); ++i)
        ListBox1->item(i)->setSelected(!m_unselected.contains(pathKey(ListBox1->item(i)->text())));
}

void TForm3::hideEvent(QHideEvent *event)
{
    ListBox1->clear();
    m_unselected.clear();
    QDialog::hideEvent(event);
}

void TForm3::placeholder()
{
    if (showPlaceholder)
        showPlaceholder();
    QCoreApplication::processEvents();
}

void TForm3::BitBtn1Click()
{
    kataduke();
    accept();
}

void TForm3::kataduke()
{
    placeholder();
    const QStringList files = selectedFiles();
    if (files.isEmpty())
        return;
    // The desktop's trash does not ask: the question is ours.
    if (QMessageBox::question(this, windowTitle(), T::AskTrash.arg(files.size())) != QMessageBox::Yes)
        return;
    const QStringList kept = m_platform.moveToTrash(files);
    if (!kept.isEmpty())
        QMessageBox::warning(this, windowTitle(), UiTexts::RecycleFailed.arg(kept.join(u"」\n「"_s)));
}

void TForm3::BitBtn2Click()
{
    ListBox1->clear();
    accept();
}

void TForm3::BitBtn4Click()
{
    placeholder();
    if (isRefusedPicturePrefix(Edit1->text())) {
        QMessageBox::warning(this, windowTitle(), T::PrefixRefused.arg(Edit1->text().trimmed()));
        return;
    }
    const QString prefix = picturePrefix(Edit1->text());
    bool anyPicture = false;
    for (int i = 0; i < ListBox1->count() && !anyPicture; ++i)
        anyPicture = isPictureName(ListBox1->item(i)->text());
    if (!anyPicture) {
        QMessageBox::warning(this, windowTitle(), T::NoPictures);
        return;
    }
    if (QMessageBox::question(this, windowTitle(), T::AskRename.arg(prefix)) != QMessageBox::Yes)
        return;

    // Pages of the whole folder are read and written: the window goes on
    // meanwhile, and the list waits for the new names.
    auto outcome = std::make_shared<PictureRenameOutcome>();
    const auto work = [outcome, selected = selectedFiles(), prefix, home = HomeDir, folder = CurDir] {
        LinkResolver resolver(home, folder);
        *outcome = renamePictures(selected, prefix, resolver);
    };
    const auto then = [this, outcome] {
        setEnabled(true);
        showRenamed(*outcome);
    };
    setEnabled(false);
    // The main window's rename worker does it, in turn with the other renames.
    if (auto *main = qobject_cast<TForm1 *>(parentWidget())) {
        renameRunnerOf(*main).runTask(CurDir, work, then);
    } else {
        work();
        then();
    }
}

void TForm3::showRenamed(const PictureRenameOutcome &outcome)
{
    for (const auto &[from, to] : outcome.renamed)
        for (QListWidgetItem *item : ListBox1->findItems(from, Qt::MatchExactly))
            item->setText(to);
    if (!outcome.pagesNotWritten.isEmpty())
        QMessageBox::warning(this, windowTitle(), T::PagesNotWritten.arg(outcome.pagesNotWritten.join(u'\n')));
    if (!outcome.kept.isEmpty())
        QMessageBox::warning(this, windowTitle(),
                             T::PicturesKept.arg(outcome.kept.join(u'\n'), outcome.pagesLeftAlone.join(u'\n')));
    if (!outcome.failed.isEmpty())
        QMessageBox::warning(this, windowTitle(), T::RenameFailed.arg(outcome.failed));
}
