#include "core/editor/editortools.h"

#include <QTest>

using namespace Qt::StringLiterals;
namespace T = EditorTools;

class EditorToolsTest : public QObject
{
    Q_OBJECT
private slots:
    void dateIntoHeading_data()
    {
        QTest::addColumn<QString>("heading");
        QTest::addColumn<QString>("stamped");
        QTest::newRow("between brackets") << u"週報 [ ] 連絡"_s << u"週報 [ 2016年2月7日] 連絡"_s;
        QTest::newRow("no brackets") << u"連絡"_s << u"[ 2016年2月7日]"_s;
        QTest::newRow("closing bracket first") << u"a]b[c"_s << u"[ 2016年2月7日]"_s;
        QTest::newRow("empty") << QString() << u"[ 2016年2月7日]"_s;
        QTest::newRow("two pairs: the first") << u"[x] [y]"_s << u"[ 2016年2月7日] [y]"_s;
    }
    void dateIntoHeading()
    {
        QFETCH(QString, heading);
        QFETCH(QString, stamped);
        QCOMPARE(T::stampDateIntoHeading(heading, QDate(2016, 2, 7)), stamped);
    }

    void initialise_data()
    {
        QTest::addColumn<QString>("page");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("newTitle");
        QTest::addColumn<QString>("framed");
        QTest::addColumn<QString>("text");
        QTest::newRow("daily report") << u"/d/朝_日報.html"_s << u"日報:2016/2/6"_s << u"日報:2016/2/7"_s
                                      << u"＜指示・伝達＞"_s << u"＜連絡＞"_s;
        QTest::newRow("daily report without colon") << u"/d/日報.html"_s << u"朝"_s << u"朝:2016/2/7"_s
                                                    << u"＜指示・伝達＞"_s << u"＜連絡＞"_s;
        QTest::newRow("plain page keeps a title without colon")
            << u"/d/page.html"_s << u"Lesson"_s << u"Lesson"_s << QString() << QString();
        QTest::newRow("plain page cuts at the colon") << u"/d/page.html"_s << u"A:B"_s << u"A"_s << QString()
                                                      << QString();
        QTest::newRow("daily word in the folder only")
            << u"/日報/page.html"_s << u"A:B"_s << u"A"_s << QString() << QString();
    }
    void initialise()
    {
        QFETCH(QString, page);
        QFETCH(QString, title);
        QFETCH(QString, newTitle);
        QFETCH(QString, framed);
        QFETCH(QString, text);
        const T::InitialTexts texts = T::initialTexts(page, title, QDate(2016, 2, 7));
        QCOMPARE(texts.title, newTitle);
        QCOMPARE(texts.framedText, framed);
        QCOMPARE(texts.text, text);
    }

    void pageWidths()
    {
        QCOMPARE(T::pageWidthFor(T::PageSize::A4, 1265), 686);
        QCOMPARE(T::pageWidthFor(T::PageSize::B4, 1265), 906);
        QCOMPARE(T::pageWidthFor(T::PageSize::Fit, 1265), 1153);
    }

    void editNoteBesideThePage()
    {
        QCOMPARE(T::editNotePath(u"/data/a/01_x.html"_s), u"/data/a/_Edit.txt"_s);
    }
};

QTEST_APPLESS_MAIN(EditorToolsTest)
#include "tst_editortools.moc"
