#pragma once

#include <QFlags>
#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

#include <functional>

// Renaming pages of one folder together with the files that belong to them.
// A plan is a list of page moves worked out first; carrying it out never
// replaces a file, goes through temporary names where two pages swap names,
// and moves a page's companions only together with the page, so that no note,
// sound or sub-folder ever ends up beside another page.

// The files that belong to a page: the program names them after it.
enum class Companion {
    Note = 1,      // name without extension + ".%xt"
    Sound = 2,     // name without extension + ".wav"
    SubFolder = 4, // the folder named like the page without extension
    AnswerCsv = 8, // "_" + name without extension + ".csv"
    Drawing = 16,  // "_%" + name after its first "_", without extension, + ".bmp"
};
Q_DECLARE_FLAGS(Companions, Companion)
Q_DECLARE_OPERATORS_FOR_FLAGS(Companions)
inline constexpr Companion AllCompanions[] = {Companion::Note, Companion::Sound, Companion::AnswerCsv,
                                              Companion::Drawing, Companion::SubFolder};
// Every file named after a page: whatever renames a page takes them along.
inline constexpr Companions PageFiles = Companion::Note | Companion::Sound | Companion::AnswerCsv | Companion::Drawing;

// The name of a page's companion of that kind.
QString companionName(const QString &page, Companion kind);

// One page to give another name; both are names inside the folder.
struct PageMove
{
    QString from;
    QString to;
    bool operator==(const PageMove &) const = default;
};

// The names of a folder while a plan is worked out: every entry (files,
// folders, hidden ones), changed as the planned moves would change it.
// Pages of one base name share their companions: the first page of the plan
// takes them along, and a later page of that base counts the companion it
// finds at its target as its own. A sound is listed as a page too: taken
// along by its page, it is not moved again on its own.
class FolderNames
{
public:
    FolderNames(const QSet<QString> &names, Companions companions);

    // Every entry of folder; ok false when it cannot be read.
    static QSet<QString> list(const QString &folder, bool *ok = nullptr);

    // Whether page may take the name to: to and each companion name of to are
    // free, or hold the companion page itself brings along.
    bool fits(const QString &page, const QString &to) const;
    bool taken(const QString &name) const { return m_names.contains(name); }
    // Records the move of page with the companions that go with it.
    void move(const QString &page, const QString &to);

    // The companion moves that go with a page move, in the state before it.
    QList<PageMove> companionMoves(const QString &page, const QString &to) const;

private:
    bool ownCompanionAt(const QString &page, Companion kind, const QString &name) const;

    QSet<QString> m_names;
    // Where each moved name came from (its first name in the folder).
    QHash<QString, QString> m_origin;
    // Names already moved (pages, and companions taken along by an earlier page).
    QSet<QString> m_claimed;
    Companions m_companions;
};

// A page move with the companions that go along, as a plan carries it out.
struct RenameGroup
{
    PageMove page;
    // The page first (kind 0), then its companions: first name -> planned name.
    QList<PageMove> items;
    QList<int> kinds;
    // A page that an earlier page took along as its companion (a sound listed as a page).
    bool takenAlong = false;
    bool operator==(const RenameGroup &) const = default;
};

// The groups of page moves in a folder that holds names: each page with the
// companions of the given kinds it has there.
QList<RenameGroup> groupMoves(const QSet<QString> &names, const QList<PageMove> &moves, Companions companions);

// Called before each rename of a group's item (indices into the groups) with
// the name it is about to get, and again with its name when the rename failed;
// false stops the rename before it happens.
using MoveLog = std::function<bool(qsizetype group, qsizetype item, const QString &to)>;

struct RenameOutcome
{
    // The name each planned page has afterwards, in plan order.
    QStringList finalNames;
    // The pages that kept their names (or, after a failure, got none they were planned for).
    QStringList failed;
    // Every page and companion that has another name now: first name -> name now.
    QList<PageMove> moved;
};

// Carries out the page moves in folder with the companions of the given kinds.
// A move whose targets stay taken keeps its page and companions where they are;
// a page already taken along as another page's companion is not moved again.
// Every move is a rename that never replaces a file: one sent again, or late
// by a holder of the folder that lost it, finds its target taken and does
// nothing; one another finisher made already counts as made.
RenameOutcome carryOutMoves(const QString &folder, const QList<PageMove> &moves, Companions companions);
// The same for groups whose items stand under the names current (the first
// names when empty): a group carried out in part before goes on from there.
// Names (pages, companions, sub-folders) swapped round step aside into a
// hidden folder of this run's own (".kavuno-rename-" + a random tag); those
// another run left, which may still receive its late moves, are emptied into
// it and removed first, so that such a move finds no folder to land in.
RenameOutcome carryOutGroups(const QString &folder, const QList<RenameGroup> &groups, Companions companions,
                             const QList<QStringList> &current = {}, const MoveLog &log = {});

// Files left under the hidden names of a swap, in a hidden folder of a run
// (".kavuno-rename-" + tag + "/" + name) or by older copies of the program
// (".kavuno-rename-N." + name), get their names back; where that name is
// taken, a page and the companions left hidden with it get the first free
// name with "#" before the extension ("q(10)#.html"), so that the level shows
// them. The hidden folders go. Returns the names they have now.
QStringList restoreStrandedRenames(const QString &folder);
// Whether a file name is one of those hidden names (or folders).
bool isStrandedRenameName(const QString &fileName);
// Whether a name is that of a run's hidden folder.
bool isRenameTempFolderName(const QString &name);

// Whether two paths name one file: one inode, or (where a share makes up its
// inode numbers) a file of the same size, time and bytes. A move on a share
// gives a file its new name as a second one before it takes the old one
// away: a program stopped in between, or a request of one that lands late,
// leaves such a pair.
bool namesOneFile(const QString &one, const QString &other);
