// Keyword links made in and taken out of a page.
#include "core/search/looklinks.h"
#include "core/app/smallfile.h"
#include "core/pages/markupscan.h"
#include "core/pages/pagefile.h"
#include "core/search/lookpage.h"
#include "core/forms/sharedfilelock.h"

#include <QLockFile>

#include <QTemporaryDir>
#include <QTest>

#include "core/navigation/testfiles.h"

using namespace Qt::StringLiterals;

static const QString page = u"<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">\r\n"
                            "<HTML><HEAD><META name=\"apple\"><TITLE>Self#banana</TITLE></HEAD>\r\n"
                            "<BODY><P>An APPLE and a pear; x$SAVE y.</P>\r\n"
                            "<IMG alt=\"apple pie\" src=\"x.png\"><B class=apple>b</B>\r\n"
                            "<A href=\"other.html\">an apple link</A> banana\r\n"
                            "<SCRIPT>var pear = 1; if (a < b) { x = \"apple\"; }</SCRIPT>\r\n"
                            "<TEXTAREA>pear</TEXTAREA><SELECT name=\"q\"><OPTION value=\"pear\">pear</OPTION></SELECT>\r\n"
                            "<P>big apple pie</P></BODY></HTML>\r\n"_s;

static const SearchListing keywordIndex{
    {u"self.html"_s, u"Self#banana"_s},
    {u"sub/fruit.html"_s, u"\"i.bmp\"Fruit#apple/pear?a hint"_s},
    {u"odd.html"_s, u"Odd#x$SAVE y/a,b/say \"hi\"/　"_s},
    {u"pie.html"_s, u"Tart#apple pie"_s},
};

class LookLinksTest : public QObject
{
    Q_OBJECT
private slots:
    void linksOnlyRunningTextOfTheBody()
    {
        const QString linked = addLookLinks(page, keywordIndex, u"self.html"_s);
        const QString apple = lookLink(u"apple"_s), pear = lookLink(u"pear"_s);
        QCOMPARE(apple, u"<A href=\"/$LOOK apple\">apple</A>"_s);
        const QString expected = QString(page)
                                     .replace(u"An APPLE and a pear;"_s, u"An "_s + apple + u" and a "_s + pear + u";"_s)
                                     .replace(u"big apple pie"_s, u"big "_s + lookLink(u"apple pie"_s));
        QCOMPARE(linked, expected);
        QCOMPARE(addLookLinks(linked, keywordIndex, u"self.html"_s), linked);
        // The link shows the word as the title writes it.
        QCOMPARE(removeLookLinks(linked), QString(page).replace(u"APPLE"_s, u"apple"_s));
    }

    void wordsOfATitle_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QStringList>("words");
        QTest::newRow("icon, caption, keywords, hint")
            << u"\"i.bmp\"Fruit#apple/pear?x"_s << QStringList{u"Fruit"_s, u"apple"_s, u"pear"_s};
        QTest::newRow("no #") << u"a/b//c"_s << QStringList{u"a"_s, u"b"_s, u"c"_s};
    }
    void wordsOfATitle()
    {
        QFETCH(QString, title);
        QFETCH(QStringList, words);
        QCOMPARE(lookTitleWords(title), words);
    }

    void commandCharactersHoweverWrittenMakeNoLink_data()
    {
        QTest::addColumn<QString>("word");
        QTest::addColumn<bool>("linkable");
        QTest::newRow("decimal references") << u"x&#44;&#36;touch.sh"_s << false;
        QTest::newRow("hex reference without ;") << u"x&#x2ctouch"_s << false;
        QTest::newRow("named references") << u"x&comma;&dollar;y"_s << false;
        QTest::newRow("quote without ;") << u"x&quot y"_s << false;
        QTest::newRow("percent-encoded") << u"x%2C%24y"_s << false;
        QTest::newRow("percent sign as a reference") << u"x&percnt;24y"_s << false;
        QTest::newRow("ampersand and percent as text") << u"AT&amp;T 100%"_s << true;
        QTest::newRow("plain") << u"りんご"_s << true;
    }
    void commandCharactersHoweverWrittenMakeNoLink()
    {
        QFETCH(QString, word);
        QFETCH(bool, linkable);
        QCOMPARE(isLinkableWord(word), linkable);
        // The same text in the body of a page, a title holding it as a keyword.
        const QString text = u"<HTML><HEAD><TITLE>t</TITLE></HEAD><BODY><P>"_s + word + u"</P></BODY></HTML>"_s;
        const QString linked = addLookLinks(text, {{u"k.html"_s, u"k2#"_s + word}}, u"self.html"_s);
        QCOMPARE(linked.contains(u"/$LOOK"_s), linkable);
    }

    void noLinkInsideACharacterReference()
    {
        const QString text = u"<BODY><P>a&amp;b&nbsp;c &lt;d&#160;lt&#x41;</P>"_s;
        const QString linked = addLookLinks(text, {{u"k.html"_s, u"k#amp/nbsp/lt/160/x41/d"_s}}, u"self.html"_s);
        QCOMPARE(linked, QString(text).replace(u"&lt;d"_s, u"&lt;"_s + lookLink(u"d"_s))
                             .replace(u"160;lt"_s, u"160;"_s + lookLink(u"lt"_s)));
    }

    void linksOnlyWhereTheBrowserReadsRunningText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("word");
        QTest::addColumn<QString>("linked"); // "[" and "]" around the linked word
        QTest::newRow("script whose comment holds a script tag")
            << u"<P>apple<SCRIPT>document.write(\"<!--<SCRIPT></SCRIPT>\"); /* apple <B> */</SCRIPT>"_s << u"apple"_s
            << u"<P>[apple]<SCRIPT>document.write(\"<!--<SCRIPT></SCRIPT>\"); /* apple <B> */</SCRIPT>"_s;
        QTest::newRow("a title word that closes a script comment")
            << u"<P>x<SCRIPT>s=\"<!--<SCRIPT></SCRIPT>\"; /* */alert(1)/* <B> */</SCRIPT>"_s << u"*/alert(1)/*"_s
            << u"<P>x<SCRIPT>s=\"<!--<SCRIPT></SCRIPT>\"; /* */alert(1)/* <B> */</SCRIPT>"_s;
        QTest::newRow("comments, <!--> and the script after it")
            << u"<!-- apple <B>b</B> --><!-->apple<SCRIPT>/* --> apple <B> */</SCRIPT>"_s << u"apple"_s
            << u"<!-- apple <B>b</B> --><!-->[apple]<SCRIPT>/* --> apple <B> */</SCRIPT>"_s;
        QTest::newRow("SVG text and an unclosed tag")
            << u"<svg><text>apple <b>x</b></text></svg><P>apple<B title=\"x apple"_s << u"apple"_s
            << u"<svg><text>apple <b>x</b></text></svg><P>[apple]<B title=\"x apple"_s;
        QTest::newRow("a quote in running text") << u"<P>say \"apple\" <B>x</B>"_s << u"apple"_s
                                                 << u"<P>say \"[apple]\" <B>x</B>"_s;
        QTest::newRow("Japanese and beyond the BMP")
            << u"<P title=\"りんご\">😀𠮷りんご<B>りんご</B></P>"_s << u"りんご"_s
            << u"<P title=\"りんご\">😀𠮷[りんご]<B>[りんご]</B></P>"_s;
    }
    void linksOnlyWhereTheBrowserReadsRunningText()
    {
        QFETCH(QString, text);
        QFETCH(QString, word);
        QFETCH(QString, linked);
        linked.replace(u'[' + word + u']', lookLink(word));
        QCOMPARE(linkWordInText(text, 0, word), linked);
        QCOMPARE(addLookLinks(text, {{u"k.html"_s, u"#"_s + word}}, u"self.html"_s), linked);
    }

    // LOOK makes no page the program then refuses to read or show.
    void linksStopWhereThePageWouldPassTheLimits_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("links"); // as many as fit
        const QString head = u"<HTML><HEAD><TITLE>t</TITLE></HEAD><BODY><P>"_s;
        QTest::newRow("a word thirteen thousand times")
            << head + u"apple "_s.repeated(13000) << int(MarkupTagLimit - head.count(u'<')) / 2;
        const QString link = lookLink(u"apple"_s);
        const qsizetype room = 4 * (link.size() - 5) + 20;
        const QString filler = u"<P>"_s + QString(qsizetype(PageSizeLimit) - room, u'x') + u"</P>"_s;
        const QString text = head + u"apple "_s.repeated(8) + filler;
        QTest::newRow("a page near the size limit")
            << text << int((PageSizeLimit - 16 - encodePage(text).size()) / (link.size() - 5));
    }
    void linksStopWhereThePageWouldPassTheLimits()
    {
        QFETCH(QString, text);
        LookLinksEnd end = LookLinksEnd::Done;
        const QString linked = addLookLinks(text, {{u"k.html"_s, u"k#apple"_s}}, u"self.html"_s, &end);
        QCOMPARE(end, LookLinksEnd::Stopped);
        QTEST(int(linked.count(lookLink(u"apple"_s))), "links");
        QVERIFY(linked.count(u'<') <= MarkupTagLimit);
        QVERIFY(encodePage(linked).size() <= PageSizeLimit);
        QVERIFY(!readMarkup(linked).overBudget);
        QCOMPARE(removeLookLinks(linked), text);
    }

    // A page too costly to read loses the links LOOK wrote, by their form.
    void linksOfAPageNotReadGoByTheirForm_data()
    {
        QTest::addColumn<QString>("links");
        QTest::addColumn<QString>("removed");
        QTest::addColumn<LookLinksEnd>("end");
        QTest::newRow("as LOOK writes them, in any case")
            << u"<A href=\"/$LOOK apple\">apple</A> and <a HREF=\"/$look &lt;b&gt;\">&lt;b&gt;</a>"_s
            << u"apple and &lt;b&gt;"_s << LookLinksEnd::Done;
        QTest::newRow("another link stays") << u"<A href=\"/$LOOK apple\">pie</A>, <A href=\"x.html\">x</A>"_s
                                            << u"<A href=\"/$LOOK apple\">pie</A>, <A href=\"x.html\">x</A>"_s
                                            << LookLinksEnd::Unread;
    }
    void linksOfAPageNotReadGoByTheirForm()
    {
        QFETCH(QString, links);
        QString costly = u"<P>Start real</P><p>"_s;
        for (int i = 0; i < 1000; ++i)
            costly += u"<b id=%1>"_s.arg(i);
        costly += u"</p>"_s + u"<div>x</div>"_s.repeated(1000) + u"<P>"_s;
        QVERIFY(readMarkup(costly + links).overBudget);
        QFETCH(QString, removed);
        LookLinksEnd end = LookLinksEnd::Done;
        QCOMPARE(removeLookLinks(costly + links, &end), costly + removed);
        QTEST(end, "end");
        // Links are not made in it, and the caller is told.
        const QString linked = addLookLinks(costly + links, {{u"k.html"_s, u"k#apple"_s}}, u"self.html"_s, &end);
        QCOMPARE(linked, costly + removed);
        QCOMPARE(end, LookLinksEnd::Unread);
    }

    // Made anew, the old links' words are running text again, as a new reading reads them.
    void oldLinksGiveTheirWordsBack_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("linked");
        QTest::newRow("a word across an old link")
            << u"<P>pine<A href=\"/$LOOK apple\">apple</A> tart"_s << u"k#pineapple"_s
            << u"<P><A href=\"/$LOOK pineapple\">pineapple</A> tart"_s;
        QTest::newRow("a link without its end tag")
            << u"<P>x<A href=\"/$LOOK apple\">apple and more"_s << u"k#more"_s
            << u"<P>xapple and <A href=\"/$LOOK more\">more</A>"_s;
        QTest::newRow("a link holding a tag")
            << u"<P><A href=\"/$LOOK apple\">ap<B>ple</B></A> apple"_s << u"k#apple"_s
            << u"<P>ap<B>ple</B> <A href=\"/$LOOK apple\">apple</A>"_s;
    }
    void oldLinksGiveTheirWordsBack()
    {
        QFETCH(QString, text);
        QFETCH(QString, title);
        QTEST(addLookLinks(text, {{u"k.html"_s, title}}, u"self.html"_s), "linked");
    }

    void removal_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("removed");
        QTest::newRow("any case") << u"a<a HREF=\"/$look z\">z</a>b"_s << u"azb"_s;
        QTest::newRow("other links stay") << u"<A href=\"x.html\">x</A>"_s << u"<A href=\"x.html\">x</A>"_s;
        QTest::newRow("no end tag") << u"x<A href=\"/$LOOK y\">y and more"_s << u"xy and more"_s;
        QTest::newRow("no tag end") << u"x<A href=\"/$LOOK y"_s << u"x<A href=\"/$LOOK y"_s;
        QTest::newRow("link text in a script or a comment stays")
            << u"<SCRIPT>s='<A href=\"/$LOOK y\">y</A>';</SCRIPT><!--<A href=\"/$LOOK z\">z</A>-->"_s
            << u"<SCRIPT>s='<A href=\"/$LOOK y\">y</A>';</SCRIPT><!--<A href=\"/$LOOK z\">z</A>-->"_s;
    }
    void removal()
    {
        QFETCH(QString, text);
        QFETCH(QString, removed);
        QCOMPARE(removeLookLinks(text), removed);
    }

    void onlyOwnValidPagesAreRewritten()
    {
        QTemporaryDir dir;
        const auto build = [](const QString &text) { return QString(text + u"!"_s); };
        const QString own = dir.filePath(u"own.html"_s), foreign = dir.filePath(u"foreign.html"_s),
                      broken = dir.filePath(u"broken.html"_s);
        QVERIFY(writeFixture(own, "<!DOCTYPE HTML PUBLIC>\r\n"));
        QVERIFY(writeFixture(foreign, "<html>\r\n"));
        QVERIFY(writeFixture(broken, "<!DOCTYPE HTML PUBLIC>\xff\r\n"));
        QCOMPARE(rewriteLookLinks(own, build, 0), LookPageResult::Written);
        QCOMPARE(readFixture(own), QByteArray("\xEF\xBB\xBF<!DOCTYPE HTML PUBLIC>\r\n!\r\n"));
        QCOMPARE(rewriteLookLinks(foreign, build, 0), LookPageResult::NotOwnPage);
        QCOMPARE(rewriteLookLinks(broken, build, 0), LookPageResult::Undecodable);
        QCOMPARE(readFixture(broken), QByteArray("<!DOCTYPE HTML PUBLIC>\xff\r\n"));
        QCOMPARE(rewriteLookLinks(dir.filePath(u"none.html"_s), build, 0), LookPageResult::Unreadable);
        // A link planted as a page: neither followed nor turned into a copy of its file.
        const QString link = dir.filePath(u"link.html"_s);
        QVERIFY(QFile::link(own, link));
        QCOMPARE(rewriteLookLinks(link, build, 0), LookPageResult::WriteFailed);
        QVERIFY(QFileInfo(link).isSymLink());
    }

    void pageOfAnotherWriterIsNotWrittenOver_data()
    {
        QTest::addColumn<bool>("locked"); // a post holds the page's lock, or one changed it unlocked
        QTest::newRow("a post holds the lock") << true;
        QTest::newRow("changed while the links were made") << false;
    }
    void pageOfAnotherWriterIsNotWrittenOver()
    {
        QFETCH(bool, locked);
        QTemporaryDir dir;
        const QString path = dir.filePath(u"own.html"_s);
        QVERIFY(writeFixture(path, "<!DOCTYPE HTML PUBLIC>\r\n"));
        QLockFile other(SharedFileLock::lockPathFor(path));
        if (locked)
            QVERIFY(other.tryLock(0));
        const auto build = [&](const QString &text) {
            if (!locked)
                writeFixture(path, "<!DOCTYPE HTML PUBLIC>\r\nposted\r\n");
            return QString(text + u"!"_s);
        };
        QCOMPARE(rewriteLookLinks(path, build, 0), locked ? LookPageResult::Busy : LookPageResult::Changed);
        QCOMPARE(readFixture(path), locked ? QByteArray("<!DOCTYPE HTML PUBLIC>\r\n")
                                           : QByteArray("<!DOCTYPE HTML PUBLIC>\r\nposted\r\n"));
    }
};

QTEST_GUILESS_MAIN(LookLinksTest)
#include "tst_looklinks.moc"
