#pragma once

#include <QtGlobal>

// A page from the web starts nothing outside the program (a video, a program)
// by itself: a press of the user's on that very document lets it start one
// thing, shortly after. A press on another document, an earlier one of the
// same browser included, or older than LifetimeMs counts for nothing.
class UserPress
{
public:
    static constexpr qint64 LifetimeMs = 3000;

    // A key or mouse press on the document a browser page shows in its load
    // number load, at nowMs of a steady clock. It replaces any earlier press.
    void pressed(quintptr page, int load, qint64 nowMs);
    // Whether that document holds an unused press younger than LifetimeMs;
    // the press is used up either way.
    bool take(quintptr page, int load, qint64 nowMs);

private:
    quintptr m_page = 0;
    int m_load = 0;
    qint64 m_at = 0;
    bool m_unused = false;
};
