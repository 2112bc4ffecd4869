#pragma once

#include <QString>

namespace EditorPicture {

// A plain file name: no folder part, no "..", no drive or web address.
bool isPlainFileName(const QString &name);

// The file of that plain name in folder: the exact name first, then one that
// differs only in case. Empty when there is none or the name is not plain.
QString findInFolder(const QString &folder, const QString &name);

// Sets (or with an empty attr removes the align attribute of) the first tag of text.
QString setTagAttr(const QString &tag, const QString &attr);

// The value of the first src attribute, case kept; empty when there is none.
QString extractSrc(const QString &tag);

} // namespace EditorPicture
