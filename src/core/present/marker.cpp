#include "core/present/marker.h"

#include "core/app/wholefile.h"
#include "core/present/presentstrings.h"

#include <algorithm>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringDecoder>

using namespace Qt::StringLiterals;

QString presentationMarkerPath(const QString &homeDir)
{
    return homeDir + u'/' + PresentText::markerFileName;
}

QByteArray encodePresentationMarker(const QString &localPath)
{
    QString windowsPath = localPath;
    windowsPath.replace(u'/', u'\\');
    return "\xEF\xBB\xBF" + windowsPath.toUtf8() + "\"\r\n";
}

QString decodePresentationMarker(const QByteArray &bytes)
{
    QByteArrayView view(bytes);
    if (view.startsWith("\xEF\xBB\xBF"))
        view = view.sliced(3);
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decoder(view);
    if (decoder.hasError())
        return {};
    const qsizetype quote = text.indexOf(u'"');
    if (quote < 0)
        return {};
    return text.left(quote);
}

bool writePresentationMarker(const QString &homeDir, const QString &localPath)
{
    return writeWholeFile(presentationMarkerPath(homeDir), encodePresentationMarker(localPath));
}

MarkerRead readPresentationMarker(const QString &homeDir)
{
    QFile file(presentationMarkerPath(homeDir));
    if (!file.exists())
        return {};
    if (!file.open(QIODevice::ReadOnly))
        return {MarkerRead::Unreadable, {}};
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return {MarkerRead::Unreadable, {}};
    return {MarkerRead::Read, decodePresentationMarker(bytes)};
}

static bool isPlainName(const QString &part)
{
    return !part.isEmpty() && part != "."_L1 && part != ".."_L1;
}

QString resolvePresentedPath(const QString &presenterPath, const QString &homeDir)
{
    static const QRegularExpression separators(u"[\\\\/]"_s);
    const QStringList parts = presenterPath.split(separators);
    const QString fileName = parts.last();
    if (!isPlainName(fileName))
        return {};

    // Windows peers spell folder names in any case. Every folder of the data
    // root's name is tried from the front, so that a sub-folder bearing the same
    // name does not hide the real place.
    const QString rootName = QFileInfo(homeDir).fileName();
    for (qsizetype i = 0; i + 1 < parts.size(); ++i) {
        if (parts[i].compare(rootName, Qt::CaseInsensitive) != 0)
            continue;
        const QStringList rest = parts.mid(i + 1);
        if (!std::all_of(rest.begin(), rest.end(), isPlainName))
            continue;
        const QString candidate = homeDir + u'/' + rest.join(u'/');
        if (QFileInfo(candidate).isFile())
            return candidate;
    }
    return homeDir + u'/' + fileName;
}
