#include "core/navigation/pagetitle.h"

#include "core/app/wholefile.h"
#include "core/navigation/navigationtexts.h"
#include "core/navigation/pathtext.h"
#include "core/pages/markers.h"
#include "core/pages/pagefile.h"
#include "core/pages/pagetext.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

using namespace Qt::StringLiterals;
using namespace NavigationTexts;

QString fileNameTitle(const QString &entry)
{
    const QString name = pathWithoutExtension(fileNameOf(entry));
    return name.mid(name.indexOf(u'_') + 1);
}

static bool isHtmlName(const QString &path)
{
    return fileNameOf(path).contains(u".ht"_s, Qt::CaseInsensitive);
}

static const QByteArray utf8Bom("\xEF\xBB\xBF");

QString readPageText(const QString &path, PageConversion *conversion)
{
    if (conversion)
        *conversion = PageConversion::NotNeeded;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = file.readAll();
    file.close();

    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8(bytes);
    if (bytes.startsWith(utf8Bom) || !utf8.hasError())
        return text;

    const PageText legacyPage = decodePageLegacy(bytes);
    if (!legacyPage.ok())
        return text;
    QString legacy = legacyPage.text;
    const qsizetype at = legacy.indexOf(ShiftJisName, 0, Qt::CaseInsensitive);
    if (at < 0)
        return text;

    legacy.replace(at, ShiftJisName.size(), Utf8Name);
    const bool written = writeWholeFile(path, utf8Bom + legacy.toUtf8());
    if (conversion)
        *conversion = written ? PageConversion::Converted : PageConversion::WriteFailed;
    return legacy;
}

QString listingTitle(const QString &path)
{
    const QString text = isHtmlName(path) ? readPageText(path) : QString();
    const qsizetype p = text.indexOf(Markers::TitleStart, 0, Qt::CaseInsensitive);
    const qsizetype q = text.indexOf(Markers::TitleEnd, 0, Qt::CaseInsensitive);
    if (p >= 0 && q >= 0 && q - p > Markers::TitleStart.size() && text.contains(Markers::OwnPageMark))
        return UnescapeAngles(text.mid(p + Markers::TitleStart.size(), q - p - Markers::TitleStart.size()));
    return fileNameTitle(path);
}

QString reloadedTitle(const QString &path)
{
    QString text;
    if (isHtmlName(path)) {
        QFile file(path);
        if (file.open(QIODevice::ReadOnly))
            text = QString::fromUtf8(file.readAll());
    }
    const qsizetype p = text.indexOf(Markers::TitleStart);
    if (p < 0 || !text.contains(Markers::OwnPageMark))
        return fileNameTitle(path);
    const qsizetype q = text.indexOf(Markers::TitleEnd);
    const qsizetype length = q - p - Markers::TitleStart.size();
    return length > 0 ? text.mid(p + Markers::TitleStart.size(), length) : QString();
}

QString refreshedButtonTitle(const QString &path, const QString &storedTitle)
{
    if (!QFileInfo::exists(path) || !isHtmlName(path))
        return UnescapeAngles(storedTitle);
    QFile file(path);
    const QString text = file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    const qsizetype open = text.indexOf(u"<TITLE"_s, 0, Qt::CaseInsensitive);
    if (open < 0 || !text.contains(Markers::OwnPageMark))
        return fileNameTitle(path);
    const qsizetype start = text.indexOf(u'>', open);
    const qsizetype end = start < 0 ? -1 : text.indexOf(u"</TITLE"_s, start, Qt::CaseInsensitive);
    const QString title = end < 0 ? QString() : text.mid(start + 1, end - start - 1);
    return title.isEmpty() ? fileNameTitle(path) : title;
}
