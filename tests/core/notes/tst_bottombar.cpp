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

    void barLayout()
    {
        BarWidths w;
        w.kabeBASE = 1265;
        w.kabedown = 1265;
        w.kabeRight = 220;
        w.BitBtn1 = 25;
        w.Image6 = 32;
        w.Panel8 = 201; // odd: the centre rounds toward zero
        w.Panel7 = 80;
        w.Image7 = 32;
        w.Image10 = 30;
        w.SpeedButton5 = w.SpeedButton13 = w.SpeedButton14 = w.SpeedButton19 = w.SpeedButton22 = 24;
        w.SpeedButton6 = 40;
        const BarLefts l = layoutBottomBar(w);
        QCOMPARE(l.Image6, (1265 - 201 - 80) / 2 - 32 - 5);
        QCOMPARE(l.Image6, 455);
        QCOMPARE(l.Panel8, 487);
        QCOMPARE(l.Panel7, 688);
        QCOMPARE(l.Image7, 768);
        QCOMPARE(l.Image10, 800);
        QCOMPARE(l.SpeedButton5, 850);
        QCOMPARE(l.SpeedButton13, 876);
        QCOMPARE(l.SpeedButton14, 902);
        QCOMPARE(l.SpeedButton19, 928);
        QCOMPARE(l.SpeedButton8, 928);
        QCOMPARE(l.SpeedButton22, 954);
        QCOMPARE(l.SpeedButton20, 980);
        QCOMPARE(l.BitBtn1, 1008);
        QCOMPARE(l.SpeedButton6, 1175);
        QCOMPARE(l.SpeedButton10, 1175);
        QCOMPARE(l.SpeedButton7, 1219);
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

    void captionsAndCommands()
    {
        QCOMPARE(arrowCommand(false), u"BACK"_s);
        QCOMPARE(arrowCommand(true), u"NEXT"_s);
        QCOMPARE(positionText(2, 12), u"3 / 12"_s);
        QCOMPARE(folderItemCaption(u"国語"_s), u"今のフォルダ「国語]"_s);
        QVERIFY(!showNewPageAbove(0));
        QVERIFY(showNewPageAbove(1));
        QCOMPARE(fileMenuPosition(QPoint(100, 50), 742, 7), QPoint(117, 562));
    }

    void panelToggles()
    {
        const LeftPanel open = toggleLeftPanel(0);
        QCOMPARE(open.width, 200);
        QVERIFY(open.SpeedButton9Visible && !open.SpeedButton2Visible);
        const LeftPanel closed = toggleLeftPanel(200);
        QCOMPARE(closed.width, 0);
        QVERIFY(!closed.SpeedButton9Visible && closed.SpeedButton2Visible);
        QCOMPARE(folderButtonLeft(60), 66);

        const RightColumn shut = toggleRightColumn(220, 1265);
        QCOMPARE(shut.Tag, 1);
        QVERIFY(!shut.alignedRight);
        QCOMPARE(shut.width, 1);
        QCOMPARE(shut.left, 1265);
        QVERIFY(shut.SpeedButton10Visible && !shut.SpeedButton6Visible);
        const RightColumn reopened = toggleRightColumn(1, 1265);
        QCOMPARE(reopened.Tag, 0);
        QVERIFY(reopened.alignedRight);
        QCOMPARE(reopened.width, 220);
        QVERIFY(reopened.SpeedButton6Visible && !reopened.SpeedButton10Visible);
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
        QTest::newRow("no note for the entry") << u"/d/a.%xt"_s << QString() << true << PageNoteStep::Nothing;
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
