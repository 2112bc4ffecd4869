#include "core/forms/answercsv.h"

#include "core/forms/pagepost.h"
#include "core/forms/sharedfilelock.h"
#include "core/navigation/pathtext.h"
#include "core/pages/markers.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

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

QStringList labelsOf(QString text)
{
    QStringList labels;
    bool more = false; // a "]" is left: the line goes on with a further field
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
        labels << label.remove(Markers::LineBreakTag);
        text = text.sliced(text.indexOf(u']') + 1);
        more = text.contains(u']');
    }
    if (more)
        labels << QString();
    return labels;
}

QStringList answersOf(QString text)
{
    text.remove(Markers::LineBreakTag);
    QStringList answers;
    bool more = false;
    while (hasBlank(text)) {
        text = text.sliced(text.indexOf(u'[') + 1);
        const qsizetype close = text.indexOf(u']');
        answers << text.first(close);
        text = text.sliced(close + 1);
        more = text.contains(u']');
    }
    if (more)
        answers << QString();
    return answers;
}

// A field as every CSV reader takes it whole and no spreadsheet runs it: NUL is
// dropped (readers cut the line there), a leading "=", "+", "-", "@", TAB or CR gets
// a "'" (a spreadsheet skips the last two and runs what follows), and a field
// holding ",", a quote or a line break is quoted with its quotes doubled.
QString csvField(const QString &text)
{
    QString field = text;
    field.remove(QChar(u'\0'));
    if (!field.isEmpty() && QStringView(u"=+-@\t\r").contains(field.front()))
        field.prepend(u'\'');
    if (field.contains(u',') || field.contains(u'"') || field.contains(u'\r') || field.contains(u'\n'))
        field = u'"' + field.replace(u'"', u"\"\""_s) + u'"';
    return field;
}

QString csvLine(const QStringList &fields)
{
    QStringList out;
    out.reserve(fields.size());
    for (const QString &field : fields)
        out << csvField(field);
    return out.join(u',');
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
    return {csvLine(labelsOf(withoutNotes(text))), csvLine(answersOf(text))};
}

AppendOutcome appendAnswer(const QString &csvPath, const AnswerLine &line, int lockTimeoutMs)
{
    SharedFileLock lock(csvPath);
    if (!lock.acquire(lockTimeoutMs))
        return lock.busy() ? AppendOutcome{AppendStatus::Busy, {}} : AppendOutcome{AppendStatus::Failed, lock.failureText()};
    // A link planted in the page's folder must not lead the row elsewhere.
    const int fd = ::open(QFile::encodeName(csvPath).constData(), O_RDWR | O_APPEND | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0)
        return {AppendStatus::Failed, errno == ELOOP ? QString() : QString::fromLocal8Bit(strerror(errno))};
    QFile file;
    if (!file.open(fd, QIODevice::ReadWrite | QIODevice::Append | QIODevice::Unbuffered, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return {AppendStatus::Failed, file.errorString()};
    }
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
