// The page buttons and opening pages by type, on the sample web text.
#include "ui/app/tform1.h"

#include "ui/app/copydialoguser.h"
#include "ui/app/fakeplatform.h"
#include "ui/commands/linkcommands.h"
#include "ui/navigation/pagebutton.h"

#include <QApplication>
#include <QDir>
#include <QFileSystemModel>
#include <QLabel>
#include <QLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <QScrollArea>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>
#include <QWebEngineDownloadRequest>
#include <QWebEngineProfile>
#include <QWebEngineView>

#include "core/navigation/navigationtexts.h"
#include "core/navigation/testfiles.h"
#include "ui/app/pagescript.h"

using namespace Qt::StringLiterals;

class PageButtonsTest : public QObject
{
    Q_OBJECT
private:
    QTemporaryDir m_dir;
    QString m_home;
    FakePlatform m_platform;
    std::unique_ptr<TForm1> m_form;

    int indexOf(const QString &entry) const
    {
        return int(m_form->nav.levels().top().MidashiF.indexOf(entry));
    }
    // Opens page i as a press on its button does and waits for the browser.
    bool pressAndLoad(int i)
    {
        QSignalSpy loaded(m_form->WebBrowser1, &QWebEngineView::loadFinished);
        QTest::mousePress(m_form->PageButtons.at(i), Qt::LeftButton);
        return loaded.wait(30000);
    }

private slots:
    void initTestCase()
    {
        m_home = m_dir.filePath(u"web"_s);
        QVERIFY(copyExamples(m_home));
        m_form = std::make_unique<TForm1>(m_platform, m_dir.filePath(u"web.exe"_s));
        // As the program runs: the link commands give the browsers pages of their own.
        new LinkCommands(*m_form);
        QSignalSpy loaded(m_form->WebBrowser1, &QWebEngineView::loadFinished);
        m_form->show();
        m_form->FormShow();
        QVERIFY(loaded.wait(30000));
    }

    void init()
    {
        m_form->nav.GoHome();
    }

    void buttonsShowTitlesHintsAndIcons()
    {
        const PageButtonList &buttons = m_form->PageButtons;
        QCOMPARE(buttons.size(), m_form->nav.PBanSu());
        QCOMPARE(buttons.size(), 7);
        QVERIFY(buttons.at(0)->text().startsWith(u" はじめに"_s));
        QCOMPARE(buttons.at(0)->toolTip(), u"1 このウェブテキストの使い方"_s);
        QVERIFY(!buttons.at(0)->icon().isNull());
        const int lesson1 = indexOf(u"1010_lesson1.html"_s);
        QVERIFY(buttons.at(lesson1)->text().contains(u"第1課"_s + QChar(0x3000)));
        QVERIFY(buttons.at(lesson1)->text().contains(u"\n    足し算"_s));
        QCOMPARE(buttons.at(lesson1)->toolTip(), u"%1 計算をしよう"_s.arg(lesson1 + 1));
        QVERIFY(buttons.at(lesson1)->icon().isNull());
        // A one-character icon name without its file: the list picture.
        QVERIFY(!buttons.at(indexOf(u"1020_lesson2.html"_s))->icon().isNull());
        QCOMPARE(buttons.at(indexOf(u"1050_sample.pdf"_s))->toolTip(), QString::number(indexOf(u"1050_sample.pdf"_s) + 1));
        // The column is shared out: the buttons sit one pitch apart.
        QCOMPARE(buttons.at(2)->y() - buttons.at(1)->y(), buttons.at(1)->height() + 1);
    }

    // A folder of many pages gives buttons 27 pixels high: both lines of a
    // two-line title must still be drawn whole.
    void twoLineTitleFitsANarrowButton()
    {
        const PageButton *model = m_form->PageButtons.at(indexOf(u"1010_lesson1.html"_s));
        const auto ink = [&](int height) {
            PageButton button(*m_form, 0, nullptr);
            button.setFont(model->font());
            button.setStyleSheet(u"QPushButton { text-align: left; color: black; }"_s);
            button.setLabel(model->label());
            button.resize(200, height);
            const QImage image = button.grab().toImage();
            int dark = 0;
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x)
                    dark += qGray(image.pixel(x, y)) < 110;
            return dark;
        };
        const int whole = ink(80);
        QVERIFY(whole > 0);
        QVERIFY2(ink(27) >= whole * 9 / 10, qPrintable(u"%1 of %2"_s.arg(ink(27)).arg(whole)));
    }

    void refreshReadsTheTitleFromTheFileAgain()
    {
        const int lesson1 = indexOf(u"1010_lesson1.html"_s);
        const QString path = m_home + u"/1010_lesson1.html"_s;
        const QByteArray kept = readFixture(path);
        const QString stored = m_form->nav.levels().top().MidashiT.at(lesson1);
        QVERIFY(writeFixture(path, "<!DOCTYPE HTML PUBLIC \"x\"><TITLE>新しい題#二行目?新しいヒント</TITLE>"));
        m_form->nav.PBanSave(lesson1);
        m_form->RefreshPageButton(lesson1);
        QVERIFY(writeFixture(path, kept));
        QVERIFY(m_form->PageButtons.at(lesson1)->text().startsWith(u" 新しい題"_s));
        QVERIFY(m_form->PageButtons.at(lesson1)->text().contains(u"\n    二行目"_s));
        QCOMPARE(m_form->PageButtons.at(lesson1)->toolTip(), u"%1 新しいヒント"_s.arg(lesson1 + 1));
        QCOMPARE(m_form->nav.levels().top().MidashiT.at(lesson1), stored);
    }

    void iconFileIsFoundWhateverItsCase()
    {
        QVERIFY(writeFixture(m_home + u"/1080_star.html"_s,
                             "<!DOCTYPE HTML PUBLIC \"x\"><TITLE>\"_STAR.BMP\"Star</TITLE>"));
        m_form->nav.OpenFolderLevel(m_home, 0, false);
        m_form->ReMake();
        const QIcon star(QPixmap(m_home + u"/_star.bmp"_s));
        const QIcon shown = m_form->PageButtons.at(indexOf(u"1080_star.html"_s))->icon();
        QVERIFY(QFile::remove(m_home + u"/1080_star.html"_s));
        QCOMPARE(shown.pixmap(16, 16).toImage(), star.pixmap(16, 16).toImage());
    }

    void badIconFileFallsBackToTheListPicture()
    {
        QVERIFY(writeFixture(m_home + u"/_bad.bmp"_s, "not a bitmap"));
        QVERIFY(writeFixture(m_home + u"/1080_bad.html"_s, "<!DOCTYPE HTML PUBLIC \"x\"><TITLE>\"_bad.bmp\"Bad</TITLE>"));
        m_form->nav.OpenFolderLevel(m_home, 0, false);
        m_form->ReMake();
        const int bad = indexOf(u"1080_bad.html"_s);
        QCOMPARE(m_form->PageButtons.size(), 8);
        QVERIFY(!m_form->PageButtons.at(bad)->icon().isNull());
        QVERIFY(m_form->PageButtons.at(bad)->text().startsWith(u" Bad"_s));
        QVERIFY(QFile::remove(m_home + u"/1080_bad.html"_s));
        QVERIFY(QFile::remove(m_home + u"/_bad.bmp"_s));
    }

    void pressOpensThePage()
    {
        const int lesson1 = indexOf(u"1010_lesson1.html"_s);
        QVERIFY(pressAndLoad(lesson1));
        QCOMPARE(m_form->nav.PBan(), lesson1);
        QCOMPARE(m_form->WebBrowser1->url(), QUrl::fromLocalFile(m_home + u"/1010_lesson1.html"_s));
        QCOMPARE(m_form->Panel7->text(), u"%1 / 7"_s.arg(lesson1 + 1));
        QCOMPARE(m_form->Caption, QUrl::fromLocalFile(m_home + u"/1010_lesson1.html"_s).toString());
        QVERIFY(m_form->SpeedButton16->isVisible());
        QCOMPARE(m_form->nav.CommandCounter, 0);
        QVERIFY(m_form->PageButtons.at(lesson1)->property("highlighted").toBool());
        QVERIFY(!m_form->PageButtons.at(0)->property("highlighted").toBool());
        QCOMPARE(m_form->PageButtons.at(lesson1)->x(), m_form->ButtonMargin - 4);
    }

    void spaceOpensAndEscGoesToTheFirstPage()
    {
        const int memo = indexOf(u"1030_メモ.txt"_s);
        m_form->PageButtons.at(memo)->setFocus();
        QCOMPARE(m_form->nav.PBan(), memo);
        QSignalSpy loaded(m_form->WebBrowser1, &QWebEngineView::loadFinished);
        QTest::keyClick(m_form->PageButtons.at(memo), Qt::Key_Space);
        QVERIFY(loaded.wait(30000));
        QCOMPARE(m_form->WebBrowser1->url(), QUrl::fromLocalFile(m_home + u"/1030_メモ.txt"_s));

        QTest::keyClick(m_form->PageButtons.at(memo), Qt::Key_Escape);
        QCOMPARE(m_form->nav.PBan(), 0);
        QVERIFY(m_form->PageButtons.at(0)->hasFocus());
        QTRY_COMPARE_WITH_TIMEOUT(m_form->WebBrowser1->url(), QUrl::fromLocalFile(m_home + u"/index.html"_s), 30000);
    }

    void arrowsMoveTheFocusAndStopAtTheEnds()
    {
        const PageButtonList &buttons = m_form->PageButtons;
        buttons.first()->setFocus();
        QTest::keyClick(buttons.first(), Qt::Key_Up);
        QCOMPARE(m_form->nav.PBan(), 0);
        QTest::keyClick(buttons.first(), Qt::Key_Down);
        QCOMPARE(m_form->nav.PBan(), 1);
        QVERIFY(buttons.at(1)->hasFocus());
        QTest::keyClick(buttons.at(1), Qt::Key_Tab);
        QCOMPARE(m_form->nav.PBan(), 2);
        buttons.last()->setFocus();
        QTest::keyClick(buttons.last(), Qt::Key_Down);
        QCOMPARE(m_form->nav.PBan(), int(buttons.size()) - 1);
        QVERIFY(buttons.last()->hasFocus());
    }

    void pictureShowsOnThePictureView()
    {
        // The page buttons stay where they are when the post button hides.
        const int columnTop = m_form->ScrollBox1->y();
        m_form->nav.PBanSave(indexOf(u"1040_photo.jpg"_s));
        m_form->PageClick();
        QVERIFY(m_form->Panel10->isVisible());
        QVERIFY(!m_form->SpeedButton16->isVisible());
        QApplication::sendPostedEvents();
        m_form->kabeRight->layout()->activate();
        QCOMPARE(m_form->ScrollBox1->y(), columnTop);
        QVERIFY(!m_form->Panel1->isVisible());
        QCOMPARE(m_form->DrawImagePath, m_home + u"/1040_photo.jpg"_s);
        const QPixmap shown = m_form->Image11->pixmap();
        QCOMPARE(shown.width(), m_form->ScrollBox2->viewport()->width());
        QCOMPARE(shown.height(), 300 * shown.width() / 480);
    }

    void otherFilesGoToTheOpenPanel()
    {
        m_form->nav.PBanSave(indexOf(u"1060_名簿.csv"_s));
        m_form->PageClick();
        QVERIFY(m_form->Panel1->isVisible());
        QCOMPARE(m_form->Panel1Caption->text(), u"1060_名簿.csv"_s);
        QCOMPARE(m_form->Label1->text(), m_home + u"/1060_名簿.csv"_s);
        QCOMPARE(m_form->SpeedButton3->text(), u"起動"_s);
        QCOMPARE(m_form->SpeedButton4->text(), u"コピー"_s);
        m_form->SpeedButton3->click();
        QCOMPARE(m_platform.opened.last(), m_home + u"/1060_名簿.csv"_s);

        // No program for the file: the user is told.
        QString told;
        QTimer::singleShot(0, this, [&told] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                told = box->text();
                box->close();
            }
        });
        m_platform.openSucceeds = false;
        m_form->SpeedButton3->click();
        m_platform.openSucceeds = true;
        QCOMPARE(told, u"そのファイルは開けません"_s);
    }

    void copyKeepsTheFilesOwnNameWhateverFilter_data()
    {
        QTest::addColumn<int>("filter");
        QTest::newRow("its own type") << 0;
        QTest::newRow("bmp picture") << 1;
        QTest::newRow("jpeg picture") << 2;
    }
    void copyKeepsTheFilesOwnNameWhateverFilter()
    {
        QFETCH(int, filter);
        QTemporaryDir desktop;
        m_platform.desktop = desktop.path();
        m_form->nav.PBanSave(indexOf(u"1060_名簿.csv"_s));
        m_form->PageClick();
        CopyDialogUser user(filter);
        QTest::mouseClick(m_form->SpeedButton4, Qt::LeftButton);
        m_platform.desktop = QDir::tempPath();
        QCOMPARE(user.proposed, u"1060_名簿.csv"_s);
        QCOMPARE(user.afterFilter, u"1060_名簿.csv"_s);
        QCOMPARE(QDir(desktop.path()).entryList(QDir::Files), QStringList{u"1060_名簿.csv"_s});
        QCOMPARE(readFixture(desktop.filePath(u"1060_名簿.csv"_s)), readFixture(m_home + u"/1060_名簿.csv"_s));
        QCOMPARE(user.filters.first(), u"csvファイル (*.csv)"_s);
        QCOMPARE(m_form->SpeedButton4->toolTip(), u"このファイルをコピー"_s);
    }

    void undecodablePictureGoesToTheOpenPanel()
    {
        QVERIFY(writeFixture(m_home + u"/1070_broken.jpg"_s, "not a picture"));
        m_form->nav.OpenFolderLevel(m_home, 0, false);
        m_form->ReMake();
        m_form->nav.PBanSave(indexOf(u"1070_broken.jpg"_s));
        m_form->PageClick();
        QVERIFY(m_form->Panel1->isVisible());
        QVERIFY(!m_form->Panel10->isVisible());
        QVERIFY(QFile::remove(m_home + u"/1070_broken.jpg"_s));
    }

    // Another PC reorders the shown folder (as many files as before): a press
    // on a button whose page is gone reads the folder again and opens the page
    // now at that place in the order, saying that the folder changed.
    void pressOnAGonePageOpensThePageNowAtItsPlace()
    {
        QTemporaryDir folder(m_home + u"/order-XXXXXX"_s);
        for (const QString &name : {u"1010_a.txt"_s, u"1020_b.txt"_s, u"1030_c.txt"_s})
            QVERIFY(writeFixture(folder.filePath(name), name.toUtf8()));
        m_form->nav.OpenFolderLevel(folder.path(), 0, true);
        m_form->ReMake();
        QVERIFY(pressAndLoad(0));
        // c comes first.
        QDir order(folder.path());
        QVERIFY(order.rename(u"1010_a.txt"_s, u"moving"_s) && order.rename(u"1020_b.txt"_s, u"1030_b.txt"_s)
                && order.rename(u"1030_c.txt"_s, u"1010_c.txt"_s) && order.rename(u"moving"_s, u"1020_a.txt"_s));

        QVERIFY(pressAndLoad(1)); // still labelled b
        QCOMPARE(m_form->nav.CurDir, folder.path());
        QCOMPARE(m_form->nav.currentEntry(), u"1020_a.txt"_s);
        QCOMPARE(m_form->WebBrowser1->url(), QUrl::fromLocalFile(folder.filePath(u"1020_a.txt"_s)));
        QCOMPARE(m_form->PageButtons.at(0)->text().trimmed(), u"c"_s);
        QCOMPARE(m_form->PageButtons.at(1)->text().trimmed(), u"a"_s);
        QCOMPARE(m_form->Pmathu->text(), NavigationTexts::FolderChanged);
    }

    // A page of a level that lists no folder (search results, keyword links)
    // is gone: the page's place says so, and the level stays.
    void goneFileOfAListSaysSo()
    {
        m_form->nav.OpenFolderLevel(m_home + u"/sub"_s, 0, true);
        m_form->ReMake();
        m_form->nav.PushLevel({u"gone.html"_s}, {u"gone"_s}, 0);
        m_form->ReMake();
        QVERIFY(pressAndLoad(0));
        QCOMPARE(m_form->nav.levels().height(), 3);
        QCOMPARE(m_form->nav.CurDir, m_home + u"/sub"_s);
        QVERIFY(evaluate(m_form->WebBrowser1->page(), u"document.body.innerText"_s).toString().contains(
            NavigationTexts::PageGone));
    }

    void emptyFolderShowsThePlaceholder()
    {
        QTemporaryDir empty(m_home + u"/empty-XXXXXX"_s); // folders of the data root
        m_form->nav.OpenFolderLevel(empty.path(), 0, true);
        m_form->ReMake();
        QSignalSpy loaded(m_form->WebBrowser1, &QWebEngineView::loadFinished);
        m_form->PageClick();
        QCOMPARE(m_form->Panel7->text(), u"0 / 0"_s);
        QVERIFY(m_form->Caption.isEmpty());
        QVERIFY(loaded.wait(30000));
        QCOMPARE(m_form->WebBrowser1->url(), QUrl::fromLocalFile(empty.filePath(u"_XXX.html"_s)));
        QVERIFY(QString::fromUtf8(readFixture(empty.filePath(u"_XXX.html"_s))).contains(u"*** NO PAGE ***"_s));
    }

    // After the editor closes the main window may not have the focus back yet:
    // the page opened in a long folder still has its button scrolled into view.
    void currentButtonIsScrolledIntoViewWithoutTheFocus()
    {
        QTemporaryDir many(m_home + u"/many-XXXXXX"_s);
        for (int i = 0; i < 80; ++i)
            QVERIFY(writeFixture(many.filePath(u"%1_p.txt"_s.arg(1000 + i)), "x"));
        m_form->nav.OpenFolderLevel(many.path(), 0, true);
        m_form->ReMake();
        QWidget other;
        other.show();
        QApplication::setActiveWindow(&other);
        m_form->nav.PBanSave(70);
        m_form->PageClick();
        const QWidget *button = m_form->PageButtons.at(70);
        const QRect shown(m_form->ScrollBox1->viewport()->mapFromGlobal(button->mapToGlobal(QPoint(0, 0))), button->size());
        QVERIFY(shown.top() >= 0);
        QVERIFY(shown.bottom() < m_form->ScrollBox1->viewport()->height());
    }

    void restyleWithoutOpeningKeepsCounterAndCaption()
    {
        const QString caption = m_form->Caption;
        m_form->nav.CommandCounter = 5;
        m_form->nav.PBanSave(2);
        m_form->PageClick(false, false);
        QCOMPARE(m_form->nav.CommandCounter, 5);
        QCOMPARE(m_form->Caption, caption);
        QCOMPARE(m_form->Panel7->text(), u"3 / 7"_s);
    }

    void indexPastTheEndOpensTheFirstPage()
    {
        m_form->nav.PBanSave(m_form->nav.PBanSu());
        m_form->PageClick();
        QCOMPARE(m_form->nav.PBan(), 0);
        QCOMPARE(m_form->Panel7->text(), u"1 / 7"_s);
        QCOMPARE(m_form->Caption, QUrl::fromLocalFile(m_home + u"/index.html"_s).toString());
    }

    void pdfShowsInTheBrowserAndIsNotDownloaded()
    {
        QWebEngineProfile *profile = m_form->WebBrowser1->page()->profile();
        QSignalSpy downloads(profile, &QWebEngineProfile::downloadRequested);
        connect(profile, &QWebEngineProfile::downloadRequested, this,
                [](QWebEngineDownloadRequest *download) { download->cancel(); });
        QSignalSpy loaded(m_form->WebBrowser1, &QWebEngineView::loadFinished);
        m_form->nav.PBanSave(indexOf(u"1050_sample.pdf"_s));
        m_form->PageClick();
        QVERIFY(loaded.wait(30000));
        QVERIFY(loaded.last().first().toBool());
        QCOMPARE(downloads.size(), 0);
        QCOMPARE(m_form->WebBrowser1->url(), QUrl::fromLocalFile(m_home + u"/1050_sample.pdf"_s));
        QVERIFY(!m_form->Panel1->isVisible());
        disconnect(profile, &QWebEngineProfile::downloadRequested, this, nullptr);
    }

    void rightPressOpensThePageAndAsksForThePopup()
    {
        QPoint popupAt;
        m_form->showPagePopup = [&popupAt](const QPoint &at) { popupAt = at; };
        const int lesson2 = indexOf(u"1020_lesson2.html"_s);
        const QPoint pressedAt = m_form->PageButtons.at(lesson2)->mapToGlobal(QPoint(5, 6));
        QTest::mousePress(m_form->PageButtons.at(lesson2), Qt::RightButton, {}, QPoint(5, 6));
        m_form->showPagePopup = nullptr;
        QCOMPARE(m_form->nav.PBan(), lesson2);
        QCOMPARE(m_form->PrevPageIndex, lesson2);
        QCOMPARE(m_form->WebBrowser1->url(), QUrl::fromLocalFile(m_home + u"/1020_lesson2.html"_s));
        QCOMPARE(popupAt, pressedAt);
        QVERIFY(!m_form->HighlightCurrent);
        // Again on the open page's own button: no load follows to put the flag up.
        QTest::mousePress(m_form->PageButtons.at(lesson2), Qt::RightButton, {}, QPoint(5, 6));
        QVERIFY(m_form->HighlightCurrent);
    }

    void folderTreePushesTheFolder()
    {
        QStringList commands;
        const auto interpreter = m_form->TXTcommand;
        m_form->TXTcommand = [&commands](const QString &command) { commands << command; };
        // The tree reads the data root only once its panel is open.
        QVERIFY(!m_form->folderModel);
        m_form->hyoushi->setFixedWidth(200);
        QTRY_VERIFY(m_form->folderModel);
        const QModelIndex sub = m_form->treeIndex(m_home + u"/sub"_s);
        m_form->DirectoryListBox1Click(sub);
        m_form->TXTcommand = interpreter;
        QCOMPARE(commands, QStringList{u"DIR "_s + m_home + u"/sub"_s});

        // The command interpreter pushes the folder as a new level.
        m_form->DirectoryListBox1Click(sub);
        QCOMPARE(m_form->nav.levels().height(), 2);
        QCOMPARE(m_form->nav.CurDir, m_home + u"/sub"_s);
        QCOMPARE(m_form->PageButtons.size(), 2);
        QCOMPARE(m_form->Panel8->text(), u"sub"_s);
        m_form->hyoushi->setFixedWidth(0);
    }

    // Folders made while the program runs (by a page's command, by the folder
    // tools, by another PC on the share) show when the panel opens again,
    // within the levels the panel shows.
    void folderTreeShowsFoldersMadeSinceItLastOpened()
    {
        const auto hover = [this](QWidget *button) {
            QEvent enter(QEvent::Enter);
            QApplication::sendEvent(button, &enter);
            QEvent leave(QEvent::Leave);
            QApplication::sendEvent(button, &leave);
        };
        const auto shown = [this](const QString &folder) {
            const QAbstractItemModel *model = m_form->DirectoryListBox1->model();
            const QModelIndex parent = m_form->treeIndex(folder);
            QStringList names;
            for (int row = 0; row < model->rowCount(parent); ++row)
                names << model->index(row, 0, parent).data().toString();
            return names;
        };
        hover(m_form->SpeedButton2);
        QCOMPARE(m_form->hyoushi->maximumWidth(), 200);
        QTRY_VERIFY(shown(m_home).contains(u"sub"_s));
        // As on a share, where nothing tells of folders another PC makes.
        m_form->folderModel->setOption(QFileSystemModel::DontWatchForChanges);
        m_form->DirectoryListBox1->expand(m_form->treeIndex(m_home + u"/sub"_s));
        hover(m_form->SpeedButton9);
        QCOMPARE(m_form->hyoushi->maximumWidth(), 0);

        QVERIFY(QDir(m_home).mkdir(u"2年1組"_s));
        QVERIFY(QDir(m_home).mkdir(u"sub/班"_s));
        hover(m_form->SpeedButton2);
        QTRY_VERIFY(shown(m_home).contains(u"2年1組"_s));
        QTRY_VERIFY(shown(m_home + u"/sub"_s).contains(u"班"_s));
        QVERIFY(m_form->DirectoryListBox1->isExpanded(m_form->treeIndex(m_home + u"/sub"_s)));
        hover(m_form->SpeedButton9);
        QVERIFY(QDir(m_home).rmdir(u"sub/班"_s) && QDir(m_home).rmdir(u"2年1組"_s));
    }

    // A folder of 2,000 pages: only the rows in view are widgets, and the keys,
    // the focus and the scrolling work as in a short folder.
    void longFolderKeysFocusAndScrolling()
    {
        QApplication::setActiveWindow(m_form.get());
        QTemporaryDir many(m_home + u"/many-XXXXXX"_s);
        QVERIFY(writeFixture(many.filePath(u"0999_a&b.txt"_s), "x"));
        for (int i = 1; i < 2000; ++i)
            QVERIFY(writeFixture(many.filePath(u"%1_p.txt"_s.arg(1000 + i)), "x"));
        m_form->nav.OpenFolderLevel(many.path(), 0, true);
        m_form->ReMake();
        m_form->PageClick();
        const PageButtonList &buttons = m_form->PageButtons;
        QCOMPARE(buttons.size(), 2000);
        QVERIFY(buttons.made().size() < 60);
        // "&" is shown as written, not as a keyboard mnemonic.
        QVERIFY(buttons.at(0)->label().startsWith(u" a&b"_s));
        QVERIFY(buttons.at(0)->text().startsWith(u" a&&b"_s));
        const auto inView = [this](int i) {
            const QWidget *button = m_form->PageButtons.existing(i);
            const QWidget *viewport = m_form->ScrollBox1->viewport();
            const QRect shown(viewport->mapFromGlobal(button->mapToGlobal(QPoint(0, 0))), button->size());
            return button->isVisible() && shown.top() >= 0 && shown.bottom() < viewport->height();
        };
        QVERIFY(buttons.at(0)->hasFocus());
        for (int i = 0; i < 40; ++i)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
        QCOMPARE(m_form->nav.PBan(), 40);
        QVERIFY(buttons.at(40)->hasFocus());
        QVERIFY(inView(40));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up);
        QCOMPARE(m_form->nav.PBan(), 39);
        QVERIFY(inView(39));

        buttons.last()->setFocus();
        QCOMPARE(m_form->nav.PBan(), 1999);
        QVERIFY(inView(1999));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
        QCOMPARE(m_form->nav.PBan(), 1999);
        QCOMPARE(buttons.at(1999)->y(), 1999 * buttons.at(1999)->height() + 1999);

        // Scrolling back makes the first rows again, and the column stays small.
        m_form->ScrollBox1->verticalScrollBar()->setValue(0);
        QVERIFY(buttons.existing(0) && inView(0));
        QVERIFY(buttons.made().size() < 60);
        QVERIFY(buttons.existing(1999)->hasFocus());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
        QCOMPARE(m_form->Caption, QUrl::fromLocalFile(many.filePath(u"2999_p.txt"_s)).toString());
    }

    void homeButtonGoesHome_data()
    {
        QTest::addColumn<Qt::MouseButton>("button");
        QTest::addColumn<QString>("searchIndexKey");
        QTest::newRow("left") << Qt::LeftButton << u"xxx"_s;
        QTest::newRow("right only goes home") << Qt::RightButton << u"kept"_s;
    }
    void homeButtonGoesHome()
    {
        QFETCH(Qt::MouseButton, button);
        QFETCH(QString, searchIndexKey);
        m_form->nav.OpenFolderLevel(m_home + u"/sub"_s, 1, true);
        m_form->ReMake();
        m_form->SearchIndexKey = u"kept"_s;
        QTest::mouseClick(m_form->SpeedButton17, button);
        QCOMPARE(m_form->nav.levels().height(), 1);
        QCOMPARE(m_form->nav.CurDir, m_home);
        QCOMPARE(m_form->nav.PBan(), 0);
        QCOMPARE(m_form->PageButtons.size(), 7);
        QCOMPARE(m_form->SearchIndexKey, searchIndexKey);
    }

    void soundButtonSitsLeftOfTheRightColumn()
    {
        m_form->resize(1265, 742);
        m_form->centralWidget()->layout()->activate();
        m_form->ArrangeMainPanels();
        QCOMPARE(m_form->BitBtn1->x(), m_form->kabeBASE->width() - 25 - 12 - 220 - m_form->hyoushi->width());
        QCOMPARE(m_form->kabeRight->width(), 220);
    }

    void helpItemOpensTheHelpBesideTheProgram()
    {
        const QString help = m_dir.filePath(u"【使い方】/index.html"_s);
        QVERIFY(QDir().mkpath(m_dir.filePath(u"【使い方】"_s)));
        QVERIFY(writeFixture(help, "<html><title>help</title></html>"));
        // Asked for from a file on the open panel.
        m_form->nav.PBanSave(indexOf(u"1060_名簿.csv"_s));
        m_form->PageClick();
        m_form->Kavuno1Click();
        QCOMPARE(m_form->WebBrowser1->url(), QUrl::fromLocalFile(help));
        QVERIFY(!m_form->Panel1->isVisible());
    }

    void folderHelpAndCurrentFolder()
    {
        m_form->OpenFolderHelp();
        QCOMPARE(m_platform.opened.last(), m_home + u"/_help.html"_s);
        m_form->N1Click();
        QCOMPARE(m_platform.opened.last(), m_home + u'/');
        const qsizetype opened = m_platform.opened.size();
        m_form->nav.OpenFolderLevel(m_home + u"/sub"_s, 0, true);
        m_form->OpenFolderHelp();
        QCOMPARE(m_platform.opened.size(), opened);
    }
};

QTEST_MAIN(PageButtonsTest)
#include "tst_pagebuttons.moc"
