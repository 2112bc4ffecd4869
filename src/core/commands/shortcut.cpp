#include "core/commands/shortcut.h"

#include <QProcess>

using namespace Qt::StringLiterals;

QStringList desktopEntryCommand(const QString &entryText, const QString &file)
{
    QString exec;
    bool inEntry = false;
    for (const QString &raw : entryText.split(u'\n')) {
        const QString line = raw.trimmed();
        if (line.startsWith(u'['))
            inEntry = line == u"[Desktop Entry]"_s;
        else if (inEntry && line.startsWith(u"Exec="_s)) {
            exec = line.mid(5);
            break;
        }
    }
    const QStringList words = QProcess::splitCommand(exec);
    if (words.isEmpty())
        return {};

    static const QStringList fileCodes{u"%f"_s, u"%F"_s, u"%u"_s, u"%U"_s};
    QStringList command;
    bool placed = false;
    for (const QString &word : words) {
        if (fileCodes.contains(word)) {
            command << file;
            placed = true;
        } else if (word.size() == 2 && word.startsWith(u'%')) {
            continue; // %i, %c, %k and the deprecated codes carry nothing here
        } else {
            QString w = word;
            command << w.replace(u"%%"_s, u"%"_s);
        }
    }
    if (!placed && !file.isEmpty())
        command << file;
    return command;
}
