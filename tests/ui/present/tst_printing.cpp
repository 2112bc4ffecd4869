// Printing from the main window: worksheets through the hidden browser into a
// PDF, and the thumbnail summary of a level.
#include "ui/app/tform1.h"

#include "core/navigation/testfiles.h"
#include "core/pages/quiz.h"
#include "ui/app/fakeplatform.h"
#include "ui/bar/holdofftimer.h"
#include "ui/present/presentwiring.h"

#include <QApplication>
#include <QComboBox>
#include <QFrame>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QToolBar>
#include <QToolButton>
#include <QPointer>
#include <QProcess>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineView>

using namespace Qt::StringLiterals;

static QByteArray ownPage(const QString &title, const QString &body)
{
    return (u"<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">\r\n<HTML><HEAD><TITLE>"_s + title
            + u"</TITLE></HEAD><BODY style=\"margin:0\">"_s + body + u"</BODY></HTML>"_s)
        .toUtf8();
}

static bool hasGreen(const QImage &image)
{
    for (int y = 0; y < image.height(); y += 5)
        for (int x = 0; x < image.width(); x += 5)
            if (qAbs(image.pixelColor(x, y).green() - 0xa0) < 12 && image.pixelColor(x, y).red() < 20)
                return true;
    return false;
}

// In the row through the first blue pixel: whether white paper lies just right
// of the row's last blue pixel (past the cell's border), before the sheet ends.
static bool sheetRightOfLastBlue(const QImage &image)
{
    const auto blue = [](QColor c) { return c.blue() > 200 && c.red() < 60 && c.green() < 60; };
    for (int y = 0; y < image.height(); ++y) {
        int last = -1;
        for (int x = 0; x < image.width(); ++x)
            if (blue(image.pixelColor(x, y)))
                last = x;
        if (last < 0)
            continue;
        for (int x = last + 1; x < qMin(image.width(), last + 20); ++x)
            if (image.pixelColor(x, y).lightness() > 240)
                return true;
        return false;
    }
    return false;
}

class PrintingTest : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;
    QString m_home;
    FakePlatform m_platform;
    std::unique_ptr<TForm1> m_form;
    QList<QWebEngineView *> m_previews;

    std::function<void(QWebEngineView *view)> m_preview;
    // The resolution of the pages the preview showed: each page is a picture.
    int m_previewDpi = 0;
    // The preview's first page, as wide as the preview.
    QImage m_previewShot;
    QPointer<QPrintPreviewDialog> m_clickedPreview;

    // What a user does in the print dialogs: the preview's print button, then
    // the print dialog's file output with the name pdf, then its OK.
    void printToFileLikeAUser(const QString &pdf)
    {
        QWidget *modal = QApplication::activeModalWidget();
        if (auto *preview = qobject_cast<QPrintPreviewDialog *>(modal)) {
            if (m_clickedPreview == preview)
                return;
            m_clickedPreview = preview;
            m_previewDpi = preview->printer()->resolution();
            auto *pages = preview->findChild<QPrintPreviewWidget *>();
            pages->fitToWidth();
            m_previewShot = pages->grab().toImage();
            const QString print = QCoreApplication::translate("QPrintPreviewDialog", "Print");
            for (QToolBar *bar : preview->findChildren<QToolBar *>())
                for (QAction *action : bar->actions())
                    if (action->text() == print && bar->widgetForAction(action))
                        QTimer::singleShot(0, preview, [bar, action] {
                            QTest::mouseClick(bar->widgetForAction(action), Qt::LeftButton);
                        });
        } else if (auto *dialog = qobject_cast<QPrintDialog *>(modal)) {
            auto *printers = dialog->findChild<QComboBox *>(u"printers"_s);
            auto *file = dialog->findChild<QLineEdit *>(u"filename"_s);
            if (!printers || !file)
                return;
            printers->setCurrentIndex(
                printers->findText(QCoreApplication::translate("QPrintDialog", "Print to File (PDF)")));
            file->setText(pdf);
            QTimer::singleShot(0, dialog, &QDialog::accept);
        }
    }

    // The text of the page view shows, printed into a PDF through the print
    // preview, its blanks folded (the PDF keeps no ideographic blanks). Empty
    // when the PDF holds no text.
    void printThroughPreview(const std::function<void()> &print, QString &text)
    {
        const QString pdf = m_dir.filePath(u"print.pdf"_s);
        QFile::remove(pdf);
        m_form->PrintPreview = m_preview;
        QTimer user;
        connect(&user, &QTimer::timeout, this, [this, pdf] { printToFileLikeAUser(pdf); });
        user.start(100);
        print();
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(pdf).size() > 0 && !QApplication::activeModalWidget(), 60000);
        m_form->PrintPreview = [this](QWebEngineView *view) { m_previews << view; };
        QProcess pdftotext;
        pdftotext.start(u"pdftotext"_s, {u"-raw"_s, u"-enc"_s, u"UTF-8"_s, pdf, u"-"_s});
        pdftotext.waitForFinished(30000);
        text = QString::fromUtf8(pdftotext.readAllStandardOutput()).simplified();
    }

private slots:
    void initTestCase()
    {
        m_home = m_dir.filePath(u"web"_s);
        QVERIFY(QDir().mkpath(m_home));
        const QString quiz = BuildQuizHtml(QString::fromUtf8(
            ownPage(u"問題#その1?ヒント"_s, u"<P>くだもの(りんご)です。[]</P><IMG src=\"p.png\"><IMG src=\"img/q.png\">"_s)));
        QVERIFY(writeFixture(m_home + u"/0100_quiz.html"_s, quiz.toUtf8()));
        QImage picture(8, 8, QImage::Format_RGB32);
        picture.fill(Qt::blue);
        QVERIFY(picture.save(m_home + u"/p.png"_s));
        QVERIFY(QDir().mkpath(m_home + u"/img"_s) && picture.save(m_home + u"/img/q.png"_s));
        // Expanded after an ordinary load, this page would replace the level.
        QVERIFY(writeFixture(m_home + u"/0110_links.html"_s,
                             ownPage(u"links"_s, u"<A href=\"sub/x.html\">【リンク】x</A><A href=\"sub/y.html\">【リンク】y</A>"_s)));
        QVERIFY(QDir().mkpath(m_home + u"/sub"_s));
        QVERIFY(writeFixture(m_home + u"/sub/x.html"_s) && writeFixture(m_home + u"/sub/y.html"_s));
        QVERIFY(writeFixture(m_home + u"/0120_green.html"_s,
                             ownPage(u"0120_緑"_s, u"<div style=\"background:#00a000;height:900px\">緑</div>"_s)));
        QVERIFY(writeFixture(m_home + u"/0120_green.%xt"_s, "<b>\r\nnote"));
        m_form = std::make_unique<TForm1>(m_platform, m_dir.filePath(u"web.exe"_s));
        m_form->TXTcommand = [](const QString &) {};
        m_form->resize(900, 600);
        QSignalSpy loaded(m_form->WebBrowser1, &QWebEngineView::loadFinished);
        m_form->show();
        m_form->FormShow();
        QVERIFY(loaded.wait(30000));
        attachPrinting(*m_form);
        m_preview = m_form->PrintPreview;
        m_form->PrintPreview = [this](QWebEngineView *view) { m_previews << view; };
    }

    void worksheetPrints_data()
    {
        QTest::addColumn<bool>("answers");
        QTest::newRow("blanks") << false;
        QTest::newRow("answers in red") << true;
    }

    void worksheetPrints()
    {
        QFETCH(bool, answers);
        m_form->nav.PBanSave(0);
        const auto print = [this, answers] {
            answers ? m_form->PrintWithNameFieldRed() : m_form->PrintWithNameField();
        };
        print();
        QTRY_COMPARE_WITH_TIMEOUT(m_previews.size(), 1, 30000);
        QCOMPARE(m_previews.takeFirst(), m_form->WebBrowser3);
        QCOMPARE(m_form->WebBrowser3Tag, 0);
        QVERIFY(QFileInfo::exists(m_form->PrintDir + u"/p.png"_s));
        QVERIFY(QFileInfo::exists(m_form->PrintDir + u"/img/q.png"_s));
        QVERIFY(readFixture(m_form->PrintDir + u"/test.html"_s).contains("年　　　組　　　番"));
        if (QStandardPaths::findExecutable(u"pdftotext"_s).isEmpty())
            QSKIP("pdftotext (poppler-utils) is missing");
        QString text;
        printThroughPreview(print, text);
        if (QTest::currentTestFailed())
            return;
        QVERIFY2(text.contains(u"問題 その1 年 組 番 氏名"_s), qPrintable(text));
        QVERIFY2(text.contains(u"です。[1]"_s), qPrintable(text));
        QCOMPARE(text.contains(u"りんご"_s), answers);
        // A screen's resolution, so that a long preview stays small.
        QVERIFY2(m_previewDpi > 0 && m_previewDpi <= 150, qPrintable(QString::number(m_previewDpi)));
    }

    // Older pages are in the legacy code page (CP932): their worksheet holds
    // their text, not an empty sheet.
    void legacyPageWorksheetPrintsItsText()
    {
        QVERIFY(QDir().mkpath(m_home + u"/legacy"_s));
        const QString body = u"<META http-equiv=\"Content-Type\" content=\"text/html; charset=Shift_JIS\">"
                             u"<P>漢字のページ(こたえ)です。</P>"_s;
        QStringEncoder cp932("CP932");
        QVERIFY(cp932.isValid());
        const QByteArray bytes = cp932.encode(QString::fromUtf8(ownPage(u"昔のページ"_s, body)));
        QVERIFY(!cp932.hasError());
        QVERIFY(writeFixture(m_home + u"/legacy/0100_old.html"_s, bytes));
        m_form->nav.PushLevel({u"legacy/0100_old.html"_s}, {}, 0);
        const auto print = [this] { m_form->PrintWithNameField(); };
        print();
        QTRY_COMPARE_WITH_TIMEOUT(m_previews.size(), 1, 30000);
        m_previews.clear();
        QVERIFY(QString::fromUtf8(readFixture(m_form->PrintDir + u"/test.html"_s)).contains(u"漢字のページ"_s));
        if (QStandardPaths::findExecutable(u"pdftotext"_s).isEmpty()) {
            m_form->nav.PopLevel();
            QSKIP("pdftotext (poppler-utils) is missing");
        }
        QString text;
        printThroughPreview(print, text);
        m_form->nav.PopLevel();
        QVERIFY2(text.contains(u"昔のページ 年 組 番 氏名"_s), qPrintable(text));
        QVERIFY2(text.contains(u"漢字のページ"_s), qPrintable(text));
    }

    // A worksheet that cannot be made is said, and no sheet (an empty one, or
    // the one printed before) comes out.
    void worksheetThatCannotBeMadeIsSaid_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<bool>("printFolderWritable");
        QTest::addColumn<QString>("message");
        QTest::newRow("page gone") << u"0190_gone.html"_s << true << u"cannotReadPage"_s;
        QTest::newRow("a folder") << u"sub"_s << true << u"cannotReadPage"_s;
        QTest::newRow("print folder unwritable") << u"0120_green.html"_s << false << u"cannotWriteSheet"_s;
    }
    void worksheetThatCannotBeMadeIsSaid()
    {
        QFETCH(QString, entry);
        QFETCH(bool, printFolderWritable);
        QFETCH(QString, message);
        const QString printDir = m_form->PrintDir;
        if (!printFolderWritable)
            m_form->PrintDir = m_home + u"/0120_green.html/print"_s;
        m_form->nav.PushLevel({entry}, {}, 0);
        const QUrl before = m_form->WebBrowser3->url();
        m_form->PrintWithNameField();
        m_form->nav.PopLevel();
        m_form->PrintDir = printDir;
        auto *box = m_form->findChild<QMessageBox *>(message);
        QVERIFY(box);
        QVERIFY(box->isVisible());
        delete box;
        QCOMPARE(m_form->WebBrowser3Tag, 0);
        QCOMPARE(m_form->WebBrowser3->url(), before);
    }

    // A print page that does not load is tried once more, then said; no
    // preview opens on the browser's error page.
    void printPageThatDoesNotLoadIsTriedAgainThenSaid()
    {
        QSignalSpy loaded(m_form->WebBrowser3, &QWebEngineView::loadFinished);
        m_form->WebBrowser3Tag = 1;
        m_form->PrintPageRetried = false;
        m_form->PrintPageUrl = QUrl::fromLocalFile(m_form->PrintDir + u"/missing.html"_s);
        m_form->WebBrowser3->setUrl(m_form->PrintPageUrl);
        QTRY_VERIFY_WITH_TIMEOUT(m_form->findChild<QMessageBox *>(u"printPageNotLoaded"_s), 30000);
        QCOMPARE(loaded.size(), 2);
        QVERIFY(!loaded.at(0).at(0).toBool());
        QCOMPARE(m_form->WebBrowser3Tag, 0);
        QVERIFY(m_previews.isEmpty());
        delete m_form->findChild<QMessageBox *>(u"printPageNotLoaded"_s);
    }

    // A B4 page is wider than an A4 sheet: it is scaled to the sheet, its
    // rightmost cell printed too.
    void widePagePrints()
    {
        const QString wide = m_dir.filePath(u"b4.html"_s);
        QVERIFY(writeFixture(wide, "<HTML><BODY><TABLE border=\"1\" width=\"860\"><TR><TD width=\"700\">左端</TD>"
                                   "<TD bgcolor=\"#0000ff\">右端のセル</TD></TR></TABLE></BODY></HTML>"));
        QSignalSpy loaded(m_form->WebBrowser1, &QWebEngineView::loadFinished);
        m_form->WebBrowser1->setUrl(QUrl::fromLocalFile(wide));
        QVERIFY(loaded.wait(30000));
        if (QStandardPaths::findExecutable(u"pdftotext"_s).isEmpty())
            QSKIP("pdftotext (poppler-utils) is missing");
        QString text;
        printThroughPreview([this] { m_form->N6Click(); }, text);
        if (QTest::currentTestFailed())
            return;
        QVERIFY2(text.contains(u"左端 右端のセル"_s), qPrintable(text));
        // On paper: right of the blue cell, its border and the white sheet.
        QVERIFY(!m_previewShot.isNull());
        QVERIFY2(sheetRightOfLastBlue(m_previewShot), "the page runs off the sheet");
    }

    void thumbnailSummary()
    {
        m_form->nav.PBanSave(1);
        m_form->PrintResume();
        QCOMPARE(m_form->nav.PBanSu(), 4);
        QCOMPARE(m_form->nav.PBan(), 1);
        QCOMPARE(m_form->nav.levels().height(), 1);
        QCOMPARE(m_form->Timer4->interval(), 2000);
        QCOMPARE(m_form->kabeRight->width(), 1);
        // The pointer's first visit to the column button opens the column again.
        QEvent enter(QEvent::Enter);
        QApplication::sendEvent(m_form->SpeedButton10, &enter);
        QCOMPARE(m_form->kabeRight->maximumWidth(), 220);
        QImage thumbnail(m_form->PrintDir + u"/_0120_green.jpg"_s);
        QVERIFY(hasGreen(thumbnail));
        const QString summary = QString::fromUtf8(readFixture(m_form->PrintDir + u"/resumeE.html"_s));
        QCOMPARE(summary.count(u"<TR>"_s), 4);
        QVERIFY(summary.contains(u">[緑]<BR>&lt;b&gt;<BR>note </TD>"_s));
        QTRY_COMPARE_WITH_TIMEOUT(m_previews.size(), 1, 30000);
        QCOMPARE(m_previews.takeFirst(), m_form->WebBrowser3);
        QCOMPARE(m_form->WebBrowser3->url(), QUrl::fromLocalFile(m_form->PrintDir + u"/resumeE.html"_s));
    }

    // A page with a sound of its name: each row of the summary shows a
    // thumbnail of its own, the page's the page.
    void everyRowShowsItsOwnThumbnail()
    {
        const QString sound = m_home + u"/0120_green.wav"_s;
        QVERIFY(writeFixture(sound, "RIFF"));
        m_form->nav.OpenFolderLevel(m_home, 0, false);
        m_form->ReMake();
        m_form->PrintResume();
        QTRY_COMPARE_WITH_TIMEOUT(m_previews.size(), 1, 30000);
        m_previews.clear();
        QVERIFY(QFile::remove(sound));
        m_form->nav.OpenFolderLevel(m_home, 0, false);
        m_form->ReMake();

        const QString summary = QString::fromUtf8(readFixture(m_form->PrintDir + u"/resumeE.html"_s));
        static const QRegularExpression row(u"<IMG src=\"([^\"]+)\"[^\n]*\r\n</TD>\r\n<TD[^>]*>\\[([^\\]]*)\\]"_s);
        QStringList pictures;
        QString green;
        for (const QRegularExpressionMatch &m : row.globalMatch(summary)) {
            pictures << m.captured(1);
            if (m.captured(2) == u"緑"_s && green.isEmpty())
                green = m.captured(1);
        }
        QCOMPARE(pictures.size(), 5);
        QCOMPARE(QSet<QString>(pictures.cbegin(), pictures.cend()).size(), 5);
        QVERIFY(hasGreen(QImage(m_form->PrintDir + u'/' + green)));
        QVERIFY(pictures.contains(u"_0100_quiz.jpg"_s)); // a name of its own stays
    }
};

QTEST_MAIN(PrintingTest)
#include "tst_printing.moc"
