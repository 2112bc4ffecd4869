#include "core/navigation/pagetitle.h"

#include "core/navigation/navigationtexts.h"
#include "core/navigation/pathtext.h"

#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>

using namespace Qt::StringLiterals;
using namespace NavigationTexts;

QString fileNameTitle(const QString &entry)
{
    QString name = fileNameOf(entry);
    const qsizetype dot = name.lastIndexOf(u'.');
    if (dot >= 0)
        name.truncate(dot);
    return name.mid(name.indexOf(u'_') + 1);
}

static bool isHtmlName(const QString &path)
{
    return fileNameOf(path).contains(u".ht"_s, Qt::CaseInsensitive);
}

static QString unescapeAngles(QString s)
{
    return s.replace(u"&lt;"_s, u"<"_s).replace(u"&gt;"_s, u">"_s);
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

    QStringDecoder cp932("CP932", QStringDecoder::Flag::Stateless);
    if (!cp932.isValid())
        return text;
    QString legacy = cp932(bytes);
    const qsizetype at = legacy.indexOf(ShiftJisName, 0, Qt::CaseInsensitive);
    if (cp932.hasError() || at < 0)
        return text;

    legacy.replace(at, ShiftJisName.size(), Utf8Name);
    QSaveFile out(path);
    bool written = out.open(QIODevice::WriteOnly);
    written = written && out.write(utf8Bom) == utf8Bom.size();
    const QByteArray converted = legacy.toUtf8();
    written = written && out.write(converted) == converted.size();
    written = written && out.commit();
    if (conversion)
        *conversion = written ? PageConversion::Converted : PageConversion::WriteFailed;
    return legacy;
}

QString listingTitle(const QString &path)
{
    const QString text = isHtmlName(path) ? readPageText(path) : QString();
    const qsizetype p = text.indexOf(TitleOpen, 0, Qt::CaseInsensitive);
    const qsizetype q = text.indexOf(TitleClose, 0, Qt::CaseInsensitive);
    if (p >= 0 && q >= 0 && q - p > TitleOpen.size() && text.contains(OwnPageDoctype))
        return unescapeAngles(text.mid(p + TitleOpen.size(), q - p - TitleOpen.size()));
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
    const qsizetype p = text.indexOf(TitleOpen);
    if (p < 0 || !text.contains(OwnPageDoctype))
        return fileNameTitle(path);
    const qsizetype q = text.indexOf(TitleClose);
    const qsizetype length = q - p - TitleOpen.size();
    return length > 0 ? text.mid(p + TitleOpen.size(), length) : QString();
}
