// The page-note button and the note of each opened page.
#include "ui/app/tform1.h"

#include "core/editor/pagenote.h"
#include "core/navigation/bottombar.h"
#include "ui/bar/barstate.h"
#include "ui/editor/tform12.h"

void TForm1::textup()
{
    if (!Form12)
        return;
    switch (noteButtonAction(nav.PBanSu(), bar->RightButtonDown, Form12->Tag > 0)) {
    case NoteButtonAction::Open:
        // A page without a note of its own (a web folder) opens none, nor
        // the note the window was last bound to.
        if (pageNoteFilePath(nav, nav.PBan()).isEmpty())
            break;
        LoadPageNote();
        Form12->show();
        // The user opened it to type in it.
        Form12->raise();
        Form12->activateWindow();
        break;
    case NoteButtonAction::Close:
        Form12->close();
        break;
    case NoteButtonAction::Nothing:
        break;
    }
}

void TForm1::LoadPageNote()
{
    if (!Form12 || nav.PBanSu() < 1 || nav.PBan() < 0)
        return;
    const QString note = pageNoteFilePath(nav, nav.PBan());
    switch (pageNoteStep(Form12->Caption(), note, Form12->Tag > 0)) {
    case PageNoteStep::CloseWindow:
        Form12->close();
        break;
    case PageNoteStep::Load:
        Form12->loadFile(note);
        break;
    case PageNoteStep::Nothing:
        break;
    }
}
