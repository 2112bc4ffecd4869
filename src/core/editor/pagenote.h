#pragma once

#include <QByteArray>
#include <QString>

class Navigator;

// Note files: a page's note ("lesson1.%xt" beside "lesson1.html") and the
// folder's editing notes ("_Edit.txt"). Plain text, read as UTF-8 with or
// without a byte-order mark, written as UTF-8 with the mark and CR LF after
// every line, the last one too.

namespace NoteText {
// The largest note read; a larger file shows as unreadable.
constexpr qint64 NoteReadLimit = qint64(4) << 20;
inline const QString PageNoteExtension = QStringLiteral(".%xt");
inline const QString EditNoteName = QStringLiteral("_Edit.txt");
// Shown in place of a note that exists but cannot be read.
inline const QString Unreadable = QStringLiteral("このメモは読めません。変更しても保存されません。");
inline const QString WriteFailedTitle = QStringLiteral("メモ");
inline const QString WriteFailed = QStringLiteral("メモを保存できませんでした:\n");
} // namespace NoteText

// The note file of entry index of nav's top level: beside the entry's own
// file (Navigator::entryPath; search and LOOK levels hold "sub/page.html")
// with its extension changed to ".%xt". A web address has no file here: its
// note is its file name's in the current folder. Empty where the note would
// lie outside the data root.
QString pageNoteFilePath(const Navigator &nav, int index);

// The memo text as lines: the last line break of a file ends its last line and
// is no line of its own, so reading and writing again keeps the bytes.
QString noteTextFromFile(const QByteArray &bytes, bool *valid);
QByteArray noteFileBytes(const QString &text);

struct NoteRead
{
    enum Status { Loaded, Missing, Unreadable };
    Status status = Missing;
    QString text;
};

// Missing is no error: the note starts empty. A file that cannot be opened or
// is not UTF-8 is Unreadable: it must never be written back from this text.
NoteRead readNoteFile(const QString &path);

// Writes through a temporary file beside the target and a rename.
bool writeNoteFile(const QString &path, const QString &text);

// Which file the note pad edits and whether closing it must write. A note is
// written only when it was changed or its file does not exist (yet or any
// more): just looking at a note never overwrites a colleague's edit.
class NoteBinding
{
public:
    // Binds to path and returns what was read. An unreadable file leaves the
    // binding empty, so nothing is ever written to it.
    NoteRead bind(const QString &path);
    void unbind();

    QString path() const { return m_path; }
    bool isBound() const { return !m_path.isEmpty(); }

    bool needsWrite(const QString &currentText) const;
    // Writes when needed. Returns false only when a needed write failed.
    bool save(const QString &currentText);

private:
    QString m_path;
    QString m_loadedText;
};
