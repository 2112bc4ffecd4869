#include "core/pages/markers.h"
#include "core/pages/quiz.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {
QString page(const QString &body)
{
    return u"<HTML><HEAD><TITLE>q</TITLE></HEAD><BODY>"_s + body + u"</BODY></HTML>"_s;
}

// The body of a quiz page between the two quiz blocks.
QString fieldsOf(const QString &quizPage)
{
    const QString firstEnd = Markers::QuizEnd;
    const qsizetype start = quizPage.indexOf(firstEnd) + firstEnd.size();
    const qsizetype end = quizPage.indexOf(Markers::QuizBegin, start);
    return quizPage.sliced(start, end - start);
}
} // namespace

class QuizTest : public QObject
{
    Q_OBJECT
private slots:
    void blanksBecomeFields_data()
    {
        QTest::addColumn<QString>("body");
        QTest::addColumn<QString>("fields");
        QTest::newRow("choice blank") << u"(首都|首都/県庁/市役所)"_s
                                      << u"<SELECT name=\"首都\"><OPTION value=\"?\">?</OPTION><OPTION value=\"首都\">首都</OPTION>"
                                         u"<OPTION value=\"県庁\">県庁</OPTION><OPTION value=\"市役所\">市役所</OPTION></SELECT>"_s;
        QTest::newRow("text blank with alternatives")
            << u"(Tokyo/東京)"_s << u"<input type=\"text\" name=\"Tokyo/東京\" size=\"11\">"_s;
        QTest::newRow("size counts characters") << u"(北海道)"_s << u"<input type=\"text\" name=\"北海道\" size=\"6\">"_s;
        QTest::newRow("answer mark without choices stays") << u"(a|b)"_s << u"(a|b)"_s;
        QTest::newRow("angle inside stays") << u"(x<y)"_s << u"(x<y)"_s;
        QTest::newRow("quote inside stays") << u"(say \"hi\")"_s << u"(say \"hi\")"_s;
        QTest::newRow("full-width brackets are text") << u"（全角）"_s << u"（全角）"_s;
        QTest::newRow("bracket in an attribute is no blank")
            << u"<IMG src=\"photo (2).jpg\"> and <A href=\"#\" onclick=\"f()\">x</A>"_s
            << u"<IMG src=\"photo (2).jpg\"> and <A href=\"#\" onclick=\"f()\">x</A>"_s;
        QTest::newRow("unquoted attribute with brackets") << u"<INPUT onclick=f() value=\"v\">(a)"_s
                                                          << u"<INPUT onclick=f() value=\"v\"><input type=\"text\" name=\"a\" size=\"4\">"_s;
        QTest::newRow("text around a tag inside brackets stays, blank after it works")
            << u"(see <B>this</B>) (ok)"_s << u"(see <B>this</B>) <input type=\"text\" name=\"ok\" size=\"5\">"_s;
        QTest::newRow("mark never closed: unnamed field") << u"a(b"_s << u"a<input type=\"text\" name=\"\" size=\"3\">b"_s;
        QTest::newRow("comment left alone") << u"<!-- f(x) -->"_s << u"<!-- f(x) -->"_s;
        QTest::newRow("less-than before a letter is text")
            << u"(x<y) は (真) です"_s << u"(x<y) は <input type=\"text\" name=\"真\" size=\"4\"> です"_s;
        QTest::newRow("less-than before a kanji is text")
            << u"A<Bのとき (大|大/小) です。(等号)"_s
            << u"A<Bのとき <SELECT name=\"大\"><OPTION value=\"?\">?</OPTION><OPTION value=\"大\">大</OPTION>"
               u"<OPTION value=\"小\">小</OPTION></SELECT> です。<input type=\"text\" name=\"等号\" size=\"5\">"_s;
        QTest::newRow("post mark is no blank") << u"(^0^)x<BR>---.<BR>(y)"_s
                                               << u"(^0^)x<BR>---.<BR><input type=\"text\" name=\"y\" size=\"4\">"_s;
        QTest::newRow("tag never closed is text") << u"a <b (c)"_s << u"a <b <input type=\"text\" name=\"c\" size=\"4\">"_s;
    }
    void blanksBecomeFields()
    {
        QFETCH(QString, body);
        QFETCH(QString, fields);
        const QString quiz = BuildQuizHtml(page(body));
        QCOMPARE(fieldsOf(quiz), fields);
        // The script checks as many answers as there are fields.
        const qsizetype made = fields.count(u"<input"_s) + fields.count(u"<SELECT"_s);
        QCOMPARE(quiz.contains(u"var kazu="_s + QString::number(made) + u';'), made > 0);
    }

    void countsBlanksInTheScript()
    {
        const QString quiz = BuildQuizHtml(page(u"(a) (b|b/c) (d) (e|f)"_s));
        QVERIFY(quiz.contains(u"<!--\r\nvar kazu=3;//問題数\rfunction Kselect"_s));
        QVERIFY(quiz.contains(u"function Kselect(){"_s));
        QVERIFY(quiz.startsWith(u"<HTML><HEAD><TITLE>q</TITLE></HEAD><BODY><!--beginKavuno//-->\r<FORM name=\"myForm\">\r"_s));
        QVERIFY(quiz.endsWith(u"\r</FORM>\r<!--endKavuno//--></BODY></HTML>"_s));
        QCOMPARE(quiz.count(u"<BR>"_s), 1 + 50 + 10 + 10 + 10);
    }

    void pageWithoutBlanksGetsTheNextButton()
    {
        const QString quiz = BuildQuizHtml(page(u"no blanks"_s));
        QVERIFY(quiz.contains(u"function JumpURL(url)"_s));
        QVERIFY(quiz.contains(u"ここをクリックして次に進む"_s));
        QVERIFY(!quiz.contains(u"kazu"_s));
        QCOMPARE(fieldsOf(quiz), u"no blanks"_s);
    }

    void pagesWithoutBodyTagsKeepTheirText()
    {
        const QString noBody = u"<HTML>(a) text</HTML>"_s;
        QCOMPARE(BuildQuizHtml(noBody), noBody);
        const QString noEnd = u"<BODY>(a) text"_s;
        const QString quiz = BuildQuizHtml(noEnd);
        QVERIFY(quiz.startsWith(u"<BODY><!--beginKavuno//-->"_s));
        QVERIFY(quiz.contains(u"<input type=\"text\" name=\"a\" size=\"4\"> text<!--beginKavuno//-->"_s));
        QVERIFY(quiz.endsWith(Markers::QuizEnd));
        // Marks after the body are not turned into fields.
        QVERIFY(BuildQuizHtml(u"<BODY>x</BODY>(a)"_s).endsWith(u"</BODY>(a)"_s));
    }

    void notationSurvivesBuildAndReverse_data()
    {
        QTest::addColumn<QString>("body");
        QTest::newRow("choices and alternatives") << u"東京は日本の(首都|首都/県庁/市役所)です。(Tokyo/東京)"_s;
        QTest::newRow("no blanks") << u"plain <B>text</B>"_s;
        QTest::newRow("non-blanks kept") << u"(a|b) (x<y) （全角）<IMG src=\"p (2).jpg\">"_s;
    }
    void notationSurvivesBuildAndReverse()
    {
        QFETCH(QString, body);
        const QuizReading reading = QuizHtmlToNotation(BuildQuizHtml(page(body)));
        QVERIFY(reading.quiz);
        QVERIFY(!reading.answer);
        QVERIFY(reading.panelRaised);
        QCOMPARE(reading.text, page(body));
    }

    void reverseAlwaysEnds_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("notation");
        QTest::newRow("begin marker without end")
            << u"<!--beginKavuno//-->script<BODY>x"_s << u"script<BODY>x"_s;
        QTest::newRow("input without name stays")
            << u"<!--beginKavuno//--><!--endKavuno//--><INPUT type=\"text\"><INPUT name=\"a\">"_s
            << u"<INPUT type=\"text\">(a)"_s;
        QTest::newRow("input without end") << u"<!--beginKavuno//--><!--endKavuno//-->x<INPUT name=\"a\""_s
                                           << u"x<INPUT name=\"a\""_s;
        QTest::newRow("select without end stays")
            << u"<!--beginKavuno//--><!--endKavuno//--><SELECT name=\"a\"><OPTION>?</OPTION>"_s
            << u"<SELECT name=\"a\"><OPTION>?</OPTION>"_s;
        QTest::newRow("lower-case fields")
            << u"<!--beginKavuno//--><!--endKavuno//--><select name=\"a\"><option value=\"?\">?</option><option>a</option><option>b</option></select>"_s
            << u"(a|a/b)"_s;
    }
    void reverseAlwaysEnds()
    {
        QFETCH(QString, text);
        QTEST(QuizHtmlToNotation(text).text, "notation");
    }

    void answerPageBlockComesAndGoes()
    {
        const QString plain = u"<BODY><!--NOTE_IN-->x<!--NOTE_OUT-->tail<!--FOOTER_IN--><!--FOOTER_OUT--></BODY>"_s;
        const QString answer = InsertAnswerButton(plain);
        QVERIFY(answer.contains(u"<!--NOTE_OUT-->tail<!--beginKavuno_ANSWER//-->\r\n<FORM>"_s));
        QVERIFY(answer.contains(u"<!--endKavuno_ANSWER//-->\r\n<!--FOOTER_IN-->"_s));
        const QuizReading reading = QuizHtmlToNotation(answer);
        QVERIFY(reading.answer);
        QVERIFY(!reading.quiz);
        QCOMPARE(reading.text, plain);
        QCOMPARE(InsertAnswerButton(u"<BODY>no note</BODY>"_s), u"<BODY>no note</BODY>"_s);
        // Nothing after the note: the block ends the page and goes again whole.
        const QString cut = u"<!--NOTE_IN-->x<!--NOTE_OUT-->tail"_s;
        QVERIFY(InsertAnswerButton(cut).endsWith(u"<!--endKavuno_ANSWER//-->\r\n"_s));
        QCOMPARE(QuizHtmlToNotation(InsertAnswerButton(cut)).text, cut);
    }

    void plainPageIsNoQuiz()
    {
        const QuizReading reading = QuizHtmlToNotation(page(u"(a)"_s));
        QVERIFY(!reading.quiz && !reading.answer && !reading.panelRaised);
        QCOMPARE(reading.text, page(u"(a)"_s));
    }
};

QTEST_APPLESS_MAIN(QuizTest)
#include "tst_quiz.moc"
