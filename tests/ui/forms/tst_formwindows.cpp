// The post window, the answer sheet and the folder-name list used as a user
// would, under the main window.
#include "ui/app/tform1.h"
#include "ui/forms/formswiring.h"
#include "ui/forms/tform10.h"
#include "ui/forms/tform16.h"
#include "ui/forms/tform18.h"

#include "core/forms/formtexts.h"
#include "core/navigation/testfiles.h"
#include "core/pages/pagefile.h"
#include "ui/app/fakeplatform.h"
#include "ui/editor/modaluser.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

using namespace Qt::StringLiterals;

class FormWindowsTest : public QObject
{
    Q_OBJECT
private:
    QTemporaryDir m_dir;
    QString m_home;
    FakePlatform m_platform;
    TForm1 *m_form = nullptr;
    TForm16 *m_form16 = nullptr;
    TForm18 *m_form18 = nullptr;
    TForm10 *m_form10 = nullptr;

    QString home(const QString &name) const { return m_home + u'/' + name; }
    // The data root holds this one page, current.
    void setPage(const QString &name, const QByteArray &bytes)
    {
        QDir(m_home).removeRecursively();
        QDir().mkpath(m_home);
        QVERIFY(writeFixture(home(name), bytes));
        m_form->nav.levels().clear();
        m_form->nav.OpenFolderLevel(m_home, 0, true);
        m_form->ReMake();
    }

private slots:
    void initTestCase()
    {
        m_home = m_dir.filePath(u"web"_s);
        QDir().mkpath(m_home);
        m_form = new TForm1(m_platform, m_dir.filePath(u"web.exe"_s));
        m_form16 = new TForm16(m_form);
        m_form18 = new TForm18(m_form);
        m_form10 = new TForm10(m_form);
        attachForms(*m_form, *m_form16, *m_form18, *m_form10);
        m_form->show();
        m_form->FormShow();
    }
    void cleanupTestCase() { delete m_form; }

    void postsLinesOfTheMemoAsBreaks()
    {
        setPage(u"1010_board.html"_s, "<HTML><HEAD><TITLE>board</TITLE></HEAD><BODY><P align=\"left\">old</P></BODY></HTML>");
        QString caption;
        ModalUser user(*m_form16, [&] {
            caption = m_form16->windowTitle();
            m_form16->Edit1->clear();
            m_form16->Edit2->setText(u"Sato"_s);
            QTest::keyClicks(m_form16->Memo1, u"one"_s);
            QTest::keyClick(m_form16->Memo1, Qt::Key_Return);
            QTest::keyClicks(m_form16->Memo1, u"two"_s);
            QTest::keyClick(m_form16->Memo1, Qt::Key_Return);
            QTest::keyClicks(m_form16->Memo1, u"three"_s);
            QTest::mouseClick(m_form16->SpeedButton1, Qt::LeftButton);
        });
        // The page menu's "ページに投稿".
        m_form->popupActions.PostToPage();
        QCOMPARE(caption, u"1010_board.html"_s);
        QVERIFY(!m_form16->isVisible());
        QCOMPARE(readPageFile(home(u"1010_board.html"_s)).text,
                 u"<HTML><HEAD><TITLE>board</TITLE></HEAD><BODY><P align=\"left\">(^0^)：Sato<BR>one<BR>two<BR>three<BR>"
                 "---.<BR>old</P></BODY></HTML>\r\n"_s);
    }

    // A page whose only "<P" stands in a script takes no post: the user is told
    // and the window closes, as there is nothing to try again.
    void postWithoutARealParagraphIsRefused()
    {
        const QByteArray page = "<HTML><BODY><SCRIPT>/* row template: <P> */</SCRIPT></BODY></HTML>";
        setPage(u"1020_board.html"_s, page);
        QString told;
        bool stayedOpen = false;
        ModalUser user(*m_form16, [&] {
            QTest::keyClicks(m_form16->Memo1, u"hello"_s);
            answerMessageBox(this, QMessageBox::Ok, &told);
            QTest::mouseClick(m_form16->SpeedButton1, Qt::LeftButton);
            stayedOpen = m_form16->isVisible();
            if (stayedOpen)
                QTest::mouseClick(m_form16->SpeedButton2, Qt::LeftButton);
        });
        m_form->popupActions.PostToPage();
        QCOMPARE(told, FormTexts::PostNoParagraph);
        QVERIFY(!stayedOpen);
        QCOMPARE(readFixture(home(u"1020_board.html"_s)), page);
    }

    void answerSheetStaysOpenWhenTheAnswersCannotBeWritten_data()
    {
        QTest::addColumn<bool>("writable");
        QTest::addColumn<QString>("told");
        QTest::addColumn<bool>("open");
        QTest::newRow("written") << true << u"書き込み終了"_s << false;
        QTest::newRow("a folder where the answers go") << false << u"回答を書き込めませんでした。"_s << true;
    }
    void answerSheetStaysOpenWhenTheAnswersCannotBeWritten()
    {
        QFETCH(bool, writable);
        QFETCH(QString, told);
        QFETCH(bool, open);
        setPage(u"1030_Sheet.html"_s, "<HTML><BODY><P>Name[ ]<BR>Town[ ]</P></BODY></HTML>");
        const QString csv = home(u"_1030_Sheet.csv"_s);
        if (!writable)
            QVERIFY(QDir().mkdir(csv));
        QString sheet, text, kept;
        bool stayedOpen = false;
        ModalUser user(*m_form18, [&] {
            sheet = m_form18->Memo1->toPlainText();
            m_form18->Memo1->setPlainText(u"Name[Aiko]\nTown[New York]"_s);
            answerMessageBox(this, QMessageBox::Ok, &text);
            QTest::mouseClick(m_form18->SpeedButton1, Qt::LeftButton);
            stayedOpen = m_form18->isVisible();
            kept = m_form18->Memo1->toPlainText();
            if (stayedOpen)
                QTest::mouseClick(m_form18->SpeedButton2, Qt::LeftButton);
        });
        m_form18->showAnswerSheet(home(u"1030_Sheet.html"_s));
        QCOMPARE(sheet, u"Name[ ]\nTown[ ]"_s);
        QVERIFY2(text.startsWith(told), qPrintable(text));
        QCOMPARE(stayedOpen, open);
        // The answers wait for another try.
        QCOMPARE(kept, u"Name[Aiko]\nTown[New York]"_s);
        if (writable)
            QCOMPARE(readFixture(csv), QByteArray("\xEF\xBB\xBFName,Town\r\nAiko,NewYork\r\n"));
    }

    void folderListAsksBeforeOverwriting_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("asked");
        QTest::addColumn<QString>("after");
        QTest::newRow("No keeps the file") << QByteArray("old\r\n") << int(QMessageBox::No)
                                           << u"_folder.txtを上書き保存します。"_s << u"old\r\n"_s;
        QTest::newRow("Yes writes it") << QByteArray("old\r\n") << int(QMessageBox::Yes)
                                       << u"_folder.txtを上書き保存します。"_s << u"年\\組\r\n"_s;
        QTest::newRow("a new list is written without asking") << QByteArray() << int(QMessageBox::Yes) << QString()
                                                              << u"年\\組\r\n"_s;
    }
    void folderListAsksBeforeOverwriting()
    {
        QFETCH(QByteArray, before);
        QFETCH(int, answer);
        QFETCH(QString, asked);
        QFETCH(QString, after);
        const QString list = m_dir.filePath(u"_folder.txt"_s);
        QFile::remove(list);
        if (!before.isEmpty())
            QVERIFY(writeFixture(list, before));
        QString shown, question;
        // Its questions are answered while it lasts, none after.
        QObject answering;
        ModalUser user(*m_form10, [&] {
            shown = m_form10->Memo1->toPlainText();
            m_form10->Memo1->setPlainText(u"年\\組"_s);
            answerMessageBox(&answering, QMessageBox::StandardButton(answer), &question);
            QTest::mouseClick(m_form10->SpeedButton2, Qt::LeftButton);
            QTest::mouseClick(m_form10->SpeedButton4, Qt::LeftButton);
        });
        m_form->N3->trigger();
        QCOMPARE(m_form10->windowTitle(), list);
        QCOMPARE(shown, QString::fromUtf8(before).remove(u'\r'));
        QCOMPARE(question, asked);
        QCOMPARE(readPageFile(list).text, after);
    }
};

QTEST_MAIN(FormWindowsTest)
#include "tst_formwindows.moc"
