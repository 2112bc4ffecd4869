#include "core/editor/editorpicture.h"

#include <QDir>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace EditorPicture {

bool isPlainFileName(const QString &name)
{
    return !name.isEmpty() && name != u"."_s && name != u".."_s && !name.contains(u'/') && !name.contains(u'\\')
           && !name.contains(u':');
}

QString findInFolder(const QString &folder, const QString &name)
{
    if (!isPlainFileName(name))
        return {};
    const QDir dir(folder);
    const QString exact = dir.filePath(name);
    if (QFileInfo(exact).isFile())
        return exact;
    const QStringList entries = dir.entryList(QDir::Files | QDir::Hidden);
    for (const QString &entry : entries) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return dir.filePath(entry);
    }
    return {};
}

QString setTagAttr(const QString &tag, const QString &attr)
{
    const qsizetype close = tag.indexOf(u'>');
    if (close < 0)
        return {};
    if (attr.isEmpty()) {
        QString head = tag.left(close);
        const qsizetype align = head.indexOf(u"align="_s, 0, Qt::CaseInsensitive);
        if (align >= 0)
            head.truncate(align);
        while (!head.isEmpty() && head.back() == u' ')
            head.chop(1);
        return head + tag.mid(close);
    }
    const qsizetype equals = attr.indexOf(u'=');
    const QString name = attr.left(equals);
    const QString value = attr.mid(equals + 1);
    const qsizetype at = tag.left(close).indexOf(u' ' + name + u'=', 0, Qt::CaseInsensitive);
    if (at >= 0) {
        const qsizetype valueStart = at + 1 + name.size() + 1;
        qsizetype valueEnd = valueStart;
        if (valueStart < tag.size() && tag.at(valueStart) == u'"') {
            const qsizetype closing = tag.indexOf(u'"', valueStart + 1);
            valueEnd = closing < 0 ? close : closing + 1;
        } else {
            while (valueEnd < close && tag.at(valueEnd) != u' ')
                ++valueEnd;
        }
        return tag.left(valueStart) + value + tag.mid(valueEnd);
    }
    QString head = tag.left(close);
    while (!head.isEmpty() && head.back() == u' ')
        head.chop(1);
    return head + u' ' + attr + tag.mid(close);
}

QString extractSrc(const QString &tag)
{
    const qsizetype src = tag.indexOf(u"src="_s, 0, Qt::CaseInsensitive);
    if (src < 0)
        return {};
    const qsizetype start = src + 5;
    const qsizetype end = tag.indexOf(u'"', start);
    return end < 0 ? QString() : tag.mid(start, end - start);
}

} // namespace EditorPicture
