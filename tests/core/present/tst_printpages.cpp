// The print pages: quiz blanks for printing, the worksheet, the thumbnail
// summary, the copy's own print folder, and the frame of the presentation mode.
#include "core/navigation/testfiles.h"
#include "core/pages/pagefile.h"
#include "core/pages/quiz.h"
#include "core/present/presentframe.h"
#include "core/present/printfolder.h"
#include "core/present/printpages.h"

#include <QDir>
#include <QTemporaryDir>
#include <QProcess>
#include <QTest>

using namespace Qt::StringLiterals;

static QString blanks(int n)
{
    return u'(' + QString(n, QChar(0x3000)) + u')';
}

static QString red(const QString &answer)
{
    return u"(<FONT color=\"#ff0000\">"_s + answer + u"</FONT>)"_s;
}

class PrintPagesTest : public QObject
{
    Q_OBJECT

private slots:
    void quizPrintText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("printed");
        const QString quiz = BuildQuizHtml(u"<HTML><HEAD></HEAD><BODY>A(りんご)B(いぬ|ねこ/いぬ)C</BODY></HTML>"_s);
        QTest::newRow("quiz blanks") << quiz << 0
                                     << u"<HTML><HEAD></HEAD><BODY>A"_s + blanks(5) + u"B"_s + blanks(4)
                                            + u"C</BODY></HTML>"_s;
        QTest::newRow("quiz answers") << quiz << 3
                                      << u"<HTML><HEAD></HEAD><BODY>A"_s + red(u"りんご"_s) + u"B"_s + red(u"いぬ"_s)
                                             + u"C</BODY></HTML>"_s;
        QTest::newRow("field name in capitals, unclosed field")
            << u"<!--beginKavuno//-->x<!--endKavuno//--><INPUT NAME=\"a|b\"><input type=button><input name=\"z\""_s
            << 0 << blanks(3) + u"<input type=button><input name=\"z\""_s;
        QTest::newRow("notation")
            << u"(りんご|みかん/ぶどう)"_s << 0 << blanks(5);
        QTest::newRow("notation keeps markup, scripts and styles")
            << u"<HEAD><TITLE>(t)</TITLE><STYLE>p{background:url(a.png)}</STYLE></HEAD>"
               "<BODY><P style=\"background:url(b.png)\">x(ab)y</P><SCRIPT>f(1)</SCRIPT>(c</BODY>"_s
            << 0
            << u"<HEAD><TITLE>(t)</TITLE><STYLE>p{background:url(a.png)}</STYLE></HEAD>"
               "<BODY><P style=\"background:url(b.png)\">x"_s
                   + blanks(4) + u"y</P><SCRIPT>f(1)</SCRIPT>(c</BODY>"_s;
        QTest::newRow("notation with answers") << u"<BODY>(ab)</BODY>"_s << 3 << u"<BODY>(ab)</BODY>"_s;
    }

    void quizPrintText()
    {
        QFETCH(QString, text);
        QFETCH(int, mode);
        QFETCH(QString, printed);
        QCOMPARE(QuizToPrintText(text, mode), printed);
    }

    void worksheetHeaderAndTitle()
    {
        const QString page = u"<HTML><HEAD><TITLE>問題#その1?ヒント</TITLE></HEAD><BODY bgcolor=\"#fff\">"
                             "[] (ab) []<IMG src=\"p.png\"></BODY></HTML>"_s;
        QCOMPARE(testPageText(page, BlankAnswers),
                 u"<HTML><HEAD><TITLE></TITLE></HEAD><BODY bgcolor=\"#fff\">"
                 "<CENTER><TABLE border=\"1\" width=\"640\"><TBODY><TR><TD height=\"71\" align=\"center\">"
                 "<FONT size=\"3\">問題<BR>その1</FONT></TD><TD height=\"71\" width=\"170\" align=\"right\">"
                 "<FONT size=\"3\">年　　　組　　　番</FONT></TD><TD height=\"71\" width=\"300\">"
                 "<FONT size=\"3\">氏名</FONT></TD></TR></TBODY></TABLE></CENTER>[1] "_s
                     + blanks(4) + u" [1]<IMG src=\"p.png\"></BODY></HTML>"_s);
    }

    void picturesCopiedBesideTheSheet_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("copied");
        QTest::newRow("plain") << u"p.png"_s << true;
        QTest::newRow("below") << u"img\\p.png"_s << true;
        QTest::newRow("up") << u"../p.png"_s << false;
        QTest::newRow("up inside") << u"img/../../p.png"_s << false;
        QTest::newRow("absolute") << u"/etc/passwd"_s << false;
        QTest::newRow("share") << u"\\\\server\\p.png"_s << false;
        QTest::newRow("drive") << u"C:\\p.png"_s << false;
        QTest::newRow("address") << u"http://example.org/p.png"_s << false;
        QTest::newRow("empty") << QString() << false;
    }

    void picturesCopiedBesideTheSheet()
    {
        QFETCH(QString, name);
        QFETCH(bool, copied);
        QCOMPARE(isPlainRelativeName(name), copied);
        QCOMPARE(sourceNames(u"<img SRC=\""_s + name + u"\"><img src=\"b.gif\">"_s), (QStringList{name, u"b.gif"_s}));
    }

    void summaryTables_data()
    {
        QTest::addColumn<int>("pages");
        QTest::newRow("five pages, one table") << 5;
        QTest::newRow("six pages, two tables") << 6;
    }

    void summaryTables()
    {
        QFETCH(int, pages);
        const QString own = u"<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\"><HTML><TITLE>"_s;
        const QList<QStringList> levels{{u"0100_はじめに.html"_s, own, u"一行目\r\n二行目"_s},
                                        {u"0110_b.html"_s, own + u"0120_ぶんしょう</TITLE>"_s, QString()},
                                        {u"0120_c.html"_s, QString(), u"<b>太字</b>"_s},
                                        {u"0130_d.htm"_s, QString(), QString()},
                                        {u"0140_e.html"_s, QString(), u"メモ"_s},
                                        {u"0150_f.html"_s, QString(), QString()}};
        QList<ResumeRow> rows;
        for (int i = 0; i < pages; ++i) {
            const QStringList &p = levels.at(i);
            rows << ResumeRow{thumbnailName(p[0]), resumeTitle(p[1], p[0]), resumeNote(p[2])};
        }
        const QString golden = QStringLiteral(KAVUNO_TEST_DATA "/present/resume%1.html").arg(pages);
        QCOMPARE(encodePage(resumePageText(rows, 640)), readFixture(golden));
    }

    void everyEntryHasAThumbnailOfItsOwn_data()
    {
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<QStringList>("thumbnails");
        QTest::newRow("a page and its sound")
            << QStringList{u"1000_a.html"_s, u"1010_x.html"_s, u"1010_x.wav"_s, u"1020_y.html"_s}
            << QStringList{u"_1000_a.jpg"_s, u"_1010_x.html.jpg"_s, u"_1010_x.wav.jpg"_s, u"_1020_y.jpg"_s};
        QTest::newRow("names differing in case") << QStringList{u"A.html"_s, u"a.txt"_s}
                                                 << QStringList{u"_A.html.jpg"_s, u"_a.txt.jpg"_s};
        QTest::newRow("one page of two folders") << QStringList{u"a/p.html"_s, u"b/p.html"_s}
                                                 << QStringList{u"_p.html.jpg"_s, u"_p.html-2.jpg"_s};
        QTest::newRow("a whole name another entry has")
            << QStringList{u"x.html"_s, u"x.wav"_s, u"x.html.txt"_s}
            << QStringList{u"_x.html-2.jpg"_s, u"_x.wav.jpg"_s, u"_x.html.jpg"_s};
    }
    void everyEntryHasAThumbnailOfItsOwn()
    {
        QFETCH(QStringList, entries);
        QFETCH(QStringList, thumbnails);
        QCOMPARE(thumbnailNames(entries), thumbnails);
    }

    // A thumbnail's name is its address beside the summary, whatever it holds.
    void thumbnailAddressNamesItsFile()
    {
        const QString page = resumePageText({ResumeRow{u"_1010_q#1?50%.jpg"_s, u"q"_s, {}}}, 640);
        QVERIFY(page.contains(u"<IMG src=\"_1010_q%231%3F50%25.jpg\""_s));
    }

    void copiesPrintingAtOnceKeepTheirFiles()
    {
        QTemporaryDir dir;
        const QString resume = dir.filePath(u"00_RESUME"_s);
        const QString otherName = printFolderName(u"pc-2.local"_s, 77);
        QCOMPARE(otherName, u"pc-2.local_77"_s);
        QCOMPARE(printFolderName(u"../教室"_s, 5), u"pc..____5"_s);
        auto other = std::make_unique<PrintFolder>(resume, otherName);
        {
            PrintFolder mine(resume, printFolderName(u"pc1"_s, 12));
            QVERIFY(mine.make() && other->make());
            QVERIFY(writePageFile(mine.path() + u"/test.html"_s, u"mine"_s));
            QVERIFY(writePageFile(other->path() + u"/test.html"_s, u"other"_s));
            QCOMPARE(readPageFile(mine.path() + u"/test.html"_s).text, u"mine\r\n"_s);
            QCOMPARE(readPageFile(other->path() + u"/test.html"_s).text, u"other\r\n"_s);
        }
        QCOMPARE(QDir(resume).entryList(QDir::Dirs | QDir::NoDotAndDotDot), QStringList{otherName});
        other.reset();
        QVERIFY(QDir(resume).isEmpty());
    }

    void staleFoldersOfThisHost_data()
    {
        QTest::addColumn<int>("daysLater");
        QTest::addColumn<bool>("removed");
        // A PC of the same host name may be printing through it right now.
        QTest::newRow("changed today") << 0 << false;
        QTest::newRow("unchanged for a day") << 2 << true;
    }

    // A killed copy of this host leaves its folder; a later copy of the host clears it.
    void staleFoldersOfThisHost()
    {
        QFETCH(int, daysLater);
        QFETCH(bool, removed);
        QTemporaryDir dir;
        const QString resume = dir.filePath(u"00_RESUME"_s);
        QProcess gone;
        gone.start(u"true"_s);
        QVERIFY(gone.waitForFinished());
        const QString dead = printFolderName(u"pc1"_s, gone.processId());
        const QStringList kept{printFolderName(u"pc1"_s, 1), printFolderName(u"pc2"_s, gone.processId())};
        for (const QString &name : kept + QStringList{dead})
            QVERIFY(QDir().mkpath(resume + u'/' + name));
        removeStalePrintFolders(resume, u"pc1"_s, QDateTime::currentDateTime().addDays(daysLater));
        QStringList left = removed ? kept : kept + QStringList{dead};
        left.sort();
        QCOMPARE(QDir(resume).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name), left);
    }

    void frameClicks_data()
    {
        QTest::addColumn<QPoint>("at");
        QTest::addColumn<bool>("right");
        QTest::addColumn<bool>("overlay");
        QTest::addColumn<int>("page");
        QTest::addColumn<FrameClick>("click");
        const QPoint lowerRight(900, 700);
        QTest::newRow("blank screen gone first") << lowerRight << true << true << 2 << FrameClick::RemoveOverlay;
        QTest::newRow("right closes") << lowerRight << true << false << 2 << FrameClick::CloseFrame;
        QTest::newRow("top strip blanks") << QPoint(900, 19) << false << false << 2 << FrameClick::BlankScreen;
        QTest::newRow("below the strip turns") << QPoint(900, 20) << false << false << 2 << FrameClick::Back;
        QTest::newRow("left half back") << QPoint(500, 700) << false << false << 2 << FrameClick::Back;
        QTest::newRow("first page does not wrap") << QPoint(500, 700) << false << false << 0 << FrameClick::Nothing;
        QTest::newRow("upper right on the first page") << QPoint(501, 399) << false << false << 0
                                                       << FrameClick::Nothing;
        QTest::newRow("lower right on") << QPoint(501, 400) << false << false << 2 << FrameClick::Next;
        QTest::newRow("lower right on the last page") << lowerRight << false << false << 4 << FrameClick::Top;
    }

    void frameClicks()
    {
        QFETCH(QPoint, at);
        QFETCH(bool, right);
        QFETCH(bool, overlay);
        QFETCH(int, page);
        QFETCH(FrameClick, click);
        QCOMPARE(frameClick(at, QSize(1000, 800), right, overlay, page, 5), click);
    }

    void holeOverThePanels()
    {
        FramePanels panels;
        panels.base = QPoint(0, 30);
        panels.page = QRect(200, 0, 600, 500);
        panels.leftPanelWidth = 20;
        panels.buttonColumnWidth = 220;
        panels.bottomBarHeight = 34;
        QCOMPARE(frameHole(panels), QRect(QPoint(178, 26), QPoint(1019, 563)));
        QCOMPARE(surfaceTurn(401, 800, 4, 5), FrameClick::Top);
        QCOMPARE(surfaceTurn(400, 800, 0, 5), FrameClick::Nothing);
        QCOMPARE(overlayPicturePos(QSize(100, 200), QSize(33, 32)), QPoint(33, 133));
    }
};

QTEST_GUILESS_MAIN(PrintPagesTest)
#include "tst_printpages.moc"
