// The bottom bar, side panels, page note and after-load processing of the main
// window, on the sample web text.
#include "ui/app/tform1.h"

#include "core/editor/pagenote.h"

#include "ui/app/fakeplatform.h"
#include "ui/bar/holdofftimer.h"
#include "ui/editor/tform12.h"
#include "ui/navigation/pagebutton.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFrame>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QWebEngineView>

using namespace Qt::StringLiterals;

class BarWiringTest : public QObject
{
    Q_OBJECT
private:
    QTemporaryDir m_dir;
    QString m_home;
    FakePlatform m_platform;
    std::unique_ptr<TForm1> m_form;
    std::unique_ptr<TForm12> m_note;
    QStringList m_commands;

    QString note(const QString &name) const { return m_home + u'/' + name; }
    void openPage(int index)
    {
        m_form->nav.PBanSave(index);
        m_form->PageClick(false, true);
    }
    void sendEvent(QWidget *widget, QEvent::Type type)
    {
        QEvent event(type);
        QApplication::sendEvent(widget, &event);
    }

private slots:
    void initTestCase()
    {
        m_home = m_dir.filePath(u"web"_s);
        QVERIFY(copyExamples(m_home));
        m_form = std::make_unique<TForm1>(m_platform, m_dir.filePath(u"web.exe"_s));
        m_note = std::make_unique<TForm12>(m_form.get());
        m_form->Form12 = m_note.get();
        m_form->TXTcommand = [this](const QString &command) { m_commands << command; };
        QSignalSpy loaded(m_form->WebBrowser1, &QWebEngineView::loadFinished);
        m_form->show();
        m_form->FormShow();
        QVERIFY(loaded.wait(30000));
    }

    void init()
    {
        m_commands.clear();
        if (m_note->Tag > 0)
            m_note->close();
        m_form->nav.GoHome();
    }

    void soundButtonSitsLeftOfTheColumn()
    {
        m_form->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        m_form->resize(1265, 742);
        m_form->layout()->activate();
        m_form->ArrangeMainPanels();
        QCOMPARE(m_form->kabeBASE->width(), 1265);
        QCOMPARE(m_form->hyoushi->maximumWidth(), 0);
        m_form->kabeRightResize();
        QCOMPARE(m_form->BitBtn1->x(), 1265 - 25 - 12 - 220 - 0);
        QCOMPARE(m_form->SpeedButton6->x(), m_form->kabedown->width() - 90);
        QCOMPARE(m_form->SpeedButton7->x(), m_form->SpeedButton6->x() + m_form->SpeedButton6->width() + 4);
        // The arrows and names sit centred, side by side.
        QCOMPARE(m_form->Panel8->x(), m_form->Image6->x() + m_form->Image6->width());
        QCOMPARE(m_form->Image7->x(), m_form->Panel7->x() + m_form->Panel7->width());
    }

    void barButtonsSayWhatTheyDo()
    {
        QCOMPARE(m_form->SpeedButton2->text(), u"フォルダ"_s);
        QCOMPARE(m_form->SpeedButton9->text(), u"閉じる"_s);
        QCOMPARE(m_form->SpeedButton2->geometry(), m_form->SpeedButton9->geometry());
        // The poll switch sits beside them, clear of the folder button.
        QVERIFY(m_form->SpeedButton12->x() > m_form->SpeedButton2->geometry().right());
        QCOMPARE(m_form->Image6->toolTip(), u"戻る"_s);
        QCOMPARE(m_form->Image7->toolTip(), u"進む"_s);
        QCOMPARE(m_form->Image10->toolTip(), u"ブラウザのリフレッシュ"_s);
        QCOMPARE(m_form->SpeedButton10->toolTip(), u"ボタン"_s);
        QCOMPARE(m_form->SpeedButton6->toolTip(), u"ボタンを閉じる"_s);
        QCOMPARE(m_form->SpeedButton7->toolTip(), u"このページのメモ"_s);
    }

    void arrowsRunLevelCommandsOnTheLevelsPage()
    {
        openPage(0);
        m_form->Image6Click();
        openPage(m_form->nav.PBanSu() - 1);
        m_form->Image7Click();
        QCOMPARE(m_commands, (QStringList{u"BACK"_s, u"NEXT"_s}));
    }

    void arrowsUseTheBrowserHistoryElsewhere()
    {
        openPage(0);
        // A document that is not the level's page, with nothing to go forward to.
        m_form->setCaption(u"http://example.org/elsewhere.html"_s);
        const int beeps = m_platform.beeps;
        m_form->Image7Click();
        QVERIFY(m_commands.isEmpty());
        QCOMPARE(m_platform.beeps, beeps + 1);
    }

    void noteButtonAndPageChanges()
    {
        openPage(0);
        const QString first = m_form->nav.currentEntry();
        QSignalSpy pressed(m_form->SpeedButton7, &QToolButton::pressed);
        // A right click never opens the note.
        QTest::mouseClick(m_form->SpeedButton7, Qt::RightButton);
        QCOMPARE(m_note->Tag, 0);
        QTest::mouseClick(m_form->SpeedButton7, Qt::LeftButton);
        QCOMPARE(m_note->Tag, 1);
        const QString firstNote = note(QString(first).replace(u".html"_s, u".%xt"_s));
        QCOMPARE(m_note->Caption(), firstNote);
        m_note->Memo1->setPlainText(u"最初のページのメモ"_s);

        // Another page switches the note, saving the first.
        openPage(1);
        QVERIFY(QFile::exists(firstNote));
        QVERIFY(m_note->Caption() != firstNote);
        QCOMPARE(m_note->Tag, 1);
        // The same page again closes it.
        openPage(1);
        QCOMPARE(m_note->Tag, 0);
        // With the note closed, pages passed by get no note files.
        openPage(2);
        QVERIFY(!QFile::exists(m_note->Caption()));
        QTest::mouseClick(m_form->SpeedButton7, Qt::LeftButton);
        QCOMPARE(m_note->Tag, 1);
        QTest::mouseClick(m_form->SpeedButton7, Qt::RightButton);
        QCOMPARE(m_note->Tag, 0);
    }

    // Search and LOOK levels hold paths below the folder: each page's own note
    // opens, never the note of the folder's page of that file name.
    void noteButtonOnASearchLevelUsesTheEntrysOwnNote()
    {
        const QString own = m_home + u"/links/1030_target.%xt"_s;
        const QString other = note(u"1030_target.%xt"_s);
        QFile otherFile(other);
        QVERIFY(otherFile.open(QIODevice::WriteOnly));
        otherFile.write("\xEF\xBB\xBF" "other\r\n");
        otherFile.close();
        m_form->nav.PushLevel({u"sub/1010_drill1.html"_s, u"links/1030_target.html"_s}, {}, 1);
        m_form->ReMake();
        m_form->PageClick(false, true);
        QTest::mouseClick(m_form->SpeedButton7, Qt::LeftButton);
        QCOMPARE(m_note->Tag, 1);
        QCOMPARE(m_note->Caption(), own);
        const QString before = readNoteFile(own).text;
        QCOMPARE(m_note->Memo1->toPlainText(), before);
        m_note->Memo1->setPlainText(before + u"\n追記"_s);
        openPage(0);
        QCOMPARE(m_note->Caption(), m_home + u"/sub/1010_drill1.%xt"_s);
        QVERIFY(QFile::exists(own));
        QCOMPARE(readNoteFile(own).text, before + u"\n追記"_s);
        QCOMPARE(readNoteFile(other).text, u"other"_s);
        m_note->close();
        QVERIFY(QFile::remove(other));
        QFile::remove(m_note->Caption());

        // A web folder has no note: the button opens none, nor the last one.
        m_form->nav.PushLevel({u"http://host.invalid/dir/"_s}, {}, 0);
        m_form->ReMake();
        m_form->PageClick(false, true);
        QTest::mouseClick(m_form->SpeedButton7, Qt::LeftButton);
        QCOMPARE(m_note->Tag, 0);
    }

    void columnToggleDoesNotFlipBackUnderThePointer()
    {
        m_form->ArrangeMainPanels();
        sendEvent(m_form->SpeedButton6, QEvent::Enter);
        QCOMPARE(m_form->kabeRight->maximumWidth(), 1);
        QCOMPARE(m_form->kabeRight->property("Tag").toInt(), 1);
        QVERIFY(m_form->SpeedButton10->isVisibleTo(m_form.get()));
        QVERIFY(!m_form->SpeedButton6->isVisibleTo(m_form.get()));
        // The replacement button is under the pointer: no toggle back.
        sendEvent(m_form->SpeedButton10, QEvent::Enter);
        QCOMPARE(m_form->kabeRight->maximumWidth(), 1);
        // The pointer leaves the spot (the window names the hidden button) and
        // comes back: the column opens.
        sendEvent(m_form->SpeedButton6, QEvent::Leave);
        sendEvent(m_form->SpeedButton10, QEvent::Enter);
        QCOMPARE(m_form->kabeRight->maximumWidth(), 220);
        QCOMPARE(m_form->kabeRight->property("Tag").toInt(), 0);
        sendEvent(m_form->SpeedButton6, QEvent::Leave);

        m_form->Panel11MouseEnter();
        QCOMPARE(m_form->hyoushi->maximumWidth(), 200);
        m_form->Panel11MouseEnter();
        QCOMPARE(m_form->hyoushi->maximumWidth(), 0);
    }

    void fileMenuNamesTheFolderAndOffersAboveOnlyWithPages()
    {
        // The editor adds "上に作成"; a stand-in does here.
        QAction *above = m_form->PopupMenu2->addAction(u"上に作成"_s);
        above->setObjectName(u"N8"_s);
        m_form->SpeedButton11Click();
        QCOMPARE(m_form->N1->text(), u"今のフォルダ「web]"_s);
        QVERIFY(above->isVisible());
        QVERIFY(m_form->PopupMenu2->isVisible());
        m_form->PopupMenu2->close();

        const QString empty = m_dir.filePath(u"web/empty"_s);
        QVERIFY(QDir().mkpath(empty));
        m_form->nav.OpenFolderLevel(empty, 0, true);
        m_form->SpeedButton11Click();
        QCOMPARE(m_form->N1->text(), u"今のフォルダ「empty]"_s);
        // The import goes into the folder shown, and the item says which.
        QCOMPARE(m_form->Paste2->text(), u"文書を選んで「empty」の中に保存"_s);
        QVERIFY(!above->isVisible());
        m_form->PopupMenu2->close();
        delete above;
    }

    void linkPagesBecomeLevelsAndFollowTheirLink()
    {
        const QString links = m_home + u"/links"_s;
        m_form->nav.OpenFolderLevel(links, 0, true);
        m_form->ReMake();
        m_form->LastLoadedUrl.clear();
        m_form->PageClick(false, true);
        // The menu becomes a level of three; its first link is a one-link page
        // that gives way to its target.
        QTRY_VERIFY_WITH_TIMEOUT(m_form->Caption.endsWith(u"/links/1030_target.html"_s), 30000);
        QCOMPARE(m_form->nav.levels().height(), 2);
        QCOMPARE(m_form->nav.PBanSu(), 4);
        QCOMPARE(m_form->nav.levels().top().MidashiT.at(0), u"【リンク】一つだけのリンク"_s);
        QVERIFY(m_form->PageButtons.at(0)->text().contains(u"目標のページ"_s));
        QCOMPARE(m_form->DirIndexStep, 1);
        QTRY_COMPARE_WITH_TIMEOUT(m_form->Panel7->text(), u"1 / 4"_s, 30000);
        // The followed page has loaded before the next page is opened.
        QTRY_VERIFY_WITH_TIMEOUT(m_form->LastLoadedUrl.endsWith(u"/links/1030_target.html"_s), 60000);

        // A page saying NOTLINK stays a page.
        openPage(2);
        QTRY_VERIFY_WITH_TIMEOUT(m_form->LastLoadedUrl.endsWith(u"/links/1040_plain.html"_s), 60000);
        QCOMPARE(m_form->Panel7->text(), u"3 / 4"_s);
        QVERIFY(m_form->Caption.endsWith(u"/links/1040_plain.html"_s));
        QCOMPARE(m_form->nav.PBanSu(), 4);

        // A page of one command link runs it.
        openPage(3);
        QTRY_COMPARE_WITH_TIMEOUT(m_commands, QStringList{u"GO target"_s}, 30000);

        m_form->nav.PopLevel();
        QCOMPARE(m_form->nav.levels().height(), 1);
        QCOMPARE(m_form->nav.CurDir, m_home);
    }

    void waitingOneTickHoldsTheSoundOff()
    {
        QVERIFY(m_form->Timer4);
        QCOMPARE(m_form->Timer4->interval(), 1000);
        m_form->Timer4->waitOneTick();
        QCOMPARE(m_form->Timer4->Tag, 0);
        QVERIFY(!m_form->Timer4->isActive());
    }

    void closeDownWritesTheOpenNote()
    {
        openPage(0);
        QTest::mouseClick(m_form->SpeedButton7, Qt::LeftButton);
        const QString path = m_note->Caption();
        m_note->Memo1->setPlainText(u"閉じる前に"_s);
        emit m_form->closingDown();
        QCOMPARE(m_note->Tag, 0);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("\xEF\xBB\xBF") + u"閉じる前に"_s.toUtf8() + "\r\n");
    }
};

QTEST_MAIN(BarWiringTest)
#include "tst_barwiring.moc"
