#include "core/editor/editortools.h"

#include "core/editor/editorstrings.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace EditorTools {

static QString fileNameOf(const QString &path)
{
    const qsizetype slash = std::max(path.lastIndexOf(u'/'), path.lastIndexOf(u'\\'));
    return path.mid(slash + 1);
}

QString headingDate(const QDate &date)
{
    return u" "_s + date.toString(u"yyyy'年'M'月'd'日'"_s);
}

QString stampDateIntoHeading(const QString &heading, const QDate &date)
{
    const QString stamp = headingDate(date);
    const qsizetype open = heading.indexOf(u'[');
    const qsizetype close = heading.indexOf(u']');
    if (open >= 0 && close > open)
        return heading.left(open + 1) + stamp + heading.mid(close);
    return u'[' + stamp + u']';
}

bool isDailyReportName(const QString &pagePath)
{
    return fileNameOf(pagePath).contains(u"日報"_s);
}

InitialTexts initialTexts(const QString &pagePath, const QString &title, const QDate &date)
{
    InitialTexts texts;
    QString suffix;
    if (isDailyReportName(pagePath)) {
        texts.framedText = EditorStrings::DailyInstructions;
        texts.text = EditorStrings::DailyNotices;
        suffix = date.toString(u"':'yyyy'/'M'/'d"_s);
    }
    const qsizetype colon = title.indexOf(u':');
    texts.title = (colon >= 0 ? title.left(colon) : title) + suffix;
    return texts;
}

int pageWidthFor(PageSize size, int mainWindowWidth, int toolColumnWidth)
{
    switch (size) {
    case PageSize::A4:
        return 686;
    case PageSize::B4:
        return 906;
    case PageSize::Fit:
        break;
    }
    return mainWindowWidth - toolColumnWidth;
}

QString editNotePath(const QString &pagePath)
{
    const qsizetype slash = std::max(pagePath.lastIndexOf(u'/'), pagePath.lastIndexOf(u'\\'));
    return pagePath.left(slash + 1) + EditorStrings::EditNoteFileName;
}

} // namespace EditorTools
