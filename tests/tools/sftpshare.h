#pragma once

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>
namespace SftpShares {
using namespace Qt::StringLiterals;

// A network share made on this machine without any server: sshfs connects straight to
// a loopback port, where the test hands the connection to an sftp-server of its own,
// and mounts the folder it serves. Network file systems are where temporary files get
// names.
class SftpShare
{
public:
    // Serves exported, or a folder of its own when none is given: two shares
    // of one folder are two PCs that mount the same server.
    explicit SftpShare(const QString &exported = {})
        : m_exported(exported.isEmpty() ? m_temp.path() + u"/export"_s : exported)
    {
    }
    ~SftpShare() { stop(); }

    // Empty when the mount stands; else why it cannot be made here.
    QString start()
    {
        const QString sftpServer = u"/usr/lib/openssh/sftp-server"_s;
        const QString sshfs = QStandardPaths::findExecutable(u"sshfs"_s);
        if (!QFileInfo(sftpServer).isExecutable() || sshfs.isEmpty())
            return u"sshfs or sftp-server (openssh-sftp-server) is not installed"_s;
        const int fuse = ::open("/dev/fuse", O_RDWR | O_CLOEXEC);
        if (fuse < 0)
            return u"FUSE is not available here (/dev/fuse cannot be opened)"_s;
        ::close(fuse);
        const int listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (listener < 0 || ::bind(listener, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0
            || ::listen(listener, 1) != 0 || ::getsockname(listener, reinterpret_cast<sockaddr *>(&address), &length) != 0) {
            if (listener >= 0)
                ::close(listener);
            return u"no loopback port to serve the share on"_s;
        }
        const QString exported = m_exported;
        QDir().mkpath(exported);
        QDir().mkpath(m_mount);
        // In the foreground, so that it stays this test's child until the unmount.
        m_sshfs.setProcessChannelMode(QProcess::ForwardedChannels);
        m_sshfs.start(sshfs, {u"-f"_s, u"-o"_s, u"directport="_s + QString::number(ntohs(address.sin_port)),
                              u"127.0.0.1:"_s + exported, m_mount});
        // sshfs connects at once, or has ended with its reason on the test's output.
        pollfd waiting{listener, POLLIN, 0};
        int ready = 0;
        for (int attempt = 0; attempt < 300 && ready == 0 && !m_sshfs.waitForFinished(0); ++attempt)
            ready = ::poll(&waiting, 1, 100);
        const int connection = ready == 1 ? ::accept4(listener, nullptr, nullptr, SOCK_CLOEXEC) : -1;
        ::close(listener);
        if (connection < 0)
            return u"sshfs did not connect"_s;
        // As an ssh connection would be: without it every small reply waits for
        // the peer's delayed acknowledgement, some 40 ms a request.
        const int noDelay = 1;
        ::setsockopt(connection, IPPROTO_TCP, TCP_NODELAY, &noDelay, sizeof noDelay);
        // The server speaks on the connection as on a pipe from sshd.
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, connection, STDIN_FILENO);
        posix_spawn_file_actions_adddup2(&actions, connection, STDOUT_FILENO);
        const QByteArray program = QFile::encodeName(sftpServer);
        char *const argv[] = {const_cast<char *>(program.constData()), nullptr};
        const int spawned = posix_spawn(&m_server, program.constData(), &actions, nullptr, argv, environ);
        posix_spawn_file_actions_destroy(&actions);
        ::close(connection);
        if (spawned != 0) {
            m_server = 0;
            return u"sftp-server did not start"_s;
        }
        for (int attempt = 0; attempt < 300 && !mounted() && m_sshfs.state() == QProcess::Running; ++attempt)
            QTest::qWait(100);
        return mounted() ? QString() : u"the sshfs mount failed"_s;
    }

    QString folder() const { return m_mount; }

private:
    bool mounted() const
    {
        QFile mounts(u"/proc/mounts"_s);
        return mounts.open(QIODevice::ReadOnly) && mounts.readAll().contains(QByteArray(" " + m_mount.toUtf8() + " fuse.sshfs"));
    }
    void stop()
    {
        // The unmount ends sshfs, and with the connection the server.
        if (mounted())
            QProcess::execute(u"fusermount3"_s, {u"-u"_s, m_mount});
        if (m_sshfs.state() != QProcess::NotRunning && !m_sshfs.waitForFinished(10000)) {
            m_sshfs.kill();
            m_sshfs.waitForFinished();
        }
        if (m_server > 0) {
            ::kill(m_server, SIGTERM);
            ::waitpid(m_server, nullptr, 0);
        }
    }

    QTemporaryDir m_temp;
    QString m_exported;
    QString m_mount = m_temp.path() + u"/mnt"_s;
    QProcess m_sshfs;
    pid_t m_server = 0;
};

} // namespace SftpShares
using SftpShares::SftpShare;
