#pragma once

#include "core/editor/pagemodel.h"

// The picture paragraph parked while a layout without a picture is shown
// (TAIHI1 to TAIHI5), so that returning to a picture layout brings it back.
struct PictureBackup
{
    QString paragraphTag; // TAIHI1
    QString pictureTag;   // TAIHI2
    QString pictureName;  // TAIHI3
    QString linkTarget;   // TAIHI4
    QString linkText;     // TAIHI5
};

// After a picture was loaded: park the picture paragraph when it names a picture.
void SaveImageTags(const PageModel &model, PictureBackup &backup);

// Removes the picture from the model and parks the link. The link target stays, so
// a page without picture keeps its link paragraph; the link text stays too unless
// it is the picture itself.
void ClearImage(PageModel &model, PictureBackup &backup);

// Brings the parked picture back; with none parked the picture paragraph is
// opened without an IMG tag (no picture is named).
void RestoreImageTags(PageModel &model, const PictureBackup &backup);

// The picture name for a new picture of a page: its file name without folder,
// extension and order prefix (up to the first "_"), + ".bmp".
QString DefaultImageName(const QString &pagePath);
