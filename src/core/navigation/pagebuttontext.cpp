#include "core/navigation/pagebuttontext.h"


using namespace Qt::StringLiterals;

QString PadButtonCaption(const QString &text, int indent)
{
    static const QString latinEnds = u"qwertyuiopasdfghjklzxcvbnmQWERTYUIOPASDFGHJKLZXCVBNM(1234567890"_s;
    const QString lead = QString(std::max(0, indent), u' ');
    const int length = int(text.size());
    if (!text.isEmpty() && latinEnds.contains(text.back()))
        return lead + text + QString(std::max(0, 2 * CaptionWidth - indent - length), u' ');
    return lead + text + QString(std::max(0, CaptionWidth - indent - length), QChar(0x3000));
}

QString buttonCaption(const TitleParts &title)
{
    if (!title.hasSecondLine)
        return PadButtonCaption(title.main, 1);
    return PadButtonCaption(title.main, 1) + u'\r' + PadButtonCaption(title.secondLine, 4);
}

QString buttonHint(const TitleParts &title, int index)
{
    const QString position = QString::number(index + 1);
    return title.hasHint ? position + u' ' + title.hint : position;
}

int pageButtonPitch(int height, int count)
{
    const int free = height - (count + 1) * 28;
    return free >= 1 ? 28 + free / (count + 1) : 28;
}

ButtonIcon buttonIconFor(const TitleParts &title, bool iconFileExists)
{
    if (title.iconPrefix.isEmpty())
        return ButtonIcon::None;
    if (iconFileExists)
        return ButtonIcon::IconFile;
    return title.iconName.size() >= 2 ? ButtonIcon::ListPicture1 : ButtonIcon::ListPicture0;
}
