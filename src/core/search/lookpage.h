#pragma once

#include <QString>

#include <functional>

// How rewriting the keyword links of a page file ended.
enum class LookPageResult {
    Written,
    NotOwnPage,  // no page of this program: left alone
    Unreadable,  // nothing written
    Undecodable, // not valid UTF-8: never rewritten
    WriteFailed, // the old file stays
};

// Reads the page at path, and when it is one of our own pages writes it back
// (atomically, as pages are written) with its text passed through build.
LookPageResult rewriteLookLinks(const QString &path, const std::function<QString(const QString &text)> &build);
