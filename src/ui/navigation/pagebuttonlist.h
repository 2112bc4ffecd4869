#pragma once

#include <QHash>
#include <QList>

#include <functional>

class PageButton;

// The page buttons of the shown level, one per page. A folder may hold
// thousands of pages, so only the buttons near the rows in view (and those the
// window keeps, such as the focused one) exist as widgets; asking for any
// other makes it.
class PageButtonList
{
public:
    using Maker = std::function<PageButton *(int index)>;

    void setMaker(Maker make) { m_make = std::move(make); }

    // The number of pages of the level.
    int size() const { return m_count; }
    int count() const { return m_count; }
    bool isEmpty() const { return m_count == 0; }

    // The button of page i (made when it does not exist), nullptr outside the level.
    PageButton *value(int i) const;
    PageButton *at(int i) const { return value(i); }
    PageButton *first() const { return value(0); }
    PageButton *last() const { return value(m_count - 1); }

    // The button of page i if it exists now.
    PageButton *existing(int i) const { return m_made.value(i); }
    // The buttons that exist now.
    QList<PageButton *> made() const { return m_made.values(); }

    // A new level of count pages: no button is kept.
    void reset(int count);
    // Button i no longer stands for its page.
    void forget(int i) { m_made.remove(i); }

private:
    int m_count = 0;
    mutable QHash<int, PageButton *> m_made;
    Maker m_make;
};
