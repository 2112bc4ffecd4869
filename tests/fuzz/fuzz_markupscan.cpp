// Reads any page as a browser does, and pages built of two pieces repeated many
// times (the shapes that make a tree builder copy or nest without end: unclosed
// formatting tags before many blocks, deep nesting, tags of many attributes).
// The reading is whole or over budget, its tags and texts stand in text order
// inside the page, and it ends within the fuzzer's time and memory limits.
//
// Input: two 16-bit counts, then prefix NUL piece NUL middle NUL piece NUL suffix;
// the page is prefix + first piece (first count times) + middle + second piece
// (second count times) + suffix. Input without four NULs is the page itself.
#include "core/pages/markupscan.h"
#include "fuzzinput.h"

#include <algorithm>
#include <cstdlib>

namespace {
QString pageOf(const uint8_t *data, size_t size)
{
    const QString whole = fuzzText(data, size);
    if (size < 4)
        return whole;
    const QList<QByteArray> parts = fuzzBytes(data + 4, size - 4).split('\0');
    if (parts.size() != 5)
        return whole;
    const qsizetype first = data[0] << 8 | data[1], second = data[2] << 8 | data[3];
    QByteArray page = parts[0];
    // Up to the largest page the program shows.
    const qsizetype room = (qsizetype(8) << 20) - parts[0].size() - parts[2].size() - parts[4].size();
    page += parts[1].repeated(std::min(first, parts[1].isEmpty() ? 0 : room / 2 / parts[1].size())) + parts[2];
    page += parts[3].repeated(std::min(second, parts[3].isEmpty() ? 0 : room / 2 / parts[3].size())) + parts[4];
    return fuzzText(reinterpret_cast<const uint8_t *>(page.constData()), size_t(page.size()));
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = pageOf(data, size);
    const Markup markup = readMarkup(text);
    if (markup.overBudget && (markup.complete || !markup.tags.isEmpty() || !markup.texts.isEmpty()))
        std::abort();
    qsizetype after = 0;
    for (const MarkupTag &tag : markup.tags) {
        if (tag.begin < after || tag.end > text.size() || text.at(tag.begin) != u'<' || text.at(tag.end - 1) != u'>')
            std::abort();
        after = tag.end;
    }
    after = 0;
    for (const MarkupText &run : markup.texts) {
        if (run.begin < after || run.end <= run.begin || run.end > text.size())
            std::abort();
        after = run.begin;
    }
    return 0;
}
