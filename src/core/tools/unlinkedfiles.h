#pragma once

#include "core/tools/linkwalk.h"

#include <QStringList>

// What deleting or moving page must leave: what the other pages of its folder
// use, but not page itself nor its companions. When another page cannot be
// read, what it uses is unknown: then every other file of the folder.
QStringList filesToLeaveWith(LinkWalker &walker, const QString &page, const QString &exeBaseName);

// The files of folder that no page of it uses, in name order: "LINK切れ削除".
// The answers the pages collected, the help page with what it shows, the
// editing notes and the presentation marker are never offered.
QStringList unlinkedFiles(LinkWalker &walker, const QString &folder, const QString &exeBaseName);
