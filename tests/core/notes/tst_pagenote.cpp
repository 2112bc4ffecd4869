#include "core/editor/pagenote.h"

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
} // namespace

class PageNoteTest : public QObject
{
    Q_OBJECT
private slots:
    void noteFileOfEntry_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("note");
        QTest::newRow("page") << u"lesson1.html"_s << u"/d/lesson1.%xt"_s;
        QTest::newRow("order number") << u"1010_a.b.html"_s << u"/d/1010_a.b.%xt"_s;
        QTest::newRow("no extension") << u"readme"_s << u"/d/readme.%xt"_s;
        QTest::newRow("web address") << u"http://host/dir/page.htm"_s << u"/d/page.%xt"_s;
        QTest::newRow("search level entry") << u"sub\\page.html"_s << u"/d/sub/page.%xt"_s;
        QTest::newRow("dot in folder only") << u"sub.v2\\readme"_s << u"/d/sub.v2/readme.%xt"_s;
        QTest::newRow("leaves the folder") << u"..\\x.html"_s << QString();
        QTest::newRow("web folder") << u"http://host/dir/"_s << QString();
        QTest::newRow("network path") << u"\\\\srv\\share\\x.html"_s << QString();
    }
    void noteFileOfEntry()
    {
        QFETCH(QString, entry);
        QFETCH(QString, note);
        QCOMPARE(pageNoteFilePath(u"/d"_s, entry), note);
    }

    void noteNeverLandsThroughALinkOutOfTheFolder()
    {
        QTemporaryDir dir;
        QVERIFY(QDir().mkpath(dir.filePath(u"d"_s)));
        QVERIFY(QDir().mkpath(dir.filePath(u"elsewhere"_s)));
        QVERIFY(QFile::link(dir.filePath(u"elsewhere"_s), dir.filePath(u"d/out"_s)));
        QCOMPARE(pageNoteFilePath(dir.filePath(u"d"_s), u"out\\x.html"_s), QString());
        QCOMPARE(pageNoteFilePath(dir.filePath(u"d"_s), u"x.html"_s), dir.filePath(u"d/x.%xt"_s));
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
