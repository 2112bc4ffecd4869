#pragma once

#include "core/tools/renameplan.h"

#include <QString>
#include <QStringList>

// Page order by file name: the order number "1000_", "1010_", ... in front of
// each name, stripping it again, and the numbered names "page(100).html".

// The order number of a 0-based position: 1000 + 10 x position, then "_",
// zero-padded to width digits.
QString orderPrefix(int position, int width = 4);
// The width of the order numbers of a level of count entries: enough for the
// last, at least 4, so that the names sort as the numbers do.
int orderNumberWidth(int count);
// The length of a name's old order prefix: everything up to and including its
// first "_", unless that "_" is the first character; 0 when there is none.
qsizetype orderPrefixLength(const QString &name);
// Whether a page keeps its name when the level is numbered: its name without
// extension holds "index" (case respected).
bool keepsOrderName(const QString &name);

// Whether folder still lists the pages of a level as shown (names and order):
// a plan made from a level another PC has changed since would apply in part.
bool levelMatchesFolder(const QStringList &shown, const QString &folder, const QString &exeBaseName);
// How the folder differs from the level shown, as lines for the user: the
// pages gone from it, the pages new in it, or that their order changed;
// empty when it still lists them so.
QStringList levelChanges(const QStringList &shown, const QString &folder, const QString &exeBaseName);

// The companions each operation takes along.
inline constexpr Companions ReorderCompanions = PageFiles;
inline constexpr Companions StripCompanions = PageFiles;
inline constexpr Companions NumberedCompanions = PageFiles | Companion::SubFolder;

struct ReorderPlan
{
    // The position the moved page has (to, limited to the level).
    int current = 0;
    QList<PageMove> moves;
};
// Moves entry from to position to and gives every page the order number of
// its position in place of its old prefix.
ReorderPlan planReorder(const QStringList &entries, int from, int to);

// Strips the old order prefixes; a name that is taken, or whose note name is,
// gets "#" before its extension until it is free ("a.html", "a#.html", ...).
// names is the folder as the plan leaves it.
QList<PageMove> planStrip(const QStringList &entries, FolderNames &names);

// The number with at least digits digits, zero-padded after a minus sign.
QString formatNumber(qint64 number, int digits);

struct NumberedRename
{
    QString name;
    qint64 start = 100;
    qint64 step = 1;
    int digits = 3;
    // The range of entries, 0-based, both included.
    int first = 0;
    int last = 0;
};
// name + "(" + number + ")" + extension for each entry of the range that is in
// the folder, numbers running from start by step. A name held by another page
// of the range is free once that page has moved on, whatever the order; a page
// whose name stays taken, or whose new name isRefusedLinkName() refuses, keeps
// its name.
QList<PageMove> planNumbered(const QStringList &entries, const NumberedRename &rename, const FolderNames &names);

// Why the numbered names cannot be made at all, or None.
enum class NumberedNameProblem {
    None,
    Hidden,   // it begins with ".": every page of the range would be hidden
    Refused,  // it holds a character isRefusedLinkName() refuses
    TooLong,  // a page's or its note's name would be longer than a file system allows
};
NumberedNameProblem numberedNameProblem(const QStringList &entries, const NumberedRename &rename);
