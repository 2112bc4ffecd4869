// The editor's fields and the page model.
#include "ui/editor/tform2.h"

#include <QLabel>

bool TForm2::LoadPageToFields(const QString &path)
{
    Label5->setText(path);
    return true;
}

void TForm2::BuildPageFromFields(const QString &)
{
}

bool TForm2::SavePageFile(const QString &)
{
    return true;
}

void TForm2::SpeedButton22Click()
{
}

void TForm2::closeEditNotes()
{
}
