#pragma once

#include "core/commands/commandorigin.h"

#include <QList>
#include <QString>
#include <QStringList>

// One entered folder level: its page entries, their titles, the current page
// and the folder its entries are relative to.
struct Level
{
    // Entries in display order: file names relative to folder, relative paths
    // (sub/page.html) for search and keyword levels, or link targets as written
    // (relative, full path or web address) for link-page levels.
    QStringList MidashiF;
    // One title per entry, same order.
    QStringList MidashiT;
    // The current page index (0-based).
    int PBan = 0;
    QString folder;
    // A level made from a web link page: its pages open on the web's behalf.
    CommandOrigin origin = CommandOrigin::LocalPage;
    // The number of page files in folder when the level was made (the poll
    // compares the folder against it).
    int fileCount = 0;
    // Whether the entries are the folder's own page list (not search results,
    // keyword links or a link page): only then may their files be renamed.
    bool listsFolder = false;
};

// The stack of entered levels; the top one is shown.
class LevelStack
{
public:
    bool isEmpty() const { return m_levels.isEmpty(); }
    qsizetype height() const { return m_levels.size(); }

    // The shown level; the stack must not be empty.
    Level &top() { return m_levels.last(); }
    const Level &top() const { return m_levels.last(); }
    const Level &at(qsizetype i) const { return m_levels.at(i); }

    void push(const Level &level) { m_levels.append(level); }
    void pop()
    {
        if (!m_levels.isEmpty())
            m_levels.removeLast();
    }
    void clear() { m_levels.clear(); }

private:
    QList<Level> m_levels;
};
