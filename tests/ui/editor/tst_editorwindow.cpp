#include "ui/editor/editorwidgets.h"
#include "ui/editor/tform2.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTest>

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

private slots:
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

    void layoutsWithoutPictureShowEmptyFrames()
    {
        TForm2 form;
        prepare(form);
        form.SpeedButton11Click();
        QCOMPARE(form.layoutFlag, 1);
        QCOMPARE(form.PanelImage1->size(), QSize(600, 400));
        QCOMPARE(form.GX->text(), u"600"_s);
        QCOMPARE(form.GY->text(), u"400"_s);
        // The default picture tag of a page without one, centred.
        QCOMPARE(form.Edit7->text(),
                 u"<IMG src=\"朝の会.bmp\" width=\"740\" height=\"600\" vspace=\"4\" hspace=\"4\" align=\"center\">"_s);
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
