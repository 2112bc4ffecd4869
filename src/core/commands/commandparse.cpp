#include "core/commands/commandparse.h"

#include "core/commands/commandtexts.h"

#include <QDir>

using namespace Qt::StringLiterals;

QStringList tokenizeCommand(const QString &text)
{
    QStringList tokens;
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n) {
        if (text.at(i) == u' ') {
            ++i;
            continue;
        }
        if (text.at(i) == u'"') {
            const qsizetype close = text.indexOf(u'"', i + 1);
            const qsizetype end = close < 0 ? n : close;
            if (end > i + 1)
                tokens << text.mid(i + 1, end - i - 1);
            i = end + 1;
            continue;
        }
        qsizetype end = text.indexOf(u' ', i);
        if (end < 0)
            end = n;
        tokens << text.mid(i, end - i);
        i = end;
    }
    return tokens;
}

ParsedCommand parseCommand(const QString &command, const QString &desktopFolder)
{
    ParsedCommand parsed;
    parsed.text = command;
    QString desktop = desktopFolder;
    while (desktop.size() > 1 && desktop.endsWith(u'/'))
        desktop.chop(1);
    parsed.text.replace(CommandTexts::Desktop, desktop);

    const qsizetype blank = parsed.text.indexOf(u' ');
    parsed.rest = blank < 0 ? QString() : parsed.text.mid(blank + 1);
    if (parsed.rest.startsWith(u'$'))
        parsed.rest.replace(u'$', u'\\');

    parsed.tokens = tokenizeCommand(parsed.text);
    if (!parsed.tokens.isEmpty())
        parsed.word = parsed.tokens.first();
    return parsed;
}

static QString baseNameOfEntry(const QString &entry)
{
    QString name = entry.mid(entry.lastIndexOf(u'/') + 1);
    name = name.mid(qMax(name.lastIndexOf(u'\\'), name.lastIndexOf(u':')) + 1);
    const qsizetype dot = name.lastIndexOf(u'.');
    return dot < 0 ? name : name.left(dot);
}

int findPageByName(const QStringList &entries, const QString &name)
{
    const QString wanted = u'_' + name + u'/';
    for (int i = 0; i < entries.size(); ++i) {
        if (QString(u'_' + baseNameOfEntry(entries.at(i)) + u'/').contains(wanted))
            return i;
    }
    return -1;
}

QString toSlashes(const QString &path)
{
    QString result = path;
    result.replace(u'\\', u'/');
    return result;
}

bool hasNoExtension(const QString &name)
{
    const qsizetype separator = qMax(qMax(name.lastIndexOf(u'\\'), name.lastIndexOf(u'/')), name.lastIndexOf(u':'));
    return name.indexOf(u'.', separator + 1) < 0;
}

bool leavesByDotDot(const QString &name)
{
    return toSlashes(name).split(u'/').contains(u".."_s);
}

bool staysInFolder(const QString &name)
{
    const QString path = toSlashes(name);
    if (path.startsWith(u'/') || path.contains(u':'))
        return false;
    return !leavesByDotDot(path);
}

static bool isAbsoluteCommandPath(const QString &path)
{
    // A drive ("C:") or network ("\\server") path of a Windows peer counts as
    // absolute too: it names no file here, but never one inside our folders.
    return path.startsWith(u'/') || path.startsWith(u'\\') || path.contains(u':');
}

QString dirCommandFolder(const QString &rest, const QString &curDir, const QString &homeDir)
{
    if (rest.isEmpty())
        return homeDir;
    const QString path = toSlashes(rest);
    if (path.startsWith(u'/') || (path.size() > 1 && path.at(1) == u':'))
        return path;
    if (path.startsWith(u'.'))
        return QDir::cleanPath(curDir + u'/' + path.mid(1));
    return QDir::cleanPath(homeDir + u'/' + path);
}

QString commandFilePath(const QString &name, const QString &curDir)
{
    if (isAbsoluteCommandPath(name))
        return toSlashes(name);
    const QString relative = name.startsWith(u'.') ? name.mid(1) : name;
    return curDir + u'/' + toSlashes(relative);
}

QString downloadAddress(const QString &source)
{
    return CommandTexts::WebScheme + toSlashes(source);
}

static QString companionPath(const QString &name, const QString &curDir, const QString &extension)
{
    if (name.isEmpty() || !staysInFolder(name))
        return {};
    return curDir + u'/' + toSlashes(name) + (hasNoExtension(name) ? extension : QString());
}

QString soundCommandPath(const QString &rest, const QString &curDir)
{
    return companionPath(rest.startsWith(u'.') ? rest.mid(1) : rest, curDir, u".wav"_s);
}

QString paintCommandPath(const QString &rest, const QString &curDir)
{
    return companionPath(rest, curDir, u".bmp"_s);
}

static QString programFilePath(const QString &name, const QString &curDir, const QString &homeDir)
{
    if (name.startsWith(u'.'))
        return homeDir + u'/' + toSlashes(name.mid(1));
    return curDir + u'/' + toSlashes(name);
}

ProgramCall programCall(const QStringList &tokens, const QString &curDir, const QString &homeDir)
{
    ProgramCall call;
    if (tokens.isEmpty())
        return call;
    call.program = programFilePath(tokens.first(), curDir, homeDir);
    QStringList paths;
    for (qsizetype i = 1; i < tokens.size(); ++i)
        paths << programFilePath(tokens.at(i), curDir, homeDir);
    if (!paths.isEmpty())
        call.arguments << paths.join(u' ');
    call.wait = call.program.contains(CommandTexts::WaitMarker);
    return call;
}

LowerPaneSearch lowerPaneSearch(const QString &text)
{
    if (!text.startsWith(u'_'))
        return {text, 0};
    const QChar digit = text.size() > 1 ? text.at(1) : QChar();
    if (digit >= u'1' && digit <= u'9')
        return {text.mid(2), digit.unicode() - u'0'};
    return {text.mid(1), 3};
}
