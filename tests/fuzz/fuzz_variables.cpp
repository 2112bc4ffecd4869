// Variable files written by any hand or program: parsing, changing and writing back.
#include "core/commands/scriptvariables.h"
#include "fuzzinput.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = fuzzText(data, size);
    const qsizetype cut = text.indexOf(u'\n');
    const QString expression = cut < 0 ? text : text.left(cut);
    QList<ScriptVariable> pairs = parseVariableLines(text.split(u'\n'));
    pairs = applyVariable(pairs, splitExpression(expression));
    (void)variableFileText(pairs);
    (void)safeHistoryName(expression);
    (void)repointScriptSrc(text, expression);
    return 0;
}
