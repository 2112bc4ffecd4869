// Keyword links in any page, the first line of the input being the title of the
// page they lead to: each word linked leaves the page's text as it was but for
// hits of the word made links, in its body only, and each link made is a real
// tag as the browser reads the new page, whether the words are linked one by
// one or all at once.
#include "core/pages/markupscan.h"
#include "core/pages/pagetext.h"
#include "core/search/looklinks.h"
#include "core/search/searchtexts.h"
#include "fuzzinput.h"

#include <algorithm>
#include <cstdlib>

using namespace Qt::StringLiterals;

namespace {
qsizetype realLookTags(const QString &text)
{
    qsizetype count = 0;
    for (const MarkupTag &tag : markupTags(text)) {
        if (!tag.closing && QStringView(text).sliced(tag.begin).startsWith(SearchTexts::LookLinkStart, Qt::CaseInsensitive))
            ++count;
    }
    return count;
}

// The number of links made when linked is text with hits of some of words (from
// from on) made links; aborts when it is not.
qsizetype linksMade(const QString &text, const QString &linked, qsizetype from, const QStringList &words)
{
    qsizetype made = 0;
    qsizetype i = 0, j = 0;
    while (i < text.size() || j < linked.size()) {
        // A word never holds "<", so a hit never starts where the text has a tag.
        const auto hit = [&](const QString &word) {
            return i >= from && i < text.size() && text.at(i) != u'<' && QStringView(linked).sliced(j).startsWith(lookLink(word))
                   && QStringView(text).sliced(i).startsWith(word, Qt::CaseInsensitive);
        };
        const auto word = std::find_if(words.cbegin(), words.cend(), hit);
        if (word != words.cend()) {
            i += word->size();
            j += lookLink(*word).size();
            ++made;
        } else if (i < text.size() && j < linked.size() && text.at(i) == linked.at(j)) {
            ++i;
            ++j;
        } else {
            std::abort();
        }
    }
    return made;
}

void checkLinks(const QString &text, const QString &linked, qsizetype from, const QStringList &words)
{
    if (realLookTags(linked) - realLookTags(text) != linksMade(text, linked, from, words))
        std::abort();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString input = fuzzText(data, size);
    const qsizetype newline = input.indexOf(u'\n');
    const QString title = newline < 0 ? u"#apple/りんご"_s : input.first(newline);
    const QString page = newline < 0 ? input : input.sliced(newline + 1);
    const QString added = addLookLinks(page, {{u"self.html"_s, u"self#x"_s}, {u"k.html"_s, title}}, u"self.html"_s);

    const QString plain = removeLookLinks(page);
    const qsizetype from = lookBodyStart(plain);
    QStringList words;
    for (const QString &written : lookTitleWords(title)) {
        if (isLinkableWord(written))
            words << EscapeAngles(written);
    }
    QString text = plain;
    for (const QString &word : std::as_const(words)) {
        const QString linked = linkWordInText(text, from, word);
        checkLinks(text, linked, from, {word});
        text = linked;
    }
    checkLinks(plain, added, from, words);
    return 0;
}
