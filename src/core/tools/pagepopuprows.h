#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// What a row of the page menu does when it is chosen.
enum class PopupAction {
    Separator,
    OpenCurrentForEdit, // the edit row, and the print row of a document that is no own page
    CopyPage,
    PostToPage,
    ReorderPagesMenu,
    RenamePagesNumbered,
    DeletePageMenu,
    RemoveUnlinkedFiles,
    AddLookLinks,
    RemoveLookLinks,
    PrintWithNameField,
    PrintWithNameFieldRed,
    PrintResume,
    PrintPage,
    Shortcut, // starts the shortcut at tag in the shortcut list on the page
    Help,
};

struct PopupRow
{
    PopupAction action = PopupAction::Separator;
    QString caption;
    int image = -1; // picture of the menu's image list; -1 for none
    int tag = -1;   // index into the shortcut list for Shortcut rows
};

struct PagePopupContent
{
    QList<PopupRow> rows;
    // The shortcut files the Shortcut rows start, in folder order (ListBox3).
    QStringList shortcuts;
};

// The program name the page menu offers for a document of extension (lower-case,
// with its dot) that is no own page.
QString applicationNameFor(const QString &extension);

// The page menu for entry, the current entry of the level (a file name, a path
// relative to the folder, a full path or a web address). folderFiles is the
// current folder's file list in name order; helpExists says whether the folder
// has its help page. An empty level (no entry) gives no rows at all.
PagePopupContent pagePopupRows(const QString &entry, const QStringList &folderFiles, bool helpExists);
