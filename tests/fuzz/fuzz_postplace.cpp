// Posts into any page: the page keeps its text with the post added (and older
// posts dropped), and the post stands where the browser reads running text: its
// line breaks are real tags, never text of a script, a comment or a value.
#include "core/forms/pagepost.h"
#include "core/pages/markupscan.h"
#include "fuzzinput.h"

#include <cstdlib>

using namespace Qt::StringLiterals;

namespace {
// The length of the longest common start, and of the longest common end, of a and b.
qsizetype commonStart(QStringView a, QStringView b)
{
    qsizetype n = 0;
    while (n < a.size() && n < b.size() && a.at(n) == b.at(n))
        ++n;
    return n;
}
qsizetype commonEnd(QStringView a, QStringView b)
{
    qsizetype n = 0;
    while (n < a.size() && n < b.size() && a.at(a.size() - 1 - n) == b.at(b.size() - 1 - n))
        ++n;
    return n;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString page = fuzzText(data, size);
    const QString block = postBlock(u" d "_s, u"p"_s, u"*/ location.href=String.fromCharCode(120) /*\r\nx"_s);
    const PostPlace place = postPlace(page);
    QString result;
    const bool posted = insertPost(page, block, result);
    if (posted != (place.status == PostStatus::Posted))
        std::abort();
    if (!posted)
        return 0;
    const qsizetype at = place.at;
    if (at < 0 || at > page.size() || result.first(at) != page.first(at) || result.sliced(at, block.size()) != block)
        std::abort();
    // What follows is the page's rest with at most one run of old posts left out.
    const QStringView rest = QStringView(page).sliced(at);
    const QStringView tail = QStringView(result).sliced(at + block.size());
    if (tail.size() > rest.size() || commonStart(rest, tail) + commonEnd(rest, tail) < tail.size())
        std::abort();
    // Every "<BR>" of the post is a tag as the browser reads the new page.
    qsizetype breaks = 0;
    for (const MarkupTag &tag : markupTags(result)) {
        if (tag.begin >= at && tag.begin < at + block.size()) {
            if (tag.closing || tag.name != u"BR"_s || result.sliced(tag.begin, tag.end - tag.begin) != u"<BR>"_s)
                std::abort();
            ++breaks;
        }
    }
    if (breaks != block.count(u"<BR>"_s))
        std::abort();
    return 0;
}
