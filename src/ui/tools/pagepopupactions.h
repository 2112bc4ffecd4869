#pragma once

#include "core/tools/pagepopuprows.h"

#include <QString>

#include <functional>

// What each row of the page menu runs. A window that serves a row sets its
// handler once (Form1.popupActions.PostToPage = ...); a row whose handler is
// empty stays in the menu, disabled.
struct PagePopupActions
{
    std::function<void()> OpenCurrentForEdit;
    std::function<void()> CopyPage;
    std::function<void()> PostToPage;
    std::function<void()> ReorderPagesMenu;
    std::function<void()> RenamePagesNumbered;
    std::function<void()> DeletePageMenu;
    std::function<void()> RemoveUnlinkedFiles;
    std::function<void()> AddLookLinks;
    std::function<void()> RemoveLookLinks;
    std::function<void()> PrintWithNameField;
    std::function<void()> PrintWithNameFieldRed;
    std::function<void()> PrintResume;
    std::function<void()> N6Click; // prints an own page
    std::function<void(const QString &shortcutName)> F10Click;
    std::function<void()> OpenFolderHelp;

    // The handler of a row other than a shortcut; an empty one for none.
    std::function<void()> handlerFor(PopupAction action) const
    {
        switch (action) {
        case PopupAction::OpenCurrentForEdit: return OpenCurrentForEdit;
        case PopupAction::CopyPage: return CopyPage;
        case PopupAction::PostToPage: return PostToPage;
        case PopupAction::ReorderPagesMenu: return ReorderPagesMenu;
        case PopupAction::RenamePagesNumbered: return RenamePagesNumbered;
        case PopupAction::DeletePageMenu: return DeletePageMenu;
        case PopupAction::RemoveUnlinkedFiles: return RemoveUnlinkedFiles;
        case PopupAction::AddLookLinks: return AddLookLinks;
        case PopupAction::RemoveLookLinks: return RemoveLookLinks;
        case PopupAction::PrintWithNameField: return PrintWithNameField;
        case PopupAction::PrintWithNameFieldRed: return PrintWithNameFieldRed;
        case PopupAction::PrintResume: return PrintResume;
        case PopupAction::PrintPage: return N6Click;
        case PopupAction::Help: return OpenFolderHelp;
        case PopupAction::Separator:
        case PopupAction::Shortcut: break;
        }
        return {};
    }
};
