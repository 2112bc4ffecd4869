#pragma once

#include <QString>
#include <QStringList>

// The keyword search of the search window, as LOOK uses it: the pages of the
// current folder tree that carry the keyword, the open page left out.
struct KeywordResult
{
    QStringList paths;   // relative to the current folder (sub/page.html)
    QStringList titles;  // one per path
    QString firstAddress; // the address of the first result
};

class KeywordLookup
{
public:
    virtual ~KeywordLookup() = default;
    // excludedPage is the open page's path, upper-cased.
    virtual KeywordResult lookUp(const QString &keyword, const QString &excludedPage) = 0;
};
