#include "core/present/marker.h"

#include "core/app/smallfile.h"
#include "core/app/wholefile.h"
#include "core/pages/picturefile.h"
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
    // A marker names one path: a few KB are plenty. Anything else another
    // computer left there is no marker we can use.
    constexpr qint64 MarkerLimit = 4096;
    const SmallFile file = readSmallFile(presentationMarkerPath(homeDir), MarkerLimit);
    switch (file.state) {
    case SmallFile::Absent:
        return {};
    case SmallFile::Refused:
        return {MarkerRead::Unreadable, {}};
    case SmallFile::Read:
        break;
    }
    return {MarkerRead::Read, decodePresentationMarker(file.bytes)};
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

    // The presenter's data root may bear another name (a Windows copy) and lie
    // anywhere: the longest tail of its path that names a file of ours is the
    // presented page. Tails that would climb out of our root are never tried.
    QStringList tails;
    for (qsizetype i = 0; i < parts.size(); ++i) {
        const QStringList rest = parts.mid(i);
        if (std::all_of(rest.begin(), rest.end(), isPlainName))
            tails << rest.join(u'/');
    }
    for (const QString &tail : std::as_const(tails)) {
        if (QFileInfo(homeDir + u'/' + tail).isFile() && staysInRoot(homeDir + u'/' + tail, homeDir))
            return homeDir + u'/' + tail;
    }
    // Windows peers spell names in any case.
    for (const QString &tail : std::as_const(tails)) {
        const QString found = findFileInFolder(homeDir, tail);
        if (!found.isEmpty())
            return found;
    }
    // Not even a link in the root may show a file from elsewhere.
    return staysInRoot(homeDir + u'/' + fileName, homeDir) ? homeDir + u'/' + fileName : QString();
}
