#pragma once

#include <QDateTime>
#include <QString>

// Each running copy prints through a folder of its own inside the shared print
// folder, so that copies on several PCs printing at once never overwrite one
// another's print pages and thumbnails (their names are fixed).

// The folder's name for a copy: the host name (letters, digits, "-", "_" and
// "." kept, anything else "_") and the process number.
QString printFolderName(const QString &hostName, qint64 processId);

// Removes the print folders that copies of this host left when they were killed:
// their process no longer runs here and nothing in them changed for a day
// before now. Imaged PCs often share a host name, so a folder whose process
// number runs nowhere here may still belong to a copy on another PC.
void removeStalePrintFolders(const QString &resumeDir, const QString &hostName,
                             const QDateTime &now = QDateTime::currentDateTime());

// The copy's own print folder; removed with everything in it when it goes.
class PrintFolder
{
public:
    PrintFolder(const QString &resumeDir, const QString &name);
    ~PrintFolder();
    PrintFolder(const PrintFolder &) = delete;
    PrintFolder &operator=(const PrintFolder &) = delete;

    QString path() const { return m_path; }
    // Creates the folder (and the print folder above it) when missing.
    bool make() const;

private:
    QString m_path;
};
