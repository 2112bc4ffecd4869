#include "core/editor/pagebuilder.h"
#include "core/editor/pagereader.h"
#include "core/pages/pagefile.h"
#include "core/pages/templates.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QWebEnginePage>

using namespace Qt::StringLiterals;

namespace {
// Records the addresses the page tries to open and refuses link commands, as the
// main window's browser does.
class RecordingPage : public QWebEnginePage
{
    Q_OBJECT
public:
    using QWebEnginePage::QWebEnginePage;

signals:
    void commandRequested(const QString &path);

protected:
    bool acceptNavigationRequest(const QUrl &url, NavigationType, bool) override
    {
        const QString path = url.path(QUrl::FullyDecoded);
        if (!path.contains(u'$'))
            return true;
        emit commandRequested(path);
        return false;
    }
};
} // namespace

class QuizBrowserTest : public QObject
{
    Q_OBJECT
private slots:
    void checkButtonRunsTheResultCommand_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("command");
        const QString fill = u"myForm.elements[0].value='首都'; myForm.elements[1].value='東京';"_s;
        QTest::newRow("all right") << u"日本の(首都|首都/県庁/市役所)は(Tokyo/東京)です。"_s
                                   << fill + u"document.getElementsByName('■決定')[0].click();"_s
                                   << u"/$+1,$_【○】,$HISJS sDAT[1]=+1"_s;
        QTest::newRow("one wrong") << u"日本の(首都|首都/県庁/市役所)は(Tokyo/東京)です。"_s
                                   << u"myForm.elements[0].value='県庁'; myForm.elements[1].value='Tokyo';"
                                      u"document.getElementsByName('■決定')[0].click();"_s
                                   << u"/$-1,$<-1[_【×】][_【△】],$HISJS sDAT[1]=-1"_s;
        QTest::newRow("case counts") << u"(Tokyo/東京)"_s
                                     << u"myForm.elements[0].value='tokyo';"
                                        u"document.getElementsByName('■決定')[0].click();"_s
                                     << u"/$-1,$<-1[_【×】][_【△】],$HISJS sDAT[1]=-1"_s;
        QTest::newRow("no blanks: next page") << u"nothing to fill"_s
                                              << u"document.getElementsByName('Button次')[0].click();"_s
                                              << u"/$NEXT"_s;
    }
    void checkButtonRunsTheResultCommand()
    {
        QFETCH(QString, text);
        QFETCH(QString, script);
        QFETCH(QString, command);

        QTemporaryDir dir;
        const QString path = dir.filePath(u"quiz.html"_s);
        PageModel model = LoadPageToFields(newPageText(QDate(2026, 2, 6)), path);
        model.quiz = true;
        model.text = text;
        QVERIFY(SavePageFile(model, path, QDate(2026, 2, 6)));

        RecordingPage page;
        QSignalSpy loaded(&page, &QWebEnginePage::loadFinished);
        QSignalSpy commands(&page, &RecordingPage::commandRequested);
        page.load(QUrl::fromLocalFile(path));
        QVERIFY(loaded.wait(60000));
        QCOMPARE(loaded.first().first().toBool(), true);

        page.runJavaScript(script);
        QVERIFY(commands.wait(30000));
        QCOMPARE(commands.first().first().toString(), command);
    }
};

QTEST_MAIN(QuizBrowserTest)
#include "tst_quizbrowser.moc"
