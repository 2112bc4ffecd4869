#include "core/tools/pagepopuprows.h"

#include "core/navigation/navigationtexts.h"
#include "core/navigation/pathtext.h"
#include "core/tools/toolstexts.h"

using namespace Qt::StringLiterals;
namespace T = ToolsTexts;

QString applicationNameFor(const QString &extension)
{
    // Later matches win: ".mht" is a spreadsheet's web archive.
    QString name = T::AppRegistered;
    if (extension.contains(u".j"_s))
        name = T::AppIchitaro;
    if (extension.contains(u".do"_s))
        name = T::AppWord;
    if (extension.contains(u".xl"_s) || extension.contains(u".mht"_s))
        name = T::AppExcel;
    return name;
}

static QString entryFileName(const QString &entry)
{
    const qsizetype cut = std::max(entry.lastIndexOf(u'\\'), entry.lastIndexOf(u':'));
    return UrlLastSegment(entry.mid(cut + 1));
}

static bool isShortcutFile(const QString &name)
{
    const QString extension = fileExtension(name).toLower();
    return extension == T::ShortcutExtension || extension == T::DesktopEntryExtension;
}

static void addPageRows(QList<PopupRow> &rows, const QString &fileName)
{
    const qsizetype dot = fileName.lastIndexOf(u'.');
    const QString extension = dot < 0 ? QString() : fileName.mid(dot).toLower();
    const bool ownPage = extension == T::OwnPageExtension;
    const QString application = applicationNameFor(extension);
    const bool indexPage = (dot < 0 ? fileName : fileName.left(dot)).toLower().contains(NavigationTexts::IndexWord);
    const PopupRow separator;

    rows << PopupRow{PopupAction::OpenCurrentForEdit, ownPage ? T::EditPage : application + T::EditWithApp, 0}
         << PopupRow{PopupAction::CopyPage, T::CopyPage, 13};
    if (ownPage)
        rows << PopupRow{PopupAction::PostToPage, T::PostToPage, 8};
    rows << separator;
    if (!indexPage)
        rows << PopupRow{PopupAction::ReorderPagesMenu, T::ReorderPages, 7}
             << PopupRow{PopupAction::RenamePagesNumbered, T::RenameNumbered, 1};
    rows << PopupRow{PopupAction::DeletePageMenu, T::DeletePage, 3}
         << PopupRow{PopupAction::RemoveUnlinkedFiles, T::RemoveUnlinked, 2} << separator;
    if (ownPage)
        rows << PopupRow{PopupAction::AddLookLinks, T::AddLookLinks, 9}
             << PopupRow{PopupAction::RemoveLookLinks, T::RemoveLookLinks, 12} << separator
             << PopupRow{PopupAction::PrintWithNameField, T::PrintNameField, 4}
             << PopupRow{PopupAction::PrintWithNameFieldRed, T::PrintNameFieldRed, 5};
    rows << PopupRow{PopupAction::PrintResume, T::PrintResume, 6};
    // A document prints from its own program, which the edit row opens.
    rows << (ownPage ? PopupRow{PopupAction::PrintPage, T::PrintPage, 11}
                     : PopupRow{PopupAction::OpenCurrentForEdit, application + T::PrintWithApp, 11});
}

PagePopupContent pagePopupRows(const QString &entry, const QStringList &folderFiles, bool helpExists)
{
    PagePopupContent content;
    if (entry.isEmpty())
        return content;
    const QString fileName = entryFileName(entry);
    const QString lower = entry.toLower();
    if (!lower.contains(u"http:"_s) && !lower.contains(u"https:"_s)
        && !fileName.startsWith(NavigationTexts::HiddenPrefix))
        addPageRows(content.rows, fileName);

    for (const QString &name : folderFiles)
        if (isShortcutFile(name))
            content.shortcuts << name;
    if (!content.shortcuts.isEmpty())
        content.rows << PopupRow{};
    for (int i = 0; i < content.shortcuts.size(); ++i)
        content.rows << PopupRow{PopupAction::Shortcut, content.shortcuts.at(i), -1, i};

    if (helpExists)
        content.rows << PopupRow{PopupAction::Help, T::Help};
    return content;
}
