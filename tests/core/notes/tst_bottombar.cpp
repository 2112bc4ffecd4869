#include "core/navigation/bottombar.h"

#include <QTest>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(NoteButtonAction)
Q_DECLARE_METATYPE(PageNoteStep)

class BottomBarTest : public QObject
{
    Q_OBJECT
private slots:
    void soundButtonLeftOfTheColumn()
    {
        // A 1265-pixel window, folder panel closed, column 220 wide.
        QCOMPARE(soundButtonLeft(1265, 25, 220, 0), 1008);
        QCOMPARE(soundButtonLeft(1265, 25, 1, 200), 1027);
    }

    void arrowsFollowTheLevelOnlyOnItsPage_data()
    {
        QTest::addColumn<int>("pos");
        QTest::addColumn<bool>("level");
        QTest::newRow("current page") << 1 << true;
        QTest::newRow("deeper in the address") << 12 << true;
        QTest::newRow("page reached by a link") << 0 << false;
        QTest::newRow("no current page") << -1 << false;
    }
    void arrowsFollowTheLevelOnlyOnItsPage()
    {
        QFETCH(int, pos);
        QFETCH(bool, level);
        QCOMPARE(showsLevelPage(pos), level);
    }

    void hoverDoesNotFlipBack()
    {
        HoverToggle hover;
        QVERIFY(hover.enter(u"SpeedButton9"_s));
        hover.beginSwap(u"SpeedButton2"_s);
        // Swapping the buttons sends their own leave and enter.
        hover.leave();
        QVERIFY(!hover.enter(u"SpeedButton2"_s));
        hover.endSwap();
        QVERIFY(!hover.enter(u"SpeedButton2"_s));
        // The pointer leaves the spot (the window may name the hidden button).
        hover.leave();
        QVERIFY(hover.enter(u"SpeedButton2"_s));
        QVERIFY(hover.enter(u"SpeedButton6"_s));
    }

    void noteButton_data()
    {
        QTest::addColumn<int>("pages");
        QTest::addColumn<bool>("right");
        QTest::addColumn<bool>("open");
        QTest::addColumn<NoteButtonAction>("action");
        QTest::newRow("left, closed") << 3 << false << false << NoteButtonAction::Open;
        QTest::newRow("left, open") << 3 << false << true << NoteButtonAction::Close;
        QTest::newRow("right, open") << 3 << true << true << NoteButtonAction::Close;
        QTest::newRow("right never opens") << 3 << true << false << NoteButtonAction::Nothing;
        QTest::newRow("no pages") << 0 << false << false << NoteButtonAction::Nothing;
    }
    void noteButton()
    {
        QFETCH(int, pages);
        QFETCH(bool, right);
        QFETCH(bool, open);
        QFETCH(NoteButtonAction, action);
        QCOMPARE(noteButtonAction(pages, right, open), action);
    }

    void pageNoteSteps_data()
    {
        QTest::addColumn<QString>("bound");
        QTest::addColumn<QString>("page");
        QTest::addColumn<bool>("open");
        QTest::addColumn<PageNoteStep>("step");
        QTest::newRow("same page, open") << u"/d/a.%xt"_s << u"/d/a.%xt"_s << true << PageNoteStep::CloseWindow;
        QTest::newRow("same page, closed") << u"/d/a.%xt"_s << u"/d/a.%xt"_s << false << PageNoteStep::Load;
        QTest::newRow("another page") << u"/d/a.%xt"_s << u"/d/b.%xt"_s << true << PageNoteStep::Load;
        QTest::newRow("no note for the entry: the other page's note closes")
            << u"/d/a.%xt"_s << QString() << true << PageNoteStep::CloseWindow;
        QTest::newRow("no note for the entry, closed") << u"/d/a.%xt"_s << QString() << false << PageNoteStep::Nothing;
    }
    void pageNoteSteps()
    {
        QFETCH(QString, bound);
        QFETCH(QString, page);
        QFETCH(bool, open);
        QFETCH(PageNoteStep, step);
        QCOMPARE(pageNoteStep(bound, page, open), step);
    }
};

QTEST_APPLESS_MAIN(BottomBarTest)
#include "tst_bottombar.moc"
