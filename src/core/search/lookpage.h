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
    Busy,        // another computer holds the page's lock: nothing written
    Changed,     // the page changed while it was being rebuilt: its new text stays
};

// Reads the page at path, and when it is one of our own pages writes it back
// (atomically, as pages are written) with its text passed through build. The
// whole read-change-write holds the page's shared lock, as a post does (waiting
// up to lockTimeoutMs for it), and writes only when the page still holds the text
// that was read. When the lock cannot be taken for another reason than a busy
// peer (something that is no lock file at its name), lockFailure tells what.
LookPageResult rewriteLookLinks(const QString &path, const std::function<QString(const QString &text)> &build,
                                int lockTimeoutMs, QString *lockFailure = nullptr);
