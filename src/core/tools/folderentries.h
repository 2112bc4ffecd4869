#pragma once

#include <QString>
#include <QStringList>

// Every entry of a folder (files, folders, links, hidden names), the folder
// reached beneath the data root and read in one pass, unsorted; ok false when
// it cannot be read. A name that cannot be opened by name is left out.
QStringList folderEntries(const QString &folder, bool *ok = nullptr);
