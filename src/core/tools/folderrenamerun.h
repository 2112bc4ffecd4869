#pragma once

#include "core/tools/fileuses.h"
#include "core/tools/renamelock.h"
#include "core/tools/renameplan.h"

#include <QList>
#include <QPair>
#include <QSet>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

// Renaming pages of a folder (reorder, strip, numbered names) so that the
// pages of the data root still find the files they use: the pictures,
// documents, pages and sub-folders they name by their SRC, HREF and
// BACKGROUND values. The whole plan is recorded before the first move and the
// record kept until the last page is rewritten: a rename that a stopped
// program left, or whose pages could not all be written, is finished by the
// next rename or the next opening of the folder.
struct FolderRenameOutcome
{
    RenameOutcome moves;
    // Files that kept their names because a page that cannot be rewritten
    // (it round-trips in no encoding, read-only) uses them, and those pages.
    QStringList kept;
    QStringList keptFor;
    // Each kept file with each page that keeps it: the file's path and the
    // one it was to have.
    QList<PageNamesFile> keptNames;
    // Pages that name a moved file and were not rewritten: the record stays
    // for them (see recordKept).
    QStringList pagesNotWritten;
    // Pages read after the moves that name a moved file and cannot be
    // rewritten (they round-trip in no encoding, too many tags): they keep
    // the old names, and the record stays until they can be rewritten.
    QStringList pagesLeftNaming;
    // Each page not rewritten (of both lists) with each moved file it names:
    // the file's old path and its new one.
    QList<PageNamesFile> notWrittenNames;
    // Another PC took the folder's lock midway, judging it abandoned: what is
    // left is its to finish.
    bool lockLost = false;
    // The record could not be made (notStartedWhy says why): nothing was renamed.
    bool notStarted = false;
    RenameBlock notStartedWhy = RenameBlock::None;
    // The rename is not whole yet: its record stays, and the next opening of
    // the folder finishes it once the pages can be written.
    bool recordKept = false;
};

class LinkResolver;
class RenameRecord;

// One rename in a folder, in two steps: the folder's own files and pages,
// then the pages of the rest of the data root, which a worker thread may do
// (the record stays until its last page). The folder's rename lock is held,
// and a stopped rename settled, before; where the caller holds no lock, the
// rename takes it itself without waiting (Busy when another has it) and
// holds it to its end. Any thread may call; nothing processes events.
class FolderRename
{
public:
    FolderRename(const QString &folder, const QString &root, Companions companions);
    ~FolderRename();
    FolderRename(const FolderRename &) = delete;
    FolderRename &operator=(const FolderRename &) = delete;

    // Carries out moves (names in folder) with the companions of those kinds
    // and rewrites the values that name a moved file in the pages read before
    // the moves: the whole data root's (wholeRoot), else the folder's own. A
    // move whose page or companion such a page names that cannot be rewritten
    // is left out; its entry of moves.finalNames keeps the old name. tick is
    // called now and then.
    FolderRenameOutcome renameFolder(const QList<PageMove> &moves, bool wholeRoot,
                                     const std::function<void()> &tick = {});
    // Whether the pages of the rest of the data root are still to be rewritten.
    bool restLeft() const { return m_restLeft; }
    // Reads the rest of the data root and rewrites the pages that name a
    // moved file; the record goes once every page is written. tick is called
    // as pages are read and written (it may throw to end the reading: the
    // record stays); stop before each write (true: the rest stays recorded).
    FolderRenameOutcome finishRest(const std::function<void()> &tick, const std::function<bool()> &stop = {});
    const QString &folder() const { return m_folder; }

private:
    void finishRecord(FolderRenameOutcome &outcome);

    QString m_folder;
    QString m_root;
    Companions m_companions;
    std::unique_ptr<FolderRenameLock> m_ownLock;
    std::unique_ptr<RenameRecord> m_record;
    std::unique_ptr<LinkResolver> m_resolver;
    QList<QPair<QString, QString>> m_renamed;
    // The folder's own pages, rewritten already (paths now).
    QSet<QString> m_done;
    bool m_restLeft = false;
};

// The whole rename in one step: the pages of the whole data root read before the moves.
FolderRenameOutcome renameUsedFiles(const QString &folder, const QString &root, const QList<PageMove> &moves,
                                    Companions companions, const std::function<void()> &tick = {});

// Helpers the finishing of a record shares.
// A page as a record names it: relative to the data root.
QString recordedPage(const QString &root, const QString &page);
// Records in record the write of page's new bytes (made from old) before it
// is made: Write, or Fail when the record cannot take it (the page is then
// not written).
PageUses::PageStep recordPageWrite(RenameRecord &record, const QString &root, const QString &page,
                                   const QByteArray &old, const QByteArray &bytes);
// Every page and companion moved: old path -> new path.
QList<QPair<QString, QString>> renamedPaths(const QString &folder, const RenameOutcome &moves);
