#include "core/navigation/pagebuttontext.h"

#include <QTest>

using namespace Qt::StringLiterals;

static const QChar ideographic(0x3000);

class PageButtonTextTest : public QObject
{
    Q_OBJECT
private slots:
    void titleSyntax_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("icon");
        QTest::addColumn<QString>("line1");
        QTest::addColumn<QString>("line2");
        QTest::addColumn<QString>("hint");
        QTest::newRow("icon, two lines, hint") << u"\"star.bmp\"Lesson 1#Addition?Solve the sums"_s << u"star.bmp"_s
                                               << u"Lesson 1"_s << u"Addition"_s << u"Solve the sums"_s;
        QTest::newRow("one-character icon") << u"\"x\"Quiz"_s << u"x"_s << u"Quiz"_s << QString() << QString();
        QTest::newRow("lone quote stays") << u"Say \"hi"_s << QString() << u"Say \"hi"_s << QString() << QString();
        QTest::newRow("text before the icon dropped") << u"ab\"i.bmp\"T"_s << u"i.bmp"_s << u"T"_s << QString()
                                                      << QString();
        QTest::newRow("hash after question mark belongs to the hint")
            << u"A?h#x"_s << QString() << u"A"_s << QString() << u"h#x"_s;
        QTest::newRow("angles undone") << u"a &lt;b&gt;#c"_s << QString() << u"a <b>"_s << u"c"_s << QString();
        QTest::newRow("plain") << u"第一課"_s << QString() << u"第一課"_s << QString() << QString();
    }
    void titleSyntax()
    {
        QFETCH(QString, title);
        QFETCH(QString, icon);
        QFETCH(QString, line1);
        QFETCH(QString, line2);
        QFETCH(QString, hint);
        const TitleParts parts = splitTitle(title);
        QCOMPARE(parts.iconName, icon);
        QCOMPARE(parts.main, line1);
        QCOMPARE(parts.secondLine, line2);
        QCOMPARE(parts.hint, hint);
    }

    void captionsAndHints()
    {
        const TitleParts parts = splitTitle(u"\"star.bmp\"Lesson 1#Addition?Solve the sums"_s);
        QCOMPARE(buttonCaption(parts), u" Lesson 1"_s + QString(23, u' ') + u'\r' + u"    Addition"_s + QString(20, u' '));
        QCOMPARE(buttonHint(parts, 2), u"3 Solve the sums"_s);
        QCOMPARE(buttonHint(splitTitle(u"Quiz"_s), 0), u"1"_s);
        QCOMPARE(buttonCaption(splitTitle(u"漢字"_s)), u" 漢字"_s + QString(13, ideographic));
    }

    void padButtonCaption_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("indent");
        QTest::addColumn<QString>("padded");
        QTest::newRow("ends in a digit") << u"Lesson 1"_s << 1 << u" Lesson 1"_s + QString(23, u' ');
        QTest::newRow("ends in (") << u"a("_s << 1 << u" a("_s + QString(29, u' ');
        QTest::newRow("japanese") << u"漢字"_s << 1 << u" 漢字"_s + QString(13, ideographic);
        QTest::newRow("ends in a full stop") << u"end."_s << 4 << u"    end."_s + QString(8, ideographic);
        QTest::newRow("too long: no fill") << QString(20, QChar(0x3042)) << 1 << u" "_s + QString(20, QChar(0x3042));
        QTest::newRow("empty") << QString() << 1 << u" "_s + QString(15, ideographic);
    }
    void padButtonCaption()
    {
        QFETCH(QString, text);
        QFETCH(int, indent);
        QFETCH(QString, padded);
        QCOMPARE(PadButtonCaption(text, indent), padded);
    }

    void pitch_data()
    {
        QTest::addColumn<int>("height");
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("pitch");
        QTest::newRow("3 pages in 700") << 700 << 3 << 175;
        QTest::newRow("30 pages") << 700 << 30 << 28;
        QTest::newRow("no page") << 700 << 0 << 700;
        QTest::newRow("exactly full") << 112 << 3 << 28;
        QTest::newRow("one pixel left") << 113 << 3 << 28;
        QTest::newRow("column not laid out") << 0 << 3 << 28;
    }
    void pitch()
    {
        QFETCH(int, height);
        QFETCH(int, count);
        QFETCH(int, pitch);
        QCOMPARE(pageButtonPitch(height, count), pitch);
    }

    void iconChoice_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<bool>("fileExists");
        QTest::addColumn<ButtonIcon>("icon");
        QTest::newRow("no icon") << u"Quiz"_s << true << ButtonIcon::None;
        QTest::newRow("icon file") << u"\"star.bmp\"Q"_s << true << ButtonIcon::IconFile;
        QTest::newRow("missing, long name") << u"\"star.bmp\"Q"_s << false << ButtonIcon::ListPicture1;
        QTest::newRow("missing, one character") << u"\"x\"Q"_s << false << ButtonIcon::ListPicture0;
        QTest::newRow("empty name") << u"\"\"Q"_s << false << ButtonIcon::ListPicture0;
    }
    void iconChoice()
    {
        QFETCH(QString, title);
        QFETCH(bool, fileExists);
        QFETCH(ButtonIcon, icon);
        QCOMPARE(buttonIconFor(splitTitle(title), fileExists), icon);
    }
};

QTEST_APPLESS_MAIN(PageButtonTextTest)
#include "tst_pagebuttontext.moc"
