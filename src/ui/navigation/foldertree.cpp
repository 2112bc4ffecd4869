// The folder tree of the left panel. The panel starts closed and the data root
// may hold thousands of files: the tree reads nothing until it is seen.
#include "ui/app/tform1.h"

#include <QAbstractFileIconProvider>
#include <QFileSystemModel>
#include <QStyle>
#include <QTreeView>

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
    QString type(const QFileInfo &) const override { return {}; }

private:
    QIcon m_folder;
};
} // namespace

void TForm1::showFolderInTree(const QString &folder)
{
    m_treeFolder = folder;
    if (hyoushi->width() <= 0 && !folderModel)
        return;
    if (!folderModel) {
        folderModel = new QFileSystemModel(this);
        // Lives as long as the program: the model does not own it.
        static auto *icons = new FolderIcons(style()->standardIcon(QStyle::SP_DirIcon));
        folderModel->setIconProvider(icons);
        folderModel->setFilter(QDir::Dirs | QDir::NoDotAndDotDot);
        DirectoryListBox1->setModel(folderModel);
        for (int column = 1; column < folderModel->columnCount(); ++column)
            DirectoryListBox1->hideColumn(column);
    }
    if (folderModel->rootPath() != nav.HomeDir)
        DirectoryListBox1->setRootIndex(folderModel->setRootPath(nav.HomeDir));
    if (folder.isEmpty())
        return;
    const QModelIndex index = folderModel->index(folder);
    DirectoryListBox1->setCurrentIndex(index);
    DirectoryListBox1->expand(index);
}
