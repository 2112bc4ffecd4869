#pragma once

#include "core/editor/pagemodel.h"

#include <QStringList>

// The fields of a model as "name=value" lines, so that a failed comparison shows
// which field differs.
inline QStringList fieldLines(const PageModel &m)
{
    const auto b = [](bool v) { return v ? QStringLiteral("1") : QStringLiteral("0"); };
    QStringList lines = {
        QStringLiteral("icon=") + m.TitleIconPrefix,
        QStringLiteral("title=") + m.title,
        QStringLiteral("second=") + m.titleSecondLine,
        QStringLiteral("hint=") + m.titleHint,
        QStringLiteral("h1tag=") + m.headingTag,
        QStringLiteral("h1=") + m.heading,
        QStringLiteral("h2tag=") + m.subheadingTag,
        QStringLiteral("h2=") + m.subheading,
        QStringLiteral("pictureParagraph=") + m.pictureParagraphTag,
        QStringLiteral("picture=") + m.pictureTag,
        QStringLiteral("pictureName=") + m.pictureName,
        QStringLiteral("size=") + m.pictureWidth + QStringLiteral("x") + m.pictureHeight,
        QStringLiteral("present=") + b(m.picturePresent),
        QStringLiteral("link=") + m.linkTarget,
        QStringLiteral("linkText=") + m.linkText,
        QStringLiteral("ptag=") + m.paragraphTag,
        QStringLiteral("text=") + m.text,
        QStringLiteral("style=") + QString::number(m.style),
        QStringLiteral("width=") + QString::number(m.pageWidth),
        QStringLiteral("sizeTag=") + m.PageSizeTag,
        QStringLiteral("quiz=") + b(m.quiz) + b(m.answer),
        QStringLiteral("beforeH1=") + m.PageBeforeH1,
        QStringLiteral("beforeH2=") + m.PageBeforeH2,
        QStringLiteral("beforeTable=") + m.PageBeforeTable,
        QStringLiteral("beforePicture=") + m.PageBeforePicture,
        QStringLiteral("beforeText=") + m.PageBeforeText,
        QStringLiteral("noteRest=") + m.PageNoteRest,
    };
    for (int i = 0; i < PageModel::CellCount; ++i) {
        if (!m.cells[i].isEmpty())
            lines << QStringLiteral("Memo%1=").arg(PageModel::cellMemoNumber(i)) + m.cells[i];
    }
    return lines;
}
