#include "core/editor/pagebuilder.h"
#include "core/editor/pagereader.h"
#include "core/editor/tagattr.h"
#include "core/pages/markers.h"

#include <QImage>

#include <algorithm>

#include "bodycontent.h"
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {
const QString Head = u"<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">\r\n<HTML>\r\n<HEAD>\r\n"
                     u"<META NAME=\"author\" CONTENT=\"Kavuno_TEXT_B4\">\r\n<TITLE>T</TITLE></HEAD>\r\n<BODY>"_s;

QString pageWithNote(const QString &note)
{
    return Head + u"<!--NOTE_IN-->"_s + note + u"<!--NOTE_OUT--></BODY>\r\n</HTML>\r\n"_s;
}
} // namespace

class PageReaderTest : public QObject
{
    Q_OBJECT
private slots:
    void setTagAttr_data()
    {
        QTest::addColumn<QString>("tag");
        QTest::addColumn<QString>("attr");
        QTest::addColumn<QString>("result");
        QTest::newRow("replace") << u"<IMG src=\"a.jpg\" width=\"300\" height=\"200\">"_s << u"width=\"640\""_s
                                 << u"<IMG src=\"a.jpg\" width=\"640\" height=\"200\">"_s;
        QTest::newRow("add") << u"<IMG src=\"a.jpg\">"_s << u"align=\"left\""_s << u"<IMG src=\"a.jpg\" align=\"left\">"_s;
        QTest::newRow("file name holding width is no attribute")
            << u"<IMG src=\"width_chart.jpg\" width=\"3\">"_s << u"width=\"9\""_s
            << u"<IMG src=\"width_chart.jpg\" width=\"9\">"_s;
        QTest::newRow("file name holding width=, attribute absent")
            << u"<IMG src=\"x width=1.jpg\">"_s << u"width=\"9\""_s << u"<IMG src=\"x width=1.jpg\" width=\"9\">"_s;
        QTest::newRow("attribute name in other case") << u"<IMG WIDTH=\"3\">"_s << u"width=\"9\""_s << u"<IMG width=\"9\">"_s;
        QTest::newRow("blanks around the equals sign")
            << u"<IMG src=\"a.jpg\" width = \"300\" height=\"200\">"_s << u"width=\"640\""_s
            << u"<IMG src=\"a.jpg\" width=\"640\" height=\"200\">"_s;
        QTest::newRow("unquoted old value") << u"<IMG width=3 height=4>"_s << u"width=\"9\""_s << u"<IMG width=\"9\" height=4>"_s;
        QTest::newRow("remove present") << u"<IMG src=\"a.jpg\" width=\"300\" height=\"200\">"_s << u"width=\"\""_s
                                        << u"<IMG src=\"a.jpg\"  height=\"200\">"_s;
        QTest::newRow("remove absent") << u"<IMG src=\"a.jpg\">"_s << u"width=\"\""_s << u"<IMG src=\"a.jpg\" >"_s;
        QTest::newRow("cut align") << u"<P align=\"center\">"_s << QString() << u"<P>"_s;
        QTest::newRow("cut align, not in a file name") << u"<IMG src=\"align.jpg\" align=\"left\">"_s << QString()
                                                       << u"<IMG src=\"align.jpg\">"_s;
        QTest::newRow("no tag") << u"text"_s << u"width=\"1\""_s << QString();
    }
    void setTagAttr()
    {
        QFETCH(QString, tag);
        QFETCH(QString, attr);
        QTEST(SetTagAttr(tag, attr), "result");
    }

    void extractSrc()
    {
        QCOMPARE(ExtractSrc(u"<A href=\"x.html\"><IMG SRC=\"Photo.JPG\" width=\"3\"></A>"_s), u"Photo.JPG"_s);
        QCOMPARE(ExtractSrc(u"<IMG src=\"open"_s), QString());
        QCOMPARE(ExtractSrc(u"<A href=\"doc.pdf\">Read</A>"_s), QString());
    }

    void readsHeadAndSize_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("builtHead");
        QTest::addColumn<int>("width");
        QTest::newRow("author META inserted after lower-case head")
            << u"<html><head><title>x</title></head><BODY><!--NOTE_IN--><!--NOTE_OUT--></BODY>"_s
            << u"<html><head><META NAME=\"author\" CONTENT=\"Kavuno_TEXT_B4\"><TITLE>x</TITLE>"_s << 906;
        QTest::newRow("no HEAD: no META")
            << u"<html><title>x</title><BODY><!--NOTE_IN--><!--NOTE_OUT--></BODY>"_s << u"<html><TITLE>x</TITLE>"_s << 906;
        QTest::newRow("Fit reads as B4")
            << u"<HEAD><META NAME=\"author\" CONTENT=\"Kavuno_TEXT_Fit\"><TITLE>x</TITLE><BODY></BODY>"_s
            << u"<HEAD><META NAME=\"author\" CONTENT=\"Kavuno_TEXT_B4\"><TITLE>x</TITLE>"_s << 906;
        QTest::newRow("A4") << u"<HEAD><META NAME=\"author\" CONTENT=\"Kavuno_TEXT_A4\"><TITLE>x</TITLE><BODY></BODY>"_s
                            << u"<HEAD><META NAME=\"author\" CONTENT=\"Kavuno_TEXT_A4\"><TITLE>x</TITLE>"_s << 686;
    }
    void readsHeadAndSize()
    {
        QFETCH(QString, text);
        QFETCH(QString, builtHead);
        const PageModel m = LoadPageToFields(text, QString());
        QTEST(m.pageWidth, "width");
        QVERIFY2(BuildPageFromFields(m, QString(), QDate(2026, 2, 6)).page.startsWith(builtHead),
                 qPrintable(BuildPageFromFields(m, QString(), QDate(2026, 2, 6)).page));
    }

    void lowestStyleMarkerWins()
    {
        QCOMPARE(LoadPageToFields(Head + u"<!--STYLE_IN3--><!--STYLE_IN1-->"_s, QString()).style, 1);
        QCOMPARE(LoadPageToFields(Head, QString()).style, 0);
    }

    void readsNoteFields()
    {
        const PageModel m = LoadPageToFields(
            pageWithNote(u"<H1 align=\"center\">a<BR>b<br>c</H1>before<H2>sub</H2><P><A href=\"doc.pdf\">Read</A></P><P align=\"left\">Body<BR>2</P><P>third</P>"_s),
            QString());
        QCOMPARE(m.headingTag, u"<H1 align=\"center\">"_s);
        QCOMPARE(m.heading, u"a\r\nb<br>c"_s);
        QCOMPARE(m.PageBeforeH2, u"before"_s);
        QCOMPARE(m.subheading, u"sub"_s);
        QCOMPARE(m.linkTarget, u"doc.pdf"_s);
        QCOMPARE(m.linkText, u"Read"_s);
        QCOMPARE(m.pictureTag, u"Read"_s);
        QCOMPARE(m.paragraphTag, u"<P align=\"left\">"_s);
        QCOMPARE(m.text, u"Body\r\n2"_s);
        QCOMPARE(m.title, u"T"_s);
    }

    void lowerCaseTagsAreReadToo()
    {
        const PageModel m = LoadPageToFields(
            pageWithNote(u"<h1 align=\"center\">h</h1><h2>s</h2><table><tr><td>c1</td></tr><tr><td>c2</td></tr></table>"
                         u"<p><a href=\"x.html\">go</a></p><p>t<br>u</p>"_s),
            QString());
        QCOMPARE(m.headingTag, u"<h1 align=\"center\">"_s);
        QCOMPARE(m.heading, u"h"_s);
        QCOMPARE(m.subheading, u"s"_s);
        QCOMPARE(m.cells[0], u"c1"_s);
        QCOMPARE(m.cells[1], u"c2"_s);
        QCOMPARE(m.linkTarget, u"x.html"_s);
        QCOMPARE(m.linkText, u"go"_s);
        QCOMPARE(m.text, u"t<br>u"_s); // only "<BR>" is a line break of the field
    }

    void textBeforeSubheadingIsWrittenOnce()
    {
        const PageModel m = LoadPageToFields(pageWithNote(u"<H1>h</H1><P>lead</P><H2>s</H2><P></P><P>body</P>"_s), QString());
        QCOMPARE(m.PageBeforeH2, u"<P>lead</P>"_s);
        QCOMPARE(m.text, u"body"_s);
        const QString built = BuildPageFromFields(m, QString(), QDate(2026, 2, 6)).page;
        QCOMPARE(built.count(u"lead"_s), 1);
    }

    void noteTextTheFieldsCannotHoldIsKept_data()
    {
        QTest::addColumn<QString>("note");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("kept");
        QTest::newRow("third paragraph") << u"<P></P><P>first</P><P>third</P>"_s << u"first"_s << u"<P>third</P>"_s;
        QTest::newRow("only paragraph is text") << u"<P>only text</P>"_s << u"only text"_s << QString();
        QTest::newRow("text after the last paragraph") << u"<P></P><P>body</P>after"_s << u"body"_s << u"after"_s;
        QTest::newRow("after a picture paragraph") << u"<P><IMG src=\"a.jpg\"></P>after"_s << QString() << u"after"_s;
    }
    void noteTextTheFieldsCannotHoldIsKept()
    {
        QFETCH(QString, note);
        QFETCH(QString, text);
        QFETCH(QString, kept);
        const PageModel m = LoadPageToFields(pageWithNote(note), QString());
        QCOMPARE(m.text, text);
        QCOMPARE(m.PageNoteRest, kept);
        // Saved and read again, every text is there once and stays where it was.
        const QString saved = BuildPageFromFields(m, QString(), QDate(2026, 2, 6)).page;
        const PageModel again = LoadPageToFields(saved, QString());
        QCOMPARE(BuildPageFromFields(again, QString(), QDate(2026, 2, 6)).page, saved);
        for (const QString &part : {text, kept}) {
            if (!part.isEmpty())
                QCOMPARE(saved.count(part), 1);
        }
    }

    // Note text the fields have no place for is written back verbatim where it
    // stood; a paragraph is the picture paragraph only when it starts with a
    // picture or is one link, and tags inside scripts and comments are no tags.
    void unchangedSaveKeepsTheNote_data()
    {
        QTest::addColumn<QString>("note");
        QTest::addColumn<QString>("saved"); // "" when it is the note itself
        QTest::addColumn<QString>("text");
        QTest::newRow("comment before the heading")
            << u"<!-- NOTLINK --><H1>h</H1><P></P><P>t</P>"_s << QString() << u"t"_s;
        QTest::newRow("text before a link")
            << u"<H1>h</H1><P>words <A href=\"x.html\">go</A></P>"_s
            << u"<H1>h</H1><P></P><P>words <A href=\"x.html\">go</A></P>"_s << u"words <A href=\"x.html\">go</A>"_s;
        QTest::newRow("several links")
            << u"<P><A href=\"a.html\">1</A><BR><A href=\"b.html\">2</A></P>"_s
            << u"<P></P><P><A href=\"a.html\">1</A><BR><A href=\"b.html\">2</A></P>"_s
            << u"<A href=\"a.html\">1</A>\r\n<A href=\"b.html\">2</A>"_s;
        QTest::newRow("one link") << u"<P><A href=\"a.html\">1</A></P><P>t</P>"_s << QString() << u"t"_s;
        QTest::newRow("one link, \">\" in its target")
            << u"<P><A href=\"/$GO a>b\">1</A></P><P>t</P>"_s << QString() << u"t"_s;
        QTest::newRow("heading holding a paragraph")
            << u"<H1>h<P>x</H1><P></P><P>t</P>"_s << QString() << u"t"_s;
        QTest::newRow("text between and after the paragraphs")
            << u"lead<P><IMG src=\"a.jpg\"></P>between<P>t</P>after"_s << QString() << u"t"_s;
        QTest::newRow("picture with text after it")
            << u"<P><IMG src=\"a.jpg\"> caption <A href=\"b.html\">more</A></P><P>t</P>"_s << QString() << u"t"_s;
        QTest::newRow("paragraphs inside a script")
            << u"<H1>h</H1><SCRIPT>document.write(\"<P>x</P>\");</SCRIPT><P><A href=\"a\">1</A> <A href=\"b\">2</A></P><P>3</P>"_s
            << u"<H1>h</H1><SCRIPT>document.write(\"<P>x</P>\");</SCRIPT><P></P><P><A href=\"a\">1</A> <A href=\"b\">2</A></P><P>3</P>"_s
            << u"<A href=\"a\">1</A> <A href=\"b\">2</A>"_s;
        QTest::newRow("paragraph inside a comment")
            << u"<!-- <P>old</P> --><P></P><P>t</P>"_s << QString() << u"t"_s;
        QTest::newRow("script inside a paragraph")
            << u"<P></P><P>a<SCRIPT>x=1;//c\r\ny=2;</SCRIPT></P><P>t</P>"_s << QString() << u"t"_s;
        QTest::newRow("table after the paragraphs")
            << u"<P></P><P>t</P><TABLE><TR><TD>c</TD></TR></TABLE>"_s << QString() << u"t"_s;
    }
    void unchangedSaveKeepsTheNote()
    {
        QFETCH(QString, note);
        QFETCH(QString, saved);
        if (saved.isEmpty())
            saved = note;
        const PageModel m = LoadPageToFields(pageWithNote(note), QString());
        QTEST(m.text, "text");
        const QString built = BuildPageFromFields(m, QString(), QDate(2026, 2, 6)).page;
        QCOMPARE(built.section(Markers::NoteIn, 1).section(Markers::NoteOut, 0, 0), saved);
        QCOMPARE(BuildPageFromFields(LoadPageToFields(built, QString()), QString(), QDate(2026, 2, 6)).page, built);
    }

    // Text typed into the text field comes back as typed: a tag matches only
    // where its name ends, and headings or tables in the text stay in it.
    void typedTextComesBackAsTyped_data()
    {
        QTest::addColumn<QString>("framed");
        QTest::addColumn<QString>("typed");
        QTest::newRow("a tag starting with P") << QString() << u"<pre>code</pre> after"_s.replace(u"pre"_s, u"param"_s);
        QTest::newRow("subheading in the text") << QString() << u"x <h2>sub</h2> y"_s;
        QTest::newRow("heading in the text") << QString() << u"x <H1>big</H1> y"_s;
        QTest::newRow("table in the text") << QString() << u"<table><tr><td>a</td></tr></table> b"_s;
        QTest::newRow("table in the text beside a box") << u"box"_s << u"<table><tr><td>a</td></tr></table> b"_s;
        QTest::newRow("picture in the text") << QString() << u"<P><IMG src=\"a.jpg\">"_s;
    }
    void typedTextComesBackAsTyped()
    {
        QFETCH(QString, framed);
        QFETCH(QString, typed);
        PageModel m = LoadPageToFields(pageWithNote(u"<H1>h</H1><P></P><P></P>"_s), QString());
        m.cells[0] = framed;
        m.text = typed;
        const PageModel again = LoadPageToFields(BuildPageFromFields(m, QString(), QDate(2026, 2, 6)).page, QString());
        QCOMPARE(again.text, typed);
        QCOMPARE(again.heading, u"h"_s);
        QVERIFY(again.subheading.isEmpty());
        QCOMPARE(again.cells[0], framed);
        QVERIFY(again.pictureTag.isEmpty());
    }

    void leadingCommentAndParagraphStayBeforeTheNote()
    {
        const QString page = Head + u"<!-- saved --><P>lead</P><!--NOTE_IN--><P></P><P>t</P><!--NOTE_OUT--></BODY>\r\n"_s;
        const QString built = BuildPageFromFields(LoadPageToFields(page, QString()), QString(), QDate(2026, 2, 6)).page;
        QVERIFY2(built.contains(u"<BODY><!-- saved --><P>lead</P><!--NOTE_IN--><P></P><P>t</P><!--NOTE_OUT-->"_s),
                 qPrintable(built));
    }

    // The grid takes a table only when it holds it as it is: anything else stays
    // in its place as written, and every run of text comes back in its order.
    void tableIsTakenIntoTheGridOnlyAsItIs_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<int>("cell"); // a cell the grid holds; -1: the table is kept as written
        QTest::addColumn<QString>("text");
        PageModel built;
        for (int i = 0; i < PageModel::CellCount; ++i)
            built.cells[i] = u"c"_s + QString::number(i);
        built.tableAlign = u"align=\"center\""_s;
        QTest::newRow("the builder's grid") << BuildTableGrid(built) << 77 << u"c77"_s;
        QTest::newRow("rows shorter than the grid's")
            << u"<TABLE border=\"1\"><TR><TD>head</TD></TR><TR><TD>a</TD><TD>b</TD></TR><TR><TD>c</TD></TR></TABLE>"_s << 9
            << u"c"_s;
        QTest::newRow("cells without a row") << u"<TABLE><TD>one<BR>two</TD></TABLE>"_s << 0 << u"one\r\ntwo"_s;
        QTest::newRow("line break in a cell") << u"<TABLE><TR><TD>a\r\nb</TD></TR></TABLE>"_s << 0 << u"a b"_s;
        QTest::newRow("caption and header cells")
            << u"<TABLE border=\"1\"><CAPTION>成績表</CAPTION><TR><TH>名前</TH><TH>点</TH></TR><TR><TD>太郎</TD><TD>80</TD></TR></TABLE>"_s
            << -1 << QString();
        QTest::newRow("text inside the table") << u"<TABLE border=\"1\">note<TR><TD>a</TD></TR></TABLE>"_s << -1 << QString();
        QTest::newRow("comment between the cells")
            << u"<TABLE><TR><TD>a</TD><!-- b --></TR></TABLE>"_s << -1 << QString();
        QTest::newRow("nested table")
            << u"<TABLE border=\"1\"><TR><TD>a</TD></TR><TR><TD>b</TD><TD><TABLE><TR><TD>in</TD></TR></TABLE><P>x</P></TD></TR></TABLE>"_s
            << -1 << QString();
        QTest::newRow("two cells in the caption row") << u"<TABLE><TR><TD>a</TD><TD>b</TD></TR></TABLE>"_s << -1 << QString();
        QTest::newRow("eighty cells in a row") << u"<TABLE><TR>"_s + u"<TD>c</TD>"_s.repeated(80) + u"</TR></TABLE>"_s
                                               << -1 << QString();
        QTest::newRow("more rows than the grid's")
            << u"<TABLE>"_s + u"<TR><TD>r</TD></TR>"_s.repeated(15) + u"</TABLE>"_s << -1 << QString();
        QTest::newRow("cell spanning rows") << u"<TABLE><TR><TD rowspan=\"2\">a</TD></TR><TR></TR></TABLE>"_s << -1 << QString();
        QTest::newRow("head section") << u"<TABLE><THEAD><TR><TD>a</TD></TR></THEAD></TABLE>"_s << -1 << QString();
        QTest::newRow("cell without its end tag") << u"<TABLE><TR><TD>a</TR></TABLE>"_s << -1 << QString();
        QTest::newRow("preformatted cell") << u"<TABLE><TR><TD><PRE>a\r\n b</PRE></TD></TR></TABLE>"_s << -1 << QString();
        QTest::newRow("no text") << u"<TABLE border=\"1\"><TR><TD></TD></TR></TABLE>"_s << -1 << QString();
        // The grid writes back only what the builder writes: a span elsewhere would
        // shift the cells, any other attribute or value would be lost.
        const QString rows = u"<TR><TD>head</TD></TR>\r\n<TR><TD>a</TD><TD>b</TD></TR>"_s;
        QTest::newRow("the builder's spans and colours")
            << u"<TABLE border=\"1\" width=\"860\"><TR><TD colspan=\"8\">head</TD></TR><TR><TD Width=\"100\" bgcolor=\"#CBFEFC\">a</TD></TR></TABLE>"_s
            << 1 << u"a"_s;
        QTest::newRow("a cell spanning columns")
            << u"<TABLE border=\"1\"><TR><TD>head</TD></TR><TR><TD colspan=\"2\">a</TD><TD>b</TD></TR></TABLE>"_s << -1
            << QString();
        QTest::newRow("the caption's span in a row")
            << u"<TABLE border=\"1\"><TR><TD>head</TD></TR><TR><TD colspan=\"8\">a</TD></TR></TABLE>"_s << -1 << QString();
        QTest::newRow("a colour of its own") << u"<TABLE border=\"1\">"_s + QString(rows).replace(u"<TD>a"_s, u"<TD bgcolor=\"#ff0000\">a"_s)
                                                    + u"</TABLE>"_s
                                             << -1 << QString();
        QTest::newRow("a cell aligned on its own")
            << u"<TABLE border=\"1\"><TR><TD>head</TD></TR><TR><TD align=\"right\">a</TD></TR></TABLE>"_s << -1 << QString();
        QTest::newRow("a cell width of its own")
            << u"<TABLE border=\"1\"><TR><TD>head</TD></TR><TR><TD width=\"50%\">a</TD></TR></TABLE>"_s << -1 << QString();
        QTest::newRow("no border") << u"<TABLE border=0><TR><TD>head</TD></TR></TABLE>"_s << -1 << QString();
        QTest::newRow("aligned left") << u"<TABLE border=\"1\" align=\"left\"><TR><TD>head</TD></TR></TABLE>"_s << -1
                                      << QString();
        QTest::newRow("a width beside its alignment")
            << u"<TABLE border=\"1\" align=\"center\" width=\"300\"><TR><TD align=\"center\">head</TD></TR></TABLE>"_s << -1
            << QString();
        QTest::newRow("a coloured row") << u"<TABLE border=\"1\"><TR bgcolor=\"#eeeeee\"><TD>head</TD></TR></TABLE>"_s
                                        << -1 << QString();
        QTest::newRow("cell padding") << u"<TABLE border=\"1\" cellpadding=\"4\"><TR><TD>head</TD></TR></TABLE>"_s << -1
                                      << QString();
    }
    void tableIsTakenIntoTheGridOnlyAsItIs()
    {
        QFETCH(QString, table);
        QFETCH(int, cell);
        const QString note = u"<H1>h</H1>"_s + table + u"<P></P><P>t</P>"_s;
        const PageModel m = LoadPageToFields(pageWithNote(note), QString());
        const QString built = BuildPageFromFields(m, QString(), QDate(2026, 2, 6)).page;
        if (cell >= 0) {
            QTEST(m.cells[cell], "text");
        } else {
            QVERIFY(std::all_of(m.cells.begin(), m.cells.end(), [](const QString &c) { return c.isEmpty(); }));
            QCOMPARE(built, pageWithNote(note));
        }
        QCOMPARE(m.text, u"t"_s);
        QCOMPARE(bodyContent(built), bodyContent(pageWithNote(note)));
        QCOMPARE(BuildPageFromFields(LoadPageToFields(built, QString()), QString(), QDate(2026, 2, 6)).page, built);
    }

    // A line break of the source is white space between words, as the browser
    // shows it; where white space counts as written, the paragraph or heading
    // stays out of the fields, as written.
    void lineBreaksReadAsTheBrowserShowsThem_data()
    {
        QTest::addColumn<QString>("note");
        QTest::addColumn<QString>("heading");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("verbatim"); // an unchanged save writes the note as it was
        QTest::newRow("between words")
            << u"<P></P><P>The quick brown fox\r\njumps over\r\nthe lazy dog.</P>"_s << QString()
            << u"The quick brown fox jumps over the lazy dog."_s << false;
        QTest::newRow("beside a blank, a BR and the ends")
            << u"<P></P><P>\r\na \r\nb<BR>\r\nc\r\n</P>"_s << QString() << u"a b\r\nc"_s << false;
        QTest::newRow("lone line feeds") << u"<P></P><P>一行目\n二行目</P>"_s << QString() << u"一行目 二行目"_s << false;
        QTest::newRow("in the heading") << u"<H1>Big\r\ntitle</H1><P></P><P>t</P>"_s << u"Big title"_s << u"t"_s << false;
        QTest::newRow("PRE in the paragraph")
            << u"<P></P><P>code:<PRE>a = 1\r\nb = 2</PRE></P><P>t</P>"_s << QString() << u"t"_s << true;
        QTest::newRow("PRE typed in the text")
            << u"<P></P><P><pre>code</pre> after</P><P>t</P>"_s << QString() << u"t"_s << true;
        QTest::newRow("TEXTAREA's default text")
            << u"<P></P><P>名前<TEXTAREA name=\"a\">line1\r\nline2</TEXTAREA></P><P>t</P>"_s << QString() << u"t"_s << true;
        QTest::newRow("white-space style")
            << u"<P></P><P style=\"white-space: pre\">a\r\nb</P><P>t</P>"_s << QString() << u"t"_s << true;
        QTest::newRow("white-space style inside")
            << u"<P></P><P>x <SPAN style=\"WHITE-SPACE:pre-wrap\">a\r\nb</SPAN></P><P>t</P>"_s << QString() << u"t"_s << true;
        QTest::newRow("PRE in the heading")
            << u"<H1>a<PRE>x\r\n y</PRE></H1><P></P><P>t</P>"_s << QString() << u"t"_s << true;
    }
    void lineBreaksReadAsTheBrowserShowsThem()
    {
        QFETCH(QString, note);
        QFETCH(bool, verbatim);
        const PageModel m = LoadPageToFields(pageWithNote(note), QString());
        QTEST(m.heading, "heading");
        QTEST(m.text, "text");
        const QString built = BuildPageFromFields(m, QString(), QDate(2026, 2, 6)).page;
        if (verbatim)
            QCOMPARE(built, pageWithNote(note));
        QCOMPARE(bodyContent(built), bodyContent(pageWithNote(note)));
        QCOMPARE(BuildPageFromFields(LoadPageToFields(built, QString()), QString(), QDate(2026, 2, 6)).page, built);
    }

    // Body text outside the blocks is written back where it stood among them.
    void bodyTextStaysAmongTheBlocks_data()
    {
        QTest::addColumn<QString>("body");
        QTest::addColumn<QString>("saved"); // "" : the body as it was
        const QString note = u"<!--NOTE_IN--><P></P><P>t</P><!--NOTE_OUT-->"_s;
        QTest::newRow("before, between and after the blocks")
            << u"<P>TOP NOTICE</P><!--HEDDA_IN--><!--HEDDA_OUT--><P>mid</P>"_s + note
                   + u"<P>low</P><!--FOOTER_IN--><!--FOOTER_OUT--><P>BOTTOM</P>"_s
            << QString();
        QTest::newRow("before the note, no header") << u"<P>TOP NOTICE</P>\r\n"_s + note + u"<P>BOTTOM</P>"_s << QString();
        QTest::newRow("footer before the note")
            << u"<P>a</P><!--FOOTER_IN--><!--FOOTER_OUT--><P>b</P>"_s + note + u"<P>c</P>"_s
            << u"<P>a</P><P>b</P>"_s + note + u"<!--FOOTER_IN--><!--FOOTER_OUT--><P>c</P>"_s;
        QTest::newRow("line breaks alone between the blocks")
            << u"\r\n<!--HEDDA_IN--><!--HEDDA_OUT-->\r\n"_s + note + u"\r\n<!--FOOTER_IN--><!--FOOTER_OUT-->\r\n"_s
            << u"<!--HEDDA_IN--><!--HEDDA_OUT-->"_s + note + u"<!--FOOTER_IN--><!--FOOTER_OUT-->"_s;
    }
    void bodyTextStaysAmongTheBlocks()
    {
        QFETCH(QString, body);
        QFETCH(QString, saved);
        const QString page = Head + body + u"</BODY>\r\n</HTML>\r\n"_s;
        const QString built = BuildPageFromFields(LoadPageToFields(page, QString()), QString(), QDate(2026, 2, 6)).page;
        QCOMPARE(built, Head + (saved.isEmpty() ? body : saved) + u"</BODY>\r\n</HTML>\r\n"_s);
        QCOMPARE(BuildPageFromFields(LoadPageToFields(built, QString()), QString(), QDate(2026, 2, 6)).page, built);
    }

    // The BODY start tag is found by its name, whatever its case: the text
    // before the header block stays there on an unchanged save.
    void bodyStartTagInAnyCase_data()
    {
        QTest::addColumn<QString>("tag");
        QTest::newRow("upper case") << u"<BODY>"_s;
        QTest::newRow("lower case") << u"<body>"_s;
        QTest::newRow("mixed case, with attributes") << u"<Body bgcolor=\"#FFFFFF\">"_s;
        QTest::newRow("after one in a comment") << u"<!-- <BODY> --><body>"_s;
    }
    void bodyStartTagInAnyCase()
    {
        QFETCH(QString, tag);
        QString page = Head;
        page.replace(u"<BODY>"_s, tag);
        page += u"<P>TOP NOTICE</P><!--HEDDA_IN--><!--HEDDA_OUT--><P>mid</P><!--NOTE_IN--><P></P><P>t</P><!--NOTE_OUT-->"
                u"<P>low</P><!--FOOTER_IN--><!--FOOTER_OUT--></body>\r\n</html>\r\n"_s;
        const PageModel m = LoadPageToFields(page, QString());
        QCOMPARE(m.text, u"t"_s);
        QCOMPARE(BuildPageFromFields(m, QString(), QDate(2026, 2, 6)).page, page);
    }

    void pictureSizeReadLeniently()
    {
        QTemporaryDir dir;
        QImage picture(40, 30, QImage::Format_RGB32);
        picture.fill(Qt::red);
        QVERIFY(picture.save(dir.filePath(u"Pic.BMP"_s)));
        const QString path = dir.filePath(u"page.html"_s);

        PageModel m = LoadPageToFields(pageWithNote(u"<P><IMG src=\"pic.bmp\" width=\"50%\" height=\"abc\"></P><P>after</P>"_s), path);
        QCOMPARE(m.pictureName, u"pic.bmp"_s);
        QVERIFY(m.picturePresent);
        QCOMPARE(m.pictureWidth, u"50"_s);
        QCOMPARE(m.pictureHeight, u"30"_s);
        QCOMPARE(m.text, u"after"_s);

        m = LoadPageToFields(pageWithNote(u"<P><A href=\"big.html\"><IMG src=\"pic.bmp\"></A></P>"_s), path);
        QCOMPARE(m.pictureName, u"pic.bmp"_s);
        QCOMPARE(m.linkTarget, u"big.html"_s);
        QCOMPARE(m.pictureTag, u"<IMG src=\"pic.bmp\">"_s);
        QCOMPARE(m.pictureWidth, u"40"_s);

        m = LoadPageToFields(pageWithNote(u"<P><IMG src=\"../pic.bmp\"></P>"_s), dir.filePath(u"sub/page.html"_s));
        QVERIFY(!m.picturePresent);
        QVERIFY(m.pictureName.isEmpty());
    }

    void everyLoadStartsFresh()
    {
        const PageModel first = LoadPageToFields(
            pageWithNote(u"<H2>sub</H2><P><A href=\"x\">y</A></P><P align=\"center\">t</P>"_s).replace(u"<TITLE>T"_s, u"<TITLE>\"i.bmp\"T#2?h"_s),
            QString());
        QCOMPARE(first.TitleIconPrefix, u"\"i.bmp\""_s);
        const PageModel second = LoadPageToFields(u"<HTML><BODY><!--NOTE_IN--><!--NOTE_OUT--></BODY>"_s, QString());
        QVERIFY(second.PageBeforeH2.isEmpty());
        QVERIFY(second.subheading.isEmpty());
        QVERIFY(second.title.isEmpty() && second.titleSecondLine.isEmpty() && second.titleHint.isEmpty());
        QVERIFY(second.TitleIconPrefix.isEmpty());
        QVERIFY(second.paragraphTag.isEmpty());
        QVERIFY(second.linkTarget.isEmpty() && second.linkText.isEmpty());
    }

    void truncatedPagesKeepTheirText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("kept");
        QTest::newRow("no NOTE_OUT") << Head + u"<!--NOTE_IN--><H1>heading</H1><P></P><P>words</P></BODY></HTML>"_s
                                     << u"words"_s;
        QTest::newRow("no closing tags at all") << u"<HTML><HEAD><TITLE>title words"_s << u"title words"_s;
        QTest::newRow("no BODY") << u"<HTML><HEAD><TITLE>t</TITLE></HEAD><P>loose words</P></HTML>"_s << u"loose words"_s;
        QTest::newRow("no HEAD, no TITLE") << u"<BODY><!--NOTE_IN--><P></P><P>words</P>"_s << u"words"_s;
        QTest::newRow("cut inside a tag") << Head + u"<!--NOTE_IN--><H1>head"_s << u"head"_s;
        QTest::newRow("cut inside the text tag") << Head + u"<!--NOTE_IN--><P></P><P align=\"ce"_s
                                                 << u"<P align=\"ce\"></P>"_s;
        QTest::newRow("cut inside the title tag") << u"<HTML><HEAD><TITLE lang=ja"_s << u"<TITLE lang=ja"_s;
        QTest::newRow("title closed by another end tag")
            << u"<HTML><HEAD><TITLE>t</HEAD><BODY><!--NOTE_IN--><P></P><P>w</P><!--NOTE_OUT--></BODY></HTML>"_s
            << u"</HEAD><BODY><!--NOTE_IN-->"_s;
        QTest::newRow("style block never closed") << Head + u"<!--STYLE_IN1--><!--NOTE_IN--><P></P><P>w</P><!--NOTE_OUT-->"_s
                                                  << u"<P>w</P>"_s;
        QTest::newRow("table never closed") << pageWithNote(u"<TABLE><TD>cell"_s) << u"cell"_s;
        QTest::newRow("empty") << QString() << u"<TITLE></TITLE>"_s;
        QTest::newRow("lower-case page")
            << u"<!DOCTYPE HTML PUBLIC><html><head><title>low</title></head><body><!--NOTE_IN--><h1>h</h1><p></p>"
               u"<p>words</p><!--NOTE_OUT--></body></html>"_s
            << u"words"_s;
        QTest::newRow("no note block") << Head + u"<BODY><P>全角「ｶﾅ」</P><P>second</P></BODY></HTML>"_s
                                       << u"<P>全角「ｶﾅ」</P><P>second</P></BODY></HTML>"_s;
        QTest::newRow("text beside the blocks") << pageWithNote(u"<P></P><P>in</P>"_s).replace(u"</BODY>"_s, u"posted<BR></BODY>"_s)
                                                << u"<P>in</P><!--NOTE_OUT-->posted<BR></BODY>"_s;
    }
    void truncatedPagesKeepTheirText()
    {
        QFETCH(QString, text);
        QFETCH(QString, kept);
        const PageModel m = LoadPageToFields(text, QString());
        const QString built = BuildPageFromFields(m, QString(), QDate(2026, 2, 6)).page;
        QVERIFY2(built.contains(kept), qPrintable(built));
        // Reading what was built and building again changes nothing more.
        const QString again = BuildPageFromFields(LoadPageToFields(built, QString()), QString(), QDate(2026, 2, 6)).page;
        QCOMPARE(again, built);
    }
};

QTEST_APPLESS_MAIN(PageReaderTest)
#include "tst_pagereader.moc"
