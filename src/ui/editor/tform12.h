#pragma once

#include "core/editor/pagenote.h"

#include <QWidget>

class QPlainTextEdit;

// The note pad: a stay-on-top window editing one plain-text file. Its Caption
// is the file it edits (empty: none); every close writes the text back when it
// was changed or the file does not exist.
class TForm12 : public QWidget
{
    Q_OBJECT
public:
    explicit TForm12(QWidget *parent = nullptr);

    QPlainTextEdit *Memo1 = nullptr;
    // 1 while shown, 0 after it has closed.
    int Tag = 0;

    // The file the window shows, also one that could not be read (and is not
    // written): showing it again closes the window.
    QString Caption() const { return m_shownPath; }

    // Points the window at a file without showing it: an open window first
    // writes its note to its own file, then path is read. A file that cannot be read
    // is shown with a message and not bound, so nothing is written to it.
    NoteRead loadFile(const QString &path);

    // Writes the open note now (when needed), as the main window does before
    // it switches notes. Returns false when a needed write failed.
    bool saveNote();

    // The callers' protocol: the file already shown in the open window closes
    // it (toggle); otherwise the file is loaded and the window shown.
    void showFile(const QString &path);

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void reportWriteFailure(const QString &path);

    NoteBinding m_note;
    QString m_shownPath;
};
