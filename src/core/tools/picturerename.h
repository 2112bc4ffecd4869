#pragma once

#include "core/tools/linkvalues.h"

#include <QList>
#include <QString>
#include <QStringList>

// Whether the file tool renames a file as a picture: its extension, lower-case,
// is part of ".jpeg.jpg.gif.png".
bool isPictureName(const QString &path);

// The prefix the file tool's name field gives: its file-name part, trimmed.
QString picturePrefix(const QString &fieldText);

// The first of prefix + "0", prefix + "1", ... with picture's extension that no
// file of picture's folder has (without regard to case).
QString freePictureName(const QString &picture, const QString &prefix);

// text of a page in pageFolder with every attribute value (and the title's
// icon) that names oldPath pointing at newName instead; other text, such as a
// longer name ending in the old one, stays.
QString replacePictureName(const QString &text, const QString &pageFolder, const QString &oldPath,
                           const QString &newName, const LinkResolver &resolver);

struct PictureRenameOutcome
{
    // Old path -> new path, in list order.
    QList<QPair<QString, QString>> renamed;
    // The picture that could not be renamed; the renaming stopped there.
    QString failed;
    // Pages that use a renamed picture but are no valid UTF-8: left as they were.
    QStringList pagesLeftAlone;
    // Pages that could not be written.
    QStringList pagesNotWritten;
};

// "画像ファイル名変換": gives each picture of selected (in order) the next free
// name prefix + number + its own extension, and fixes every page of its folder
// and every selected page that names it.
PictureRenameOutcome renamePictures(const QStringList &selected, const QString &prefix, LinkResolver &resolver);
