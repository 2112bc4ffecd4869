#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// Finds the folders of the data root where a rename left its record (a
// program closed or killed before the rename was whole), so that they are
// finished without waiting for someone to open them. Every PC walks at its
// start: no list of records is kept anywhere, so a record any copy left,
// whatever it knows, is found. Only names are read, folder by folder beneath
// the root, never through a link and never into a hidden folder; no file is
// opened. One folder per step, so that a caller may put the walk aside.
class RenameRecordWalk
{
public:
    explicit RenameRecordWalk(const QString &root);

    // Reads the next folder; false once every folder was read.
    bool step();
    bool done() const { return m_toRead.isEmpty(); }
    // The folders found with a record since the last call.
    QStringList takeFound();

    // Deeper folders are not read: no level is that deep, and a path that
    // long is refused by the system before.
    static constexpr int MaxDepth = 32;

private:
    struct Folder
    {
        QString path;
        int depth = 0;
    };
    QList<Folder> m_toRead;
    QStringList m_found;
    QByteArray m_recordName;
};
