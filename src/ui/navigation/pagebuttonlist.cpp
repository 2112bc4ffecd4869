#include "ui/navigation/pagebuttonlist.h"

PageButton *PageButtonList::value(int i) const
{
    if (i < 0 || i >= m_count)
        return nullptr;
    if (PageButton *button = m_made.value(i))
        return button;
    PageButton *button = m_make ? m_make(i) : nullptr;
    if (button)
        m_made.insert(i, button);
    return button;
}

void PageButtonList::reset(int count)
{
    m_made.clear();
    m_count = std::max(0, count);
}
