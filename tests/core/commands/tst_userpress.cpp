#include "core/commands/userpress.h"

#include <QTest>

class UserPressTest : public QObject
{
    Q_OBJECT
private slots:
    void pressCountsForItsDocumentShortly_data()
    {
        QTest::addColumn<bool>("pressed");
        QTest::addColumn<quintptr>("page");
        QTest::addColumn<int>("load");
        QTest::addColumn<qint64>("at");
        QTest::addColumn<bool>("counts");
        // The press: page 1, its load 5, at 1000 ms.
        const qint64 last = 1000 + UserPress::LifetimeMs - 1;
        QTest::newRow("no press") << false << quintptr(1) << 5 << qint64(1000) << false;
        QTest::newRow("the same document at once") << true << quintptr(1) << 5 << qint64(1000) << true;
        QTest::newRow("the same document, last moment") << true << quintptr(1) << 5 << last << true;
        QTest::newRow("the same document, too late") << true << quintptr(1) << 5 << last + 1 << false;
        QTest::newRow("the next document of that page") << true << quintptr(1) << 6 << qint64(1000) << false;
        QTest::newRow("another page") << true << quintptr(2) << 5 << qint64(1000) << false;
        QTest::newRow("a clock before the press") << true << quintptr(1) << 5 << qint64(999) << false;
    }
    void pressCountsForItsDocumentShortly()
    {
        QFETCH(bool, pressed);
        QFETCH(quintptr, page);
        QFETCH(int, load);
        QFETCH(qint64, at);
        QFETCH(bool, counts);
        UserPress press;
        if (pressed)
            press.pressed(1, 5, 1000);
        QCOMPARE(press.take(page, load, at), counts);
        // Used, or tried by another document: it counts no more.
        QVERIFY(!press.take(1, 5, 1000));
    }

    void laterPressReplacesTheEarlier()
    {
        UserPress press;
        press.pressed(1, 5, 1000);
        press.pressed(1, 6, 2000);
        QVERIFY(!press.take(1, 5, 2000));
        press.pressed(1, 6, 2000);
        QVERIFY(press.take(1, 6, 2000));
    }
};

QTEST_APPLESS_MAIN(UserPressTest)
#include "tst_userpress.moc"
