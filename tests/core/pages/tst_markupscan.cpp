// The tags and text of a page as a browser reads them.
#include "core/pages/markupscan.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {
// The tags as written, "|" between them.
QString tagTexts(const QString &text)
{
    QStringList out;
    for (const MarkupTag &tag : markupTags(text))
        out << text.mid(tag.begin, tag.end - tag.begin);
    return out.join(u'|');
}
QString unclosedThenBlocks(int unclosed, int blocks)
{
    QString text = u"<P>Start real</P><p>"_s;
    for (int i = 0; i < unclosed; ++i)
        text += u"<b id=%1>"_s.arg(i);
    return text + u"</p>"_s + u"<div>x</div>"_s.repeated(blocks);
}

// Paragraphs each opening a FONT tag that is never closed, in twelve colours and
// sizes, as old editors write them: each paragraph nests in the one before.
QString openFontParagraphs(int paragraphs)
{
    static const QString colours[] = {u"#FF0000"_s, u"#0000FF"_s, u"#008000"_s, u"#800080"_s};
    QString text = u"<HTML><HEAD><TITLE>x</TITLE></HEAD><BODY>\r\n"_s;
    for (int i = 0; i < paragraphs; ++i)
        text += u"<P><FONT color=\"%1\" size=\"%2\">"_s.arg(colours[i % 4]).arg(2 + i % 3)
            + u"今日の授業は教科書の三十二ページから始めます。忘れずに、"_s + QString::number(i) + u"</P>\r\n"_s;
    return text + u"</BODY></HTML>\r\n"_s;
}

QString numbered(const QString &pattern, int count)
{
    QString text;
    for (int i = 0; i < count; ++i)
        text += pattern.arg(i);
    return text;
}
} // namespace

class MarkupScanTest : public QObject
{
    Q_OBJECT
private slots:
    void tagsAsTheBrowserReadsThem_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("tags");
        QTest::newRow("end tag of a script in a comment in the script ends nothing")
            << u"<SCRIPT>document.write(\"<!--<SCRIPT src=x></SCRIPT>\"); /* row: <P> */</SCRIPT><P>"_s
            << u"<SCRIPT>|</SCRIPT>|<P>"_s;
        QTest::newRow("<!--> is an empty comment") << u"<!-->a<P>b-->"_s << u"<P>"_s;
        QTest::newRow("comment ended by --!>") << u"<!-- x --!><B>y</B>"_s << u"<B>|</B>"_s;
        QTest::newRow("quoted > in a value") << u"<P title='a>b'>x"_s << u"<P title='a>b'>"_s;
        QTest::newRow("raw text elements") << u"<TEXTAREA><P></TEXTAREA><TITLE><B></TITLE><XMP><I></XMP>"_s
                                           << u"<TEXTAREA>|</TEXTAREA>|<TITLE>|</TITLE>|<XMP>|</XMP>"_s;
        QTest::newRow("unclosed tag") << u"<P>a<B title=\"x"_s << u"<P>"_s;
        QTest::newRow("implied tags and copies of formatting tags are not written")
            << u"<b><p>x</b>y</p>"_s << u"<b>|<p>|</b>|</p>"_s;
        QTest::newRow("a stray end tag is left out") << u"<P>a</DIV>b"_s << u"<P>"_s;
        QTest::newRow("end tag read as a start tag") << u"a</br>b"_s << u"</br>"_s;
        QTest::newRow("foster-parented tags in text order")
            << u"<table><tr><td>1</td></tr><a href=x>y</a></table>"_s
            << u"<table>|<tr>|<td>|</td>|</tr>|<a href=x>|</a>|</table>"_s;
        QTest::newRow("NOSCRIPT ends what is read") << u"<P>a<NOSCRIPT><P></NOSCRIPT><P>"_s << u"<P>|<NOSCRIPT>"_s;
        QTest::newRow("Japanese and beyond the BMP before tags")
            << u"日本語😀<P class=\"é😀\">𠮷</P>"_s << u"<P class=\"é😀\">|</P>"_s;
        QTest::newRow("byte order mark") << u"\uFEFF<P>x"_s << u"<P>"_s;
        QTest::newRow("lone surrogate") << u"a\xD800<B>b</B>"_s << u"<B>|</B>"_s;
    }
    void tagsAsTheBrowserReadsThem()
    {
        QFETCH(QString, text);
        QTEST(tagTexts(text), "tags");
    }

    void namesAndAttributesAsWritten()
    {
        const QString text = u"ä<Img SRC=\"𠮷.png\" alt='x' width=3 hidden data-x=\"\">"_s;
        const QList<MarkupTag> tags = markupTags(text);
        QCOMPARE(tags.size(), 1);
        QCOMPARE(tags[0].name, u"Img"_s);
        QVERIFY(!tags[0].closing);
        QStringList seen;
        for (const MarkupAttribute &a : tags[0].attributes) {
            const QString value = a.valueBegin < 0 ? u"-"_s : text.mid(a.valueBegin, a.valueEnd - a.valueBegin);
            seen << a.name + u'=' + (a.quote.isNull() ? QString() : QString(a.quote)) + value;
            if (!a.quote.isNull())
                QCOMPARE(text.at(a.valueBegin - 1), a.quote);
        }
        QCOMPARE(seen, (QStringList{u"src=\"𠮷.png"_s, u"alt='x"_s, u"width=3"_s, u"hidden=-"_s, u"data-x=\""_s}));
    }

    void textRunsAndWhereTheyStand()
    {
        const QString text = u"<P>a<A href=x>b</A>c<SCRIPT>d</SCRIPT><svg><text>e</text></svg><!--f-->g</DIV>h"_s;
        const Markup markup = readMarkup(text);
        QVERIFY(markup.complete);
        QStringList runs;
        for (const MarkupText &run : markup.texts)
            runs << text.mid(run.begin, run.end - run.begin) + QString::number(run.place);
        // A run stops at a tag the browser leaves out: what follows it is not known as text.
        QCOMPARE(runs, (QStringList{u"a0"_s, u"b1"_s, u"c0"_s, u"d2"_s, u"e4"_s, u"g0"_s}));
    }

    void noscriptContentIsMarkupOnlyWhenAsked()
    {
        const QString text = u"<P>a<NOSCRIPT><IMG src=x></NOSCRIPT><P>b"_s;
        QVERIFY(!readMarkup(text).complete);
        const Markup through = readMarkup(text, true);
        QVERIFY(through.complete);
        QCOMPARE(through.tags.size(), 5);
        QCOMPARE(through.texts.size(), 2);
    }

    // Pages within the "<" limit that make a tree builder copy, nest or compare
    // without end are not read; those that only look alike are read whole.
    void readWithinItsBudget_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("tags"); // -1: over budget
        QTest::newRow("unclosed formatting tags copied into each later block") << unclosedThenBlocks(1000, 1000) << -1;
        QTest::newRow("a few unclosed formatting tags copied into many blocks") << unclosedThenBlocks(200, 12000) << -1;
        QTest::newRow("formatting tags copied into blocks within the budget") << unclosedThenBlocks(20, 1000) << 2024;
        QTest::newRow("a paragraph of unclosed FONT tags of distinct colours")
            << u"<P>"_s + numbered(u"<FONT color=\"#%1\">a "_s, 20000) << -1;
        QTest::newRow("nested DIVs within the < limit") << u"<DIV>"_s.repeated(24990) << -1;
        QTest::newRow("nested B tags with ids") << numbered(u"<B id=%1>"_s, 24000) << -1;
        QTest::newRow("open formatting tags before a long text")
            << numbered(u"<B id=%1>"_s, 2000) + QString(1 << 18, u'a') << -1;
        QTest::newRow("a tag with thousands of attributes")
            << u"<P"_s + numbered(u" a%1"_s, 50000) + u">x"_s << -1;
        QTest::newRow("a long attribute name, then a repeated one")
            << u"<P "_s + QString(100000, u'a') + u" b"_s.repeated(100000) + u">x"_s << -1;
        QTest::newRow("nesting past the limit") << u"<DIV>"_s.repeated(MarkupDepthLimit) << -1;
        QTest::newRow("nesting within the limit") << u"<DIV>"_s.repeated(MarkupDepthLimit - 4) << MarkupDepthLimit - 4;
        QTest::newRow("tables nested forty deep")
            << u"<TABLE><TR><TD>"_s.repeated(40) + u"x"_s + u"</TD></TR></TABLE>"_s.repeated(40) << 240;
        QTest::newRow("a tag with a hundred attributes") << u"<P"_s + numbered(u" a%1"_s, 100) + u">x"_s << 1;
        QTest::newRow("a value of a megabyte") << u"<IMG alt=\""_s + QString(1 << 20, u'v') + u"\">"_s << 1;
        QTest::newRow("references without their ;") << u"<P>"_s + u"&ampx &lt3 "_s.repeated(50000) << 1;
        QTest::newRow("stray end tags up to the < limit") << u"<P>x"_s + u"</FONT>"_s.repeated(MarkupTagLimit - 1) << 1;
        QTest::newRow("paragraphs up to the < limit") << u"<P>x</P>"_s.repeated(MarkupTagLimit / 2) << MarkupTagLimit;
        QTest::newRow("a long text") << u"<P><B>"_s + QString(1 << 22, u'a') << 2;
        QTest::newRow("thousands of paragraphs each in an unclosed FONT of the one before")
            << openFontParagraphs(3000) << 9000 + 8;
        QTest::newRow("stray end tags in twelve nested DIVs")
            << u"<DIV>"_s.repeated(12) + u"x"_s + u"</span>"_s.repeated(600) << 12;
        QTest::newRow("stray end tags in thirteen nested DIVs")
            << u"<DIV>"_s.repeated(13) + u"x"_s + u"</span>"_s.repeated(600) << 13;
        QTest::newRow("stray end tags with attributes") << u"<DIV>"_s.repeated(12) + u"x"_s
                + numbered(u"</span id=%1 class=\"a b\">"_s, 3000) << 12;
        QTest::newRow("twice as many paragraphs of unclosed FONTs") << openFontParagraphs(6000) << -1;
        QTest::newRow("formatting tags alike nested deeply before a long text")
            << u"<P>"_s + u"<FONT size=\"2\">a "_s.repeated(3000) + QString(1 << 20, u'a') << -1;
    }
    void readWithinItsBudget()
    {
        QFETCH(QString, text);
        QFETCH(int, tags);
        const Markup markup = readMarkup(text);
        QCOMPARE(markup.overBudget, tags < 0);
        if (tags < 0) {
            QVERIFY(!markup.complete);
            QVERIFY(markup.tags.isEmpty() && markup.texts.isEmpty());
        } else {
            QVERIFY(markup.complete);
            QCOMPARE(markup.tags.size(), tags);
        }
    }

    void pageWithTooMuchMarkupIsNotRead()
    {
        const QString text = u"<br>"_s.repeated(MarkupTagLimit + 1);
        const Markup markup = readMarkup(text);
        QVERIFY(markup.overBudget);
        QVERIFY(!markup.complete);
        QVERIFY(markup.tags.isEmpty());
        QCOMPARE(markupTags(u"<br>"_s.repeated(MarkupTagLimit)).size(), MarkupTagLimit);
    }
};

QTEST_GUILESS_MAIN(MarkupScanTest)
#include "tst_markupscan.moc"
