#include "core/tools/picturerename.h"

#include "core/app/filerename.h"
#include "core/app/smallfile.h"
#include "core/app/wholefile.h"
#include "core/navigation/pagelist.h"
#include "core/navigation/pathtext.h"
#include "core/pages/pagefile.h"

#include <QDir>
#include <QFile>
#include <QSet>

using namespace Qt::StringLiterals;

bool isPictureName(const QString &path)
{
    const QString extension = fileExtension(path).toLower();
    return extension.size() > 1 && u".jpeg.jpg.gif.png"_s.contains(extension);
}

QString picturePrefix(const QString &fieldText)
{
    return fileNameOf(fieldText.trimmed()).trimmed();
}

static QString folderOf(const QString &path)
{
    return path.left(path.lastIndexOf(u'/'));
}

QString freePictureName(const QString &picture, const QString &prefix)
{
    const QString folder = folderOf(picture);
    QSet<QString> taken;
    const QStringList names = QDir(folder).entryList(QDir::Files | QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot);
    for (const QString &name : names)
        taken.insert(name.toCaseFolded());
    const QString extension = fileExtension(picture);
    for (int n = 0;; ++n) {
        const QString name = prefix + QString::number(n) + extension;
        if (!taken.contains(name.toCaseFolded()))
            return folder + u'/' + name;
    }
}

QString replacePictureName(const QString &text, const QString &pageFolder, const QString &oldPath,
                           const QString &newName, const LinkResolver &resolver)
{
    QList<QuotedValue> values = quotedValues(text, u"=\""_s, Qt::CaseSensitive);
    values << quotedValues(text, u"<TITLE>\""_s, Qt::CaseInsensitive);
    std::sort(values.begin(), values.end(), [](const QuotedValue &a, const QuotedValue &b) { return a.start > b.start; });
    const QString oldKey = pathKey(oldPath);
    QString result = text;
    for (const QuotedValue &value : std::as_const(values)) {
        if (pathKey(resolver.pathOf(pageFolder, value.text)) != oldKey)
            continue;
        const qsizetype cut = std::max(value.text.lastIndexOf(u'/'), value.text.lastIndexOf(u'\\'));
        result.replace(value.start, value.length, value.text.left(cut + 1) + newName);
    }
    return result;
}

static bool isPageName(const QString &path)
{
    const QString extension = fileExtension(path).toLower();
    return extension == u".html"_s || extension == u".htm"_s;
}

// The pages that may name a picture of folder: the folder's own and the selected ones.
static QStringList pagesToFix(const QString &folder, const QStringList &selected)
{
    QStringList pages;
    QSet<QString> seen;
    const QStringList names = listPlainFiles(folder);
    for (const QString &name : names)
        if (isPageName(name))
            pages << folder + u'/' + name;
    for (const QString &path : selected)
        if (isPageName(path))
            pages << path;
    QStringList unique;
    for (const QString &page : std::as_const(pages))
        if (!seen.contains(pathKey(page))) {
            seen.insert(pathKey(page));
            unique << page;
        }
    return unique;
}

static void fixPages(PictureRenameOutcome &outcome, const QStringList &pages, const QString &oldPath,
                     const QString &newPath, const LinkResolver &resolver)
{
    const QString newName = fileNameOf(newPath);
    for (const QString &page : pages) {
        const std::optional<QByteArray> pageBytes = readTextFile(page);
        if (!pageBytes)
            continue;
        const QByteArray &bytes = *pageBytes;
        const PageText read = decodePageUtf8(bytes);
        if (!read.ok()) {
            const PageText legacy = decodePageLegacy(bytes);
            if (legacy.ok() && replacePictureName(legacy.text, folderOf(page), oldPath, newName, resolver) != legacy.text
                && !outcome.pagesLeftAlone.contains(page))
                outcome.pagesLeftAlone << page;
            continue;
        }
        const QString fixed = replacePictureName(read.text, folderOf(page), oldPath, newName, resolver);
        if (fixed == read.text)
            continue;
        if (!writeWholeFile(page, QByteArray("\xEF\xBB\xBF") + fixed.toUtf8()))
            outcome.pagesNotWritten << page;
    }
}

PictureRenameOutcome renamePictures(const QStringList &selected, const QString &prefix, LinkResolver &resolver)
{
    PictureRenameOutcome outcome;
    for (const QString &picture : selected) {
        if (!isPictureName(picture))
            continue;
        const QString newPath = freePictureName(picture, prefix);
        if (!renameWithoutReplace(picture, newPath)) {
            outcome.failed = picture;
            break;
        }
        outcome.renamed << qMakePair(picture, newPath);
        fixPages(outcome, pagesToFix(folderOf(picture), selected), picture, newPath, resolver);
    }
    return outcome;
}
