// The page menu: built afresh for the current page each time it pops up.
#include "ui/app/tform1.h"

#include "core/navigation/pagelist.h"
#include "core/navigation/pathtext.h"
#include "ui/editor/tform12.h"

#include <QAction>
#include <QFileInfo>
#include <QMenu>
#include <QStyle>

using namespace Qt::StringLiterals;

// The menu's pictures by their index in the main window's image list.
static QIcon imageList2(const QStyle *style, int index)
{
    static const QHash<int, QStyle::StandardPixmap> pictures{
        {0, QStyle::SP_FileDialogDetailedView}, {1, QStyle::SP_FileDialogListView},
        {2, QStyle::SP_DialogResetButton},      {3, QStyle::SP_TrashIcon},
        {4, QStyle::SP_FileIcon},               {5, QStyle::SP_FileLinkIcon},
        {6, QStyle::SP_FileDialogContentsView}, {7, QStyle::SP_ArrowDown},
        {8, QStyle::SP_FileDialogNewFolder},    {9, QStyle::SP_CommandLink},
        {11, QStyle::SP_DialogSaveButton},      {12, QStyle::SP_DialogDiscardButton},
        {13, QStyle::SP_DirLinkIcon},
    };
    const auto found = pictures.constFind(index);
    return found == pictures.constEnd() ? QIcon() : style->standardIcon(*found);
}

void TForm1::ClearPagePopupMenu()
{
    ListBox3.clear();
    delete PagePopup;
    PagePopup = nullptr;
}

void TForm1::BuildPagePopupMenu()
{
    if (nav.PBanSu() < 1 || nav.PBan() < 0)
        return;
    const QString help = joinPath(nav.CurDir, HelpPageName);
    const PagePopupContent content = pagePopupRows(nav.currentEntry(), listPlainFiles(nav.CurDir),
                                                   QFileInfo(help).isFile());
    PagePopup = new QMenu(this);
    PagePopup->setObjectName(u"PagePopup"_s);
    ListBox3 = content.shortcuts;
    for (const PopupRow &row : content.rows) {
        if (row.action == PopupAction::Separator) {
            PagePopup->addSeparator();
            continue;
        }
        // Captions are shown as they are: "&" in a file name is no access key.
        QString caption = row.caption;
        QAction *item = PagePopup->addAction(imageList2(style(), row.image), caption.replace(u'&', u"&&"_s));
        item->setData(row.tag);
        std::function<void()> handler;
        if (row.action == PopupAction::Shortcut) {
            if (popupActions.F10Click) {
                // The name is read back through the row's Tag from the list of this menu.
                const int tag = row.tag;
                handler = [this, tag] {
                    if (tag < ListBox3.size())
                        popupActions.F10Click(ListBox3.at(tag));
                };
            }
        } else {
            handler = popupActions.handlerFor(row.action);
        }
        item->setEnabled(bool(handler));
        // The handler runs after the menu has closed.
        connect(item, &QAction::triggered, this, [handler] { handler(); }, Qt::QueuedConnection);
    }
}

void TForm1::PopupPageMenu(const QPoint &globalPos)
{
    ClearPagePopupMenu();
    BuildPagePopupMenu();
    if (!PagePopup || PagePopup->actions().isEmpty()) {
        HighlightCurrent = true;
        PageClick(true, true);
        return;
    }
    if (Form12 && Form12->Tag > 0)
        Form12->close();
    PagePopup->popup(globalPos);
}

void TForm1::SpeedButton18Click()
{
    PopupPageMenu(mapToGlobal(QPoint(width() - 260, 65)));
}
