#pragma once

#include "core/tools/linkvalues.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

// One file a page copy writes.
struct PageCopyItem
{
    QString from;
    QString to;
};

// What "ページのコピー" copies from the page source to target: the page, its note
// and its sound, and for an own page (ownPage) the first background picture and
// every src file, each under the same relative name in target's folder. The
// attributes are searched as written (case respected). A picture named with
// ".." or an absolute path is left out; so are missing files.
QList<PageCopyItem> pageCopyPlan(const QString &source, const QString &target, bool ownPage,
                                 LinkResolver &resolver);

// How the copy went: the sources that now have a copy in another file, and the
// targets that could not be written.
struct PageCopyResult
{
    QStringList copied;
    QStringList failed;
};

// Carries out a plan. A target that is the source itself is left alone; a
// target holding the same bytes counts as copied; any other existing target is
// replaced only when overwrite(target) says yes.
PageCopyResult copyPageFiles(const QList<PageCopyItem> &plan, const std::function<bool(const QString &)> &overwrite,
                             const std::function<bool(const QString &, const QString &)> &copyFile);

// The files a move (a copy followed by deleting the original) may take away:
// those copied, lying in the page's folder, and not named by usedElsewhere
// (the files the folder's other pages link), the page and its companions always.
QStringList filesToRemoveAfterCopy(const PageCopyResult &result, const QString &source,
                                   const QStringList &usedElsewhere);
