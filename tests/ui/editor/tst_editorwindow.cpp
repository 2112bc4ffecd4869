#include "core/editor/pagebuilder.h"
#include "ui/editor/editorwidgets.h"
#include "ui/editor/tform2.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QImage>
#include <QTest>
#include <QTextDocument>

using namespace Qt::StringLiterals;

// The editor window without a page file: layouts, picture backup, grid, heights, tools.
class EditorWindowTest : public QObject
{
    Q_OBJECT
private:
    QTemporaryDir dir;

    void prepare(TForm2 &form)
    {
        form.setCaption(dir.filePath(u"01_朝の会.html"_s));
        form.resize(926, 715);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
    }

    // A page of the model with a title and a note block, shown as the launcher shows it.
    void showPage(TForm2 &form, const QString &title, const QString &note)
    {
        form.setCaption(dir.filePath(u"01_朝の会.html"_s));
        form.Memo82->setPlainText(u"<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">\n<HTML>\n<HEAD>\n"
                                  u"<META NAME=\"author\" CONTENT=\"Kavuno_TEXT_B4\">\n<TITLE>"_s
                                  + title + u"</TITLE>\n</HEAD>\n<BODY><!--NOTE_IN-->"_s + note
                                  + u"<!--NOTE_OUT--></BODY>\n</HTML>\n"_s);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
    }

private slots:
    void initTestCase()
    {
        QImage picture(64, 48, QImage::Format_RGB32);
        picture.fill(Qt::blue);
        QVERIFY(picture.save(dir.filePath(u"p.png"_s)));
    }

    void syncFollowsTheFields_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("note");
        QTest::addColumn<QList<int>>("marked");
        QTest::addColumn<int>("layout");
        QTest::addColumn<bool>("table");
        QTest::addColumn<bool>("titlePresent");
        PageModel grid;
        grid.cells.fill(u"c"_s);
        QTest::newRow("centred heading, text only")
            << u"T"_s << u"<H1 align=\"center\">H</H1><P></P><P>x</P>"_s << QList<int>{5, 7, 19, 3} << 0 << false
            << true;
        QTest::newRow("plain heading alone") << QString() << u"<H1>H</H1>"_s << QList<int>{4, 7, 19, 3} << 0 << false
                                             << true;
        QTest::newRow("nothing to title") << QString() << u"<P></P><P>x</P>"_s << QList<int>{4, 7, 19, 3} << 0
                                          << false << false;
        QTest::newRow("picture on the right")
            << u"T"_s << u"<P><IMG src=\"p.png\" width=\"64\" height=\"48\" align=\"right\"></P><P>x</P>"_s
            << QList<int>{12} << 3 << false << true;
        QTest::newRow("picture aligned middle: no picture layout")
            << u"T"_s << u"<P><IMG src=\"p.png\" align=\"middle\"></P><P>x</P>"_s << QList<int>{4} << 0 << false
            << true;
        QTest::newRow("link without picture: text only")
            << u"T"_s << u"<P><A href=\"doc.pdf\">Read</A></P><P>Body</P>"_s << QList<int>{3} << 0 << false << true;
        QTest::newRow("table of 78 cells") << u"T"_s << BuildTableGrid(grid)
                                           << QList<int>{23} << 0 << true << true;
        QTest::newRow("one-cell table is the framed text")
            << u"T"_s << u"<TABLE border=\"1\"><TR><TD>box</TD></TR></TABLE><P></P><P>x</P>"_s << QList<int>{3} << 0
            << false << true;
        QTest::newRow("box on the right, text on the left")
            << u"T"_s << u"<TABLE border=\"1\" align=\"right\"><TR><TD>box</TD></TR></TABLE><P></P><P align=\"left\">x</P>"_s
            << QList<int>{21} << 0 << false << true;
    }
    void syncFollowsTheFields()
    {
        QFETCH(QString, title);
        QFETCH(QString, note);
        QFETCH(QList<int>, marked);
        QFETCH(int, layout);
        QFETCH(bool, table);
        QFETCH(bool, titlePresent);
        TForm2 form;
        showPage(form, title, note);
        for (int number : marked)
            QVERIFY2(form.speedButton(number)->isMarked(), qPrintable(QString::number(number)));
        QCOMPARE(form.layoutFlag, layout);
        QCOMPARE(form.Panel16->isVisible(), table);
        QCOMPARE(form.Panel6->isVisible(), layout > 0);
        QCOMPARE(form.titlePresent, titlePresent);
        QVERIFY(form.editorOpen);
    }

    void everyFieldHasItsName()
    {
        TForm2 form;
        for (const QString &name : {u"Memo82"_s, u"Edit1"_s, u"Edit5"_s, u"Edit6"_s, u"Memo4"_s, u"ETAGH1"_s,
                                    u"Memo5"_s, u"ETAGH2"_s, u"Memo1"_s, u"ETAGHYO1"_s, u"Memo3"_s, u"Memo6"_s,
                                    u"Memo81"_s, u"Memo2"_s, u"ETAGP1"_s, u"ETAGSRC1"_s, u"Edit7"_s, u"Gname"_s,
                                    u"GX"_s, u"GY"_s, u"ScrollBar1"_s, u"Image1"_s, u"Edit2"_s, u"Edit3"_s,
                                    u"TAIHI1"_s, u"TAIHI5"_s, u"CheckBox1"_s, u"CheckBox2"_s, u"Label5"_s,
                                    u"Label3"_s, u"Label6"_s, u"Panel16"_s, u"PanelImage1"_s, u"BitBtn4"_s,
                                    u"BitBtn1"_s, u"BitBtn2"_s, u"SpeedButton35"_s, u"SpeedButton28"_s,
                                    u"SpeedButton22"_s, u"SpeedButton41"_s, u"SpeedButton39"_s})
            QVERIFY2(form.findChild<QObject *>(name), qPrintable(name));
        QCOMPARE(form.GridCells.size(), 77);
        QCOMPARE(form.GridCells.at(1)->objectName(), u"Memo6"_s);
    }

    void toolCaptionsAreReadWhole()
    {
        TForm2 form;
        prepare(form);
        for (SpeedButton *button : form.findChildren<SpeedButton *>()) {
            if (button->isVisibleTo(&form) && form.Panel8->isAncestorOf(button))
                QVERIFY2(button->fontMetrics().horizontalAdvance(button->text().trimmed()) <= button->contentsRect().width(),
                         qPrintable(button->text()));
        }
    }

    void gridFollowsItsSize()
    {
        TForm2 form;
        prepare(form);
        form.SetLayoutTable();
        form.Panel16->resize(598, 571);
        form.Panel16Resize();
        QCOMPARE(form.GridCells.at(7)->geometry(), QRect(443, 0, 155, 40));
        QCOMPARE(form.GridCells.at(66)->geometry(), QRect(148, 320, 450, 40));
        QCOMPARE(form.GridCells.at(76)->geometry(), QRect(0, 480, 598, 91));
    }

    void gridCellsShowTheLargestTypeWhole()
    {
        TForm2 form;
        prepare(form);
        form.SetLayoutTable();
        form.styleNumber = 4;
        form.ApplyStylePreview();
        form.Panel16->resize(598, 571);
        form.Panel16Resize();
        EditorMemo *cell = form.GridCells.at(1);
        cell->setFieldText(u"土"_s);
        const int line = QFontMetrics(cell->font()).height();
        QVERIFY2(line + 2 * cell->document()->documentMargin() <= cell->viewport()->height(),
                 qPrintable(QString::number(cell->viewport()->height())));
    }

    void layoutsWithoutPictureShowEmptyFrames()
    {
        TForm2 form;
        prepare(form);
        form.SpeedButton11Click();
        QCOMPARE(form.layoutFlag, 1);
        QCOMPARE(form.PanelImage1->size(), QSize(600, 400));
        QCOMPARE(form.GX->text(), u"600"_s);
        QCOMPARE(form.GY->text(), u"400"_s);
        // No picture is named yet, so there is no IMG tag to save.
        QVERIFY(form.Edit7->text().isEmpty());
        QCOMPARE(form.ETAGSRC1->text(), u"<P align=\"center\">"_s);
        form.SpeedButton10Click();
        QCOMPARE(form.layoutFlag, 2);
        QCOMPARE(form.PanelImage1->size(), QSize(280, 340));
        QCOMPARE(form.GY->text(), u"340"_s);
        QCOMPARE(form.ETAGSRC1->text(), u"<P>"_s);
        QVERIFY(form.Panel6->isVisible());
        QVERIFY(form.speedButton(10)->isMarked());
        QVERIFY(!form.speedButton(11)->isMarked());
        form.SpeedButton3MouseUp(Qt::LeftButton);
        QVERIFY(!form.Panel6->isVisible());
        QVERIFY(form.Edit7->text().isEmpty());
        form.SpeedButton23MouseUp(Qt::LeftButton);
        QVERIFY(form.Panel16->isVisible());
        QVERIFY(form.speedButton(23)->isMarked());
    }

    void pictureParagraphSurvivesTextOnlyAndBack()
    {
        TForm2 form;
        prepare(form);
        form.ETAGSRC1->setText(u"<P>"_s);
        form.Edit7->setText(u"<IMG src=\"a.jpg\" width=\"200\" height=\"100\" align=\"left\">"_s);
        form.Gname->setText(u"a.jpg"_s);
        form.Edit2->setText(u"doc.pdf"_s);
        form.Edit3->setText(u"読む"_s);
        form.SaveImageTags();
        form.SpeedButton3MouseUp(Qt::LeftButton);
        QVERIFY(form.Gname->text().isEmpty());
        // The link stays, so the text-only page keeps its link paragraph.
        QCOMPARE(form.Edit2->text(), u"doc.pdf"_s);
        QCOMPARE(form.Edit3->text(), u"読む"_s);
        form.SpeedButton10Click();
        QCOMPARE(form.Edit7->text(), u"<IMG src=\"a.jpg\" width=\"200\" height=\"100\" align=\"left\">"_s);
        QCOMPARE(form.Gname->text(), u"a.jpg"_s);
        QCOMPARE(form.Edit2->text(), u"doc.pdf"_s);
        QCOMPARE(form.Edit3->text(), u"読む"_s);
    }

    void rightClicksEmptyTextsOnly()
    {
        TForm2 form;
        prepare(form);
        form.SetLayoutTable();
        form.Memo1->setFieldText(u"caption"_s);
        form.GridCells.at(5)->setFieldText(u"cell"_s);
        form.Memo2->setFieldText(u"text"_s);
        form.SpeedButton23MouseUp(Qt::RightButton);
        QVERIFY(form.GridCells.at(5)->toPlainText().isEmpty());
        QCOMPARE(form.Memo1->toPlainText(), u"caption"_s);
        QVERIFY(form.Panel16->isVisible());
        form.SpeedButton3MouseUp(Qt::RightButton);
        QVERIFY(form.Memo2->toPlainText().isEmpty());
        QVERIFY(form.Panel16->isVisible());
    }

    void headingGrowsWithItsLines()
    {
        TForm2 form;
        prepare(form);
        form.Memo4->setFieldText(u"one\r\ntwo\r\nthree"_s);
        QCOMPARE(form.Memo4->height(), 117);
        form.Memo5->setFieldText(u"sub"_s);
        QCOMPARE(form.Memo5->height(), 47);
        QCOMPARE(form.Panel11->height(), 117 + 47 + TForm2::BarHeight);
    }

    void quizBoxesExcludeEachOther()
    {
        TForm2 form;
        prepare(form);
        QTest::mouseClick(form.CheckBox1, Qt::LeftButton);
        QVERIFY(form.CheckBox1->isChecked());
        QTest::mouseClick(form.CheckBox2, Qt::LeftButton);
        QVERIFY(form.CheckBox2->isChecked());
        QVERIFY(!form.CheckBox1->isChecked());
        QTest::mouseClick(form.CheckBox2, Qt::LeftButton);
        QVERIFY(!form.CheckBox1->isChecked() && !form.CheckBox2->isChecked());
    }

    void pageSizes()
    {
        QWidget main;
        main.resize(1265, 742);
        TForm2 form(&main);
        form.Button2Click();
        QCOMPARE(form.PageWidth, 686);
        form.Button1Click();
        QCOMPARE(form.PageWidth, 906);
        form.SpeedButton38Click();
        QCOMPARE(form.PageWidth, 1153);
    }

    void dateAndInitialise()
    {
        TForm2 form;
        form.setCaption(dir.filePath(u"朝_日報.html"_s));
        form.now = [] { return QDateTime(QDate(2016, 2, 7), QTime(8, 0)); };
        form.Memo4->setFieldText(u"週報 [ ] 連絡"_s);
        form.SpeedButton41Click();
        QCOMPARE(form.Memo4->fieldText(), u"週報 [ 2016年2月7日] 連絡"_s);
        form.Edit1->setText(u"日報:2016/2/6"_s);
        form.Edit5->setText(u"x"_s);
        form.GridCells.at(3)->setFieldText(u"cell"_s);
        form.SpeedButton39Click();
        QCOMPARE(form.Edit1->text(), u"日報:2016/2/7"_s);
        QCOMPARE(form.Memo1->fieldText(), u"＜指示・伝達＞"_s);
        QCOMPARE(form.Memo2->fieldText(), u"＜連絡＞"_s);
        QVERIFY(form.Memo4->fieldText().isEmpty());
        QVERIFY(form.Edit5->text().isEmpty());
        QVERIFY(form.GridCells.at(3)->fieldText().isEmpty());
    }
};

QTEST_MAIN(EditorWindowTest)
#include "tst_editorwindow.moc"
