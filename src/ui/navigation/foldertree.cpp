// The folder tree of the left panel. The panel starts closed and the data root
// may hold thousands of files: the tree reads nothing until it is seen. Each
// time the panel opens the tree is read again, so that folders made meanwhile
// (by this program, a page's command or another PC on the share, whose changes
// no file watcher here hears of) show.
#include "ui/app/tform1.h"

#include "core/app/rootpath.h"

#include <QAbstractFileIconProvider>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QSortFilterProxyModel>
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

// Leaves out the folders that another PC made links out of the data root: only
// rows that are links need a look at their real path.
class InRootFolders : public QSortFilterProxyModel
{
public:
    using QSortFilterProxyModel::QSortFilterProxyModel;

protected:
    bool filterAcceptsRow(int row, const QModelIndex &parent) const override
    {
        const auto *files = static_cast<const QFileSystemModel *>(sourceModel());
        const QModelIndex index = files->index(row, 0, parent);
        return !files->fileInfo(index).isSymLink() || !leadsOutOfDataRoot(files->filePath(index));
    }
};
} // namespace

QString TForm1::treeFolder(const QModelIndex &index) const
{
    return folderModel && folderRows && index.isValid() ? folderModel->filePath(folderRows->mapToSource(index))
                                                        : QString();
}

QModelIndex TForm1::treeIndex(const QString &folder) const
{
    return folderModel && folderRows ? folderRows->mapFromSource(folderModel->index(folder)) : QModelIndex();
}

void TForm1::readFolderTree()
{
    // A fresh model reads the data root and the folders left open; the old one
    // only knows the folders it read before.
    auto *model = new QFileSystemModel(this);
    // Lives as long as the program: the model does not own it.
    static auto *icons = new FolderIcons(style()->standardIcon(QStyle::SP_DirIcon));
    model->setIconProvider(icons);
    model->setFilter(QDir::Dirs | QDir::NoDotAndDotDot);
    auto *rows = new InRootFolders(model);
    rows->setSourceModel(model);
    QFileSystemModel *old = std::exchange(folderModel, model);
    folderRows = rows;
    DirectoryListBox1->setModel(rows);
    if (old)
        old->deleteLater();
    for (int column = 1; column < rows->columnCount(); ++column)
        DirectoryListBox1->hideColumn(column);
    DirectoryListBox1->setRootIndex(rows->mapFromSource(model->setRootPath(nav.HomeDir)));
    for (const QString &folder : std::exchange(m_openFolders, {})) {
        const QModelIndex index = QFileInfo(folder).isDir() ? treeIndex(folder) : QModelIndex();
        if (index.isValid())
            DirectoryListBox1->expand(index); // records it again
    }
    showFolderInTree(m_treeFolder);
}

void TForm1::folderTreeOpened(const QModelIndex &index, bool open)
{
    const QString folder = treeFolder(index);
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
        DirectoryListBox1->setRootIndex(folderRows->mapFromSource(folderModel->setRootPath(nav.HomeDir)));
    if (folder.isEmpty())
        return;
    const QModelIndex index = treeIndex(folder);
    DirectoryListBox1->setCurrentIndex(index);
    DirectoryListBox1->expand(index);
}
