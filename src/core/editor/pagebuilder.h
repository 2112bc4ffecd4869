#pragma once

#include "core/editor/pagemodel.h"

#include <QDate>

struct PageBuild
{
    QString page;        // the page text (the source memo)
    QString archiveName; // Label3: " yyyy年MM月dd日" + file name, for a daily-report page; else ""
};

// Puts the page together from the model. A pure function of its arguments: the
// model is not changed, so building twice gives the same page. path is where the
// page will be saved ("" for the source view); it decides the daily-report title.
// Pictures are looked up in the folder of model.path (else of path); a picture that
// is not found there, or is a web address, keeps its IMG tag as it is.
PageBuild BuildPageFromFields(const PageModel &model, const QString &path, const QDate &today);

// The table grid of a model: "" when none of its 78 cells holds text.
QString BuildTableGrid(const PageModel &model);

// Builds and writes the page to path (UTF-8 with mark, CR LF, atomically).
// Returns false with errorString set when the file could not be written; the old
// file is then unchanged.
bool SavePageFile(const PageModel &model, const QString &path, const QDate &today, PageBuild *build = nullptr,
                  QString *errorString = nullptr);
