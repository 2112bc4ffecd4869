#include "core/editor/pagenote.h"

#include "core/navigation/navigator.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {
QByteArray bytesOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void put(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// The note of the one entry of a level pushed in curDir below the data root home.
QString noteOf(const QString &home, const QString &curDir, const QString &entry)
{
    Navigator nav;
    nav.HomeDir = home;
    nav.CurDir = curDir;
    nav.PushLevel({entry}, {}, 0);
    return pageNoteFilePath(nav, 0);
}
} // namespace

class PageNoteTest : public QObject
{
    Q_OBJECT
private slots:
    // Entries as the levels hold them: a folder's names, the search and LOOK
    // levels' paths below the folder, a link page's relative or web addresses.
    void noteFileOfEntry_data()
    {
        QTest::addColumn<QString>("curDir");
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("note");
        QTest::newRow("page") << u"/d"_s << u"lesson1.html"_s << u"/d/lesson1.%xt"_s;
        QTest::newRow("order number") << u"/d"_s << u"1010_a.b.html"_s << u"/d/1010_a.b.%xt"_s;
        QTest::newRow("no extension") << u"/d"_s << u"readme"_s << u"/d/readme.%xt"_s;
        QTest::newRow("web address") << u"/d"_s << u"http://host/dir/page.htm"_s << u"/d/page.%xt"_s;
        QTest::newRow("search level entry") << u"/d"_s << u"sub/1010_lesson1.html"_s << u"/d/sub/1010_lesson1.%xt"_s;
        QTest::newRow("search level entry two deep")
            << u"/d"_s << u"sub/inner/1010_lesson1.html"_s << u"/d/sub/inner/1010_lesson1.%xt"_s;
        QTest::newRow("LOOK level entry in a sub-folder")
            << u"/d/sub"_s << u"inner/1020_lesson2.html"_s << u"/d/sub/inner/1020_lesson2.%xt"_s;
        QTest::newRow("dot in folder only") << u"/d"_s << u"sub.v2/readme"_s << u"/d/sub.v2/readme.%xt"_s;
        QTest::newRow("written on Windows") << u"/d"_s << u"sub.v2\\readme"_s << u"/d/sub.v2/readme.%xt"_s;
        QTest::newRow("link level, folder above") << u"/d/sub"_s << u"../page.html"_s << u"/d/page.%xt"_s;
        QTest::newRow("local file address") << u"/d"_s << u"file:///d/sub/page.html"_s << u"/d/sub/page.%xt"_s;
        QTest::newRow("leaves the data root") << u"/d"_s << u"..\\x.html"_s << QString();
        QTest::newRow("absolute path elsewhere") << u"/d"_s << u"/etc/x.html"_s << QString();
        QTest::newRow("web folder") << u"/d"_s << u"http://host/dir/"_s << QString();
        QTest::newRow("web address up") << u"/d"_s << u"http://host/dir/.."_s << QString();
        QTest::newRow("network path") << u"/d"_s << u"\\\\srv\\share\\x.html"_s << QString();
    }
    void noteFileOfEntry()
    {
        QFETCH(QString, curDir);
        QFETCH(QString, entry);
        QFETCH(QString, note);
        QCOMPARE(noteOf(u"/d"_s, curDir, entry), note);
    }

    void noteNeverLandsThroughALinkOutOfTheFolder()
    {
        QTemporaryDir dir;
        QVERIFY(QDir().mkpath(dir.filePath(u"d"_s)));
        QVERIFY(QDir().mkpath(dir.filePath(u"elsewhere"_s)));
        QVERIFY(QFile::link(dir.filePath(u"elsewhere"_s), dir.filePath(u"d/out"_s)));
        const QString home = dir.filePath(u"d"_s);
        QCOMPARE(noteOf(home, home, u"out/x.html"_s), QString());
        QCOMPARE(noteOf(home, home, u"x.html"_s), dir.filePath(u"d/x.%xt"_s));
    }

    // An entry spelt in another case than its file (written on Windows) has
    // the note beside the file that opens.
    void noteLiesBesideTheFileThatOpens()
    {
        QTemporaryDir dir;
        const QString home = dir.filePath(u"d"_s);
        QVERIFY(QDir().mkpath(home + u"/Sub"_s));
        put(home + u"/Sub/1010_Lesson1.html"_s, "<html></html>");
        QCOMPARE(noteOf(home, home, u"sub/1010_lesson1.html"_s), home + u"/Sub/1010_Lesson1.%xt"_s);
    }

    void writesByteOrderMarkAndCrLfAfterEveryLine_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("empty") << QString() << QByteArray("\xEF\xBB\xBF");
        QTest::newRow("one line") << u"a"_s << QByteArray("\xEF\xBB\xBF" "a\r\n");
        QTest::newRow("memo lines") << u"a\nb"_s << QByteArray("\xEF\xBB\xBF" "a\r\nb\r\n");
        QTest::newRow("typed empty last line") << u"a\n"_s << QByteArray("\xEF\xBB\xBF" "a\r\n\r\n");
        QTest::newRow("paragraph separator") << u"a\u2029b"_s << QByteArray("\xEF\xBB\xBF" "a\r\nb\r\n");
    }
    void writesByteOrderMarkAndCrLfAfterEveryLine()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        QCOMPARE(noteFileBytes(text), bytes);
    }

    void readsAnyLineBreaksWithOrWithoutMark_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("golden") << bytesOf(QStringLiteral(KAVUNO_TEST_DATA "/notes/twolines.%xt"));
        QTest::newRow("no mark, LF") << QByteArray("\xE4\xB8\x80\xE8\xA1\x8C\xE7\x9B\xAE\nline two\n");
        QTest::newRow("CR only, no last break") << QByteArray("\xE4\xB8\x80\xE8\xA1\x8C\xE7\x9B\xAE\rline two");
    }
    void readsAnyLineBreaksWithOrWithoutMark()
    {
        QFETCH(QByteArray, bytes);
        bool valid = false;
        QCOMPARE(noteTextFromFile(bytes, &valid), u"一行目\nline two"_s);
        QVERIFY(valid);
    }

    void readingThenWritingKeepsTheBytes()
    {
        const QString golden = QStringLiteral(KAVUNO_TEST_DATA "/notes/twolines.%xt");
        QTemporaryDir dir;
        const QString copy = dir.filePath(u"copy.%xt"_s);
        const NoteRead read = readNoteFile(golden);
        QCOMPARE(read.status, NoteRead::Loaded);
        QVERIFY(writeNoteFile(copy, read.text));
        QCOMPARE(bytesOf(copy), bytesOf(golden));
    }

    void unreadableNotesAreNeverBound_data()
    {
        QTest::addColumn<bool>("folder");
        QTest::newRow("not UTF-8") << false;
        QTest::newRow("a folder in its place") << true;
    }
    void unreadableNotesAreNeverBound()
    {
        QFETCH(bool, folder);
        QTemporaryDir dir;
        const QString path = dir.filePath(u"b.%xt"_s);
        if (folder)
            QVERIFY(QDir(dir.path()).mkdir(u"b.%xt"_s));
        else
            put(path, "\x82\xA0\x82\xA2 Shift_JIS\r\n");
        const QByteArray before = bytesOf(path);

        NoteBinding note;
        QCOMPARE(note.bind(path).status, NoteRead::Unreadable);
        QVERIFY(!note.isBound());
        QVERIFY(!note.needsWrite(u"someone else's text"_s));
        QVERIFY(note.save(u"someone else's text"_s));
        QCOMPARE(bytesOf(path), before);
    }

    void writesOnlyChangedOrMissingNotes()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"a.%xt"_s);
        put(path, "mine\n");

        NoteBinding note;
        QCOMPARE(note.bind(path).text, u"mine"_s);
        // A colleague saves meanwhile; looking at the note must not undo it.
        put(path, "theirs\n");
        QVERIFY(!note.needsWrite(u"mine"_s));
        QVERIFY(note.save(u"mine"_s));
        QCOMPARE(bytesOf(path), QByteArray("theirs\n"));

        QVERIFY(note.save(u"changed"_s));
        QCOMPARE(bytesOf(path), QByteArray("\xEF\xBB\xBF" "changed\r\n"));
        QVERIFY(!note.needsWrite(u"changed"_s));

        QVERIFY(QFile::remove(path));
        QVERIFY(note.needsWrite(u"changed"_s));
    }

    void missingNoteComesIntoBeingOnSave()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"new.%xt"_s);
        NoteBinding note;
        const NoteRead read = note.bind(path);
        QCOMPARE(read.status, NoteRead::Missing);
        QVERIFY(read.text.isEmpty());
        QVERIFY(note.save(QString()));
        QCOMPARE(bytesOf(path), QByteArray("\xEF\xBB\xBF"));
    }

    void failedWriteIsReportedAndRetried()
    {
        QTemporaryDir dir;
        NoteBinding note;
        note.bind(dir.filePath(u"gone/a.%xt"_s));
        QVERIFY(!note.save(u"text"_s));
        QVERIFY(note.needsWrite(u"text"_s));
    }
};

QTEST_APPLESS_MAIN(PageNoteTest)
#include "tst_pagenote.moc"
