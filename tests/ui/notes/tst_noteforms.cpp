#include "ui/editor/tform12.h"
#include "ui/editor/tform15.h"

#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

using namespace Qt::StringLiterals;

namespace {
QByteArray bytesOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<none>");
}

void put(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}
} // namespace

class NoteFormsTest : public QObject
{
    Q_OBJECT
private slots:
    void noteWindowStaysOnTopAndNamesItsFile()
    {
        QTemporaryDir dir;
        const QString a = dir.filePath(u"a.%xt"_s);
        TForm12 form;
        QVERIFY(form.windowFlags() & Qt::WindowStaysOnTopHint);
        QCOMPARE(form.Tag, 0);
        form.showFile(a);
        QCOMPARE(form.Tag, 1);
        QCOMPARE(form.windowTitle(), a);
        QCOMPARE(form.Caption(), a);
        form.close();
        QCOMPARE(form.Tag, 0);
    }

    void switchingNotesSavesTheOpenOneFirst()
    {
        QTemporaryDir dir;
        const QString a = dir.filePath(u"a.%xt"_s);
        const QString b = dir.filePath(u"b.%xt"_s);
        put(b, "\xEF\xBB\xBF" "B note\r\n");
        TForm12 form;
        form.showFile(a);
        form.Memo1->setPlainText(u"一行目\n二行目"_s);
        form.showFile(b);
        QCOMPARE(bytesOf(a), QByteArray("\xEF\xBB\xBF" "\xE4\xB8\x80\xE8\xA1\x8C\xE7\x9B\xAE\r\n"
                                        "\xE4\xBA\x8C\xE8\xA1\x8C\xE7\x9B\xAE\r\n"));
        QCOMPARE(form.Memo1->toPlainText(), u"B note"_s);
        QCOMPARE(form.Caption(), b);
        QVERIFY(form.isVisible());

        // The same note again closes the window (and saves it).
        form.Memo1->setPlainText(u"B changed"_s);
        form.showFile(b);
        QVERIFY(!form.isVisible());
        QCOMPARE(form.Tag, 0);
        QCOMPARE(bytesOf(b), QByteArray("\xEF\xBB\xBF" "B changed\r\n"));
    }

    void unreadableNoteNeverReceivesAnotherPagesText()
    {
        QTemporaryDir dir;
        const QString a = dir.filePath(u"a.%xt"_s);
        const QString b = dir.filePath(u"b.%xt"_s);
        const QByteArray legacy("\x83\x81\x83\x82\r\n"); // not UTF-8
        put(b, legacy);
        TForm12 form;
        form.showFile(a);
        form.Memo1->setPlainText(u"A's secret"_s);
        form.showFile(b);
        QCOMPARE(form.Caption(), b);
        QVERIFY(form.Memo1->isReadOnly());
        QVERIFY(!form.Memo1->toPlainText().contains(u"secret"_s));
        form.Memo1->setPlainText(u"typed over the message"_s);
        // Showing it again closes the window, still without writing it.
        form.showFile(b);
        QCOMPARE(form.Tag, 0);
        QCOMPARE(bytesOf(b), legacy);
        QCOMPARE(bytesOf(a), QByteArray("\xEF\xBB\xBF" "A's secret\r\n"));

        // A readable note afterwards is editable again.
        form.showFile(a);
        QVERIFY(!form.Memo1->isReadOnly());
        QCOMPARE(form.Memo1->toPlainText(), u"A's secret"_s);
    }

    void viewingWithoutChangeWritesNothing_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("plain") << QByteArray("written elsewhere\n");
        // The note widget must not turn a no-break space into a blank.
        QTest::newRow("no-break space") << QByteArray("\xEF\xBB\xBF" "10\xC2\xA0km\r\n");
    }
    void viewingWithoutChangeWritesNothing()
    {
        QFETCH(QByteArray, bytes);
        QTemporaryDir dir;
        const QString a = dir.filePath(u"a.%xt"_s);
        put(a, bytes);
        TForm12 form;
        form.showFile(a);
        form.close();
        QCOMPARE(bytesOf(a), bytes);
    }

    void missingNoteIsCreatedOnClose()
    {
        QTemporaryDir dir;
        const QString a = dir.filePath(u"a.%xt"_s);
        TForm12 form;
        form.showFile(a);
        QVERIFY(form.Memo1->toPlainText().isEmpty());
        form.close();
        QCOMPARE(bytesOf(a), QByteArray("\xEF\xBB\xBF"));
    }

    void pagesPassedWithTheWindowClosedGetNoNoteFiles()
    {
        QTemporaryDir dir;
        const QString a = dir.filePath(u"a.%xt"_s);
        const QString b = dir.filePath(u"b.%xt"_s);
        TForm12 form;
        form.loadFile(a);
        form.loadFile(b);
        QVERIFY(!QFile::exists(a));
        QCOMPARE(form.Caption(), b);
    }

    void linkDialogResults()
    {
        TForm15 form;
        QVERIFY(form.Caption().isEmpty());

        QTimer::singleShot(0, &form, [&] {
            form.Edit1->setText(u"http://example.org/a b.html"_s);
            form.BitBtn1->click();
        });
        QCOMPARE(form.askTarget(), u"http://example.org/a b.html"_s);
        QCOMPARE(form.windowTitle(), u"http://example.org/a b.html"_s);

        // The next use shows the previous target; Cancel returns nothing.
        QString shown;
        QTimer::singleShot(0, &form, [&] {
            shown = form.Edit1->text();
            form.BitBtn2->click();
        });
        QVERIFY(form.askTarget().isEmpty());
        QCOMPARE(shown, u"http://example.org/a b.html"_s);

        QTimer::singleShot(0, &form, [&] { form.BitBtn1->click(); });
        QCOMPARE(form.askTarget(), u"http://example.org/a b.html"_s);
        // The close box after an earlier OK is a cancel too.
        QTimer::singleShot(0, &form, [&] { form.close(); });
        QVERIFY(form.askTarget().isEmpty());
        QVERIFY(form.Caption().isEmpty());
    }

    void browseButtonFillsTheTarget()
    {
        QTemporaryDir dir;
        const QString pdf = dir.filePath(u"資料.pdf"_s);
        put(pdf, "%PDF-1.4\n");
        TForm15 form;
        form.Edit1->setText(u"old"_s);
        QString afterCancel;
        QTimer::singleShot(0, &form, [&] {
            QTimer::singleShot(0, &form, [&] { form.OpenDialog1->reject(); });
            form.SpeedButton1->click();
            afterCancel = form.Edit1->text();
            QTimer::singleShot(0, &form, [&] {
                // Typed into the dialog's own name field, as a user would.
                if (auto *name = form.OpenDialog1->findChild<QLineEdit *>(u"fileNameEdit"_s)) {
                    name->setText(pdf);
                    static_cast<QDialog *>(form.OpenDialog1)->accept();
                } else {
                    form.OpenDialog1->reject();
                }
            });
            form.SpeedButton1->click();
            form.BitBtn1->click();
        });
        QCOMPARE(form.askTarget(), pdf);
        QCOMPARE(afterCancel, u"old"_s);
    }
};

QTEST_MAIN(NoteFormsTest)
#include "tst_noteforms.moc"
