#include "core/navigation/pagebuttontext.h"

#include "core/navigation/pagetitle.h"

using namespace Qt::StringLiterals;

ButtonTitle parseButtonTitle(const QString &stored)
{
    ButtonTitle title;
    QString text = unescapeAngles(stored);
    const qsizetype open = text.indexOf(u'"');
    const qsizetype close = open >= 0 ? text.indexOf(u'"', open + 1) : -1;
    if (close >= 0) {
        title.hasIcon = true;
        title.icon = text.mid(open + 1, close - open - 1);
        text = text.mid(close + 1);
    }
    const qsizetype question = text.indexOf(u'?');
    if (question >= 0) {
        title.hasHint = true;
        title.hint = text.mid(question + 1);
        text.truncate(question);
    }
    const qsizetype hash = text.indexOf(u'#');
    if (hash >= 0) {
        title.hasSecondLine = true;
        title.line2 = text.mid(hash + 1);
        text.truncate(hash);
    }
    title.line1 = text;
    return title;
}

QString PadButtonCaption(const QString &text, int indent)
{
    static const QString latinEnds = u"qwertyuiopasdfghjklzxcvbnmQWERTYUIOPASDFGHJKLZXCVBNM(1234567890"_s;
    const QString lead = QString(std::max(0, indent), u' ');
    const int length = int(text.size());
    if (!text.isEmpty() && latinEnds.contains(text.back()))
        return lead + text + QString(std::max(0, 2 * CaptionWidth - indent - length), u' ');
    return lead + text + QString(std::max(0, CaptionWidth - indent - length), QChar(0x3000));
}

QString buttonCaption(const ButtonTitle &title)
{
    if (!title.hasSecondLine)
        return PadButtonCaption(title.line1, 1);
    return PadButtonCaption(title.line1, 1) + u'\r' + PadButtonCaption(title.line2, 4);
}

QString buttonHint(const ButtonTitle &title, int index)
{
    const QString position = QString::number(index + 1);
    return title.hasHint ? position + u' ' + title.hint : position;
}

int pageButtonPitch(int height, int count)
{
    const int free = height - (count + 1) * 28;
    return free >= 1 ? 28 + free / (count + 1) : 28;
}

ButtonIcon buttonIconFor(const ButtonTitle &title, bool iconFileExists)
{
    if (!title.hasIcon)
        return ButtonIcon::None;
    if (iconFileExists)
        return ButtonIcon::IconFile;
    return title.icon.size() >= 2 ? ButtonIcon::ListPicture1 : ButtonIcon::ListPicture0;
}
