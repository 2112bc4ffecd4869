// Link addresses: decoding, splitting into commands, counters and parsing each one.
#include "core/commands/commandline.h"
#include "core/commands/commandparse.h"
#include "fuzzinput.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString address = fuzzText(data, size);
    const std::optional<QString> line = commandLineFromAddress(address);
    if (!line)
        return 0;
    int counter = 0;
    for (const QString &command : splitCommandLine(*line)) {
        const QString chosen = chooseByCounter(command, counter);
        if (const std::optional<int> next = applyCounter(chosen, counter))
            counter = *next;
        (void)commandKind(chosen);
        const ParsedCommand parsed = parseCommand(chosen, QStringLiteral("/nonexistent/desk"));
        (void)parsed;
        const QStringList tokens = tokenizeCommand(chosen);
        (void)programCall(tokens, QStringLiteral("/nonexistent/root/sub"), QStringLiteral("/nonexistent/root"));
        (void)lowerPaneSearch(chosen);
    }
    return 0;
}
