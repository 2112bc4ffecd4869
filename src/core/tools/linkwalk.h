#pragma once

#include "core/pages/pagefile.h"
#include "core/tools/linkvalues.h"

#include <QSet>
#include <QStringList>

#include <functional>

// The files a page brings with it: its note and sound beside it, and what its
// HTML names (pictures, framed pages with their own files, background
// pictures, the title's icon, linked files). Framed pages are followed; linked
// pages are listed but not followed.
class LinkWalker
{
public:
    // commandLink is told of each link to a command ("$" name): the walk's
    // starting file and the link's name part.
    LinkWalker(LinkResolver &resolver,
               std::function<void(const QString &file, const QString &name)> commandLink = {});

    // CollectLinkedFiles: adds file's companions and linked files to list, each
    // once (without regard to case). clear empties list first and puts file in
    // as its first entry.
    void collect(const QString &file, QStringList &list, bool clear);

    LinkResolver &resolver() const { return m_resolver; }

    // Pages that exist but could not be read: what they link is unknown.
    QStringList unreadable;

private:
    void add(QStringList &list, const QString &path);
    void scan(const QString &page, const QString &start, QStringList &list, QStringList &toWalk);

    LinkResolver &m_resolver;
    std::function<void(const QString &, const QString &)> m_commandLink;
    QSet<QString> m_listed;
    qsizetype m_seen = 0;
};

// A page's text for finding the names it links: UTF-8, else the legacy code
// page. With lenient, a page valid in neither still gives its ASCII names.
PageText pageTextForLinks(const QString &path, bool lenient);

// The companions of a page: its sound and its note.
QStringList companionPaths(const QString &page);
