#include "core/forms/answercsv.h"

#include "core/app/apptexts.h"
#include "core/app/beneath.h"
#include "core/forms/formtexts.h"
#include "core/forms/pagepost.h"
#include "core/forms/sharedfilelock.h"
#include "core/navigation/pathtext.h"
#include "core/pages/markers.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
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

// Why the file st describes takes no row in place: it is no plain file, or it
// has another name (a hard link), where the row would land in a file elsewhere.
// Empty when it takes one.
QString refusalOf(const QString &name, const struct stat &st)
{
    if (!S_ISREG(st.st_mode))
        return FormTexts::AnswerFileNotAFile.arg(name, notAFileKind(st.st_mode));
    if (st.st_nlink > 1)
        return FormTexts::AnswerFileHasOtherNames.arg(name);
    return {};
}

// Opens the CSV for appending, or makes it, beneath the data root and without
// following a link planted at its name; what stands there is looked at first,
// so that a FIFO or a device is neither opened nor waited on. -1 with why said.
int openForAppend(const QString &csvPath, QString &why)
{
    const QString name = QFileInfo(csvPath).fileName();
    const Beneath::Parent folder(csvPath);
    struct stat st;
    if (folder.isOpen() && ::fstatat(folder.fd(), folder.name(), &st, AT_SYMLINK_NOFOLLOW) == 0
        && !(why = refusalOf(name, st)).isEmpty())
        return -1;
    constexpr int Flags = O_RDWR | O_APPEND | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
    const int fd = folder.isOpen() ? ::openat(folder.fd(), folder.name(), Flags, 0666) : -1;
    if (fd < 0) {
        why = errno == ELOOP ? FormTexts::AnswerFileNotAFile.arg(name, notAFileKind(S_IFLNK))
              : errno == EXDEV ? AppTexts::WriteOutOfRootRefused.arg(csvPath)
                               : QString::fromLocal8Bit(strerror(errno));
        return -1;
    }
    // What was opened, should the name have changed since the look.
    if (::fstat(fd, &st) != 0 || !(why = refusalOf(name, st)).isEmpty()) {
        if (why.isEmpty())
            why = QString::fromLocal8Bit(strerror(errno));
        ::close(fd);
        return -1;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return fd;
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
        return {lock.busy() ? AppendStatus::Busy : AppendStatus::Failed, lock.failureText()};
    QString why;
    const int fd = openForAppend(csvPath, why);
    if (fd < 0)
        return {AppendStatus::Failed, why};
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
