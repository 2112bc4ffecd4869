#include "core/forms/answercsv.h"

#include "core/forms/pagepost.h"
#include "core/forms/sharedfilelock.h"
#include "core/navigation/pathtext.h"
#include "core/pages/markers.h"

#include <QFile>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace {
const QString CrLf = u"\r\n"_s;
const QByteArray Bom = QByteArrayLiteral("\xEF\xBB\xBF");

// Drops every "//" note through the "<BR>" that ends its line; a note without
// one stays, and so does all after it.
QString withoutNotes(QString text)
{
    while (true) {
        const qsizetype note = text.indexOf(u"//"_s);
        const qsizetype end = note < 0 ? -1 : text.indexOf(Markers::LineBreakTag, note);
        if (end < 0)
            return text;
        text.remove(note, end + Markers::LineBreakTag.size() - note);
    }
}

// True while text holds a "[" whose first "]" comes after it.
bool hasBlank(const QString &text)
{
    const qsizetype open = text.indexOf(u'[');
    return open >= 0 && text.indexOf(u']') > open;
}

QString labelsOf(QString text)
{
    QString header;
    for (int n = 0; hasBlank(text); ++n) {
        QString label = text.first(text.indexOf(u'['));
        // From the second question on, the label starts after the line of the blank before it.
        const qsizetype br = label.indexOf(Markers::LineBreakTag);
        if (n > 0 && br >= 0)
            label = label.sliced(br + Markers::LineBreakTag.size());
        const qsizetype open = label.indexOf(u'「');
        const qsizetype close = open < 0 ? -1 : label.indexOf(u'」', open);
        if (close >= 0)
            label = label.sliced(open + 1, close - open - 1);
        header += label;
        text = text.sliced(text.indexOf(u']') + 1);
        if (text.contains(u']'))
            header += u',';
    }
    return header.remove(Markers::LineBreakTag);
}

QString answersOf(QString text)
{
    text.remove(Markers::LineBreakTag);
    QString row;
    while (hasBlank(text)) {
        text = text.sliced(text.indexOf(u'[') + 1);
        const qsizetype close = text.indexOf(u']');
        row += text.first(close);
        text = text.sliced(close + 1);
        if (text.contains(u']'))
            row += u',';
    }
    return row;
}
} // namespace

QString answerCsvPath(const QString &pagePath)
{
    const QFileInfo page(pagePath);
    return page.path() + u"/_"_s + pathWithoutExtension(page.fileName()) + u".csv"_s;
}

QString answerSheetText(const QString &pageText)
{
    QString text = pageText;
    text.replace(Markers::LineBreakTag, CrLf);
    const qsizetype start = lastParagraphContentStart(text);
    const qsizetype end = start < 0 ? -1 : text.indexOf(u"</P"_s, start);
    if (end < 0)
        return {};
    text = text.sliced(start, end - start);
    while (true) {
        const qsizetype lt = text.indexOf(u'<');
        const qsizetype gt = text.indexOf(u'>');
        if (lt < 0 || gt < lt)
            return text;
        text.remove(lt, gt + 1 - lt);
    }
}

AnswerLine answerLine(const QString &sheet)
{
    QString text = sheet;
    text.replace(CrLf, Markers::LineBreakTag);
    text.replace(u'\n', Markers::LineBreakTag);
    text.replace(u'［', u'[');
    text.replace(u'］', u']');
    text.remove(u' ');
    text.remove(u'　');
    return {labelsOf(withoutNotes(text)), answersOf(text)};
}

AppendOutcome appendAnswer(const QString &csvPath, const AnswerLine &line, int lockTimeoutMs)
{
    SharedFileLock lock(csvPath);
    if (!lock.acquire(lockTimeoutMs))
        return {lock.permissionDenied() ? AppendStatus::Failed : AppendStatus::Busy, {}};
    // A link planted in the page's folder must not lead the row elsewhere.
    if (QFileInfo(csvPath).isSymLink())
        return {AppendStatus::Failed, {}};
    QFile file(csvPath);
    if (!file.open(QIODevice::ReadWrite | QIODevice::Append | QIODevice::Unbuffered))
        return {AppendStatus::Failed, file.errorString()};
    // Only the file's end is looked at: whether it holds text, and whether that ends a line.
    const qint64 size = file.size();
    QByteArray last;
    if (size > 0 && file.seek(size - qMin<qint64>(size, Bom.size())))
        last = file.read(Bom.size());
    QByteArray bytes;
    if (size == 0 || (size == Bom.size() && last == Bom)) {
        if (size == 0)
            bytes = Bom;
        bytes += (line.header + CrLf).toUtf8();
    } else if (!last.endsWith('\n')) {
        bytes = CrLf.toUtf8();
    }
    bytes += (line.row + CrLf).toUtf8();
    // One write, so that the row goes out whole.
    if (file.write(bytes) != bytes.size() || !file.flush())
        return {AppendStatus::Failed, file.errorString()};
    return {};
}
