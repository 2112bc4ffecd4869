#include "core/present/printfolder.h"

#include "core/app/localprocess.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>

using namespace Qt::StringLiterals;

QString printFolderName(const QString &hostName, qint64 processId)
{
    QString host = hostName;
    for (QChar &c : host) {
        const bool kept = (c.unicode() < 128 && c.isLetterOrNumber()) || c == u'-' || c == u'_' || c == u'.';
        if (!kept)
            c = u'_';
    }
    // Never a hidden folder, nor one without a name.
    if (host.isEmpty() || host.startsWith(u'.'))
        host.prepend(u"pc"_s);
    return host + u'_' + QString::number(processId);
}

// The last change to a folder or to anything in it.
static QDateTime lastChange(const QString &folder)
{
    QDateTime last = QFileInfo(folder).lastModified();
    QDirIterator it(folder, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        last = qMax(last, it.fileInfo().lastModified());
    }
    return last;
}

void removeStalePrintFolders(const QString &resumeDir, const QString &hostName, const QDateTime &now)
{
    const QString prefix = printFolderName(hostName, 0).chopped(1);
    const QDir resume(resumeDir);
    for (const QString &name : resume.entryList({prefix + u'*'}, QDir::Dirs | QDir::NoDotAndDotDot | QDir::NoSymLinks)) {
        bool ok = false;
        const qint64 pid = name.mid(prefix.size()).toLongLong(&ok);
        const QString folder = resume.filePath(name);
        if (ok && !isLocalProcessRunning(pid) && lastChange(folder).addDays(1) < now)
            QDir(folder).removeRecursively();
    }
}

PrintFolder::PrintFolder(const QString &resumeDir, const QString &name)
    : m_path(resumeDir + u'/' + name)
{
}

PrintFolder::~PrintFolder()
{
    QDir folder(m_path);
    if (folder.exists())
        folder.removeRecursively();
}

bool PrintFolder::make() const
{
    return QDir().mkpath(m_path);
}
