#include "core/commands/commandorigin.h"

using namespace Qt::StringLiterals;

namespace {

enum class Scheme { None, File, Web, Other };

Scheme schemeOf(const QString &address)
{
    if (address.startsWith(u"file:"_s, Qt::CaseInsensitive))
        return Scheme::File;
    if (address.startsWith(u"http://"_s, Qt::CaseInsensitive) || address.startsWith(u"https://"_s, Qt::CaseInsensitive))
        return Scheme::Web;
    // A scheme is letters, digits, "+", "-" and "." before the first ":".
    const qsizetype colon = address.indexOf(u':');
    if (colon < 1 || !address.at(0).isLetter())
        return Scheme::None;
    for (qsizetype i = 0; i < colon; ++i) {
        const QChar c = address.at(i);
        if (c.unicode() > 127 || !(c.isLetterOrNumber() || c == u'+' || c == u'-' || c == u'.'))
            return Scheme::None;
    }
    // "C:\x" and "C:/x" are drive paths of Windows peers, not schemes.
    return colon == 1 ? Scheme::None : Scheme::Other;
}

} // namespace

CommandOrigin originAfterNavigation(CommandOrigin asking, const QString &address)
{
    return schemeOf(address) == Scheme::File ? asking : CommandOrigin::WebPage;
}

std::optional<CommandOrigin> commandOriginOf(CommandOrigin asking, const QString &address)
{
    switch (schemeOf(address)) {
    case Scheme::None:
    case Scheme::File:
        return asking;
    case Scheme::Web:
        return CommandOrigin::WebPage;
    case Scheme::Other:
        break;
    }
    return std::nullopt;
}

bool CommandLoopGuard::mayRun(const QString &pageAddress, int load)
{
    for (const Run &run : std::as_const(m_runs)) {
        if (run.page == pageAddress)
            return run.load == load;
    }
    m_runs.append({pageAddress, load});
    return true;
}
