// Presentation mode: the maximised main window behind the black frame, the
// frame's clicks and the black screen.
#include "ui/app/tform1.h"

#include "core/navigation/testfiles.h"
#include "ui/app/fakeplatform.h"
#include "ui/present/presentwiring.h"
#include "ui/present/tform11.h"

#include <QAction>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWebEngineView>

using namespace Qt::StringLiterals;

class PresentationTest : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;
    FakePlatform m_platform;
    std::unique_ptr<TForm1> m_form;
    std::unique_ptr<TForm11> m_frame;
    QStringList m_commands;

    void clickFrame(Qt::MouseButton button, const QPoint &at)
    {
        QTest::mouseClick(m_frame.get(), button, {}, at);
    }

    QPoint lowerRight() const { return QPoint(m_frame->width() - 5, m_frame->height() - 5); }

private slots:
    void initTestCase()
    {
        const QString home = m_dir.filePath(u"web"_s);
        QVERIFY(QDir().mkpath(home));
        for (const char *name : {"/a.html", "/b.html", "/c.html"})
            QVERIFY(writeFixture(home + QString::fromLatin1(name), "<html><body>page</body></html>"));
        m_form = std::make_unique<TForm1>(m_platform, m_dir.filePath(u"web.exe"_s));
        m_form->TXTcommand = [this](const QString &command) { m_commands << command; };
        QSignalSpy loaded(m_form->WebBrowser1, &QWebEngineView::loadFinished);
        m_form->resize(900, 600);
        m_form->show();
        m_form->FormShow();
        QVERIFY(loaded.wait(30000));
        m_frame = std::make_unique<TForm11>(*m_form);
        attachPresentationMode(*m_form, *m_frame);
    }

    void fileMenuItemAfterTheHelp()
    {
        const QList<QAction *> items = m_form->PopupMenu2->actions();
        QCOMPARE(items.indexOf(m_form->N4), items.indexOf(m_form->Kavuno1) + 1);
        QCOMPARE(m_form->N4->text(), u"プレゼンテーションモード"_s);
    }

    void frameTurnsPagesAndBlanksTheScreen()
    {
        m_form->N4->trigger();
        QVERIFY(m_form->Timer2->isActive());
        QCOMPARE(m_form->Timer2->interval(), 1000);
        QTRY_VERIFY_WITH_TIMEOUT(m_frame->isVisible(), 5000);
        QCOMPARE(m_frame->Tag, 1);
        QVERIFY(m_frame->windowFlags().testFlags(Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint));
        // Clicks in the hole reach the page; the black around it is the frame's.
        const QRect hole = m_frame->hole();
        QVERIFY(!hole.isEmpty());
        QVERIFY(!m_frame->mask().contains(hole.center()));
        QVERIFY(m_frame->mask().contains(QPoint(hole.left() - 1, hole.center().y())) || hole.left() <= 0);
        // The frame leaves the button column and the bar whole, to their last row and column.
        for (QWidget *panel : {static_cast<QWidget *>(m_form->kabeRight), static_cast<QWidget *>(m_form->kabedown)}) {
            const QPoint corner = panel->mapToGlobal(QPoint(panel->width() - 1, panel->height() - 1));
            QVERIFY2(!m_frame->mask().contains(m_frame->mapFromGlobal(corner)), qPrintable(panel->objectName()));
        }

        clickFrame(Qt::LeftButton, QPoint(lowerRight().x(), 19));
        QVERIFY(m_form->Panel4->isVisible());
        QCOMPARE(m_form->Panel4->geometry(), m_form->rect());
        QCOMPARE(m_form->Panel4->palette().color(QPalette::Window), QColor(Qt::black));
        // The first click only removes the black screen, whatever the button.
        clickFrame(Qt::RightButton, lowerRight());
        QVERIFY(!m_form->Panel4->isVisible());
        QVERIFY(m_frame->isVisible());
        QVERIFY(m_commands.isEmpty());

        clickFrame(Qt::LeftButton, QPoint(lowerRight().x(), 20));
        clickFrame(Qt::LeftButton, QPoint(5, m_frame->height() - 5));
        QVERIFY(m_commands.isEmpty()); // the first page does not go back
        clickFrame(Qt::LeftButton, lowerRight());
        QCOMPARE(m_commands, QStringList{u"NEXT"_s});
        m_form->nav.PBanSave(2);
        clickFrame(Qt::LeftButton, lowerRight());
        clickFrame(Qt::LeftButton, QPoint(5, 30));
        QCOMPARE(m_commands, (QStringList{u"NEXT"_s, u"TOP"_s, u"BACK"_s}));

        // The right button ends it: the frame shrinks away.
        clickFrame(Qt::RightButton, lowerRight());
        QVERIFY(!m_frame->isVisible());
        QCOMPARE(m_frame->size(), QSize(10, 10));
        m_form->nav.PBanSave(0);
    }

    // Presses on the window's own surfaces reach its handler; controls keep theirs.
    void pressOnTheWindowSurface_data()
    {
        QTest::addColumn<QString>("surface");
        QTest::addColumn<bool>("reaches");
        QTest::newRow("bar background") << u"kabedown"_s << true;
        QTest::newRow("above the page buttons") << u"Panel6"_s << true;
        QTest::newRow("position label") << u"Panel7"_s << true;
        QTest::newRow("browser") << u"WebBrowser1"_s << false;
        QTest::newRow("disabled stop button") << u"SpeedButton13"_s << false;
    }
    void pressOnTheWindowSurface()
    {
        QFETCH(QString, surface);
        QFETCH(bool, reaches);
        m_form->N4->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(m_frame->isVisible(), 5000);
        m_form->nav.PBanSave(1);
        m_commands.clear();
        auto *widget = m_form->findChild<QWidget *>(surface);
        QVERIFY(widget && widget->isVisible());
        QPoint bare = widget->rect().center();
        for (int x = widget->width() - 2; x > 0 && widget->childAt(bare); x -= 2)
            bare.setX(x);
        const QPoint at = widget->mapTo(m_form.get(), bare);
        const bool lower = at.y() > m_form->frameGeometry().height() / 2;
        QTest::mouseClick(m_form->windowHandle(), Qt::LeftButton, {}, at);
        QCOMPARE(m_commands, reaches ? QStringList{lower ? u"NEXT"_s : u"BACK"_s} : QStringList());
        QCOMPARE(m_form->Timer2->isActive(), reaches);

        // The right button on a surface ends the mode: the window is its normal size again.
        QTest::mouseClick(m_form->windowHandle(), Qt::RightButton, {}, at);
        QCOMPARE(m_form->PresentationMode, !reaches);
        if (reaches) {
            QTRY_VERIFY(!m_form->isMaximized());
            QCOMPARE(m_form->FormTag, 0);
            // Out of the mode, the surface does nothing.
            QTest::mouseClick(m_form->windowHandle(), Qt::LeftButton, {}, at);
            QCOMPARE(m_commands.size(), 1);
        }
        m_frame->close();
        m_form->Timer2->stop();
        m_form->PresentationMode = false;
        m_form->nav.PBanSave(0);
    }

    void blackScreenGoesAtAClick()
    {
        m_form->Panel4->show();
        m_form->FormTag = 1;
        QTest::mouseClick(m_form->Image4, Qt::LeftButton);
        QVERIFY(!m_form->Panel4->isVisible());
        QCOMPARE(m_form->FormTag, 0);
    }
};

QTEST_MAIN(PresentationTest)
#include "tst_presentation.moc"
