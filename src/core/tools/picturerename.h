#pragma once

#include "core/tools/fileuses.h"
#include "core/tools/linkvalues.h"
#include "core/tools/renamelock.h"

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
    // Why, when its folder could not be taken for the rename (Busy: another
    // renames in it; or the folder's record cannot be written).
    RenameBlock failedWhy = RenameBlock::None;
    // Pictures that kept their names: a page that uses them cannot be
    // rewritten (it round-trips in no encoding, or cannot be written).
    QStringList kept;
    // Those pages, left as they were.
    QStringList pagesLeftAlone;
    // Each kept picture with each such page, and the name it was to have.
    QList<PageNamesFile> keptNames;
    // Pages that could not be written: the record of their folder's rename
    // stays, and the next opening of that folder writes them.
    QStringList pagesNotWritten;
    // Those pages with each renamed picture they name.
    QList<PageNamesFile> notWrittenNames;
};

// "画像ファイル名変換": gives each picture of selected (in order) the next free
// name prefix + number + its own extension, folder by folder through the
// rename the three rename commands make (the folder's lock and record, a
// stopped rename there finished first, the pages of the whole data root of
// resolver rewritten): a picture that a page which cannot be rewritten names
// keeps its name. tick is called now and then. Any thread may call.
PictureRenameOutcome renamePictures(const QStringList &selected, const QString &prefix, LinkResolver &resolver,
                                    const std::function<void()> &tick = {});
