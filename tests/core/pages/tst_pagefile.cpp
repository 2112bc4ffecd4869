#include "core/pages/pagefile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class PageFileTest : public QObject
{
    Q_OBJECT
private:
    static QByteArray readBytes(const QString &path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

private slots:
    void writesBomAndCrLfLines_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("empty text: the mark only") << QString() << QByteArray("\xEF\xBB\xBF");
        QTest::newRow("last line is ended") << u"a"_s << QByteArray("\xEF\xBB\xBF" "a\r\n");
        QTest::newRow("lone CR") << u"a\rb"_s << QByteArray("\xEF\xBB\xBF" "a\r\nb\r\n");
        QTest::newRow("lone LF") << u"a\nb"_s << QByteArray("\xEF\xBB\xBF" "a\r\nb\r\n");
        QTest::newRow("CR LF stays one break") << u"a\r\nb"_s << QByteArray("\xEF\xBB\xBF" "a\r\nb\r\n");
        QTest::newRow("LF CR is two breaks") << u"a\n\rb"_s << QByteArray("\xEF\xBB\xBF" "a\r\n\r\nb\r\n");
        QTest::newRow("final break adds no empty line") << u"a\r"_s << QByteArray("\xEF\xBB\xBF" "a\r\n");
        QTest::newRow("empty lines kept") << u"a\n\n"_s << QByteArray("\xEF\xBB\xBF" "a\r\n\r\n");
        QTest::newRow("break only") << u"\n"_s << QByteArray("\xEF\xBB\xBF\r\n");
        QTest::newRow("Japanese in UTF-8") << u"日報"_s << QByteArray("\xEF\xBB\xBF\xE6\x97\xA5\xE5\xA0\xB1\r\n");
    }
    void writesBomAndCrLfLines()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        QTemporaryDir dir;
        const QString path = dir.filePath(u"page.html"_s);
        QVERIFY(writePageFile(path, text));
        QCOMPARE(readBytes(path), bytes);
    }

    void rewriteReplacesWholeFileAndLeavesNoTemporary()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"page.html"_s);
        QVERIFY(writePageFile(path, u"a much longer first text"_s));
        QVERIFY(writePageFile(path, u"b"_s));
        QCOMPARE(readBytes(path), QByteArray("\xEF\xBB\xBF" "b\r\n"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{u"page.html"_s});
    }

    void failedWriteReportsAndLeavesNothing()
    {
        // A plain file in place of the folder makes the write fail, whatever the rights.
        QTemporaryDir dir;
        const QString blocker = dir.filePath(u"notafolder"_s);
        QVERIFY(writePageFile(blocker, u"old"_s));
        QString error;
        QVERIFY(!writePageFile(blocker + u"/page.html"_s, u"new"_s, &error));
        QVERIFY(!error.isEmpty());
        QCOMPARE(readBytes(blocker), QByteArray("\xEF\xBB\xBF" "old\r\n"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{u"notafolder"_s});
    }

    void readsUtf8WithOrWithoutMark_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("hadBom");
        QTest::newRow("with mark") << QByteArray("\xEF\xBB\xBF" "<P>\xE6\x97\xA5</P>\r\n") << u"<P>日</P>\r\n"_s << true;
        QTest::newRow("without mark") << QByteArray("<P>\xE6\x97\xA5</P>") << u"<P>日</P>"_s << false;
        QTest::newRow("mark only") << QByteArray("\xEF\xBB\xBF") << QString() << true;
        QTest::newRow("empty file") << QByteArray() << QString() << false;
    }
    void readsUtf8WithOrWithoutMark()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        QFETCH(bool, hadBom);
        QTemporaryDir dir;
        const QString path = dir.filePath(u"page.html"_s);
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        f.close();
        const PageText page = readPageFile(path);
        QCOMPARE(page.status, PageText::Ok);
        QCOMPARE(page.text, text);
        QCOMPARE(page.hadBom, hadBom);
    }

    void reportsInvalidUtf8_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("Shift_JIS bytes") << QByteArray("<P>\x93\xfa\x95\xf1</P>");
        QTest::newRow("truncated sequence at the end") << QByteArray("abc\xE6\x97");
        QTest::newRow("invalid after the mark") << QByteArray("\xEF\xBB\xBF\xFF");
    }
    void reportsInvalidUtf8()
    {
        QFETCH(QByteArray, bytes);
        const PageText page = decodePageUtf8(bytes);
        QCOMPARE(page.status, PageText::Undecodable);
        QVERIFY(page.text.isEmpty());
    }

    void missingFileIsUnreadable()
    {
        QTemporaryDir dir;
        QCOMPARE(readPageFile(dir.filePath(u"none.html"_s)).status, PageText::Unreadable);
        QCOMPARE(readPageFile(dir.path()).status, PageText::Unreadable);
    }

    void legacyCodePageIsCp932UnlessMarked()
    {
        const PageText sjis = decodePageLegacy(QByteArray("\x93\xfa\x95\xf1 SHIFT_JIS"));
        QCOMPARE(sjis.status, PageText::Ok);
        QCOMPARE(sjis.text, u"日報 SHIFT_JIS"_s);
        const PageText marked = decodePageLegacy(QByteArray("\xEF\xBB\xBF\xE6\x97\xA5"));
        QCOMPARE(marked.text, u"日"_s);
        QVERIFY(marked.hadBom);
    }
};

QTEST_APPLESS_MAIN(PageFileTest)
#include "tst_pagefile.moc"
