// The folder tree of the left panel. The panel starts closed and the data root
// may hold thousands of files: the tree reads nothing until it is seen. Each
// time the panel opens the tree is read again, so that folders made meanwhile
// (by this program, a page's command or another PC on the share, whose changes
// no file watcher here hears of) show.
#include "ui/app/tform1.h"

#include <QAbstractFileIconProvider>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QStyle>
#include <QTreeView>

#include <utility>

using namespace Qt::StringLiterals;

namespace {
// One folder picture for every row: no file type is looked up.
class FolderIcons : public QAbstractFileIconProvider
{
public:
    explicit FolderIcons(const QIcon &folder)
        : m_folder(folder)
    {
    }
    QIcon icon(IconType) const override { return m_folder; }
    QIcon icon(const QFileInfo &) const override { return m_folder; }
    // Not empty: the model shows an entry its reader reports only when the
    // report differs from the bare entry it made first, whose type is empty;
    // with an empty type here, folders reported after its first sort never showed.
    QString type(const QFileInfo &) const override { return u"folder"_s; }

private:
    QIcon m_folder;
};
} // namespace

void TForm1::readFolderTree()
{
    // A fresh model reads the data root and the folders left open; the old one
    // only knows the folders it read before.
    auto *model = new QFileSystemModel(this);
    // Lives as long as the program: the model does not own it.
    static auto *icons = new FolderIcons(style()->standardIcon(QStyle::SP_DirIcon));
    model->setIconProvider(icons);
    model->setFilter(QDir::Dirs | QDir::NoDotAndDotDot);
    QFileSystemModel *old = std::exchange(folderModel, model);
    DirectoryListBox1->setModel(model);
    if (old)
        old->deleteLater();
    for (int column = 1; column < model->columnCount(); ++column)
        DirectoryListBox1->hideColumn(column);
    DirectoryListBox1->setRootIndex(model->setRootPath(nav.HomeDir));
    for (const QString &folder : std::exchange(m_openFolders, {})) {
        const QModelIndex index = QFileInfo(folder).isDir() ? model->index(folder) : QModelIndex();
        if (index.isValid())
            DirectoryListBox1->expand(index); // records it again
    }
    showFolderInTree(m_treeFolder);
}

void TForm1::folderTreeOpened(const QModelIndex &index, bool open)
{
    const QString folder = folderModel ? folderModel->filePath(index) : QString();
    if (folder.isEmpty())
        return;
    if (open)
        m_openFolders.insert(folder);
    else
        m_openFolders.remove(folder);
}

void TForm1::showFolderInTree(const QString &folder)
{
    m_treeFolder = folder;
    if (!folderModel)
        return;
    if (folderModel->rootPath() != nav.HomeDir)
        DirectoryListBox1->setRootIndex(folderModel->setRootPath(nav.HomeDir));
    if (folder.isEmpty())
        return;
    const QModelIndex index = folderModel->index(folder);
    DirectoryListBox1->setCurrentIndex(index);
    DirectoryListBox1->expand(index);
}
