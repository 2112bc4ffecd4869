#include "core/commands/userpress.h"

#include <utility>

void UserPress::pressed(quintptr page, int load, qint64 nowMs)
{
    m_page = page;
    m_load = load;
    m_at = nowMs;
    m_unused = true;
}

bool UserPress::take(quintptr page, int load, qint64 nowMs)
{
    const qint64 age = nowMs - m_at;
    return std::exchange(m_unused, false) && page == m_page && load == m_load && age >= 0 && age < LifetimeMs;
}
