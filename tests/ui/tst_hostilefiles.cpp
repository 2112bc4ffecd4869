// Files another PC or a broken copy left in the data root: empty, cut short,
// binary, huge, FIFOs and files that claim what they do not hold, opened as a
// page, a picture, a note, the presentation marker and an editor page. The
// window keeps running, never waits on a FIFO, and says what the user sees.
#include "ui/app/tform1.h"
#include "ui/commands/linkcommands.h"
#include "ui/editor/editlaunch.h"
#include "ui/editor/editlaunchwiring.h"
#include "ui/editor/tform12.h"
#include "ui/editor/tform2.h"
#include "ui/present/tform14.h"

#include "core/editor/pagenote.h"
#include "core/navigation/navigationtexts.h"
#include "core/navigation/testfiles.h"
#include "core/present/marker.h"
#include "core/present/updatepoll.h"
#include "ui/editor/modaluser.h"
#include "ui/app/fakeplatform.h"
#include "ui/app/pagescript.h"

#include <QBuffer>
#include <QImage>
#include <QLabel>
#include <QPlainTextEdit>
#include <QRandomGenerator>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QDirIterator>
#include <QFileSystemModel>
#include <QToolButton>
#include <QTreeView>
#include <QWebEngineView>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

QByteArray pageText(const QByteArray &title)
{
    return "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">\r\n"
           "<HTML><HEAD><META http-equiv=\"Content-Type\" content=\"text/html; charset=UTF-8\">"
           "<TITLE>" + title + "</TITLE></HEAD><BODY><P>" + title + "</P></BODY></HTML>\r\n";
}

QByteArray jpegBytes()
{
    QImage image(64, 48, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG", 90);
    return buffer.data();
}

// A BMP header claiming 30000 × 30000 pixels, with no pixels after it.
QByteArray bmpClaimingHugeSize()
{
    QByteArray b("BM");
    auto put32 = [&b](quint32 v) {
        for (int i = 0; i < 4; ++i)
            b.append(char((v >> (8 * i)) & 0xFF));
    };
    auto put16 = [&b](quint16 v) { b.append(char(v & 0xFF)).append(char(v >> 8)); };
    put32(54 + 30000u * 30000u * 3u); // claimed file size (wraps: no matter)
    put32(0);
    put32(54);
    put32(40);
    put32(30000);
    put32(30000);
    put16(1);
    put16(24);
    put32(0);
    put32(0);
    put32(2835);
    put32(2835);
    put32(0);
    put32(0);
    return b;
}

QByteArray binaryBytes()
{
    QRandomGenerator random(21);
    QByteArray b(4096, '\0');
    for (char &c : b)
        c = char(random.bounded(256));
    return b;
}

// Notices a FIFO opened for reading by a thread that then waits on it: after a
// long grace it opens the writing end, which lets such a reader go, and says so.
class FifoWatch
{
public:
    explicit FifoWatch(const QString &path)
        : m_path(QFile::encodeName(path))
    {
        struct stat st;
        if (::lstat(m_path.constData(), &st) != 0 || !S_ISFIFO(st.st_mode))
            return;
        m_thread = std::thread([this] {
            std::unique_lock lock(m_mutex);
            if (m_done.wait_for(lock, std::chrono::seconds(20), [this] { return m_finished.load(); }))
                return;
            lock.unlock();
            while (!m_finished) {
                const int fd = ::open(m_path.constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
                if (fd >= 0) {
                    m_rescued = true;
                    ::close(fd);
                }
                std::this_thread::yield();
            }
        });
    }
    ~FifoWatch() { finish(); }
    bool finish()
    {
        {
            std::lock_guard lock(m_mutex);
            m_finished = true;
        }
        m_done.notify_all();
        if (m_thread.joinable())
            m_thread.join();
        return m_rescued;
    }

private:
    QByteArray m_path;
    std::thread m_thread;
    std::mutex m_mutex;
    std::condition_variable m_done;
    std::atomic<bool> m_finished{false};
    std::atomic<bool> m_rescued{false};
};

} // namespace

class HostileFilesTest : public QObject
{
    Q_OBJECT
private:
    QTemporaryDir *temp = nullptr;
    FakePlatform *platform = nullptr;
    TForm1 *form = nullptr;
    QString root;

    // Makes file as content says; false when it could not.
    static bool makeHostile(const QString &file, const QString &content, const QString &target)
    {
        if (content == u"fifo"_s)
            return ::mkfifo(QFile::encodeName(file).constData(), 0644) == 0;
        if (content == u"claims"_s && target == u"marker"_s)
            return QFile::link(u"/dev/zero"_s, file); // no size, no end
        QByteArray bytes;
        const bool picture = target == u"picture"_s;
        if (content == u"truncated"_s)
            bytes = picture ? jpegBytes().left(200) : target == u"note"_s ? QByteArray("note \xE3\x81") : pageText("Cut").left(90);
        else if (content == u"binary"_s)
            bytes = binaryBytes();
        else if (content == u"huge"_s)
            bytes = picture ? jpegBytes() : target == u"marker"_s ? QByteArray() : pageText("Huge");
        else if (content == u"claims"_s)
            bytes = picture ? bmpClaimingHugeSize() : QByteArray("\xFF\xFE<\0T", 5); // UTF-16 cut in a character
        if (!writeFixture(file, bytes))
            return false;
        // 50 MB: the tail is a hole in the file, so making it costs nothing.
        return content != u"huge"_s || QFile(file).resize(qint64(50) << 20);
    }

    void openForm()
    {
        root = temp->filePath(u"web"_s);
        QVERIFY(QDir().mkpath(root));
        QVERIFY(writeFixture(root + u"/1010_a.html"_s, pageText("A")));
        form = new TForm1(*platform, temp->filePath(u"web.exe"_s));
        new LinkCommands(*form);
        QSignalSpy loaded(form->WebBrowser1, &QWebEngineView::loadFinished);
        form->show();
        form->FormShow();
        QVERIFY(loaded.wait(60000));
        // The test ticks by hand.
        disconnect(form->Timer5, nullptr, form->Poll, nullptr);
    }

    // The window still answers: the first page opens again.
    void showFirstPageAgain()
    {
        QSignalSpy loaded(form->WebBrowser1, &QWebEngineView::loadFinished);
        form->nav.PBanSave(0);
        form->PageClick();
        QTRY_COMPARE_WITH_TIMEOUT(form->WebBrowser1->url(), QUrl::fromLocalFile(root + u"/1010_a.html"_s), 60000);
        QVERIFY(form->isEnabled());
    }

private slots:
    void init()
    {
        temp = new QTemporaryDir;
        platform = new FakePlatform;
    }
    void cleanup()
    {
        delete form;
        form = nullptr;
        delete platform;
        delete temp;
    }

    void hostileFileKeepsTheWindowRunning_data()
    {
        QTest::addColumn<QString>("target");  // page, picture, note, marker, editor
        QTest::addColumn<QString>("content"); // empty, truncated, binary, huge, fifo, claims
        QTest::addColumn<QString>("told");    // what the user sees: "panel", "picture", "unreadable", "size", "-"
        const QList<std::pair<QString, QStringList>> told{
            {u"page"_s, {u"-"_s, u"-"_s, u"-"_s, u"size"_s, u"panel"_s, u"-"_s}},
            {u"picture"_s, {u"panel"_s, u"panel"_s, u"panel"_s, u"picture"_s, u"panel"_s, u"panel"_s}},
            {u"note"_s, {u"-"_s, u"unreadable"_s, u"unreadable"_s, u"unreadable"_s, u"unreadable"_s, u"unreadable"_s}},
            {u"marker"_s, {u"-"_s, u"-"_s, u"-"_s, u"-"_s, u"-"_s, u"-"_s}},
            {u"editor"_s, {u"-"_s, u"-"_s, u"-"_s, u"-"_s, u"-"_s, u"-"_s}},
            {u"editor picture"_s, {u"-"_s, u"-"_s, u"-"_s, u"-"_s, u"-"_s, u"-"_s}},
        };
        const QStringList contents{u"empty"_s, u"truncated"_s, u"binary"_s, u"huge"_s, u"fifo"_s, u"claims"_s};
        for (const auto &[target, shown] : told) {
            for (int i = 0; i < contents.size(); ++i)
                QTest::addRow("%s %s", qPrintable(target), qPrintable(contents.at(i)))
                    << target << contents.at(i) << shown.at(i);
        }
    }
    void hostileFileKeepsTheWindowRunning()
    {
        QFETCH(QString, target);
        QFETCH(QString, content);
        QFETCH(QString, told);
        openForm();
        TForm2 editor(form);
        const auto launcher = attachEditLauncher(*form, editor);
        launcher->outsideWaitMs = 0;
        TForm12 notes(form);
        form->Form12 = &notes;
        TForm14 viewer(form);
        form->setPresentationViewer(&viewer);

        const QString name = target == u"picture"_s ? (content == u"claims"_s ? u"1020_x.bmp"_s : u"1020_x.jpg"_s)
                                                    : u"1020_x.html"_s;
        // The editor's page shows the picture prism.png beside its text.
        const bool editorPicture = target == u"editor picture"_s;
        const QString file = target == u"note"_s     ? root + u"/1010_a"_s + NoteText::PageNoteExtension
                             : target == u"marker"_s ? presentationMarkerPath(root)
                             : editorPicture         ? QString(root + u"/prism.png"_s)
                                                     : root + u'/' + name;
        if (editorPicture)
            QVERIFY(QFile::copy(QStringLiteral(KAVUNO_TEST_DATA "/editor/picture.html"), root + u'/' + name));
        else if (target != u"note"_s && target != u"marker"_s)
            QVERIFY(writeFixture(root + u'/' + name, ""));
        QFile::remove(file);
        QVERIFY(makeHostile(file, content, target));
        const bool regular = QFileInfo(file).isFile() && !QFileInfo(file).isSymLink();
        const QByteArray before = regular ? readFixture(file) : QByteArray();
        form->nav.OpenFolderLevel(root, 0, false);
        if (!regular && file == root + u'/' + name) {
            // A listing leaves a FIFO out; a level made from a link page names it.
            QCOMPARE(form->nav.PBanSu(), 1);
            form->nav.PushLevel({u"1010_a.html"_s, name}, {u"A"_s, u"X"_s}, 0);
        }
        form->ReMake();
        FifoWatch watch(file); // a no-op unless the file is a FIFO

        if (target == u"page"_s || target == u"picture"_s) {
            form->nav.PBanSave(1);
            form->PageClick();
            QCOMPARE(form->Panel1->isVisible(), told == u"panel"_s);
            QCOMPARE(form->Panel10->isVisible(), told == u"picture"_s);
            if (told == u"panel"_s)
                QCOMPARE(form->Label1->text(), file);
            if (told == u"-"_s) // the browser shows what it makes of it
                QTRY_VERIFY_WITH_TIMEOUT(form->WebBrowser1->url().toLocalFile() == file, 60000);
            if (told == u"size"_s) // in place of the page, its name and size
                QTRY_VERIFY_WITH_TIMEOUT(form->WebBrowser1->url().scheme() == u"data"_s, 60000);
        } else if (target == u"note"_s) {
            QTest::mouseClick(form->SpeedButton7, Qt::LeftButton);
            QTRY_VERIFY(notes.isVisible());
            QCOMPARE(notes.Memo1->toPlainText() == NoteText::Unreadable, told == u"unreadable"_s);
            QCOMPARE(notes.Memo1->isReadOnly(), told == u"unreadable"_s);
            notes.close(); // an unreadable note is never written over
        } else if (target == u"marker"_s) {
            form->Poll->tick();
            form->Poll->tick();
            QVERIFY(!viewer.isVisible());
        } else {
            form->nav.PBanSave(1);
            form->PageClick();
            // An editable page opens the editor; the user closes it unsaved.
            bool edited = false;
            const ModalUser user(editor, [&] {
                edited = true;
                editor.reject();
            });
            form->findChild<QToolButton *>(u"SpeedButton15"_s)->click();
            if (editorPicture)
                QVERIFY(edited);
        }

        QVERIFY2(!watch.finish(), "a FIFO was opened for reading and waited on");
        showFirstPageAgain();
        if (regular)
            QCOMPARE(readFixture(file), before); // nothing was written over it
        else
            QVERIFY(!QFileInfo(file).isFile());
    }

    void pageNamedInBytesThatAreNotUtf8GetsNoButton()
    {
        openForm();
        // A peer wrote the name in another code page: no name the program makes of it opens it.
        const QByteArray raw = QFile::encodeName(root) + "/1020_\x93\xfa\x95\xf1.html";
        const int fd = ::open(raw.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        QVERIFY(fd >= 0);
        ::close(fd);
        // The temporary folder cannot remove it by any name either.
        const auto removeOdd = qScopeGuard([&] { ::unlink(raw.constData()); });
        form->nav.OpenFolderLevel(root, 0, false);
        form->ReMake();
        QCOMPARE(form->nav.PBanSu(), 1);
        QCOMPARE(form->PageButtons.size(), 1);
        showFirstPageAgain();
    }

    void pageLinkedOutOfTheDataRootIsNotShown_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("page") << u"1020_x.html"_s;
        QTest::newRow("picture") << u"1020_x.jpg"_s;
        QTest::newRow("other file") << u"1020_x.dat"_s;
    }
    void pageLinkedOutOfTheDataRootIsNotShown()
    {
        QFETCH(QString, name);
        openForm();
        const QString secret = temp->filePath(u"secret"_s) + name.mid(name.lastIndexOf(u'.'));
        QVERIFY(writeFixture(secret, name.endsWith(u".jpg"_s) ? jpegBytes() : pageText("Secret")));
        QVERIFY(QFile::link(secret, root + u'/' + name));
        form->nav.OpenFolderLevel(root, 0, false);
        form->ReMake();
        // The level does not list it,
        QCOMPARE(form->nav.PBanSu(), 1);
        // and a level that names it (a search's, LOOK's) shows a note in its place.
        form->nav.PushLevel({name}, {}, 0);
        form->ReMake();
        form->PageClick();
        QVERIFY(!form->Panel1->isVisible());
        QVERIFY(!form->Panel10->isVisible());
        // In its place, its name and why it is not shown.
        QTRY_VERIFY_WITH_TIMEOUT(form->WebBrowser1->url().scheme() == u"data"_s, 60000);
        const QByteArray address = form->WebBrowser1->url().toEncoded();
        const QByteArray head = address.left(address.indexOf(','));
        const QByteArray body = address.mid(head.size() + 1);
        const QString shown = QString::fromUtf8(head.endsWith(";base64") ? QByteArray::fromBase64(body)
                                                                          : QByteArray::fromPercentEncoding(body));
        QVERIFY2(shown.contains(NavigationTexts::PageOutsideRoot), qPrintable(shown.left(200)));
        form->nav.PopLevel();
        form->ReMake();
        showFirstPageAgain();
    }

    // A peer made "evil" a link to a folder elsewhere, and a picture of the
    // folder a link to a picture elsewhere. The window offers neither, writes
    // nothing there, and a DIR into the folder (a click, a page's link) is refused.
    void linksOutOfTheDataRootAreNotOffered_data()
    {
        QTest::addColumn<QString>("route");
        QTest::newRow("folder panel") << u"panel"_s;
        QTest::newRow("DIR by a click") << u"click"_s;
        QTest::newRow("DIR by a page's link") << u"link"_s;
        QTest::newRow("picture in a page") << u"img"_s;
    }
    void linksOutOfTheDataRootAreNotOffered()
    {
        QFETCH(QString, route);
        const QString outside = temp->filePath(u"elsewhere"_s);
        QVERIFY(QDir().mkpath(outside + u"/empty"_s));
        QVERIFY(writeFixture(outside + u"/picture.jpg"_s, jpegBytes()));
        openForm();
        QVERIFY(QDir(root).mkdir(u"sub"_s));
        QVERIFY(QFile::link(outside + u"/empty"_s, root + u"/evil"_s));
        QVERIFY(QFile::link(outside + u"/picture.jpg"_s, root + u"/outside.jpg"_s));
        QVERIFY(writeFixture(root + u"/inside.jpg"_s, jpegBytes()));
        QVERIFY(writeFixture(root + u"/1020_b.html"_s,
                             pageText("B") + "<IMG id=\"out\" src=\"outside.jpg\"><IMG id=\"in\" src=\"inside.jpg\">"
                                             "<A id=\"dir\" href=\"/$DIR evil\">evil</A>"));
        const auto outsideFiles = [&] {
            QStringList names;
            QDirIterator it(outside, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
            while (it.hasNext())
                names << it.next().mid(outside.size());
            names.sort();
            return names;
        };
        const QStringList before = outsideFiles();

        if (route == u"panel"_s) {
            form->hyoushi->setFixedWidth(200);
            QTRY_VERIFY(form->folderModel);
            const QAbstractItemModel *rows = form->DirectoryListBox1->model();
            const auto shown = [&] {
                QStringList names;
                const QModelIndex top = form->DirectoryListBox1->rootIndex();
                for (int row = 0; row < rows->rowCount(top); ++row)
                    names << rows->index(row, 0, top).data().toString();
                return names;
            };
            QTRY_VERIFY_WITH_TIMEOUT(shown().contains(u"sub"_s), 10000);
            QVERIFY2(!shown().contains(u"evil"_s), qPrintable(shown().join(u',')));
            form->hyoushi->setFixedWidth(0);
        } else if (route == u"img"_s) {
            form->nav.OpenFolderLevel(root, 1, false);
            form->ReMake();
            QSignalSpy loaded(form->WebBrowser1, &QWebEngineView::loadFinished);
            form->PageClick();
            QVERIFY(loaded.wait(60000));
            const QString widths = u"[document.getElementById('out').naturalWidth, document.getElementById('in').naturalWidth].join()"_s;
            QTRY_COMPARE_WITH_TIMEOUT(evaluate(form->WebBrowser1->page(), widths).toString(), u"0,64"_s, 10000);
        } else {
            if (route == u"click"_s) {
                form->TXTcommand(u"DIR "_s + root + u"/evil"_s);
            } else {
                form->nav.OpenFolderLevel(root, 1, false);
                form->ReMake();
                QSignalSpy loaded(form->WebBrowser1, &QWebEngineView::loadFinished);
                form->PageClick();
                QVERIFY(loaded.wait(60000));
                evaluate(form->WebBrowser1->page(), u"document.getElementById('dir').click()"_s);
            }
            QTRY_COMPARE_WITH_TIMEOUT(form->Pmathu->text(), NavigationTexts::FolderOutsideRoot, 10000);
            QCOMPARE(form->nav.levels().height(), 1);
            QCOMPARE(form->nav.CurDir, root);
            QVERIFY(form->Pmathu->isVisible());
        }
        QCOMPARE(outsideFiles(), before);
        QVERIFY(QFileInfo(root + u"/outside.jpg"_s).isSymLink());
        showFirstPageAgain();
    }
};

QTEST_MAIN(HostileFilesTest)
#include "tst_hostilefiles.moc"
