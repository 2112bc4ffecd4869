#include "core/app/smallfile.h"
#include "core/editor/editlauncher.h"
#include "core/pages/markupscan.h"
#include "core/pages/pagefile.h"
#include "core/pages/templates.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

#include "core/editortools/filebytes.h"

using namespace Qt::StringLiterals;
namespace L = EditLauncher;

namespace {

const QString OwnPage = u"<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">\r\n<HTML><BODY>x</BODY></HTML>\r\n"_s;

// Records what the launcher asks; the editor is a function the test gives.
class FakeHost : public EditLauncherHost
{
public:
    QString folder;
    QStringList names;
    int index = 0;
    QString archive;
    QString paint;
    QString spreadsheet;
    QStringList log;
    std::function<EditorOutcome(const QString &, const QString &)> editor = [](const QString &path, const QString &) {
        return EditorOutcome{false, path, {}};
    };

    QString currentFolder() const override { return folder; }
    int currentIndex() const override { return index; }
    QString currentFileName() const override { return index >= 0 && index < names.size() ? names.at(index) : QString(); }
    QStringList levelFileNames() const override { return names; }
    QString dailyReportFolder() const override { return archive; }
    void pausePoll() override { log << u"pause"_s; }
    void resumePoll() override { log << u"resume"_s; }
    void showPlaceholder(const QString &status) override { log << u"placeholder "_s + status; }
    PageSnapshot read; // as the last editor was given it
    EditorOutcome runEditor(const QString &path, const QString &content, const PageSnapshot &snapshot) override
    {
        log << u"editor "_s + QFileInfo(path).fileName();
        read = snapshot;
        return editor(path, content);
    }
    void tellUndecodablePage(const QString &path) override { log << u"undecodable "_s + QFileInfo(path).fileName(); }
    std::function<void()> whileRemovingLinks = [] {};
    QString removeLookLinks(const QString &text) override
    {
        whileRemovingLinks();
        return QString(text).replace(u"$LOOK"_s, u"plain"_s);
    }
    QString restoreLookLinks(const QString &text) override { return text + u"<!--links-->"_s; }
    QString paintProgram() override { return paint; }
    bool runProgramAndWait(const QString &program, const QStringList &arguments) override
    {
        log << u"wait "_s + program + u' ' + QFileInfo(arguments.value(0)).fileName();
        return true;
    }
    QString spreadsheetProgram() override { return spreadsheet; }
    bool startProgram(const QString &program, const QStringList &arguments) override
    {
        log << u"start "_s + program + u' ' + QFileInfo(arguments.value(0)).fileName();
        return true;
    }
    bool programs = true; // false: no program opens anything (a fresh PC)
    bool openWithShell(const QString &path) override
    {
        log << u"shell "_s + QFileInfo(path).fileName();
        return programs;
    }
    void tellNotOpened(const QString &message) override { log << u"told "_s + message; }
    void waitForOutsideProgram() override { log << u"outside wait"_s; }
    bool copyFile(const QString &from, const QString &to) override
    {
        QFile::remove(to);
        return QFile::copy(from, to);
    }
    void refreshAfterEditor(const QString &baseName) override { log << u"go "_s + baseName; }
    void refreshCurrentPage() override { log << u"refresh"_s; }
};

} // namespace

class EditLauncherTest : public QObject
{
    Q_OBJECT
private slots:
    void backupPaths_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("backup");
        QTest::newRow("page") << u"/data/a/01_page.html"_s << u"/data/a/_%.html"_s;
        QTest::newRow("picture") << u"/data/a/photo.JPG"_s << u"/data/a/_%.JPG"_s;
        QTest::newRow("no extension") << u"/data/a/README"_s << u"/data/a/_%"_s;
    }
    void backupPaths()
    {
        QFETCH(QString, path);
        QFETCH(QString, backup);
        QCOMPARE(L::editBackupPath(path), backup);
    }

    void kinds_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("content");
        QTest::addColumn<int>("kind");
        QTest::newRow("bitmap") << u"a.BMP"_s << QString() << int(L::EditKind::Paint);
        QTest::newRow("jpeg") << u"a.jpeg"_s << QString() << int(L::EditKind::Paint);
        QTest::newRow("png goes outside") << u"a.png"_s << QString() << int(L::EditKind::Outside);
        QTest::newRow("own page") << u"a.html"_s << OwnPage << int(L::EditKind::Editor);
        QTest::newRow("print page") << u"a.html"_s
                                    << OwnPage + u"<META NAME=\"author\" CONTENT=\"WORK_Kavuno_印刷\">"_s
                                    << int(L::EditKind::Outside);
        QTest::newRow("foreign page") << u"a.html"_s << u"<html></html>"_s << int(L::EditKind::Outside);
        QTest::newRow("own page with more tags than are read")
            << u"a.html"_s << OwnPage + u"<B>"_s.repeated(MarkupTagLimit) << int(L::EditKind::Outside);
        // Unclosed formatting tags a browser copies into every later block: few tags, a huge tree.
        QString copied = OwnPage + u"<P>x</P><P>"_s;
        for (int i = 0; i < 1000; ++i)
            copied += u"<b id=%1>"_s.arg(i);
        copied += u"</P>"_s + u"<div>x</div>"_s.repeated(1000);
        QTest::newRow("own page whose tags cost more than its length allows")
            << u"a.html"_s << copied << int(L::EditKind::Outside);
    }
    void kinds()
    {
        QFETCH(QString, path);
        QFETCH(QString, content);
        QFETCH(int, kind);
        QCOMPARE(int(L::editKind(path, content)), kind);
    }

    void newPageNames()
    {
        const QDateTime now(QDate(2026, 2, 6), QTime(14, 25, 37));
        QCOMPARE(L::newDailyPageName(now, {u"a.html"_s}, {}), u"20260206-0602371.html"_s);
        // One page of the day in the level: number 2.
        QCOMPARE(L::newDailyPageName(now, {u"20260206-0602101.html"_s}, {}), u"20260206-0602372.html"_s);
        // A file of that name already there (the level counted too few): the number goes up.
        QCOMPARE(L::newDailyPageName(now, {}, {u"20260206-0602371.html"_s, u"20260206-0602372.HTML"_s}),
                 u"20260206-0602373.html"_s);
    }

    void editingKeepsOneBackupPerExtension()
    {
        QTemporaryDir dir;
        FakeHost host;
        host.folder = dir.path();
        host.names = {u"01_page.html"_s, u"02_other.html"_s};
        QVERIFY(writeBytes(dir.filePath(u"01_page.html"_s), encodePage(OwnPage + u"first"_s)));
        QVERIFY(writeBytes(dir.filePath(u"02_other.html"_s), encodePage(OwnPage + u"second"_s)));
        L::EditPage(host, {}, {});
        QCOMPARE(readBytes(dir.filePath(u"_%.html"_s)), encodePage(OwnPage + u"first"_s));
        host.index = 1;
        L::EditPage(host, {}, {});
        QCOMPARE(readBytes(dir.filePath(u"_%.html"_s)), encodePage(OwnPage + u"second"_s));
        QCOMPARE(host.log.mid(0, 4), QStringList({u"pause"_s, u"placeholder --- 編集中 ---"_s,
                                                  u"editor 01_page.html"_s, u"resume"_s}));
        QCOMPARE(host.log.at(4), u"go 01_page"_s);
    }

    // The editor is given the bytes its text was read from: a post written after
    // that read is a change its save finds.
    void editorGetsTheBytesItsTextCameFrom()
    {
        QTemporaryDir dir;
        FakeHost host;
        host.folder = dir.path();
        host.names = {u"01_page.html"_s};
        const QString path = dir.filePath(u"01_page.html"_s);
        const QByteArray read = encodePage(OwnPage + u"$LOOK"_s);
        QVERIFY(writeBytes(path, read));
        host.whileRemovingLinks = [&] { QVERIFY(writeBytes(path, read + "<P>post</P>")); };
        QString shown;
        host.editor = [&](const QString &, const QString &content) {
            shown = content;
            return EditorOutcome{false, path, {}};
        };
        L::EditPage(host, {}, {});
        QVERIFY(host.read.exists);
        QCOMPARE(host.read.bytes, read);
        QVERIFY(shown.endsWith(u"plain\r\n"_s));
        QCOMPARE(int(saveEditedPage(path, shown, &host.read, 0).status), int(PageSaveStatus::Changed));

        // A new page: nothing stands under its name.
        L::NewDailyPage(host, QDateTime(QDate(2026, 2, 6), QTime(9, 0)));
        QVERIFY(!host.read.exists);
    }

    void nothingWithoutCurrentPageOrForWebAddress()
    {
        FakeHost host;
        host.index = -1;
        L::EditPage(host, u"/x/a.html"_s, OwnPage);
        host.index = 0;
        L::EditPage(host, u"https://example.org/a.html"_s, OwnPage);
        QVERIFY(host.log.isEmpty());
    }

    void pictureGoesToThePaintProgram()
    {
        QTemporaryDir dir;
        FakeHost host;
        host.folder = dir.path();
        host.names = {u"photo.jpg"_s};
        host.paint = u"/usr/bin/paint"_s;
        QVERIFY(writeBytes(dir.filePath(u"photo.jpg"_s), "jpeg"));
        L::EditPage(host, {}, {});
        QVERIFY(host.log.contains(u"wait /usr/bin/paint photo.jpg"_s));
        QCOMPARE(host.log.mid(host.log.size() - 2), QStringList({u"resume"_s, u"refresh"_s}));
        QCOMPARE(readBytes(dir.filePath(u"_%.jpg"_s)), QByteArray("jpeg"));
    }

    void outsideFiles_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("spreadsheet");
        QTest::addColumn<QString>("opened");
        QTest::newRow("print page to the spreadsheet") << u"print.html"_s << u"calc"_s << u"start calc print.html"_s;
        QTest::newRow("no spreadsheet: its own program") << u"print.html"_s << QString() << u"shell print.html"_s;
        QTest::newRow("a document") << u"plan.pdf"_s << u"calc"_s << u"shell plan.pdf"_s;
    }
    void outsideFiles()
    {
        QFETCH(QString, name);
        QFETCH(QString, spreadsheet);
        QFETCH(QString, opened);
        QTemporaryDir dir;
        FakeHost host;
        host.folder = dir.path();
        host.names = {name};
        host.spreadsheet = spreadsheet;
        QVERIFY(writeBytes(dir.filePath(name), encodePage(OwnPage + u"<META CONTENT=\"WORK_Kavuno_印刷\">"_s)));
        L::EditPage(host, {}, {});
        const qsizetype at = host.log.indexOf(opened);
        QVERIFY2(at > 0, qPrintable(host.log.join(u" | "_s)));
        QCOMPARE(host.log.mid(at + 1), QStringList({u"outside wait"_s, u"refresh"_s, u"resume"_s}));
        QVERIFY(host.log.contains(u"placeholder *** 編集中 ***"_s));
    }

    // A page the editor keeps out opens with its own program; when nothing opens
    // it, the window does not wait for a program and the user is told why.
    void pageKeptOutOfTheEditorGoesToItsOwnProgram_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<qint64>("size"); // the file grown to this size, the rest zeros
        QTest::addColumn<QString>("reason");
        QString copied = OwnPage + u"<P>x</P><P>"_s;
        for (int i = 0; i < 1000; ++i)
            copied += u"<b id=%1>"_s.arg(i);
        copied += u"</P>"_s + u"<div>x</div>"_s.repeated(1000);
        QTest::newRow("tags too costly to read") << encodePage(copied) << qint64(0) << u"タグが多すぎる"_s;
        QTest::newRow("larger than a page is read") << encodePage(OwnPage) << PageSizeLimit + 1 << u"大きすぎる"_s;
        QTest::newRow("a text of one line of a million characters")
            << encodePage(OwnPage + u"<!--NOTE_IN--><P></P><P>"_s + QString(1000000, u'あ') + u"</P><!--NOTE_OUT-->"_s)
            << qint64(0) << u"長すぎる行がある"_s;
    }
    void pageKeptOutOfTheEditorGoesToItsOwnProgram()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(qint64, size);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        const QString path = dir.filePath(u"page.html"_s);
        QVERIFY(writeBytes(path, bytes));
        if (size > 0)
            QVERIFY(QFile::resize(path, size));
        for (const bool programs : {true, false}) {
            FakeHost host;
            host.folder = dir.path();
            host.names = {u"page.html"_s};
            host.programs = programs;
            L::EditPage(host, {}, {});
            const QString log = host.log.join(u" | "_s);
            QVERIFY2(!log.contains(u"editor"_s) && log.contains(u"shell page.html"_s), qPrintable(log));
            QCOMPARE(log.contains(u"outside wait"_s), programs);
            QCOMPARE(log.contains(u"told page.html は"_s + reason + u"ため"_s), !programs);
            QCOMPARE(host.log.last(), u"resume"_s);
        }
    }

    void fifoUnderAPagesNameOpensNothing()
    {
        QTemporaryDir dir;
        FakeHost host;
        host.folder = dir.path();
        host.names = {u"page.html"_s};
        QCOMPARE(::mkfifo(QFile::encodeName(dir.filePath(u"page.html"_s)).constData(), 0600), 0);
        L::EditPage(host, {}, {});
        QCOMPARE(host.log, QStringList({u"pause"_s, u"placeholder --- 編集中 ---"_s, u"refresh"_s, u"resume"_s}));
    }

    void fileNothingOpensIsNamed()
    {
        QTemporaryDir dir;
        FakeHost host;
        host.folder = dir.path();
        host.names = {u"plan.pdf"_s};
        host.programs = false;
        QVERIFY(writeBytes(dir.filePath(u"plan.pdf"_s), "%PDF"));
        L::EditPage(host, {}, {});
        QVERIFY(host.log.contains(u"told plan.pdf を開くプログラムがありません。"_s));
        QVERIFY(!host.log.contains(u"outside wait"_s));
    }

    void undecodablePageKeepsItsBytesAndTheUserIsTold_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("told");
        const QByteArray sjis = "\x82\xa0\x82\xa2"; // not UTF-8
        QTest::newRow("own page") << u"page.html"_s << OwnPage.toUtf8() + sjis << true;
        QTest::newRow("other file") << u"list.csv"_s << QByteArray("a,") + sjis << false;
    }
    void undecodablePageKeepsItsBytesAndTheUserIsTold()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(bool, told);
        QTemporaryDir dir;
        FakeHost host;
        host.folder = dir.path();
        host.names = {name};
        QVERIFY(writeBytes(dir.filePath(name), bytes));
        L::EditPage(host, {}, {});
        QCOMPARE(host.log.contains(u"undecodable "_s + name), told);
        QVERIFY2(host.log.contains(u"shell "_s + name), qPrintable(host.log.join(u" | "_s)));
        QVERIFY(!host.log.join(u'|').contains(u"editor"_s));
        QCOMPARE(readBytes(dir.filePath(name)), bytes);
    }

    void newPagesReachTheDiskOnlyWhenSavedAndNeverShareAName()
    {
        QTemporaryDir dir;
        FakeHost host;
        host.folder = dir.path();
        host.names = {u"index.html"_s};
        bool save = false;
        QString seenText;
        host.editor = [&](const QString &path, const QString &content) {
            seenText = content;
            if (save)
                writePageFile(path, content);
            return EditorOutcome{save, path, {}};
        };
        const QDateTime now(QDate(2026, 2, 6), QTime(14, 25, 37));
        L::NewDailyPage(host, now);
        QCOMPARE(seenText, newPageText(now.date()));
        QVERIFY(host.log.contains(u"editor 20260206-0602371.html"_s));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList());

        save = true;
        L::NewDailyPage(host, now);
        // The level was not read again (the fake keeps its list): the file on disk still counts.
        L::NewDailyPage(host, now);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files),
                 QStringList({u"20260206-0602371.html"_s, u"20260206-0602372.html"_s}));
    }

    void savedDailyReportIsArchivedWithCompanions()
    {
        QTemporaryDir dir;
        QDir(dir.path()).mkdir(u"archive"_s);
        FakeHost host;
        host.folder = dir.path();
        host.archive = dir.filePath(u"archive"_s);
        host.names = {u"朝_日報.html"_s};
        const QString page = OwnPage + u"<BODY background=\"_bg.png\"><IMG src=\"Photo.jpg\"><IMG src=\"../secret.jpg\">"
                                       u"<IMG src=\"http://x/y.jpg\"><IMG src=\"gone.jpg\">"_s;
        QVERIFY(writeBytes(dir.filePath(u"朝_日報.html"_s), encodePage(page)));
        QVERIFY(writeBytes(dir.filePath(u"朝_日報.%xt"_s), "note"));
        QVERIFY(writeBytes(dir.filePath(u"_bg.png"_s), "bg"));
        QVERIFY(writeBytes(dir.filePath(u"photo.JPG"_s), "photo"));
        QVERIFY(writeBytes(dir.filePath(u"secret.jpg"_s), "secret"));
        host.editor = [](const QString &path, const QString &) {
            return EditorOutcome{true, path, u" 2026年02月06日朝_日報"_s};
        };
        L::EditPage(host, {}, {});
        QStringList archived = QDir(host.archive).entryList(QDir::Files);
        archived.sort();
        QStringList expected{u" 2026年02月06日朝_日報.%xt"_s, u" 2026年02月06日朝_日報.html"_s, u"Photo.jpg"_s,
                             u"_bg.png"_s};
        expected.sort();
        QCOMPARE(archived, expected);
        QCOMPARE(readBytes(host.archive + u"/Photo.jpg"_s), QByteArray("photo"));
    }

    void dailyReportClosedWithoutSavingIsNotArchived()
    {
        QTemporaryDir dir;
        QDir(dir.path()).mkdir(u"archive"_s);
        FakeHost host;
        host.folder = dir.path();
        host.archive = dir.filePath(u"archive"_s);
        host.names = {u"朝_日報.html"_s};
        QVERIFY(writeBytes(dir.filePath(u"朝_日報.html"_s), encodePage(OwnPage)));
        L::EditPage(host, {}, {});
        QVERIFY(QDir(host.archive).entryList(QDir::Files).isEmpty());
    }

    void keywordLinksComeOutForTheEditorAndGoBackIntoTheSavedPage()
    {
        QTemporaryDir dir;
        FakeHost host;
        host.folder = dir.path();
        host.names = {u"a.html"_s};
        const QByteArray original = encodePage(OwnPage + u"$LOOK"_s);
        QVERIFY(writeBytes(dir.filePath(u"a.html"_s), original));
        QString seen;
        bool save = false;
        host.editor = [&](const QString &path, const QString &content) {
            seen = content;
            if (save)
                writePageFile(path, content);
            return EditorOutcome{save, path, {}};
        };
        L::EditPage(host, {}, {});
        QVERIFY(seen.contains(u"plain"_s));
        QVERIFY(!seen.contains(u"$LOOK"_s));
        QCOMPARE(readBytes(dir.filePath(u"a.html"_s)), original);

        save = true;
        L::EditPage(host, {}, {});
        QCOMPARE(readBytes(dir.filePath(u"a.html"_s)), encodePage(OwnPage + u"plain\r\n<!--links-->"_s));
    }
};

QTEST_GUILESS_MAIN(EditLauncherTest)
#include "tst_editlauncher.moc"
