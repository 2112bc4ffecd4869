#include "../editortools/filebytes.h"
#include "core/editor/pagebuilder.h"
#include "core/editor/pagereader.h"
#include "core/forms/formtexts.h"
#include "core/forms/pagepost.h"
#include "core/forms/sharedfilelock.h"
#include "core/pages/markupscan.h"
#include "core/pages/pagefile.h"

#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {
const QString Page = u"<HTML><HEAD><TITLE>t</TITLE></HEAD><BODY><!--NOTE_IN--><P></P><P align=\"left\">text</P>"
                     u"<!--NOTE_OUT--></BODY></HTML>"_s;

QString pageText(const QString &path)
{
    return readPageFile(path).text;
}
} // namespace

class PagePostTest : public QObject
{
    Q_OBJECT
private slots:
    void dateLineHasNoLeadingZeros()
    {
        const QDateTime when(QDate(2016, 2, 7), QTime(9, 5));
        QCOMPARE(postDateLine(when, postLocale(QLocale::c())), u" 2016年2月7日9時5分   日曜日 "_s);
    }

    void blocks_data()
    {
        QTest::addColumn<QString>("date");
        QTest::addColumn<QString>("poster");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("block");
        QTest::newRow("date and poster") << u" d "_s << u"花子"_s << u"hi"_s << u"(^0^) d ：花子<BR>hi<BR>---.<BR>"_s;
        QTest::newRow("neither") << QString() << QString() << u"hi"_s << u"(^0^)hi<BR>---.<BR>"_s;
        QTest::newRow("poster without date") << QString() << u"太郎"_s << u"hi"_s << u"(^0^)：太郎<BR>hi<BR>---.<BR>"_s;
        QTest::newRow("three lines") << QString() << QString() << u"a\r\nb\nc"_s << u"(^0^)a<BR>b<BR>c<BR>---.<BR>"_s;
        QTest::newRow("script and command link escaped")
            << u"<b>"_s << QString() << u"<script>x</script><A href=\"/$SAVE x\">"_s
            << u"(^0^)&lt;b&gt;<BR>&lt;script&gt;x&lt;/script&gt;&lt;A href=&quot;/$SAVE x&quot;&gt;<BR>---.<BR>"_s;
        QTest::newRow("quotes closing a script string escaped")
            << QString() << u"it's"_s << u"\";location.href=\"/$touch.sh x\";var z=\""_s
            << u"(^0^)：it&#39;s<BR>&quot;;location.href=&quot;/$touch.sh x&quot;;var z=&quot;<BR>---.<BR>"_s;
        QTest::newRow("typed mark starts no post") << QString() << QString() << u"a(^0^)b"_s
                                                   << u"(^0^)a(^0^&#41;b<BR>---.<BR>"_s;
        QTest::newRow("typed terminator ends no post") << QString() << QString() << u"a\n---.\nb"_s
                                                       << u"(^0^)a<BR>---&#46;<BR>b<BR>---.<BR>"_s;
    }
    void blocks()
    {
        QFETCH(QString, date);
        QFETCH(QString, poster);
        QFETCH(QString, message);
        QTEST(postBlock(date, poster, message), "block");
    }

    void insertionPoint_data()
    {
        QTest::addColumn<QString>("page");
        QTest::addColumn<QString>("result"); // "" when there is no place
        QTest::newRow("after the last paragraph tag with attributes")
            << u"<BODY><P>a</P><P class=\"x\">b</P></BODY>"_s << u"<BODY><P>a</P><P class=\"x\">#b</P></BODY>"_s;
        QTest::newRow("a PRE tag is no paragraph") << u"<BODY><P>a</P><PRE>b</PRE>"_s << u"<BODY><P>#a</P><PRE>b</PRE>"_s;
        QTest::newRow("no paragraph: after the body tag") << u"<body bgcolor=\"x\">text"_s << u"<body bgcolor=\"x\">#text"_s;
        QTest::newRow("neither") << u"plain text"_s << QString();
        QTest::newRow("inside the answer block is no place")
            << u"<BODY><P>a</P><!--beginKavuno_ANSWER//--><P>b</P><!--endKavuno_ANSWER//--></BODY>"_s
            << u"<BODY><P>#a</P><!--beginKavuno_ANSWER//--><P>b</P><!--endKavuno_ANSWER//--></BODY>"_s;
        QTest::newRow("a P in a script is text")
            << u"<BODY><P>a</P><SCRIPT>var tpl = \"<P>\";</SCRIPT></BODY>"_s
            << u"<BODY><P>#a</P><SCRIPT>var tpl = \"<P>\";</SCRIPT></BODY>"_s;
        QTest::newRow("a P in a style, a text area, a noscript, a comment is text")
            << u"<BODY><P>a</P><STYLE>p{content:\"<P>\"}</STYLE><TEXTAREA><P x></TEXTAREA><NOSCRIPT><P></NOSCRIPT><!-- <P> --></BODY>"_s
            << u"<BODY><P>#a</P><STYLE>p{content:\"<P>\"}</STYLE><TEXTAREA><P x></TEXTAREA><NOSCRIPT><P></NOSCRIPT><!-- <P> --></BODY>"_s;
        QTest::newRow("a P in an attribute value is text")
            << u"<BODY><P>a</P><IMG alt=\"<P>x\" src=y></BODY>"_s << u"<BODY><P>#a</P><IMG alt=\"<P>x\" src=y></BODY>"_s;
        QTest::newRow("a quoted > does not end the paragraph tag")
            << u"<BODY><P title='a>b'>x</P></BODY>"_s << u"<BODY><P title='a>b'>#x</P></BODY>"_s;
        QTest::newRow("an unclosed script holds no place")
            << u"<BODY><P>a</P><SCRIPT>x=\"<P>\""_s << u"<BODY><P>#a</P><SCRIPT>x=\"<P>\""_s;
        // A script whose comment holds a script tag does not end at the first end tag.
        QTest::newRow("a P after a script's end tag in its comment is in the script")
            << u"<BODY><P>a</P><SCRIPT>document.write(\"<!--<SCRIPT src=x></SCRIPT>\"); /* row template: <P> */ x=1;</SCRIPT></BODY>"_s
            << u"<BODY><P>#a</P><SCRIPT>document.write(\"<!--<SCRIPT src=x></SCRIPT>\"); /* row template: <P> */ x=1;</SCRIPT></BODY>"_s;
        QTest::newRow("<!--> is an empty comment: the script after it is real")
            << u"<BODY><P>a</P><!--><SCRIPT>/* --><P> */</SCRIPT></BODY>"_s
            << u"<BODY><P>#a</P><!--><SCRIPT>/* --><P> */</SCRIPT></BODY>"_s;
        QTest::newRow("a P after <!--> is real") << u"<BODY><P>a</P><!--><P>b-->"_s << u"<BODY><P>a</P><!--><P>#b-->"_s;
        QTest::newRow("a P only in a script is no place")
            << u"<BODY><SCRIPT>/* row template: <P> */</SCRIPT></BODY>"_s << QString();
        QTest::newRow("Japanese and beyond the BMP before the paragraph")
            << u"<BODY><P>日本😀</P><P title=\"𠮷\">語</P>"_s << u"<BODY><P>日本😀</P><P title=\"𠮷\">#語</P>"_s;
    }
    void insertionPoint()
    {
        QFETCH(QString, page);
        QString result;
        QTEST(insertPost(page, u"#"_s, result) ? result : QString(), "result");
    }

    void pageWithoutARealParagraphIsRefused_data()
    {
        QTest::addColumn<QString>("page");
        QTest::addColumn<PostStatus>("status");
        QTest::newRow("P only in a script") << u"<BODY><SCRIPT>/* <P> */</SCRIPT>"_s << PostStatus::NoParagraph;
        QTest::newRow("P only in a comment and a value")
            << u"<BODY><!-- <P> --><IMG alt=\"<P>\">"_s << PostStatus::NoParagraph;
        QTest::newRow("too many tags to read") << u"<BODY><P>"_s + u"<B>"_s.repeated(MarkupTagLimit)
                                                << PostStatus::TooMuchMarkup;
        QString copied = u"<BODY><P>Start real</P><p>"_s;
        for (int i = 0; i < 1000; ++i)
            copied += u"<b id=%1>"_s.arg(i);
        QTest::newRow("unclosed formatting tags copied into each later block")
            << copied + u"</p>"_s + u"<div>x</div>"_s.repeated(1000) << PostStatus::TooMuchMarkup;
        QTest::newRow("nesting deeper than a page is read for")
            << u"<BODY>"_s + u"<DIV>"_s.repeated(MarkupDepthLimit) + u"<P>x"_s << PostStatus::TooMuchMarkup;
        QTest::newRow("neither a paragraph nor a body") << u"plain text"_s << PostStatus::NoPlace;
    }
    void pageWithoutARealParagraphIsRefused()
    {
        QFETCH(QString, page);
        QFETCH(PostStatus, status);
        QTemporaryDir dir;
        const QString path = dir.filePath(u"1010_a.html"_s);
        QVERIFY(writePageFile(path, page));
        const PostOutcome outcome = postToPage(path, QString(), QString(), u"*/ location.href=1 /*"_s, 0);
        QCOMPARE(outcome.status, status);
        QVERIFY(!postOutcomeText(outcome).isEmpty());
        QCOMPARE(pageText(path), normalizeLineBreaks(page));
    }

    void tenPostsStayTenNewestFirst()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"1010_a.html"_s);
        QVERIFY(writePageFile(path, Page));
        for (int n = 1; n <= 12; ++n)
            QCOMPARE(postToPage(path, QString(), QString(), u"m%1"_s.arg(n), 0).status, PostStatus::Posted);
        const QString text = pageText(path);
        QCOMPARE(text.count(FormTexts::PostMark), 10);
        QVERIFY(text.contains(u"<P align=\"left\">(^0^)m12<BR>---.<BR>(^0^)m11<BR>"_s));
        QVERIFY(text.contains(u"(^0^)m3<BR>---.<BR>text</P>"_s));
        QVERIFY(!text.contains(u"m2<BR>"_s));
        QCOMPARE(postToPage(path, u" d "_s, QString(), u" \r\n"_s, 0).status, PostStatus::EmptyMessage);
    }

    void marksInsidePostsKeepTheLimit_data()
    {
        QTest::addColumn<bool>("typed"); // typed into new posts, or left by an older copy in the page
        QTest::newRow("every fifth post holds a mark") << true;
        QTest::newRow("older posts hold marks") << false;
    }
    void marksInsidePostsKeepTheLimit()
    {
        QFETCH(bool, typed);
        QTemporaryDir dir;
        const QString path = dir.filePath(u"1010_a.html"_s);
        QString page = Page;
        if (!typed) {
            QString old;
            for (int n = 12; n >= 1; --n)
                old += u"(^0^)old%1 (^0^)<BR>---.<BR>"_s.arg(n);
            page.replace(u"<P align=\"left\">"_s, u"<P align=\"left\">"_s + old);
        }
        QVERIFY(writePageFile(path, page));
        for (int n = 1; n <= (typed ? 60 : 1); ++n) {
            const QString message = n % 5 ? u"m%1"_s.arg(n) : u"m%1 (^0^)"_s.arg(n);
            QCOMPARE(postToPage(path, QString(), QString(), message, 0).status, PostStatus::Posted);
        }
        const QString text = pageText(path);
        QCOMPARE(text.count(FormTexts::PostTerminator), 10);
        QVERIFY(text.contains(u"---.<BR>text</P>"_s));
    }

    void postIntoQuizPageSurvivesEditorSave()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"1010_q.html"_s);
        PageModel model = LoadPageToFields(Page, path);
        model.text = u"(北海道) は広い"_s;
        model.quiz = true;
        QVERIFY(writePageFile(path, BuildPageFromFields(model, path, QDate(2026, 2, 6)).page));
        QCOMPARE(postToPage(path, QString(), u"花子"_s, u"kept"_s, 0).status, PostStatus::Posted);
        const PageModel read = LoadPageToFields(pageText(path), path);
        QVERIFY(read.quiz);
        const QString saved = BuildPageFromFields(read, path, QDate(2026, 2, 6)).page;
        QVERIFY(saved.contains(u"(^0^)：花子<BR>kept<BR>---.<BR>"_s));
        QVERIFY(saved.contains(u"name=\"北海道\""_s));
        QVERIFY(saved.contains(u"var kazu=1;"_s));
    }

    void postWaitsForTheLockOrSaysSo()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"1010_a.html"_s);
        QVERIFY(writePageFile(path, Page));
        QLockFile other(SharedFileLock::lockPathFor(path));
        QVERIFY(other.tryLock(0));
        QCOMPARE(postToPage(path, QString(), QString(), u"x"_s, 100).status, PostStatus::Busy);
        QCOMPARE(pageText(path), normalizeLineBreaks(Page));
        // Released while the post waits: the post goes in.
        QTimer::singleShot(100, [&other] { other.unlock(); });
        QCOMPARE(postToPage(path, QString(), QString(), u"x"_s, 10000).status, PostStatus::Posted);
        QVERIFY(pageText(path).contains(u"(^0^)x<BR>"_s));
        // A folder at the lock's name is never "another PC writing": it is named, at once.
        other.unlock();
        QVERIFY(QDir(dir.path()).mkdir(QFileInfo(SharedFileLock::lockPathFor(path)).fileName()));
        const PostOutcome blocked = postToPage(path, QString(), QString(), u"y"_s, 60000);
        QCOMPARE(blocked.status, PostStatus::WriteFailed);
        QVERIFY(postOutcomeText(blocked).contains(QFileInfo(SharedFileLock::lockPathFor(path)).fileName()));
    }
};

QTEST_GUILESS_MAIN(PagePostTest)
#include "tst_pagepost.moc"
