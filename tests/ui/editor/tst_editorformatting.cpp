#include "ui/editor/editorwidgets.h"
#include "ui/editor/rubydialog.h"
#include "ui/editor/tform15.h"
#include "ui/editor/tform2.h"

#include "core/editor/exifjpeg.h"
#include "core/editortools/filebytes.h"
#include "core/pages/pagefile.h"
#include "core/pages/pagetext.h"
#include "ui/app/fakeplatform.h"
#include "ui/editor/modaluser.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextCursor>

using namespace Qt::StringLiterals;

namespace {

QString fixture(const QString &name)
{
    return QStringLiteral(KAVUNO_TEST_DATA) + u"/editor/"_s + name;
}

// The desktop of the tests: the trash removes, and the paint program is the
// one found on PATH (a script the test puts there).
class PaintingPlatform : public FakePlatform
{
public:
    QStringList trashed;
    QStringList moveToTrash(const QStringList &paths) override
    {
        for (const QString &path : paths) {
            if (QFile::remove(path))
                trashed << path;
        }
        return {};
    }
    QString paintProgram() override { return systemPlatform().paintProgram(); }
    bool startProgram(const QString &program, const QStringList &arguments, bool wait) override
    {
        return systemPlatform().startProgram(program, arguments, wait);
    }
};

void select(EditorMemo *memo, int from, int to)
{
    QTextCursor cursor = memo->textCursor();
    cursor.setPosition(from);
    cursor.setPosition(to, QTextCursor::KeepAnchor);
    memo->setTextCursor(cursor);
}

QImage picture(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::cyan);
    return image;
}

} // namespace

// The formatting and picture buttons used on pages in the editor, as a user
// clicks them, and the pages they save.
class EditorFormattingTest : public QObject
{
    Q_OBJECT
private:
    QTemporaryDir dir;     // the page folder
    QTemporaryDir outside; // pictures chosen from elsewhere
    QWidget mainWindow;
    PaintingPlatform desktop;
    QStringList warnings;
    QStringList questions;
    bool answer = true;

    void open(TForm2 &form, const QString &fixtureName, const QString &name)
    {
        const QString path = dir.filePath(name);
        QFile::remove(path);
        QVERIFY(QFile::copy(fixtureName, path));
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
        const PageText page = readPageFile(path);
        QVERIFY(page.ok());
        form.platform = &desktop;
        form.now = [] { return QDateTime(QDate(2026, 2, 6), QTime(9, 30)); };
        form.warn = [this](const QString &message) { warnings << message; };
        form.confirm = [this](const QString &question) {
            questions << question;
            return answer;
        };
        form.openPage(path, page.text, takePageSnapshot(path));
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        form.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&form));
    }

    void focus(EditorMemo *memo)
    {
        // The offscreen platform gives the activation back to no window after a modal dialog.
        memo->window()->activateWindow();
        QTRY_VERIFY(memo->window()->isActiveWindow());
        memo->setFocus();
        QTRY_COMPARE(memo->tag, 1);
    }

private slots:
    void initTestCase()
    {
        mainWindow.resize(1265, 742);
        QVERIFY(picture(40, 30).save(outside.filePath(u"star.png"_s)));
        QVERIFY(picture(20, 10).save(outside.filePath(u"__top.png"_s)));
        QVERIFY(picture(8, 8).save(outside.filePath(u"bg.png"_s)));
        QVERIFY(picture(60, 40).save(outside.filePath(u"pic.png"_s)));
        QVERIFY(picture(200, 150).save(dir.filePath(u"prism.png"_s)));
        QVERIFY(QDir(outside.path()).mkdir(u"other"_s));
        QVERIFY(picture(90, 90).save(outside.filePath(u"other/pic.png"_s)));
        // A picture cut short: its header reads, its pixels do not.
        QFile bad(outside.filePath(u"bad.png"_s));
        QVERIFY(bad.open(QIODevice::WriteOnly) && bad.write(readBytes(outside.filePath(u"pic.png"_s)).left(60)) == 60);
        bad.close();
        QVERIFY(QFile::copy(outside.filePath(u"pic.png"_s), outside.filePath(u"q\"x.png"_s)));
    }

    void init()
    {
        warnings.clear();
        questions.clear();
        answer = true;
    }

    void formattedPageSavesAndReopensUnchanged()
    {
        TForm2 form(&mainWindow);
        TForm15 linkDialog(&form);
        form.Form15 = &linkDialog;
        open(form, fixture(u"plain.html"_s), u"plain.html"_s);
        QVERIFY(form.speedButton(15)->isMarked()); // the style read is previewed on showing

        QTest::mouseClick(form.speedButton(5), Qt::LeftButton);
        QCOMPARE(form.ETAGH1->text(), u"<H1 align=\"center\">"_s);
        QCOMPARE(form.Memo4->textAlignment(), Qt::AlignHCenter);
        QTest::mouseClick(form.speedButton(9), Qt::RightButton);
        QCOMPARE(form.ETAGH2->text(), u"<H2 align=\"right\">"_s);
        QTest::mouseClick(form.speedButton(21), Qt::LeftButton);
        QCOMPARE(form.ETAGP1->text(), u"<P align=\"left\">"_s);
        QCOMPARE(form.ETAGHYO1->text(), u"align=\"right\""_s);

        focus(form.Memo2);
        select(form.Memo2, 0, 2);
        QTest::mouseClick(form.speedButton(24), Qt::LeftButton);
        QCOMPARE(form.Memo2->fieldText(), u"<font color=\"#ff0000\">赤く</font>する言葉と漢字"_s);
        const int end = int(form.Memo2->toPlainText().size());
        select(form.Memo2, end - 2, end);
        ModalUser reader(*form.rubyDialog, [&] {
            form.rubyDialog->Edit1->setText(u"かんじ"_s);
            form.rubyDialog->BitBtn1->click();
        });
        QTest::mouseClick(form.speedButton(31), Qt::LeftButton);
        QVERIFY(form.Memo2->fieldText().endsWith(u"言葉と<ruby>漢字<rt>かんじ</ruby>"_s));

        // The link goes into the memo focused before the dialog took the focus.
        focus(form.Memo1);
        form.Memo1->moveCursor(QTextCursor::End);
        int flagWhileAsked = -1;
        ModalUser linker(linkDialog, [&] {
            // As a window manager does: the dialog takes the focus from the memo.
            linkDialog.activateWindow();
            linkDialog.Edit1->setFocus();
            QTRY_COMPARE(form.Memo1->tag, 0);
            flagWhileAsked = form.Memo1->tag;
            linkDialog.Edit1->setText(u"/srv/docs/plan.pdf"_s);
            linkDialog.BitBtn1->click();
        });
        QTest::mouseClick(form.speedButton(16), Qt::LeftButton);
        QCOMPARE(flagWhileAsked, 0);
        QCOMPARE(form.Memo1->fieldText(), u"枠の中の文<A href=\"/srv/docs/plan.pdf\">plan.pdfへのリンク</A>"_s);

        focus(form.Memo5);
        form.Memo5->moveCursor(QTextCursor::End);
        form.choosePicture = [this](const QString &) { return outside.filePath(u"star.png"_s); };
        QTest::mouseClick(form.speedButton(34), Qt::LeftButton);
        QVERIFY(QFileInfo::exists(dir.filePath(u"star.png"_s)));
        QCOMPARE(form.Memo5->fieldText(), u"小見出し<img src=\"star.png\" width=\"40\" height=\"30\" align=\"middle\">"_s);

        QTest::mouseClick(form.speedButton(14), Qt::LeftButton);
        QCOMPARE(form.styleNumber, 2);
        QCOMPARE(form.Memo4->font().pointSize(), 22);
        QVERIFY(form.speedButton(14)->isMarked() && !form.speedButton(15)->isMarked());

        // A picture layout without a picture saves no broken picture.
        QTest::mouseClick(form.speedButton(11), Qt::LeftButton);
        QCOMPARE(form.layoutFlag, 1);
        form.choosePicture = [this](const QString &) { return outside.filePath(u"__top.png"_s); };
        QTest::mouseClick(form.speedButton(27), Qt::LeftButton);
        form.choosePicture = [this](const QString &) { return outside.filePath(u"bg.png"_s); };
        QTest::mouseClick(form.speedButton(40), Qt::LeftButton);
        QVERIFY(QFileInfo::exists(dir.filePath(u"_top.png"_s)) && QFileInfo::exists(dir.filePath(u"_bg.png"_s)));

        QVERIFY(warnings.isEmpty());
        form.BitBtn4Click();
        const QByteArray saved = readBytes(form.caption());
        const QByteArray golden = readBytes(fixture(u"plain-formatted.html"_s));
        if (saved != golden) {
            QFile out(QDir::temp().filePath(u"plain-formatted.html.actual"_s));
            if (out.open(QIODevice::WriteOnly))
                out.write(saved);
        }
        QCOMPARE(saved, golden);

        TForm2 again(&mainWindow);
        open(again, form.caption(), u"reopened.html"_s);
        QCOMPARE(again.styleNumber, 2);
        QVERIFY(again.speedButton(5)->isMarked() && again.speedButton(21)->isMarked());
        again.BitBtn4Click();
        QCOMPARE(readBytes(again.caption()), golden);
    }

    void newPictureFromTextOnlyIsPaintedAndNamedInTheTag()
    {
        QTemporaryDir bin;
        const QString script = bin.filePath(u"kolourpaint"_s);
        QFile file(script);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("#!/bin/sh\necho \"$1\" > \"$(dirname \"$1\")/painted.txt\"\n");
        file.close();
        file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(bin.path()) + ':' + path);

        TForm2 form(&mainWindow);
        open(form, fixture(u"picture.html"_s), u"picture.html"_s);
        form.SpeedButton3MouseUp(Qt::LeftButton); // text only: the picture is parked
        QCOMPARE(form.layoutFlag, 0);
        form.SpeedButton2MouseUp(Qt::RightButton);
        qputenv("PATH", path);

        const QString made = dir.filePath(u"_picture.bmp"_s);
        QCOMPARE(readBytes(dir.filePath(u"painted.txt"_s)).trimmed(), QFile::encodeName(made));
        const QByteArray bitmap = readBytes(made);
        QVERIFY(bitmap.startsWith("BM"));
        QCOMPARE(int(bitmap.at(28)), 24);
        QCOMPARE(form.layoutFlag, 1);
        QVERIFY(form.isEnabled());
        form.BitBtn4Click();
        const QString page = QString::fromUtf8(readBytes(form.caption()));
        QVERIFY2(page.contains(u"<IMG src=\"_picture.bmp\""_s), qPrintable(page));
        QVERIFY(!page.contains(u"prism.png"_s));
    }

    void pictureButtonsCopyAskAndRefuse()
    {
        TForm2 form(&mainWindow);
        open(form, fixture(u"plain.html"_s), u"pictures.html"_s);
        QString chosen;
        form.choosePicture = [&](const QString &) { return chosen; };

        chosen = outside.filePath(u"q\"x.png"_s);
        form.SpeedButton1MouseUp(Qt::LeftButton);
        chosen = outside.filePath(u"bad.png"_s);
        form.SpeedButton1MouseUp(Qt::RightButton); // no picture yet: acts as a left click
        QCOMPARE(warnings.size(), 2);
        QVERIFY(!QFileInfo::exists(dir.filePath(u"bad.png"_s)));
        QVERIFY(form.Edit7->text().isEmpty());

        chosen = outside.filePath(u"pic.png"_s);
        form.SpeedButton1MouseUp(Qt::LeftButton);
        QCOMPARE(form.layoutFlag, 1);
        QCOMPARE(form.Edit7->text(), u"<IMG src=\"pic.png\" width=\"60\" height=\"40\" align=\"center\">"_s);
        QCOMPARE(PictureSize(dir.filePath(u"pic.png"_s)), QSize(60, 40));
        form.ScrollBar1->setValue(45);
        QCOMPARE(form.GY->text(), u"30"_s);
        QCOMPARE(form.PanelImage1->size(), QSize(45, 30));

        // Choosing the folder's own picture copies nothing; another of its name is kept unless allowed.
        chosen = dir.filePath(u"pic.png"_s);
        form.SpeedButton1MouseUp(Qt::LeftButton);
        QVERIFY(questions.isEmpty());
        answer = false;
        chosen = outside.filePath(u"other/pic.png"_s);
        form.SpeedButton1MouseUp(Qt::LeftButton);
        QCOMPARE(questions.size(), 1);
        QCOMPARE(PictureSize(dir.filePath(u"pic.png"_s)), QSize(60, 40));

        form.Image1DblClick();
        QCOMPARE(desktop.opened.last(), dir.filePath(u"pic.png"_s));

        form.chooseLinkFile = [this](const QString &) { return dir.filePath(u"sub/doc.pdf"_s); };
        form.SpeedButton17MouseUp(Qt::LeftButton);
        QCOMPARE(form.Edit2->text(), u"sub/doc.pdf"_s);
        form.SpeedButton17MouseUp(Qt::RightButton);
        QVERIFY(form.Edit2->text().isEmpty());

        answer = true;
        form.SpeedButton1MouseUp(Qt::RightButton);
        QCOMPARE(desktop.trashed, QStringList{dir.filePath(u"pic.png"_s)});
        QVERIFY(form.Gname->text().isEmpty());

        // Background on a page without BODY: told, nothing copied.
        form.choosePicture = [this](const QString &) { return outside.filePath(u"bg.png"_s); };
        QFile::remove(dir.filePath(u"_bg.png"_s));
        form.Memo82->setPlainText(u"<HTML><HEAD><TITLE>x</TITLE></HEAD><!--NOTE_IN--><!--NOTE_OUT--></HTML>"_s);
        form.LoadPageToFields(form.caption());
        form.SpeedButton40Click();
        QVERIFY(!QFileInfo::exists(dir.filePath(u"_bg.png"_s)));
        QCOMPARE(warnings.size(), 3);
    }

    // A portrait photo from a phone lies on its side with an EXIF orientation:
    // the paragraph, the inline picture and the measure all take it turned.
    void photosAreSizedAsTheBrowserShowsThem_data()
    {
        QTest::addColumn<int>("orientation");
        QTest::addColumn<QSize>("shown");
        QTest::newRow("upright") << 1 << QSize(40, 20);
        QTest::newRow("portrait") << 6 << QSize(20, 40);
        QTest::newRow("portrait, turned left") << 8 << QSize(20, 40);
    }

    void photosAreSizedAsTheBrowserShowsThem()
    {
        QFETCH(int, orientation);
        QFETCH(QSize, shown);
        const QString name = u"photo%1.jpg"_s.arg(orientation);
        QFile photo(outside.filePath(name));
        QVERIFY(photo.open(QIODevice::WriteOnly));
        photo.write(jpegWithOrientation(40, 20, quint16(orientation)));
        photo.close();
        TForm2 form(&mainWindow);
        open(form, fixture(u"plain.html"_s), u"photo.html"_s);
        form.choosePicture = [&](const QString &) { return photo.fileName(); };
        const QString size = u"width=\"%1\" height=\"%2\""_s.arg(shown.width()).arg(shown.height());

        QTest::mouseClick(form.speedButton(11), Qt::LeftButton); // a picture layout lets the picture buttons work
        QTest::mouseClick(form.speedButton(1), Qt::LeftButton);
        QVERIFY2(form.Edit7->text().contains(size), qPrintable(form.Edit7->text()));
        QCOMPARE(form.PanelImage1->size(), shown);
        focus(form.Memo2);
        form.Memo2->moveCursor(QTextCursor::End);
        QTest::mouseClick(form.speedButton(34), Qt::LeftButton);
        QVERIFY2(form.Memo2->fieldText().contains(size), qPrintable(form.Memo2->fieldText()));
        QCOMPARE(form.MeasureImage(dir.filePath(name)), u"%1,%2"_s.arg(shown.width()).arg(shown.height()));
    }

    // A long picture widened to the whole window: the page gets the size asked
    // for, the preview a frame of bounded size with the picture scaled once.
    void longPicturePreviewStaysBounded()
    {
        QVERIFY(picture(100, 20000).save(outside.filePath(u"long.png"_s)));
        TForm2 form(&mainWindow);
        open(form, fixture(u"plain.html"_s), u"long.html"_s);
        form.choosePicture = [this](const QString &) { return outside.filePath(u"long.png"_s); };
        QTest::mouseClick(form.speedButton(11), Qt::LeftButton);
        QTest::mouseClick(form.speedButton(1), Qt::LeftButton);
        QCOMPARE(form.GY->text(), u"20000"_s);
        form.ScrollBar1->setValue(form.ScrollBar1->maximum());
        const int width = form.ScrollBar1->maximum();
        QCOMPARE(form.GX->text(), QString::number(width));
        QCOMPARE(form.GY->text(), QString::number(width * 200));

        const QSize frame = form.PanelImage1->size();
        QVERIFY2(frame.height() <= 8192 && qint64(frame.width()) * frame.height() <= 4 << 20,
                 qPrintable(u"%1 x %2"_s.arg(frame.width()).arg(frame.height())));
        QVERIFY(frame.height() > 150 * frame.width()); // still long
        QTRY_COMPARE(form.Image1->size(), form.PanelImage1->contentsRect().size());
        QCOMPARE(form.Image1->pixmap().size(), form.Image1->size());
        QVERIFY(!form.Image1->hasScaledContents());
    }

private:
    static QSize PictureSize(const QString &path) { return QImage(path).size(); }
};

QTEST_MAIN(EditorFormattingTest)
#include "tst_editorformatting.moc"
