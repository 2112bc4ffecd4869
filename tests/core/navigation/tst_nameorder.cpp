#include "core/navigation/nameorder.h"

#include <QTest>

using namespace Qt::StringLiterals;

class NameOrderTest : public QObject
{
    Q_OBJECT
private slots:
    void sortsWithoutRegardToCase_data()
    {
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QStringList>("sorted");
        QTest::newRow("case folded") << QStringList{u"b.html"_s, u"A.html"_s, u"a2.html"_s}
                                     << QStringList{u"A.html"_s, u"a2.html"_s, u"b.html"_s};
        QTest::newRow("same folded name: stable by code units")
            << QStringList{u"index.html"_s, u"Index.html"_s} << QStringList{u"Index.html"_s, u"index.html"_s};
        QTest::newRow("order numbers") << QStringList{u"1020_b.html"_s, u"1010_a.html"_s, u"photo.JPG"_s}
                                       << QStringList{u"1010_a.html"_s, u"1020_b.html"_s, u"photo.JPG"_s};
        QTest::newRow("underscore after letters and digits")
            << QStringList{u"_XXX.html"_s, u"zz.html"_s, u"10.html"_s}
            << QStringList{u"10.html"_s, u"_XXX.html"_s, u"zz.html"_s};
        QTest::newRow("names alike in their first eight letters")
            << QStringList{u"1000000_b.html"_s, u"1000000_A.html"_s, u"10000000.html"_s, u"1000000_a.html"_s}
            << QStringList{u"10000000.html"_s, u"1000000_A.html"_s, u"1000000_a.html"_s, u"1000000_b.html"_s};
        QTest::newRow("a name that begins another")
            << QStringList{u"abcdefgh.x"_s, u"ABCDEFGH"_s, u"abc"_s, u"abcdefgh"_s}
            << QStringList{u"abc"_s, u"ABCDEFGH"_s, u"abcdefgh"_s, u"abcdefgh.x"_s};
        QTest::newRow("beyond the basic plane, by code units")
            << QStringList{u"\uFF5A.html"_s, u"\U0002000B.html"_s, u"a\U0002000B"_s, u"a\uFF21"_s}
            << QStringList{u"a\U0002000B"_s, u"a\uFF21"_s, u"\U0002000B.html"_s, u"\uFF5A.html"_s};
    }
    void sortsWithoutRegardToCase()
    {
        QFETCH(QStringList, names);
        QFETCH(QStringList, sorted);
        sortFileNames(names);
        QCOMPARE(names, sorted);
    }
};

QTEST_APPLESS_MAIN(NameOrderTest)
#include "tst_nameorder.moc"
