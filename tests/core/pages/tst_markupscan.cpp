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

    void pageWithTooMuchMarkupIsNotRead()
    {
        const QString text = u"<br>"_s.repeated(MarkupTagLimit + 1);
        const Markup markup = readMarkup(text);
        QVERIFY(!markup.complete);
        QVERIFY(markup.tags.isEmpty());
        QCOMPARE(markupTags(u"<br>"_s.repeated(MarkupTagLimit)).size(), MarkupTagLimit);
    }
};

QTEST_GUILESS_MAIN(MarkupScanTest)
#include "tst_markupscan.moc"
