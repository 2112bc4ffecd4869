#include "core/pages/titlesyntax.h"

#include "core/pages/markers.h"
#include "core/pages/pagetext.h"

#include <QFileInfo>

using namespace Qt::StringLiterals;

TitleParts splitTitle(const QString &title)
{
    TitleParts parts;
    QString rest = title;
    const qsizetype open = rest.indexOf(Markers::TitleIconQuote);
    if (open >= 0) {
        const qsizetype close = rest.indexOf(Markers::TitleIconQuote, open + 1);
        if (close >= 0) {
            parts.iconPrefix = rest.sliced(open, close - open + 1);
            parts.iconName = UnescapeAngles(rest.sliced(open + 1, close - open - 1));
            rest = rest.sliced(close + 1);
        }
    }
    const qsizetype hint = rest.indexOf(Markers::TitleHintMark);
    if (hint >= 0) {
        parts.hasHint = true;
        parts.hint = UnescapeAngles(rest.sliced(hint + 1));
        rest.truncate(hint);
    }
    const qsizetype second = rest.indexOf(Markers::TitleSecondLineMark);
    if (second >= 0) {
        parts.hasSecondLine = true;
        parts.secondLine = UnescapeAngles(rest.sliced(second + 1));
        rest.truncate(second);
    }
    parts.main = UnescapeAngles(rest);
    return parts;
}

QString trimRightControls(const QString &text)
{
    qsizetype end = text.size();
    while (end > 0 && text.at(end - 1).unicode() <= 32)
        --end;
    return text.first(end);
}

QString joinTitle(const QString &iconPrefix, const QString &main, const QString &secondLine, const QString &hint)
{
    QString title = iconPrefix;
    if (!main.isEmpty())
        title += EscapeAngles(trimRightControls(main));
    if (!secondLine.isEmpty())
        title += Markers::TitleSecondLineMark + EscapeAngles(trimRightControls(secondLine));
    if (!hint.isEmpty())
        title += Markers::TitleHintMark + EscapeAngles(hint);
    return title;
}

bool isDailyReportPath(const QString &path)
{
    return QFileInfo(path).fileName().contains(Markers::DailyReportWord) && path.contains(u".html"_s);
}

QString dailyReportTitle(const QString &main, const QString &hint, const QDate &date)
{
    const qsizetype colon = main.indexOf(u':');
    QString title = (colon >= 0 ? main.first(colon) : main) + date.toString(u"':'yyyy'/'M'/'d"_s);
    if (!hint.isEmpty())
        title += Markers::TitleHintMark + EscapeAngles(hint);
    return title;
}
