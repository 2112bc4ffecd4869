#include "core/editor/picturebackup.h"

#include <QFileInfo>

using namespace Qt::StringLiterals;

void SaveImageTags(const PageModel &model, PictureBackup &backup)
{
    if (model.pictureName.isEmpty())
        return;
    backup.paragraphTag = model.pictureParagraphTag;
    backup.pictureTag = model.pictureTag;
    backup.pictureName = model.pictureName;
}

void ClearImage(PageModel &model, PictureBackup &backup)
{
    model.pictureParagraphTag.clear();
    model.pictureTag.clear();
    model.pictureName.clear();
    if (backup.pictureTag.isEmpty())
        model.picturePresent = false;
    if (!model.linkTarget.isEmpty())
        backup.linkTarget = model.linkTarget;
    if (!model.linkText.isEmpty())
        backup.linkText = model.linkText;
    // A linked picture's link text is the IMG tag itself: it goes with the picture.
    // The text of a paragraph that only holds a link stays.
    if (model.linkText.contains(u"src="_s, Qt::CaseInsensitive))
        model.linkText.clear();
}

void RestoreImageTags(PageModel &model, const PictureBackup &backup)
{
    if (backup.pictureName.isEmpty()) {
        // No picture is named yet: an IMG tag here would be saved as a broken
        // picture. Loading or painting one writes its tag.
        model.pictureParagraphTag = Markers::ParagraphStart;
        model.pictureTag.clear();
        return;
    }
    model.pictureParagraphTag = backup.paragraphTag;
    model.pictureTag = backup.pictureTag;
    model.pictureName = backup.pictureName;
    if (!backup.linkTarget.isEmpty())
        model.linkTarget = backup.linkTarget;
    if (!backup.linkText.isEmpty())
        model.linkText = backup.linkText;
}

QString DefaultImageName(const QString &pagePath)
{
    QString path = pagePath;
    path.replace(u'\\', u'/');
    const QString base = QFileInfo(path).completeBaseName();
    QString name = base;
    const qsizetype underscore = name.indexOf(u'_');
    if (underscore >= 0)
        name = name.sliced(underscore + 1);
    if (name.isEmpty())
        name = base;
    return name + u".bmp"_s;
}
