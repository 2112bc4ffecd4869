#include "core/navigation/linkpage.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {
QString linkPage(const QString &links)
{
    return u"<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01//EN\"><HTML><BODY><P>【リンク】の一覧</P>"_s + links
        + u"</BODY></HTML>"_s;
}
} // namespace

Q_DECLARE_METATYPE(LinkPagePlan::Kind)

class LinkPageTest : public QObject
{
    Q_OBJECT
private slots:
    void kindOfLoadedDocument_data()
    {
        QTest::addColumn<QString>("url");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<bool>("page");
        QTest::addColumn<bool>("processed");
        QTest::newRow("page") << u"file:///d/1010_a.html"_s << u".HTML"_s << true << true;
        QTest::newRow("web page with query") << u"http://s/p.htm?q=1"_s << u".HTM?Q=1"_s << true << true;
        QTest::newRow("pdf") << u"file:///d/doc.Pdf"_s << u".PDF"_s << false << true;
        QTest::newRow("jtd") << u"file:///d/doc.jtd"_s << u".JTD"_s << false << true;
        QTest::newRow("text") << u"file:///d/memo.txt"_s << u".TXT"_s << false << false;
        QTest::newRow("dot in folder only") << u"file:///d.v/readme"_s << QString() << false << false;
        QTest::newRow("web folder") << u"http://host.com/dir/"_s << QString() << false << false;
    }
    void kindOfLoadedDocument()
    {
        QFETCH(QString, url);
        QFETCH(QString, kind);
        QFETCH(bool, page);
        QFETCH(bool, processed);
        QCOMPARE(documentKind(url), kind);
        QCOMPARE(isPageKind(kind), page);
        QCOMPARE(isProcessedKind(kind), processed);
    }

    void lowerPaneCopyForAnswerLinks_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("copy");
        QTest::newRow("answer link") << u"<a href=\"/$NEXT\">n</a><a href=\"/$_【○】\">o</a>"_s << true;
        QTest::newRow("upper-case attribute") << u"<A HREF=\"/$_【×】\">x</A>"_s << true;
        QTest::newRow("commands only") << u"<a href=\"/$NEXT\">【次へ】</a>"_s << false;
        QTest::newRow("bracket without command") << u"<a href=\"【資料】.html\">a</a>"_s << false;
        QTest::newRow("unclosed quote") << u"<a href=\"/$_【○】"_s << false;
    }
    void lowerPaneCopyForAnswerLinks()
    {
        QFETCH(QString, text);
        QFETCH(bool, copy);
        QCOMPARE(wantsLowerPaneCopy(text), copy);
    }

    void onlyTheFirstAmpersandIsDecoded()
    {
        QCOMPARE(replaceFirstAmp(u"a&amp;b&amp;c"_s), u"a&b&amp;c"_s);
    }

    void expandsLinkPages_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("location");
        QTest::addColumn<LinkPagePlan::Kind>("kind");
        QTest::addColumn<QString>("result"); // command line or target
        QTest::addColumn<QString>("label");

        QTest::newRow("one command link")
            << linkPage(u"<A href=\"/x/$GO intro\">【リンク】Intro</A>"_s) << u"file:///d/links.html"_s
            << LinkPagePlan::RunCommand << u"GO intro,"_s << QString();
        QTest::newRow("a bare command link")
            << linkPage(u"<A href=\"/$NEXT\">【リンク】次</A>"_s) << u"file:///d/links.html"_s
            << LinkPagePlan::RunCommand << u"NEXT,"_s << QString();
        QTest::newRow("one web link")
            << linkPage(u"<A href=\"http://example.org/a.html\">【リンク】Example site</A>"_s)
            << u"file:///d/links.html"_s << LinkPagePlan::Follow << u"http://example.org/a.html"_s
            << u"Example site"_s;
        QTest::newRow("relative link of a page in a sub-folder")
            << linkPage(u"<A href=\"pages\\page 2.html\">2</A>"_s) << u"file:///d/sub/links.html"_s
            << LinkPagePlan::Follow << u"file:///d/sub/pages/page 2.html"_s << QString();
        QTest::newRow("relative link on a server")
            << linkPage(u"<A href=\"p.html\">【リンク】P</A>"_s) << u"http://s/dir/links.html"_s
            << LinkPagePlan::Follow << u"http://s/dir/p.html"_s << u"P"_s;
        QTest::newRow("NOTLINK in a comment") << linkPage(u"<!-- NOTLINK --><A href=\"a.html\">a</A>"_s)
                                              << u"file:///d/links.html"_s << LinkPagePlan::None << QString()
                                              << QString();
        QTest::newRow("no marker") << u"<A href=\"a.html\">a</A>"_s << u"file:///d/a.html"_s
                                   << LinkPagePlan::None << QString() << QString();
        QTest::newRow("marker, no link") << linkPage(QString()) << u"file:///d/a.html"_s
                                         << LinkPagePlan::None << QString() << QString();
        QTest::newRow("unclosed quote") << linkPage(u"<A href=\"a.html>a</A>"_s) << u"file:///d/a.html"_s
                                        << LinkPagePlan::None << QString() << QString();
    }
    void expandsLinkPages()
    {
        QFETCH(QString, text);
        QFETCH(QString, location);
        QFETCH(LinkPagePlan::Kind, kind);
        QFETCH(QString, result);
        QFETCH(QString, label);
        const LinkPagePlan plan = planLinkPage(text, location);
        QCOMPARE(plan.kind, kind);
        QCOMPARE(kind == LinkPagePlan::RunCommand ? plan.commandLine : plan.target, result);
        QCOMPARE(plan.label, label);
    }

    void severalLinksMakeALevel_data()
    {
        QTest::addColumn<QString>("location");
        QTest::addColumn<QStringList>("entries");
        QTest::newRow("local links stay relative")
            << u"file:///d/links.html"_s
            << QStringList{u"a.html"_s, u"http://example.org/b.html"_s, u"sub\\c.pdf"_s};
        QTest::newRow("web page: its folder before relative links")
            << u"https://s/dir/links.html"_s
            << QStringList{u"https://s/dir/a.html"_s, u"http://example.org/b.html"_s, u"https://s/dir/sub\\c.pdf"_s};
    }
    void severalLinksMakeALevel()
    {
        QFETCH(QString, location);
        QFETCH(QStringList, entries);
        const QString text = linkPage(u"<A HREF=\"a.html\">【リンク】A</A><br>"
                                      "<a href=\"http://example.org/b.html\" target=\"_top\">B page</a>"
                                      "<A HREF=\"sub\\c.pdf\">【リンク】資料 C</A>"_s);
        const LinkPagePlan plan = planLinkPage(text, location);
        QCOMPARE(plan.kind, LinkPagePlan::Level);
        QCOMPARE(plan.entries, entries);
        QCOMPARE(plan.titles, (QStringList{u"【リンク】A"_s, u"B page"_s, u"【リンク】資料 C"_s}));
    }

    void labelComesFromTheNextMarker()
    {
        const QList<LinkPageLink> links =
            linkPageLinks(u"<a href=\"a.html\">A</a> <a href=\"b.html\">【リンク】Bee<b>x</b></a>"_s);
        QCOMPARE(links.size(), 2);
        QCOMPARE(links.at(0).label, u"Bee"_s);
        QCOMPARE(links.at(1).label, u"Bee"_s);
        QCOMPARE(links.at(1).text, u"【リンク】Bee"_s);
    }

    void circleOfLinkPagesStops()
    {
        LinkExpansionGuard guard;
        // A and B lead to each other: every load is another expansion.
        int expansions = 0;
        while (guard.beginExpansion() && expansions < 100)
            ++expansions;
        QCOMPARE(expansions, LinkExpansionGuard::Limit);
        // The user opens a link page again: it expands once more.
        QVERIFY(guard.beginExpansion());
        QCOMPARE(guard.chainLength(), 1);
    }

    void ordinaryPageEndsTheChain()
    {
        LinkExpansionGuard guard;
        for (int i = 0; i < LinkExpansionGuard::Limit - 1; ++i)
            QVERIFY(guard.beginExpansion());
        guard.ordinaryPage();
        for (int i = 0; i < LinkExpansionGuard::Limit; ++i)
            QVERIFY(guard.beginExpansion());
        QVERIFY(!guard.beginExpansion());
    }
};

QTEST_APPLESS_MAIN(LinkPageTest)
#include "tst_linkpage.moc"
