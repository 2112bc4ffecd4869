#pragma once

#include <QByteArray>
#include <QString>

// The stamp of a file as the system keeps it: a changed file has another one.
struct FileVersion
{
    qint64 modifiedNs = -1;
    qint64 size = -1;
    qint64 links = -1; // names the file has (a change through another is not seen in this folder)
    bool operator==(const FileVersion &other) const = default;
};

// Reads a whole page as every text is read (readRegularFileAt): a regular
// file of at most WholeTextLimit bytes, opened without waiting. False when it
// cannot be read (missing, a folder, a FIFO or a device, too large, no permission).
bool readFileBytes(const QString &path, QByteArray &bytes, FileVersion *stamp = nullptr);

// The file's stamp without opening it; an invalid stamp when it is missing.
FileVersion fileVersion(const QString &path);

// The same, for a name relative to an open folder (a descriptor): the system
// then looks up only the name, not the whole path again.
bool readFileBytesAt(int folder, const char *name, QByteArray &bytes, FileVersion *stamp = nullptr);
FileVersion fileVersionAt(int folder, const char *name);

// A folder held open for the calls above; invalid (-1) when it cannot be
// opened. Never follows a symbolic link below the folder it starts from.
class FolderHandle
{
public:
    FolderHandle() = default;
    explicit FolderHandle(const QString &path);
    FolderHandle(int parent, const char *name);
    ~FolderHandle();
    FolderHandle(FolderHandle &&other) noexcept : m_fd(other.m_fd) { other.m_fd = -1; }
    FolderHandle &operator=(FolderHandle &&other) noexcept;
    FolderHandle(const FolderHandle &) = delete;
    FolderHandle &operator=(const FolderHandle &) = delete;
    int fd() const { return m_fd; }
    bool isValid() const { return m_fd >= 0; }

private:
    int m_fd = -1;
};
