#pragma once

#include <QByteArray>

#include <gumbo.h>

#include <memory>

// An HTML5 parse whose memory and work stay within a budget set by the length of
// its input. A tree builder following the standard can be made to do far more: it
// copies every unclosed formatting element into each later block, and each tag
// and character costs it the depth of the open elements. The parser's memory
// comes from an arena of ours; the arena counts what it hands out and, through
// the nodes, how deep the tree grows and so the work each step costs, and stops
// the parse (the parser is C: a jump back out of it, then the arena freed as a
// whole) once either count passes its budget.
class BoundedParse
{
public:
    // Parses utf8, which must outlive this object (the tree points into it).
    explicit BoundedParse(const QByteArray &utf8);
    ~BoundedParse();
    BoundedParse(const BoundedParse &) = delete;
    BoundedParse &operator=(const BoundedParse &) = delete;

    // The document, or null when the parse passed its budget.
    const GumboNode *document() const;

    class Arena;

private:
    std::unique_ptr<Arena> m_arena;
    GumboOutput *m_output = nullptr;
};
