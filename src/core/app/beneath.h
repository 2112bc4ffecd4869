#pragma once

#include <QByteArray>
#include <QList>
#include <QStringList>
#include <QString>

#include <sys/types.h>

class QFile;
struct stat;

// Every file of the data root is reached beneath the root's own descriptor,
// held open from the moment the program knows its root: the kernel walks each
// path from there and refuses any step out of it (a link, "..", a folder a peer
// swapped for a link an instant before), so that no name is judged first and
// opened after. Links that stay inside the root, relative or absolute, work.
// A path that is not named in the data root (the desktop, a temporary folder,
// before the root is known) is reached as it is named.
//
// Paths are the program's own: absolute, "/" separated. Each call reports a
// failure as the system call does (-1 or false, with errno); a step out of the
// root fails with EXDEV.
namespace Beneath {

// Opens path as open(2) does (O_CLOEXEC is added). O_NOFOLLOW, as there,
// refuses a link at the last step only.
int open(const QString &path, int flags, mode_t mode = 0666);
int open(const QByteArray &encodedPath, int flags, mode_t mode = 0666);

// Opens name in the open folder folder (AT_FDCWD: name is a path) as openat
// does. A name that is a link is followed beneath the data root: within the
// folder's own tree or anywhere else in the root, never out of it.
int openAt(int folder, const char *name, int flags, mode_t mode = 0666);

// An open folder (O_PATH) and a name in it: what the *at calls take. The
// folder is the path's folder reached beneath the root; the name is the last
// step, not yet followed.
class Parent
{
public:
    explicit Parent(const QString &path);
    ~Parent();
    Parent(const Parent &) = delete;
    Parent &operator=(const Parent &) = delete;
    bool isOpen() const { return m_fd >= 0; }
    int fd() const { return m_fd; }
    const char *name() const { return m_name.constData(); }
    const QByteArray &encodedName() const { return m_name; }

private:
    int m_fd = -1;
    QByteArray m_name;
};

// stat(2) (followLinks) or lstat(2) of path, beneath the root.
bool stat(const QString &path, struct stat *st, bool followLinks = true);
// Whether something stands at path (a dangling link counts).
bool exists(const QString &path);
bool isFile(const QString &path);
bool isFolder(const QString &path);

// Renames from to to. Without replace, what stands at to is never replaced
// (moveWithoutReplace).
bool rename(const QString &from, const QString &to, bool replace = false);
// Moves from to to and never replaces what stands at to, also on a network
// share, where a file takes its new name as a second name (which fails where
// one stands) and then loses its old one: a step repeated or arriving late
// does no harm. A stop between the two leaves both names (the rename's
// record settles them: namesOneFile).
bool moveWithoutReplace(const QString &from, const QString &to);
// Removes a file or a link (never what a link leads to).
bool remove(const QString &path);
bool makeFolder(const QString &path, mode_t mode = 0777);
bool removeFolder(const QString &path);

// Opens file on path beneath the root (mode as QFile takes it; WriteOnly
// without Append or NewOnly truncates, NewOnly never opens what stands).
// The QFile closes the descriptor.
bool openFile(QFile &file, const QString &path, int qtOpenMode);

// What a folder holds, listed through a descriptor opened beneath the root:
// every name but "." and ".." (and names that are not in the file-name
// encoding, which could not be opened by name), with what it is (DT_REG, DT_DIR, DT_LNK, ...;
// never followed). ok, when given, says whether the folder could be listed.
struct Entry
{
    QString name;
    unsigned char type = 0;
};
QList<Entry> list(const QString &folder, bool *ok = nullptr);
// The names of list() of that type (DT_DIR: the folders, links not followed).
QStringList names(const QString &folder, unsigned char type);

// The data root's descriptor (O_PATH), -1 before it is known.
int rootDescriptor();
// The path of path in the root ("." for the root itself), empty when path is
// not named in it.
QByteArray relativeToRoot(const QString &path);

} // namespace Beneath
