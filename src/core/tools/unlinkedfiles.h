#pragma once

#include "core/tools/linkwalk.h"

#include <QStringList>

// The pages of folder as a fresh listing orders them (whatever level is shown).
QStringList folderPages(const QString &folder, const QString &exeBaseName);

// What the pages of folder (all but except) need: the pages themselves, every
// file they link, the answers they collected, the folder's help page with what
// it shows, its editing notes and the presentation marker. Deleting or moving
// the page except must leave these.
QStringList filesPagesUse(LinkWalker &walker, const QString &folder, const QString &exeBaseName,
                          const QString &except = {});

// The files of folder that none of that uses, in name order: "LINK切れ削除".
QStringList unlinkedFiles(LinkWalker &walker, const QString &folder, const QString &exeBaseName);
