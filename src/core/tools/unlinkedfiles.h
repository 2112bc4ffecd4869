#pragma once

#include "core/tools/linkwalk.h"

#include <QStringList>

// The pages of folder as a fresh listing orders them (whatever level is shown).
QStringList folderPages(const QString &folder, const QString &exeBaseName);

// Everything that pages link (not the pages themselves unless one links another).
QStringList filesUsedByPages(LinkWalker &walker, const QStringList &pages);

// The files of folder that no page of it links, in name order: "LINK切れ削除".
// The folder's help page, its editing notes and the presentation marker are
// never offered.
QStringList unlinkedFiles(LinkWalker &walker, const QString &folder, const QString &exeBaseName);
