#include "ui/editor/editorwidgets.h"
#include "ui/editor/tform12.h"
#include "ui/editor/tform2.h"

#include "core/editor/fieldsread.h"
#include "core/pages/pagefile.h"
#include "core/pages/pagetext.h"

#include <QCheckBox>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QApplication>
#include <QMessageBox>

#include "../../core/editor/bodycontent.h"
#include "core/editortools/filebytes.h"

using namespace Qt::StringLiterals;

namespace {

QString fixture(const QString &name)
{
    return QStringLiteral(KAVUNO_TEST_DATA) + u"/editor/"_s + name;
}

} // namespace

// Fixture pages opened in the editor as the launcher opens them, changed and saved.
class EditorPagesTest : public QObject
{
    Q_OBJECT
private:
    QTemporaryDir dir;
    QWidget mainWindow;

    // Copies a fixture page into the folder and shows it in the editor.
    void open(TForm2 &form, const QString &name)
    {
        const QString path = dir.filePath(name);
        QFile::remove(path);
        QVERIFY(QFile::copy(fixture(name), path));
        const PageSnapshot read = takePageSnapshot(path);
        const PageText page = decodePageUtf8(read.bytes);
        QVERIFY(page.ok());
        form.now = [] { return QDateTime(QDate(2026, 2, 6), QTime(9, 30)); };
        form.openPage(path, page.text, read);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
    }

    void compareWithGolden(const QString &path, const QString &golden)
    {
        const QByteArray saved = readBytes(path);
        const QByteArray expected = readBytes(fixture(golden));
        if (saved != expected) {
            QFile out(QDir::temp().filePath(golden + u".actual"_s));
            if (out.open(QIODevice::WriteOnly))
                out.write(saved);
            qWarning("saved page written to %s", qPrintable(out.fileName()));
        }
        QCOMPARE(saved, expected);
    }

private slots:
    void initTestCase()
    {
        mainWindow.resize(1265, 742);
        QImage picture(400, 300, QImage::Format_RGB32);
        picture.fill(Qt::yellow);
        QVERIFY(picture.save(dir.filePath(u"prism.png"_s)));
    }

    void pictureLeftPageShowsItsFields()
    {
        TForm2 form(&mainWindow);
        open(form, u"picture.html"_s);
        QCOMPARE(form.size(), mainWindow.size());
        QCOMPARE(form.Edit1->text(), u"光の実験"_s);
        QCOMPARE(form.Edit5->text(), u"第2回"_s);
        QCOMPARE(form.Edit6->text(), u"プリズム"_s);
        QCOMPARE(form.Memo4->fieldText(), u"光の実験"_s);
        QVERIFY(form.speedButton(5)->isMarked());
        QCOMPARE(form.Memo4->textAlignment(), Qt::AlignHCenter);
        QVERIFY(form.speedButton(7)->isMarked());
        QCOMPARE(form.Memo2->fieldText(), u"プリズムを使って\r\n光を分けます。"_s);
        QVERIFY(form.speedButton(19)->isMarked());
        QCOMPARE(form.layoutFlag, 2);
        QVERIFY(form.speedButton(10)->isMarked());
        QCOMPARE(form.Gname->text(), u"prism.png"_s);
        QCOMPARE(form.GX->text(), u"200"_s);
        QCOMPARE(form.GY->text(), u"150"_s);
        QCOMPARE(form.PanelImage1->size(), QSize(200, 150));
        QVERIFY(form.picturePresent);
        QCOMPARE(form.Edit2->text(), u"doc.pdf"_s);
        QCOMPARE(form.PageWidth, 686);
        QCOMPARE(form.Label5->text(), form.caption());
        QVERIFY(!form.Panel16->isVisible());
    }

    void changedTitleAndCellAreSaved()
    {
        TForm2 form(&mainWindow);
        open(form, u"table.html"_s);
        QVERIFY(form.Panel16->isVisible());
        QVERIFY(form.speedButton(23)->isMarked());
        QCOMPARE(form.Memo1->fieldText(), u"一週間の予定"_s);
        QCOMPARE(form.GridCells.at(1)->fieldText(), u"火"_s);
        QCOMPARE(form.GridCells.at(2)->fieldText(), u"水"_s);
        QCOMPARE(form.GridCells.at(8)->fieldText(), u"国語"_s); // each row in its row of the grid
        QVERIFY(form.speedButton(20)->isMarked());
        form.Edit1->setText(u"新しい時間割"_s);
        form.GridCells.at(10)->setFieldText(u"理科\r\n実験"_s);
        form.BitBtn4Click();
        QCOMPARE(form.result(), int(QDialog::Accepted));
        compareWithGolden(form.caption(), u"table-saved.html"_s);
    }

    void saveAsWritesTheChosenFileAndAsksBeforeReplacingAnother()
    {
        TForm2 form(&mainWindow);
        open(form, u"picture.html"_s);
        const QString original = form.caption();
        const QByteArray before = readBytes(original);
        QString proposed;
        form.chooseSavePath = [&](const QString &, const QString &name) {
            proposed = name;
            return dir.filePath(u"table.html"_s);
        };
        QStringList questions;
        form.confirm = [&](const QString &question) {
            questions << question;
            return false;
        };
        QFile::copy(fixture(u"table.html"_s), dir.filePath(u"table.html"_s));
        const QByteArray other = readBytes(dir.filePath(u"table.html"_s));
        form.BitBtn1Click();
        QCOMPARE(proposed, original);
        QCOMPARE(questions.size(), 1);
        QVERIFY(form.isVisible());
        QCOMPARE(form.caption(), original);
        QCOMPARE(readBytes(dir.filePath(u"table.html"_s)), other);

        form.chooseSavePath = [&](const QString &, const QString &) { return dir.filePath(u"copy.html"_s); };
        form.BitBtn1Click();
        QCOMPARE(form.result(), int(QDialog::Accepted));
        QCOMPARE(form.caption(), dir.filePath(u"copy.html"_s));
        QVERIFY(readBytes(dir.filePath(u"copy.html"_s)).contains("光の実験"));
        QCOMPARE(readBytes(original), before);
    }

    // Another computer posts into the page while it is open: "上書き保存" writes
    // nothing over the post unless the user chooses so.
    void pageChangedMeanwhileIsNotOverwrittenSilently_data()
    {
        QTest::addColumn<int>("choice");
        QTest::newRow("back to the edit") << int(TForm2::ChangedPageChoice::Cancel);
        QTest::newRow("save under another name") << int(TForm2::ChangedPageChoice::SaveAs);
        QTest::newRow("reload") << int(TForm2::ChangedPageChoice::Reload);
        QTest::newRow("overwrite") << int(TForm2::ChangedPageChoice::Overwrite);
    }
    void pageChangedMeanwhileIsNotOverwrittenSilently()
    {
        QFETCH(int, choice);
        TForm2 form(&mainWindow);
        open(form, u"table.html"_s);
        const QString path = form.caption();
        form.Edit1->setText(u"編集した題"_s);
        QString posted = readPageFile(path).text;
        posted.replace(u"<!--NOTE_OUT-->"_s, u"<P>ほかのPCの書き込み</P><!--NOTE_OUT-->"_s);
        QVERIFY(writePageFile(path, posted));
        const QByteArray post = readBytes(path);

        QStringList questions;
        form.askChangedPage = [&](const QString &question) {
            questions << question;
            return TForm2::ChangedPageChoice(choice);
        };
        form.chooseSavePath = [&](const QString &, const QString &) { return dir.filePath(u"table-copy.html"_s); };
        QFile::remove(dir.filePath(u"table-copy.html"_s));
        form.BitBtn4Click();

        QCOMPARE(questions.size(), 1);
        QVERIFY(questions.first().contains(u"table.html"_s));
        switch (TForm2::ChangedPageChoice(choice)) {
        case TForm2::ChangedPageChoice::Cancel:
            QVERIFY(form.isVisible());
            QCOMPARE(form.Edit1->text(), u"編集した題"_s);
            QCOMPARE(readBytes(path), post);
            break;
        case TForm2::ChangedPageChoice::SaveAs:
            QCOMPARE(form.result(), int(QDialog::Accepted));
            QCOMPARE(form.caption(), dir.filePath(u"table-copy.html"_s));
            QVERIFY(readBytes(form.caption()).contains("編集した題"));
            QCOMPARE(readBytes(path), post);
            break;
        case TForm2::ChangedPageChoice::Reload:
            QVERIFY(form.isVisible());
            QCOMPARE(readBytes(path), post);
            QVERIFY(form.Edit1->text() != u"編集した題"_s); // the edit is dropped
            // Read again, the page saves without a question.
            form.BitBtn4Click();
            QCOMPARE(questions.size(), 1);
            QCOMPARE(form.result(), int(QDialog::Accepted));
            QVERIFY(readBytes(path).contains("ほかのPCの書き込み"));
            break;
        case TForm2::ChangedPageChoice::Overwrite:
            QCOMPARE(form.result(), int(QDialog::Accepted));
            QVERIFY(readBytes(path).contains("編集した題"));
            QVERIFY(!readBytes(path).contains("ほかのPCの書き込み"));
            break;
        }
    }

    // A peer replaces the open page with one the fields cannot hold: "読み直す" is
    // refused as opening refuses it, and the edit stays.
    void reloadIsRefusedAsOpeningIs_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<qint64>("size"); // the file grown to this size, the rest zeros
        QTest::addColumn<QString>("reason");
        const QString head = u"<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">\r\n<HTML><BODY>"_s
                             u"<!--NOTE_IN--><P></P><P>"_s;
        QTest::newRow("a page of sixty megabytes") << encodePage(head) << (qint64(60) << 20) << u"大きすぎる"_s;
        QTest::newRow("a paragraph of one line of a million characters")
            << encodePage(head + QString(1000000, u'あ') + u"</P><!--NOTE_OUT-->"_s) << qint64(0)
            << u"長すぎる行がある"_s;
        QString copied = head;
        for (int i = 0; i < 1000; ++i)
            copied += u"<b id=%1>"_s.arg(i);
        QTest::newRow("tags too costly to read")
            << encodePage(copied + u"</P>"_s + u"<div>x</div>"_s.repeated(1000)) << qint64(0) << u"タグが多すぎる"_s;
    }
    void reloadIsRefusedAsOpeningIs()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(qint64, size);
        QFETCH(QString, reason);
        TForm2 form(&mainWindow);
        open(form, u"table.html"_s);
        const QString path = form.caption();
        form.Edit1->setText(u"編集した題"_s);
        QVERIFY(writeBytes(path, bytes));
        if (size > 0)
            QVERIFY(QFile::resize(path, size));
        QStringList warnings;
        form.warn = [&](const QString &message) { warnings << message; };
        form.askChangedPage = [](const QString &) { return TForm2::ChangedPageChoice::Reload; };
        form.BitBtn4Click();
        QCOMPARE(warnings, QStringList{u"table.html は"_s + reason + u"ため、読み直せません。編集はそのまま残ります。"_s});
        QVERIFY(form.isVisible());
        QCOMPARE(form.Edit1->text(), u"編集した題"_s);
        QCOMPARE(QFileInfo(path).size(), size > 0 ? size : bytes.size());
        form.BitBtn2Click();
    }

    // Source the fields cannot hold stays in the source view, unsaved, and the user is told.
    void sourceTheFieldsCannotHoldStays()
    {
        TForm2 form(&mainWindow);
        open(form, u"picture.html"_s);
        const QByteArray before = readBytes(form.caption());
        QStringList warnings;
        form.warn = [&](const QString &message) { warnings << message; };
        form.SpeedButton28Click();
        QString html = form.Memo82->toPlainText();
        html.replace(u"<H1 align=\"center\">光の実験</H1>"_s, u"<H1>"_s + QString(FieldsLayoutLimit + 1, u'光') + u"</H1>"_s);
        form.Memo82->setPlainText(html);
        form.BitBtn4Click();
        QCOMPARE(warnings, QStringList{u"ソースは長すぎる行があるため、編集欄に戻せません。"_s});
        QVERIFY(form.sourceMode && form.isVisible());
        QCOMPARE(readBytes(form.caption()), before);
        QVERIFY(!form.SpeedButton28Click());
        QVERIFY(form.sourceMode);
        form.BitBtn2Click();
    }

    void cancelledSaveDialogKeepsTheEditorOpen()
    {
        TForm2 form(&mainWindow);
        open(form, u"picture.html"_s);
        const QString original = form.caption();
        form.chooseSavePath = [](const QString &, const QString &) { return QString(); };
        form.BitBtn1Click();
        QVERIFY(form.isVisible());
        QCOMPARE(form.caption(), original);
    }

    void sourceEditsAreSavedWithoutLeavingSourceMode()
    {
        TForm2 form(&mainWindow);
        open(form, u"picture.html"_s);
        form.SpeedButton28Click();
        QVERIFY(form.sourceMode);
        QVERIFY(form.Panel17->isVisible());
        QString html = form.Memo82->toPlainText();
        QVERIFY(html.contains(u"<H1 align=\"center\">光の実験</H1>"_s));
        html.replace(u"<H1 align=\"center\">光の実験</H1>"_s, u"<H1 align=\"right\">影の実験</H1>"_s);
        form.Memo82->setPlainText(html);
        // The save buttons stay in reach beside the source.
        QVERIFY(form.BitBtn4->isVisible());
        QVERIFY(form.Memo82->width() > form.width() / 2 && form.Memo82->height() > form.height() / 2);
        QTest::mouseClick(form.BitBtn4, Qt::LeftButton);
        QVERIFY(!form.sourceMode);
        QVERIFY(readBytes(form.caption()).contains("<H1 align=\"right\">影の実験</H1>"));
    }

    void leavingSourceModeShowsTheEditedFields()
    {
        TForm2 form(&mainWindow);
        open(form, u"picture.html"_s);
        form.SpeedButton28Click();
        QString html = form.Memo82->toPlainText();
        html.replace(u"<H1 align=\"center\">"_s, u"<H1 align=\"right\">"_s);
        form.Memo82->setPlainText(html);
        QCOMPARE(form.speedButton(28)->toolTip(), u"戻る"_s);
        form.SpeedButton28Click();
        QVERIFY(!form.Panel17->isVisible());
        QCOMPARE(form.speedButton(28)->text(), u"ソースの編集"_s);
        QCOMPARE(form.speedButton(28)->toolTip(), u"ソースの編集"_s);
        QVERIFY(form.speedButton(6)->isMarked());
        QCOMPARE(form.layoutFlag, 2);
    }

    void quizBoxMakesAQuizPage()
    {
        TForm2 form(&mainWindow);
        open(form, u"朝_日報.html"_s);
        QCOMPARE(form.PageWidth, 906); // a Fit page opens as B4
        QVERIFY(!form.CheckBox1->isChecked());
        QCOMPARE(form.Panel19->frameStyle(), int(QFrame::NoFrame));
        QTest::mouseClick(form.CheckBox1, Qt::LeftButton);
        form.BitBtn4Click();
        const QByteArray saved = readBytes(form.caption());
        QVERIFY(saved.contains("<!--beginKavuno//-->"));
        QVERIFY(saved.contains("<TITLE>朝の会:2026/2/6</TITLE>"));
        QCOMPARE(form.Label3->text(), u" 2026年02月06日朝_日報"_s);

        // Opened again, the page shows its notation with the box ticked and the link frame raised.
        form.openPage(form.caption(), readPageFile(form.caption()).text, takePageSnapshot(form.caption()));
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QVERIFY(form.CheckBox1->isChecked());
        QCOMPARE(form.Panel19->frameStyle(), int(QFrame::Panel | QFrame::Raised));
        QVERIFY(form.Memo2->fieldText().contains(u"(東京|大阪/東京)"_s));
    }

    void pageSizesAreWritten_data()
    {
        QTest::addColumn<int>("button");
        QTest::addColumn<int>("width");
        QTest::addColumn<QByteArray>("tag");
        QTest::newRow("A4") << 35 << 686 << QByteArray("CONTENT=\"Kavuno_TEXT_A4\"");
        QTest::newRow("B4") << 36 << 906 << QByteArray("CONTENT=\"Kavuno_TEXT_B4\"");
        QTest::newRow("Fit") << 38 << 1265 - 112 << QByteArray("CONTENT=\"Kavuno_TEXT_Fit\"");
    }
    void pageSizesAreWritten()
    {
        QFETCH(int, button);
        QFETCH(int, width);
        QFETCH(QByteArray, tag);
        TForm2 form(&mainWindow);
        open(form, u"table.html"_s);
        form.speedButton(button)->click();
        QCOMPARE(form.PageWidth, width);
        form.BitBtn4Click();
        QVERIFY(readBytes(form.caption()).contains(tag));
    }

    void reusedWindowStartsEachPageAfresh()
    {
        TForm2 form(&mainWindow);
        open(form, u"picture.html"_s);
        form.SpeedButton3MouseUp(Qt::LeftButton); // parks the picture
        QVERIFY(!form.TAIHI3->text().isEmpty());
        form.BitBtn2Click();
        open(form, u"table.html"_s);
        QVERIFY(form.TAIHI3->text().isEmpty());
        QVERIFY(!form.Panel6->isVisible());
        QVERIFY(form.Gname->text().isEmpty());
        QVERIFY(form.Edit2->text().isEmpty());
        form.BitBtn2Click();
        open(form, u"朝_日報.html"_s);
        QVERIFY(!form.Panel16->isVisible());
        QVERIFY(!form.Panel6->isVisible());
        QVERIFY(form.speedButton(3)->isMarked());
    }

    void failedWriteKeepsTheEditorOpen()
    {
        TForm2 form(&mainWindow);
        open(form, u"table.html"_s);
        QStringList warnings;
        form.warn = [&](const QString &message) { warnings << message; };
        form.setCaption(dir.filePath(u"gone/table.html"_s));
        form.BitBtn4Click();
        QCOMPARE(warnings.size(), 1);
        QVERIFY(form.isVisible());
        QVERIFY(!QFile::exists(form.caption()));
        form.BitBtn2Click();
    }

    // A folder at the lock's name is named for what it is, not taken for a peer's write.
    void folderAtTheLocksNameIsNamed()
    {
        TForm2 form(&mainWindow);
        open(form, u"table.html"_s);
        const QString lock = dir.filePath(u"_table.html.lock"_s);
        QVERIFY(QDir().mkpath(lock));
        QStringList warnings;
        form.warn = [&](const QString &message) { warnings << message; };
        form.Edit1->setText(u"changed"_s);
        form.BitBtn4Click();
        QDir(lock).removeRecursively();
        QCOMPARE(warnings.size(), 1);
        QVERIFY2(warnings.first().contains(u"「_table.html.lock」"_s), qPrintable(warnings.first()));
        QVERIFY(form.isVisible());
        form.BitBtn2Click();
    }

    void unchangedPageKeepsNoBreakSpaces()
    {
        TForm2 form(&mainWindow);
        open(form, u"table.html"_s);
        // A no-break space and a line separator in the page text and in fields.
        QString html = form.Memo82->toPlainText();
        const QString odd = u"a\u00A0b\u2028c"_s;
        html.replace(u"<TITLE>"_s, u"<TITLE>"_s + odd);
        html.replace(u"</H1>"_s, odd + u"</H1>"_s);
        html.replace(u"</BODY>"_s, u"<!--"_s + odd + u"--></BODY>"_s);
        form.Memo82->setPlainText(html);
        form.FormShow();
        form.BitBtn4Click();
        const QString saved = QString::fromUtf8(readBytes(form.caption()));
        QCOMPARE(saved.count(odd), 3);
    }

    void unreadablePictureKeepsItsTag()
    {
        QVERIFY(writeBytes(dir.filePath(u"broken.jpg"_s), QByteArray("not a picture")));
        TForm2 form(&mainWindow);
        open(form, u"table.html"_s);
        const QString tag = u"<IMG src=\"broken.jpg\" vspace=\"4\" hspace=\"4\" align=\"left\">"_s;
        QString html = form.Memo82->toPlainText();
        html.replace(u"<P></P>"_s, u"<P>"_s + tag + u"</P>"_s);
        form.Memo82->setPlainText(html);
        form.FormShow();
        form.BitBtn4Click();
        QVERIFY2(readBytes(form.caption()).contains(tag.toUtf8()), readBytes(form.caption()).constData());
    }

    // Every sample and test page opened in the window and saved without a change:
    // the body keeps every link, script, comment and run of text, the editor's own
    // pages keep their bytes, and a second save changes nothing.
    void samplePagesSavedUnchanged_data()
    {
        QTest::addColumn<QString>("source");
        for (const QString &root : {QStringLiteral(KAVUNO_EXAMPLES), QStringLiteral(KAVUNO_TEST_DATA)}) {
            QDirIterator it(root, {u"*.html"_s, u"*.htm"_s}, QDir::Files, QDirIterator::Subdirectories);
            while (it.hasNext()) {
                const QString path = it.next();
                const PageText page = readPageFile(path);
                if (page.ok() && isEditablePage(page.text))
                    QTest::newRow(qPrintable(QDir(root).relativeFilePath(path))) << path;
            }
        }
    }
    void samplePagesSavedUnchanged()
    {
        QFETCH(QString, source);
        QTemporaryDir folder;
        // Pictures beside the page come along, so that their sizes are found.
        const QDir from = QFileInfo(source).dir();
        for (const QString &name : from.entryList(QDir::Files))
            QVERIFY(QFile::copy(from.filePath(name), folder.filePath(name)));
        const QString path = folder.filePath(QFileInfo(source).fileName());
        const auto saveUnchanged = [&] {
            TForm2 form(&mainWindow);
            form.now = [] { return QDateTime(QDate(2026, 2, 6), QTime(9, 30)); };
            form.openPage(path, readPageFile(path).text, takePageSnapshot(path));
            form.show();
            QVERIFY(QTest::qWaitForWindowExposed(&form));
            // Shown and not changed, the page closes on Escape without a question.
            bool asked = false;
            form.confirmDrop = [&](const QString &) { return asked = true; };
            QTest::keyClick(&form, Qt::Key_Escape);
            QVERIFY(!asked);
            QVERIFY(!form.isVisible());
            form.show();
            QVERIFY(QTest::qWaitForWindowExposed(&form));
            form.BitBtn4Click();
            QCOMPARE(form.result(), int(QDialog::Accepted));
        };
        saveUnchanged();
        const QByteArray first = readBytes(path);
        const QString original = readPageFile(source).text;
        QCOMPARE(savedBodyContent(readPageFile(path).text, original), bodyContent(original));
        if (source.startsWith(QStringLiteral(KAVUNO_EXAMPLES "/editor/")))
            QCOMPARE(first, readBytes(source));
        saveUnchanged();
        QCOMPARE(readBytes(path), first);
    }

    void closingWritesNothing()
    {
        TForm2 form(&mainWindow);
        open(form, u"table.html"_s);
        const QByteArray before = readBytes(form.caption());
        form.Edit1->setText(u"changed"_s);
        form.BitBtn2Click();
        QCOMPARE(form.result(), int(QDialog::Rejected));
        QCOMPARE(readBytes(form.caption()), before);
    }

    // Escape (pressed often to cancel input-method text) closes an unchanged
    // editor at once, and asks before throwing an edit away.
    void escapeAsksBeforeDroppingAnEdit_data()
    {
        QTest::addColumn<QString>("change"); // the field changed, "" for none
        QTest::addColumn<bool>("answer");    // the reply to the question
        QTest::addColumn<bool>("closed");
        QTest::newRow("unchanged") << QString() << false << true;
        QTest::newRow("title, kept open") << u"Edit1"_s << false << false;
        QTest::newRow("title, closed") << u"Edit1"_s << true << true;
        QTest::newRow("text") << u"Memo2"_s << false << false;
        QTest::newRow("grid cell") << u"Memo13"_s << false << false;
        QTest::newRow("source") << u"Memo82"_s << false << false;
    }
    void escapeAsksBeforeDroppingAnEdit()
    {
        QFETCH(QString, change);
        QFETCH(bool, answer);
        QFETCH(bool, closed);
        TForm2 form(&mainWindow);
        open(form, u"table.html"_s);
        const QByteArray before = readBytes(form.caption());
        QStringList questions;
        form.confirmDrop = [&](const QString &question) {
            questions << question;
            return answer;
        };
        if (change == u"Memo82"_s)
            form.SpeedButton28Click();
        if (!change.isEmpty()) {
            QWidget *field = form.findChild<QWidget *>(change);
            QVERIFY(field);
            field->setFocus();
            QTest::keyClicks(field, u"x"_s);
        }
        QTest::keyClick(&form, Qt::Key_Escape);

        QCOMPARE(questions.size(), change.isEmpty() ? 0 : 1);
        if (!questions.isEmpty())
            QCOMPARE(questions.first(), u"変更があります。保存しないで終了しますか?"_s);
        QCOMPARE(!form.isVisible(), closed);
        if (closed)
            QCOMPARE(form.result(), int(QDialog::Rejected));
        QCOMPARE(readBytes(form.caption()), before);
        form.BitBtn2Click(); // "閉じる" closes without a question
        QCOMPARE(questions.size(), change.isEmpty() ? 0 : 1);
        QVERIFY(!form.isVisible());
    }

    // Escape then Enter goes back to the edit: the question's default keeps it.
    void escapeThenEnterKeepsTheEdit()
    {
        TForm2 form(&mainWindow);
        open(form, u"table.html"_s);
        form.Edit1->setFocus();
        QTest::keyClicks(form.Edit1, u"x"_s);
        QString question;
        QTimer answer;
        connect(&answer, &QTimer::timeout, this, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box)
                return;
            answer.stop();
            question = box->text();
            QTest::keyClick(box, Qt::Key_Return);
        });
        answer.start(10);
        QTest::keyClick(&form, Qt::Key_Escape);
        QCOMPARE(question, u"変更があります。保存しないで終了しますか?"_s);
        QVERIFY(form.isVisible());
        QVERIFY(form.Edit1->text().endsWith(u"x"_s));
        form.BitBtn2Click();
    }

    void editNotesToggleAndAreWrittenBesideThePage()
    {
        TForm2 form(&mainWindow);
        TForm12 notes;
        form.noteWindow = &notes;
        open(form, u"table.html"_s);
        form.SpeedButton22Click();
        QCOMPARE(notes.Tag, 1);
        QCOMPARE(notes.Caption(), dir.filePath(u"_Edit.txt"_s));
        QCOMPARE(notes.size(), QSize(840, 600));
        notes.Memo1->setPlainText(u"覚え書き"_s);
        form.SpeedButton22Click();
        QCOMPARE(notes.Tag, 0);
        QVERIFY(readBytes(dir.filePath(u"_Edit.txt"_s)).contains("覚え書き"));
        // The editor's close closes the notes too.
        form.SpeedButton22Click();
        QCOMPARE(notes.Tag, 1);
        form.BitBtn2Click();
        QCOMPARE(notes.Tag, 0);
    }
};

QTEST_MAIN(EditorPagesTest)
#include "tst_editorpages.moc"
