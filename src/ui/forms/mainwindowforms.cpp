// The main window's posts, folder-name list and desk copy.
#include "ui/app/tform1.h"

#include "core/forms/formtexts.h"
#include "core/navigation/pathtext.h"
#include "core/pages/pagetext.h"
#include "core/tools/deskcopy.h"
#include "core/tools/folderlist.h"
#include "core/tools/foldertexts.h"
#include "platform/platform.h"
#include "ui/forms/tform10.h"
#include "ui/forms/tform16.h"

#include <QApplication>
#include <QDir>
#include <QFileSystemModel>
#include <QMessageBox>
#include <QProgressDialog>
#include <QToolButton>
#include <QTreeView>

using namespace Qt::StringLiterals;
namespace T = FolderTexts;

void TForm1::SpeedButton16Click()
{
    PostToPage();
}

void TForm1::PostToPage()
{
    const int index = nav.PBan();
    const QString entry = nav.currentEntry();
    if (!Form16 || index < 0 || entry.isEmpty() || entry.contains(u"http:"_s, Qt::CaseInsensitive) || isWebAddress(entry))
        return;
    const QString path = nav.entryPath(index);
    const QStringList &titles = nav.levels().top().MidashiT;
    QString title = UnescapeAngles(index < titles.size() ? titles.at(index) : QString());
    const qsizetype hint = title.indexOf(u'?');
    if (hint >= 0)
        title.truncate(hint);

    const QPoint origin = geometry().topLeft();
    Form16->move(origin);
    Form16->resize(qMax(320, width() - kabeRight->width()), Form16->height());
    Form16->postInto(path, title);

    // Posted or not, the page is read and shown again.
    SpeedButton16->setEnabled(true);
    nav.TiteleLoad(index);
    RefreshPageButton(index);
    PageClick(false, true);
}

void TForm1::N3Click()
{
    if (!Form10)
        return;
    pausePoll();
    Form10->showList(folderListPath(nav.ExeDir));
    resumePoll();
}

void TForm1::SpeedButton1Click()
{
    const QModelIndex selected = DirectoryListBox1->currentIndex();
    const QString source = selected.isValid() ? treeFolder(selected) : nav.CurDir;
    const QString name = QFileInfo(QDir::cleanPath(source)).fileName();
    const QString target = deskCopyTarget(platform.desktopFolder(), source);
    const auto answer = QMessageBox::question(this, nav.ExeBaseName, T::DeskCopyQuestion.arg(name),
                                              QMessageBox::Yes | QMessageBox::No);
    platform.beep();
    if (answer != QMessageBox::Yes)
        return;
    if (copiesIntoItself(source, target)) {
        QMessageBox::warning(this, nav.ExeBaseName, T::DeskCopyIntoItself.arg(name));
        return;
    }
    QProgressDialog progress(T::DeskCopyProgress, FormTexts::CancelButton, 0, 0, this);
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(500);
    const QStringList failed = copyFolderContent(
        source, target, [this](const QString &from, const QString &to) { return platform.copyFile(from, to, true); },
        [&progress](int done, int total) {
            progress.setMaximum(total);
            progress.setValue(done);
            return !progress.wasCanceled();
        });
    if (!failed.isEmpty())
        QMessageBox::warning(this, nav.ExeBaseName, T::DeskCopyFailed.arg(failed.mid(0, 20).join(u'\n')));
}
