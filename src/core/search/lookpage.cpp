#include "core/search/lookpage.h"

#include "core/pages/markers.h"
#include "core/pages/pagefile.h"
#include "core/pages/pagetext.h"
#include "core/search/fileversion.h"

LookPageResult rewriteLookLinks(const QString &path, const std::function<QString(const QString &text)> &build)
{
    QByteArray bytes;
    if (!readFileBytes(path, bytes))
        return LookPageResult::Unreadable;
    // The mark is ASCII: a file without it is no page of ours, whatever its encoding.
    if (!bytes.contains(Markers::OwnPageMark.toUtf8()))
        return LookPageResult::NotOwnPage;
    const PageText page = decodePageUtf8(bytes);
    if (!page.ok())
        return LookPageResult::Undecodable;
    return writePageFile(path, build(page.text)) ? LookPageResult::Written : LookPageResult::WriteFailed;
}
