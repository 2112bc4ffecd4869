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

// Whether the name field holds a character isRefusedLinkName() refuses: such
// a prefix renames nothing.
bool isRefusedPicturePrefix(const QString &fieldText);

struct PictureRenameOutcome
{
    // Old path -> new path, in list order.
    QList<QPair<QString, QString>> renamed;
    // The picture that could not be renamed; the renaming stopped there.
    QString failed;
    // Pictures that kept their names: a page that uses them is no valid UTF-8.
    QStringList kept;
    // Those pages, left as they were.
    QStringList pagesLeftAlone;
    // Pages that could not be written.
    QStringList pagesNotWritten;
};

// "画像ファイル名変換": gives each picture of selected (in order) the next free
// name prefix + number + its own extension, and fixes every page of its folder
// and every selected page that names it; a picture that a page which cannot be
// rewritten names keeps its name.
PictureRenameOutcome renamePictures(const QStringList &selected, const QString &prefix, LinkResolver &resolver);
