#include "core/commands/scriptvariables.h"

#include "core/app/smallfile.h"
#include "core/commands/commandtexts.h"
#include "core/app/wholefile.h"

#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QStringDecoder>
#include <QStringEncoder>

#include <cmath>

using namespace Qt::StringLiterals;

namespace {

const char *const VariableCodec = "CP932";
const QByteArray Utf8Bom("\xEF\xBB\xBF", 3);

QStringList splitLines(const QString &text)
{
    QString normalized = text;
    normalized.replace(u"\r\n"_s, u"\n"_s);
    normalized.replace(u'\r', u'\n');
    QStringList lines = normalized.split(u'\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

std::optional<double> parseNumber(const QString &text)
{
    bool ok = false;
    const double value = QLocale::c().toDouble(text.trimmed(), &ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

} // namespace

QList<ScriptVariable> parseVariableLines(const QStringList &lines)
{
    QList<ScriptVariable> pairs;
    for (const QString &line : lines) {
        const qsizetype eq = line.indexOf(u'=');
        if (eq >= 1)
            pairs.append({line.left(eq), line.mid(eq + 1)});
    }
    return pairs;
}

QString variableFileText(const QList<ScriptVariable> &pairs)
{
    QString text;
    for (const ScriptVariable &pair : pairs) {
        text += pair.name == pair.value ? pair.value : pair.name + u'=' + pair.value;
        text += u"\r\n"_s;
    }
    return text;
}

ScriptVariable splitExpression(const QString &expression)
{
    QString e = expression;
    e.replace(u'\'', u'"');
    const qsizetype eq = e.indexOf(u'=');
    if (eq < 0)
        return {e, e};
    return {e.left(eq), e.mid(eq + 1)};
}

bool isDeleteValue(const QString &value)
{
    return value == CommandTexts::DeleteValue;
}

std::optional<QString> addNumbers(const QString &oldValue, const QString &change)
{
    const std::optional<double> a = parseNumber(oldValue);
    const std::optional<double> b = parseNumber(change);
    if (!a || !b)
        return std::nullopt;
    // Adding 0.0 turns a negative zero into "0".
    return QString::number(*a + *b + 0.0, 'g', 15);
}

QList<ScriptVariable> applyVariable(QList<ScriptVariable> pairs, const ScriptVariable &change)
{
    const bool arithmetic = (change.value.contains(u'+') || change.value.contains(u'-')) && !change.value.contains(u'"');
    bool found = false;
    for (ScriptVariable &pair : pairs) {
        if (pair.name != change.name)
            continue;
        found = true;
        std::optional<QString> sum;
        if (arithmetic)
            sum = addNumbers(pair.value, change.value);
        pair.value = sum.value_or(change.value);
    }
    if (!found)
        pairs.append(change);
    return pairs;
}

VariableResult setScriptVariable(const QString &fileName, const QString &expression)
{
    const ScriptVariable change = splitExpression(expression);
    if (isDeleteValue(change.value))
        return VariableResult::DeleteRequested;

    QList<ScriptVariable> pairs;
    if (QFileInfo::exists(fileName)) {
        // A file another computer holds, or one we cannot decode, is never rewritten:
        // its lines would be lost.
        const std::optional<QByteArray> read = readTextFile(fileName);
        if (!read)
            return VariableResult::Unreadable;
        const QByteArray &bytes = *read;
        QStringDecoder decoder(VariableCodec, QStringConverter::Flag::Stateless);
        const QString text = decoder.decode(bytes);
        if (decoder.hasError())
            return VariableResult::Unreadable;
        pairs = applyVariable(parseVariableLines(splitLines(text)), change);
    } else {
        pairs = {change};
    }

    QStringEncoder encoder(VariableCodec, QStringConverter::Flag::Stateless);
    const QByteArray bytes = encoder.encode(variableFileText(pairs));
    if (encoder.hasError())
        return VariableResult::WriteFailed;
    return writeWholeFile(fileName, bytes) ? VariableResult::Written : VariableResult::WriteFailed;
}

QString safeHistoryName(const QString &name)
{
    static const QString unsafe = u"'*?/<>|\"\\:"_s;
    QString safe;
    safe.reserve(name.size());
    for (const QChar c : name)
        safe += unsafe.contains(c) ? u'_' : c;
    safe.replace(u".."_s, u"__"_s);
    return safe.isEmpty() ? CommandTexts::DefaultHistoryName : safe;
}

QString historyPathFor(const QString &name)
{
    return CommandTexts::HistoryFolder + u'/' + safeHistoryName(name);
}

std::optional<QString> repointScriptSrc(const QString &pageText, const QString &src)
{
    const qsizetype at = pageText.indexOf(CommandTexts::ScriptSrc, 0, Qt::CaseInsensitive);
    if (at < 0)
        return std::nullopt;
    const qsizetype start = at + CommandTexts::ScriptSrc.size();
    const qsizetype end = pageText.indexOf(u'"', start);
    if (end < 0)
        return std::nullopt;
    QString text = pageText;
    text.replace(start, end - start, src);
    return text;
}

RepointResult repointHistoryPage(const QString &pagePath, const QString &src)
{
    const std::optional<QByteArray> read = readTextFile(pagePath);
    if (!read)
        return RepointResult::Unreadable;
    QByteArray bytes = *read;

    const bool bom = bytes.startsWith(Utf8Bom);
    if (bom)
        bytes.remove(0, Utf8Bom.size());
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    const QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return RepointResult::Unreadable;

    const std::optional<QString> changed = repointScriptSrc(text, src);
    if (!changed)
        return RepointResult::NoScript;
    if (*changed == text)
        return RepointResult::Unchanged;
    const QByteArray out = (bom ? Utf8Bom : QByteArray()) + changed->toUtf8();
    return writeWholeFile(pagePath, out) ? RepointResult::Rewritten : RepointResult::WriteFailed;
}

bool isHistoryPage(const QString &entry)
{
    const QString fileName = entry.mid(qMax(entry.lastIndexOf(u'/'), entry.lastIndexOf(u'\\')) + 1);
    return fileName.contains(CommandTexts::HistoryPageMarker, Qt::CaseInsensitive);
}
