#include "core/commands/commandline.h"

#include "core/commands/commandtexts.h"

#include <QFileInfo>
#include <QUrl>

#include <limits>

using namespace Qt::StringLiterals;

QString decodeAddress(const QString &address)
{
    if (!address.contains(u'%'))
        return address;
    return QUrl::fromPercentEncoding(address.toUtf8());
}

// Where the path of a file: address begins (its first "/" after the host), -1
// for other addresses.
static qsizetype filePathStart(const QString &address)
{
    if (!address.startsWith(u"file:"_s, Qt::CaseInsensitive))
        return -1;
    qsizetype at = 5;
    if (address.mid(at, 2) == u"//"_s)
        at = address.indexOf(u'/', at + 2);
    return at;
}

qsizetype commandStart(const QString &address)
{
    qsizetype from = 1;
    const qsizetype path = filePathStart(address);
    if (path >= 0 && address.indexOf(u'$', path) >= 0) {
        if (QFileInfo(address.mid(path)).isFile())
            return -1;
        // Past every existing folder at the front of the path.
        from = path;
        for (;;) {
            const qsizetype next = address.indexOf(u'/', from + 1);
            if (next < 0 || !QFileInfo(address.mid(path, next - path)).isDir())
                break;
            from = next;
        }
    }
    const qsizetype dollar = address.indexOf(u'$', from);
    return dollar >= 1 ? dollar : -1;
}

bool isCommandAddress(const QString &address)
{
    return commandStart(address) >= 0;
}

std::optional<QString> commandLineFromAddress(const QString &address)
{
    const QString decoded = decodeAddress(address);
    const qsizetype start = commandStart(decoded);
    if (start < 0)
        return std::nullopt;
    return decoded.mid(start + 1) + u',';
}

QStringList splitCommandLine(const QString &line)
{
    QStringList commands;
    qsizetype pos = 0;
    for (;;) {
        const qsizetype comma = line.indexOf(u',', pos);
        if (comma < 0)
            break;
        commands << line.mid(pos, comma - pos);
        pos = comma + 1;
        const qsizetype dollar = line.indexOf(u'$', pos);
        if (dollar >= 0)
            pos = dollar + 1;
    }
    return commands;
}

std::optional<int> parseCounterNumber(const QString &text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return std::nullopt;
    qsizetype i = 0;
    if (trimmed.at(0) == u'+' || trimmed.at(0) == u'-')
        i = 1;
    if (i >= trimmed.size())
        return std::nullopt;
    for (qsizetype j = i; j < trimmed.size(); ++j) {
        if (trimmed.at(j) < u'0' || trimmed.at(j) > u'9')
            return std::nullopt;
    }
    bool ok = false;
    const int value = trimmed.toInt(&ok);
    if (!ok)
        return std::nullopt;
    return value;
}

QString chooseByCounter(const QString &command, int counter)
{
    QString c = command;
    if (!c.endsWith(u']'))
        c += u']';
    QString w = c + u"[]"_s;
    const qsizetype open = w.indexOf(u'[');
    const int n = parseCounterNumber(w.mid(1, open - 1)).value_or(0);
    w = w.mid(open + 1);

    const qsizetype close = w.indexOf(u']');
    const QString a = w.left(close);
    w = w.mid(close + 1);

    QString b;
    const qsizetype bOpen = w.indexOf(u'[');
    if (bOpen >= 0) {
        const qsizetype bClose = w.indexOf(u']', bOpen + 1);
        b = bClose >= 0 ? w.mid(bOpen + 1, bClose - bOpen - 1) : w.mid(bOpen + 1);
    }

    const bool takeA = command.startsWith(u'<') ? n > counter : n < counter;
    return takeA ? a : b;
}

std::optional<int> applyCounter(const QString &command, int counter)
{
    if (command.isEmpty())
        return std::nullopt;
    const QChar op = command.at(0);
    if (op == u'=')
        return parseCounterNumber(command.mid(2));
    const std::optional<int> n = parseCounterNumber(command.mid(1));
    if (!n || (op != u'+' && op != u'-'))
        return std::nullopt;
    const qint64 sum = op == u'+' ? qint64(counter) + *n : qint64(counter) - *n;
    // A count past the integer range is as bad as a number that is none.
    if (sum < std::numeric_limits<int>::min() || sum > std::numeric_limits<int>::max())
        return std::nullopt;
    return int(sum);
}

CommandKind commandKind(const QString &command)
{
    if (command.isEmpty())
        return CommandKind::Empty;
    const QChar first = command.at(0);
    if (first == u'<' || first == u'>')
        return CommandKind::Conditional;
    if (first == u'=' || first == u'+' || first == u'-')
        return CommandKind::Counter;
    return CommandKind::Word;
}

CommandOrigin originOf(const QString &pageAddress)
{
    const bool web = pageAddress.startsWith(u"http://"_s, Qt::CaseInsensitive)
                     || pageAddress.startsWith(u"https://"_s, Qt::CaseInsensitive);
    return web ? CommandOrigin::WebPage : CommandOrigin::LocalPage;
}

bool wordAllowedFromWeb(const QString &word)
{
    using namespace CommandWords;
    static const QStringList allowed{Next, Back, Top, Home, Go, GoSub, Return, Look};
    if (allowed.contains(word))
        return true;
    static const QStringList refused{Answer, DirLevel, DirExplore, Wav, Paint, Save, Copy, Js, HisJs, His};
    if (refused.contains(word))
        return false;
    // Any other word holding "." starts a program; the rest is a text search.
    return !word.contains(u'.');
}
