#include "core/editor/pagenote.h"

#include "core/app/smallfile.h"
#include "core/app/wholefile.h"
#include "core/navigation/navigator.h"
#include "core/navigation/pathtext.h"
#include "core/pages/picturefile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

using namespace Qt::StringLiterals;

// A web address's note: its file name's in curDir.
static QString webPageNoteFilePath(const QString &curDir, const QString &address)
{
    QString name = address.mid(address.lastIndexOf(u'/') + 1);
    if (name.isEmpty() || name.contains(u'\\') || name == u".."_s)
        return {};
    const int dot = name.lastIndexOf(u'.');
    if (dot >= 0)
        name.truncate(dot);
    if (name.isEmpty())
        return {};
    return curDir + u'/' + name + NoteText::PageNoteExtension;
}

QString pageNoteFilePath(const Navigator &nav, int index)
{
    const QString entry = nav.entry(index);
    if (entry.isEmpty())
        return {};
    const QString page = nav.entryPath(index);
    QString note;
    if (isWebAddress(entry))
        note = webPageNoteFilePath(nav.CurDir, entry);
    else if (QDir::isAbsolutePath(page) && !fileNameOf(page).isEmpty())
        note = QDir::cleanPath(pathWithoutExtension(page) + NoteText::PageNoteExtension);
    // A note never lands outside the data root, nor through a link out of it.
    return !note.isEmpty() && staysInRoot(note, nav.HomeDir) ? note : QString();
}

QString noteTextFromFile(const QByteArray &bytes, bool *valid)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decoder(bytes);
    if (valid)
        *valid = !decoder.hasError();
    if (text.startsWith(QChar::ByteOrderMark))
        text.remove(0, 1);
    text.replace(u"\r\n"_s, u"\n"_s);
    text.replace(u'\r', u'\n');
    if (text.endsWith(u'\n'))
        text.chop(1);
    return text;
}

QByteArray noteFileBytes(const QString &text)
{
    QString lines = text;
    lines.replace(u"\r\n"_s, u"\n"_s);
    lines.replace(u'\r', u'\n');
    lines.replace(QChar::ParagraphSeparator, u'\n');
    QByteArray bytes("\xEF\xBB\xBF");
    if (lines.isEmpty())
        return bytes;
    lines.replace(u"\n"_s, u"\r\n"_s);
    bytes += lines.toUtf8();
    bytes += "\r\n";
    return bytes;
}

NoteRead readNoteFile(const QString &path)
{
    NoteRead result;
    if (!QFileInfo::exists(path))
        return result;
    // A note is a few lines: a larger file is none, and the memo would freeze on it.
    const SmallFile file = readSmallFile(path, NoteText::NoteReadLimit);
    bool valid = false;
    const QString text = file.state == SmallFile::Read ? noteTextFromFile(file.bytes, &valid) : QString();
    if (!valid) {
        result.status = NoteRead::Unreadable;
        return result;
    }
    result.status = NoteRead::Loaded;
    result.text = text;
    return result;
}

bool writeNoteFile(const QString &path, const QString &text)
{
    return writeWholeFile(path, noteFileBytes(text));
}

NoteRead NoteBinding::bind(const QString &path)
{
    const NoteRead read = path.isEmpty() ? NoteRead{NoteRead::Unreadable, {}} : readNoteFile(path);
    if (read.status == NoteRead::Unreadable) {
        unbind();
        return read;
    }
    m_path = path;
    m_loadedText = read.text;
    return read;
}

void NoteBinding::unbind()
{
    m_path.clear();
    m_loadedText.clear();
}

bool NoteBinding::needsWrite(const QString &currentText) const
{
    if (!isBound())
        return false;
    return currentText != m_loadedText || !QFileInfo::exists(m_path);
}

bool NoteBinding::save(const QString &currentText)
{
    if (!needsWrite(currentText))
        return true;
    if (!writeNoteFile(m_path, currentText))
        return false;
    m_loadedText = currentText;
    return true;
}
