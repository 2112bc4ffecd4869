#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QFile>
#include <QString>

#include <memory>

namespace Beneath {
class Parent;
}

// A file written whole or not at all. The bytes go to a hidden temporary file in the
// target's folder ("." + name + "." + host and boot + "." + process + ".tmp", so that no page
// list shows it; when a peer planted a folder under that name, the process number takes a
// random tail), which is flushed to the disk and then renamed over the target.
// Unlike QSaveFile this names its temporary file the same way on every file system
// (network shares included), and a temporary file that a crashed writer left behind
// is removed by the next write into the same folder. The temporary file
// is always made new (never an existing file or a link planted under its name), and
// only that very file is renamed over the target. A target that is a symbolic link
// is refused (a write never turns a link into a plain file). The target's folder
// is opened once, beneath the data root (a folder that leads out of it is
// refused), and every step is made in that folder: a peer who swaps the
// folder for a link meanwhile leads nothing out.
class AtomicFile
{
public:
    explicit AtomicFile(const QString &target);
    ~AtomicFile();
    AtomicFile(const AtomicFile &) = delete;
    AtomicFile &operator=(const AtomicFile &) = delete;

    bool open();
    bool write(const char *data, qint64 size);
    bool write(const QByteArray &bytes) { return write(bytes.constData(), bytes.size()); }
    // For writers that fill in a header once the rest is written.
    bool seek(qint64 position);
    // Stamps the file as written last at when (a copy keeps its source's time).
    bool setModificationTime(const QDateTime &when);
    qint64 size() const { return m_temp.isOpen() ? m_temp.size() : 0; }
    // Replaces the target; false (and the target untouched) when anything failed.
    bool commit();
    void cancel();
    QString errorString() const { return m_error; }
    QString temporaryName() const { return m_tempPath; }

    // The hidden temporary names of a target all start with this.
    static QString temporaryPrefix(const QString &target);
    // The host part of those names: host name and boot of this machine.
    static QString thisHostTag();
    // Whether a file name is one of these temporaries (of any target, host or process).
    static bool isTemporaryName(const QString &fileName);

private:
    bool openFolder();
    bool targetRefused();
    void removeStaleTemporaries() const;
    bool createTemporary();
    bool stillOurs() const;
    bool fail(const QString &why);

    QString m_target;
    // The target's folder, reached beneath the data root once: every later
    // step (the temporary, the rename, the clean-up) is made in that very folder.
    std::unique_ptr<Beneath::Parent> m_folder;
    QByteArray m_tempName;
    QString m_tempPath;
    QFile m_temp;
    QString m_error;
    bool m_failed = false;
    quint64 m_device = 0;
    quint64 m_inode = 0;
};
