#include "core/editor/pagebuilder.h"
#include "core/editor/pagereader.h"
#include "core/pages/pagefile.h"
#include "core/pages/pagetext.h"
#include "core/pages/titlesyntax.h"

#include <QDirIterator>
#include <QTest>

#include "bodycontent.h"
#include "core/editortools/filebytes.h"

using namespace Qt::StringLiterals;

// Every page the project ships (the sample web text and the test pages) goes
// through the editor's read and build: the second pass changes nothing, and the
// text the editor shows is all there after saving.
class StoredPagesTest : public QObject
{
    Q_OBJECT
private slots:
    void readBuildIsAFixedPoint_data()
    {
        QTest::addColumn<QString>("path");
        int count = 0;
        for (const QString &root : {QStringLiteral(KAVUNO_EXAMPLES), QStringLiteral(KAVUNO_TEST_DATA)}) {
            QDirIterator it(root, {u"*.html"_s, u"*.htm"_s}, QDir::Files, QDirIterator::Subdirectories);
            while (it.hasNext()) {
                const QString path = it.next();
                const PageText page = readPageFile(path);
                if (!page.ok() || !isEditablePage(page.text))
                    continue;
                QTest::newRow(qPrintable(path.mid(root.size() + 1))) << path;
                ++count;
            }
        }
        QVERIFY(count > 10);
    }
    // What the editor has no field for comes back as it was: the first save
    // already keeps every link, script, comment and run of text of the body.
    void unchangedSaveKeepsTheBody_data() { readBuildIsAFixedPoint_data(); }
    void unchangedSaveKeepsTheBody()
    {
        QFETCH(QString, path);
        const PageText page = readPageFile(path);
        QVERIFY(page.ok());
        const PageModel read = LoadPageToFields(page.text, path);
        const QByteArray saved = encodePage(BuildPageFromFields(read, path, QDate(2026, 2, 6)).page);
        QCOMPARE(savedBodyContent(decodePageUtf8(saved).text, page.text), bodyContent(page.text));
    }

    void readBuildIsAFixedPoint()
    {
        QFETCH(QString, path);
        const QDate today(2026, 2, 6);
        const PageText page = readPageFile(path);
        QVERIFY(page.ok());
        const PageModel read = LoadPageToFields(page.text, path);
        const QByteArray first = encodePage(BuildPageFromFields(read, path, today).page);
        const PageModel again = LoadPageToFields(decodePageUtf8(first).text, path);
        const QByteArray second = encodePage(BuildPageFromFields(again, path, today).page);
        QCOMPARE(second, first);

        // What the editor showed is what it shows again.
        if (!isDailyReportPath(path)) // a daily report takes the save date
            QCOMPARE(again.title, read.title);
        QCOMPARE(again.heading, read.heading);
        QCOMPARE(again.subheading, read.subheading);
        QCOMPARE(again.text, read.text);
        QCOMPARE(again.cells, read.cells);
        QCOMPARE(again.quiz, read.quiz);
        QCOMPARE(again.answer, read.answer);

        // The sample pages of the editor were made by the editor: saving one
        // unchanged writes the very bytes it has.
        if (path.startsWith(QStringLiteral(KAVUNO_EXAMPLES "/editor/")))
            QCOMPARE(first, readBytes(path));
    }
};

QTEST_APPLESS_MAIN(StoredPagesTest)
#include "tst_storedpages.moc"
