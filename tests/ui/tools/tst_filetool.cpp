// The file tool's delete and picture renaming, and the page menu's rows on the main window.
#include "ui/tools/tform3.h"

#include "ui/app/copydialoguser.h"
#include "ui/app/fakeplatform.h"
#include "ui/app/tform1.h"
#include "ui/editor/modaluser.h"
#include "ui/tools/renamerunner.h"

#include "core/navigation/testfiles.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <atomic>
#include <thread>

using namespace Qt::StringLiterals;

// A trash that records each call and keeps the files it is told to keep.
class RecordingTrash : public FakePlatform
{
public:
    QList<QStringList> calls;
    QStringList refuse;
    QStringList moveToTrash(const QStringList &paths) override
    {
        calls << paths;
        QStringList kept;
        for (const QString &path : paths)
            if (refuse.contains(path))
                kept << path;
            else
                QFile::remove(path);
        return kept;
    }
};

// Answers the message boxes that come up with answer and keeps their texts.
class BoxAnswerer : public QObject
{
public:
    explicit BoxAnswerer(QMessageBox::StandardButton answer)
        : m_answer(answer)
    {
        connect(&m_timer, &QTimer::timeout, this, [this] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                texts << box->text();
                QAbstractButton *button = box->button(m_answer);
                (button ? button : box->buttons().constFirst())->click();
            }
        });
        m_timer.start(20);
    }
    QStringList texts;

private:
    QMessageBox::StandardButton m_answer;
    QTimer m_timer;
};

class FileToolTest : public QObject
{
    Q_OBJECT
private:
    QTemporaryDir m_tmp;
    RecordingTrash m_platform;

    QStringList makeFiles(const QStringList &names)
    {
        QStringList paths;
        for (const QString &name : names) {
            QFile file(m_tmp.filePath(name));
            if (file.open(QIODevice::WriteOnly))
                file.write("x");
            paths << file.fileName();
        }
        return paths;
    }

private slots:
    void deleteTrashesExactlyTheSelectedFilesInOneCall()
    {
        const QStringList files = makeFiles({u"1.html"_s, u"2.jpg"_s, u"3.wav"_s, u"4.%xt"_s, u"5.gif"_s});
        TForm3 tool(m_platform);
        tool.setFiles(files);
        tool.show();
        QCOMPARE(tool.selectedFiles(), files);
        tool.ListBox1->item(1)->setSelected(false);
        tool.ListBox1->item(3)->setSelected(false);
        m_platform.calls.clear();
        m_platform.refuse = {files.at(4)};
        BoxAnswerer yes(QMessageBox::Yes);
        tool.BitBtn1->click();
        QCOMPARE(m_platform.calls, (QList<QStringList>{{files.at(0), files.at(2), files.at(4)}}));
        QVERIFY(!QFile::exists(files.at(0)) && QFile::exists(files.at(1)));
        // The file the trash refused stays, and the user is told which it is.
        QVERIFY(QFile::exists(files.at(4)));
        QCOMPARE(yes.texts.size(), 2);
        QVERIFY(yes.texts.at(1).contains(files.at(4)));
        QVERIFY(!tool.isVisible());
        QCOMPARE(tool.ListBox1->count(), 0);
    }

    void renamingWithoutPicturesOnlyWarns()
    {
        const QStringList files = makeFiles({u"a.html"_s, u"b.txt"_s});
        TForm3 tool(m_platform);
        tool.setFiles(files);
        tool.show();
        BoxAnswerer yes(QMessageBox::Yes);
        tool.BitBtn4->click();
        QCOMPARE(yes.texts, QStringList{u"対象とする画像ファイルが見つかりません。"_s});
        QVERIFY(tool.isVisible());
    }

    void renamingAsksAndShowsTheNewNames()
    {
        const QStringList files = makeFiles({u"z.jpg"_s});
        TForm3 tool(m_platform);
        tool.HomeDir = m_tmp.path();
        tool.CurDir = m_tmp.path();
        tool.Edit1->setText(u" photo "_s);
        tool.setFiles(files);
        tool.show();
        BoxAnswerer yes(QMessageBox::Yes);
        tool.BitBtn4->click();
        QCOMPARE(yes.texts, QStringList{u"画像ファイル名を photo+数字に書き換えていいですか"_s});
        QCOMPARE(tool.ListBox1->item(0)->text(), m_tmp.filePath(u"photo0.jpg"_s));
        QVERIFY(QFile::exists(m_tmp.filePath(u"photo0.jpg"_s)));
    }

    // The main window's file tool has the pictures renamed by the rename
    // worker: the list waits for the new names while the window goes on.
    void renamingRunsOnTheRenameWorker()
    {
        const QString home = m_tmp.filePath(u"worker"_s);
        QVERIFY(QDir().mkpath(home) && writeFixture(home + u"/p.html"_s, "<IMG src=\"z.jpg\">")
                && writeFixture(home + u"/z.jpg"_s));
        TForm1 form(m_platform, m_tmp.filePath(u"worker.exe"_s));
        TForm3 tool(m_platform, &form);
        tool.HomeDir = home;
        tool.CurDir = home;
        tool.Edit1->setText(u"pic"_s);
        tool.setFiles({home + u"/z.jpg"_s});
        std::atomic<int> here{0}, aside{0};
        const std::thread::id window = std::this_thread::get_id();
        renameRunnerOf(form).worker().setStepHook([&](const RenameJob &) {
            ++(std::this_thread::get_id() == window ? here : aside);
        });
        tool.show();
        BoxAnswerer yes(QMessageBox::Yes);
        tool.BitBtn4->click();
        QVERIFY(!tool.isEnabled());
        QTRY_VERIFY(tool.isEnabled());
        QCOMPARE(tool.ListBox1->item(0)->text(), home + u"/pic0.jpg"_s);
        QCOMPARE(readFixture(home + u"/p.html"_s), QByteArray("<IMG src=\"pic0.jpg\">"));
        QVERIFY(aside > 0);
        QCOMPARE(here.load(), 0);
    }

    void renamingRefusesAPrefixThatBreaksPages_data()
    {
        QTest::addColumn<QString>("prefix");
        QTest::newRow("a handler") << u"x\" onerror=\"document.title=666\" y=\""_s;
        QTest::newRow("a tag") << u"<b>"_s;
        QTest::newRow("a folder") << u"sub/pic"_s;
        QTest::newRow("a Windows folder") << u"..\\pic"_s;
        QTest::newRow("a command") << u"$pic"_s;
    }
    void renamingRefusesAPrefixThatBreaksPages()
    {
        QFETCH(QString, prefix);
        static int row = 0;
        const QString dir = m_tmp.filePath(u"prefix-"_s + QString::number(++row));
        QVERIFY(QDir().mkpath(dir));
        const QByteArray page = "<HTML><BODY><IMG src=\"z.jpg\"></BODY></HTML>";
        for (const auto &[name, bytes] : {std::pair{u"z.jpg"_s, QByteArray("x")}, std::pair{u"p.html"_s, page}}) {
            QFile file(dir + u'/' + name);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(bytes);
        }
        TForm3 tool(m_platform);
        tool.HomeDir = m_tmp.path();
        tool.CurDir = dir;
        tool.Edit1->setText(prefix);
        tool.setFiles({dir + u"/z.jpg"_s, dir + u"/p.html"_s});
        tool.show();
        BoxAnswerer yes(QMessageBox::Yes);
        QTest::mouseClick(tool.BitBtn4, Qt::LeftButton);
        QCOMPARE(yes.texts.size(), 1);
        QVERIFY(yes.texts.at(0).contains(u"画像ファイル名にできません"_s));
        QCOMPARE(QDir(dir).entryList(QDir::Files, QDir::Name), (QStringList{u"p.html"_s, u"z.jpg"_s}));
        QFile written(dir + u"/p.html"_s);
        QVERIFY(written.open(QIODevice::ReadOnly));
        QCOMPARE(written.readAll(), page);
    }

    void menuRowsWithoutHandlersStayDisabled()
    {
        const QString home = m_tmp.filePath(u"web"_s);
        QVERIFY(copyExamples(home));
        QFile(home + u"/メモ帳.lnk"_s).open(QIODevice::WriteOnly);
        TForm1 form(m_platform, m_tmp.filePath(u"web.exe"_s));
        form.nav.OpenFolderLevel(home, 1, true);
        form.popupActions.CopyPage = [] {};
        QStringList started;
        form.popupActions.F10Click = [&](const QString &name) { started << name; };
        form.BuildPagePopupMenu();
        QVERIFY(form.PagePopup);
        QStringList enabled;
        QStringList disabled;
        for (QAction *item : form.PagePopup->actions())
            if (!item->isSeparator())
                (item->isEnabled() ? enabled : disabled) << item->text();
        QCOMPARE(enabled, (QStringList{u"ページのコピー"_s, u"メモ帳.lnk"_s}));
        QVERIFY(disabled.contains(u"ページに投稿"_s));
        QCOMPARE(form.ListBox3, QStringList{u"メモ帳.lnk"_s});
        form.PagePopup->actions().at(form.PagePopup->actions().size() - 2)->trigger();
        QTRY_COMPARE(started, QStringList{u"メモ帳.lnk"_s});
        form.ClearPagePopupMenu();
        QVERIFY(!form.PagePopup && form.ListBox3.isEmpty());
    }

    void movingAPageTrashesOnlyFilesNoOtherPageUses()
    {
        const QString home = m_tmp.filePath(u"move"_s);
        QVERIFY(QDir().mkpath(home + u"/other"_s));
        const auto write = [&](const QString &name, const QByteArray &bytes) {
            QFile file(home + u'/' + name);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(bytes);
        };
        write(u"a.html"_s, "<IMG src=\"_p.jpg\"><IMG src=\"_s.jpg\"><A href=\"/$NEXT\">n</A>");
        write(u"a.%xt"_s, "note");
        write(u"b.html"_s, "<IMG src=\"_s.jpg\">");
        write(u"_p.jpg"_s, "p");
        write(u"_s.jpg"_s, "s");
        TForm1 form(m_platform, m_tmp.filePath(u"move.exe"_s));
        form.nav.OpenFolderLevel(home, 0, true);
        QString offered;
        form.SaveDialog2 = [&](const QString &source) {
            offered = source;
            return QString(home + u"/other/a.html"_s);
        };
        m_platform.calls.clear();
        m_platform.refuse.clear();
        BoxAnswerer yes(QMessageBox::Yes);
        form.CopyPage();
        QCOMPARE(offered, home + u"/a.html"_s);
        QCOMPARE(yes.texts, (QStringList{home + u"/a.htmlで\nhref=$NEXT 【外部リンク】があります。"_s,
                                         u"元ファイルを削除しますか？"_s}));
        QVERIFY(QFile::exists(home + u"/other/_p.jpg"_s) && QFile::exists(home + u"/other/a.%xt"_s));
        QCOMPARE(m_platform.calls, (QList<QStringList>{{home + u"/a.html"_s, home + u"/a.%xt"_s, home + u"/_p.jpg"_s}}));
        QVERIFY(QFile::exists(home + u"/_s.jpg"_s));
        QCOMPARE(form.nav.levels().top().MidashiF, QStringList{u"b.html"_s});
    }

    void deletingAPageLeavesWhatOtherPagesUseUnchosen()
    {
        const QString home = m_tmp.filePath(u"delete"_s);
        QVERIFY(QDir().mkpath(home));
        for (const auto &[name, bytes] : QList<std::pair<QString, QByteArray>>{
                 {u"a.html"_s, "<IMG src=\"_p.jpg\"><IMG src=\"_S.jpg\"><A href=\"b.html\">b</A>"},
                 {u"a.%xt"_s, "note"},
                 {u"b.html"_s, "<IMG src=\"_s.jpg\">"},
                 {u"_p.jpg"_s, "p"},
                 {u"_s.jpg"_s, "s"}}) {
            QFile file(home + u'/' + name);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(bytes);
        }
        TForm1 form(m_platform, m_tmp.filePath(u"delete.exe"_s));
        TForm3 tool(m_platform, &form);
        form.Form3 = &tool;
        form.nav.OpenFolderLevel(home, 0, true);
        QStringList listed;
        QStringList chosen;
        ModalUser user(tool, [&] {
            for (int i = 0; i < tool.ListBox1->count(); ++i)
                listed << QFileInfo(tool.ListBox1->item(i)->text()).fileName();
            chosen = tool.selectedFiles();
            tool.BitBtn2->click();
        });
        form.DeletePageFiles();
        QCOMPARE(listed, (QStringList{u"a.html"_s, u"a.%xt"_s, u"_p.jpg"_s, u"_s.jpg"_s, u"b.html"_s}));
        QCOMPARE(chosen, (QStringList{home + u"/a.html"_s, home + u"/a.%xt"_s, home + u"/_p.jpg"_s}));
    }

    void copyDialogKeepsThePagesExtensionWhateverFilter()
    {
        const QString home = m_tmp.filePath(u"copydialog"_s);
        QVERIFY(QDir().mkpath(home));
        QFile page(home + u"/a.html"_s);
        QVERIFY(page.open(QIODevice::WriteOnly));
        page.write("<P>a</P>");
        page.close();
        TForm1 form(m_platform, m_tmp.filePath(u"copydialog.exe"_s));
        form.nav.OpenFolderLevel(home, 0, true);
        CopyDialogUser user(2); // "一太郎 (*.jt* *.j?w)"
        BoxAnswerer no(QMessageBox::No);
        form.CopyPage();
        QCOMPARE(user.filters.value(2), u"一太郎 (*.jt* *.j?w)"_s);
        QCOMPARE(user.proposed, u"a.html"_s);
        QCOMPARE(user.afterFilter, u"a.html"_s);
        QCOMPARE(QDir(home).entryList(QDir::Files), (QStringList{u"_XXX.html"_s, u"a.html"_s}));
    }

    void unlinkedFilesComeFromTheFolderNotFromAPushedLevel()
    {
        const QString home = m_tmp.filePath(u"pushed"_s);
        QVERIFY(QDir().mkpath(home + u"/sub"_s));
        for (const QString &name : {u"a.html"_s, u"_p.jpg"_s, u"_orphan.txt"_s, u"sub/x.html"_s}) {
            QFile file(home + u'/' + name);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(name == u"a.html"_s ? "<IMG src=\"_P.JPG\">" : "x");
        }
        TForm1 form(m_platform, m_tmp.filePath(u"pushed.exe"_s));
        TForm3 tool(m_platform, &form);
        form.Form3 = &tool;
        form.nav.OpenFolderLevel(home, 0, true);
        form.nav.PushLevel({u"sub/x.html"_s}, {u"x"_s}, 0);
        QStringList offered;
        QString caption;
        QTimer closer;
        connect(&closer, &QTimer::timeout, &tool, [&] {
            if (tool.isVisible() && tool.ListBox1->count() > 0) {
                caption = tool.windowTitle();
                offered = tool.selectedFiles();
                tool.BitBtn2->click();
            }
        });
        closer.start(20);
        form.RemoveUnlinkedFiles();
        QCOMPARE(caption, u"リンク切れファイルの削除"_s);
        QCOMPARE(offered, QStringList{home + u"/_orphan.txt"_s});
        QVERIFY(QFile::exists(home + u"/_orphan.txt"_s));
    }
};

QTEST_MAIN(FileToolTest)
#include "tst_filetool.moc"
