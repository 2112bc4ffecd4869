// What keeps a page out of the editor's fields, and the bounded read of its file.
#include "core/app/smallfile.h"
#include "core/editor/fieldsread.h"

#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

#include "core/editortools/filebytes.h"

using namespace Qt::StringLiterals;

namespace {
QString pageWithNote(const QString &note, const QString &tail = QString())
{
    return u"<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">\r\n<HTML>\r\n<HEAD>\r\n<TITLE>T</TITLE>"
           u"</HEAD>\r\n<BODY><!--NOTE_IN-->"_s
        + note + u"<!--NOTE_OUT--></BODY>\r\n</HTML>\r\n"_s + tail;
}

// Lines of source text, each short; a field joins them.
QString sourceLines(int lines, const QString &separator)
{
    QStringList out;
    for (int i = 0; i < lines; ++i)
        out << QString(99, u'字');
    return out.join(separator);
}
} // namespace

class FieldsReadTest : public QObject
{
    Q_OBJECT
private slots:
    void pagesThatWouldHoldTheWindowAreRefused_data()
    {
        QTest::addColumn<QString>("page");
        QTest::addColumn<int>("refusal");
        QTest::newRow("an ordinary page") << pageWithNote(u"<H1>H</H1><P></P><P>text<BR>more</P>"_s)
                                          << int(FieldsRefusal::None);
        QTest::newRow("a text of one line of a million characters")
            << pageWithNote(u"<P></P><P>"_s + QString(1000000, u'あ') + u"</P>"_s) << int(FieldsRefusal::LineTooLong);
        QTest::newRow("source lines a field joins into one")
            << pageWithNote(u"<P></P><P>"_s + sourceLines(600, u"\r\n"_s) + u"</P>"_s) << int(FieldsRefusal::LineTooLong);
        QTest::newRow("the same lines each ended by <BR>")
            << pageWithNote(u"<P></P><P>"_s + sourceLines(600, u"<BR>\r\n"_s) + u"</P>"_s) << int(FieldsRefusal::None);
        QTest::newRow("a heading of many lines and a long text: more than is laid out at once")
            << pageWithNote(u"<H1>"_s + sourceLines(200, u"<BR>\r\n"_s) + u"</H1><P></P><P>"_s + sourceLines(150, u"\r\n"_s)
                            + u"</P>"_s)
            << int(FieldsRefusal::LineTooLong);
        QTest::newRow("a heading and a text that together fit")
            << pageWithNote(u"<H1>"_s + sourceLines(100, u"<BR>\r\n"_s) + u"</H1><P></P><P>"_s + sourceLines(100, u"\r\n"_s)
                            + u"</P>"_s)
            << int(FieldsRefusal::None);
        QTest::newRow("a long line outside the fields (the source view)")
            << pageWithNote(u"<P></P><P>x</P>"_s, u"<!--"_s + QString(FieldsLayoutLimit, u'-') + u"-->"_s)
            << int(FieldsRefusal::LineTooLong);
        QString copied = u"<P>x</P><P>"_s;
        for (int i = 0; i < 1000; ++i)
            copied += u"<b id=%1>"_s.arg(i);
        copied += u"</P>"_s + u"<div>x</div>"_s.repeated(1000);
        QTest::newRow("tags too costly to read") << pageWithNote(copied) << int(FieldsRefusal::TooCostly);
        QTest::newRow("more bytes than a page is read")
            << pageWithNote(sourceLines(int(PageSizeLimit / 300) + 1, u"<BR>\r\n"_s)) << int(FieldsRefusal::TooLarge);
        // Old editors leave a FONT open in every paragraph: each nests in the one before.
        QString fonts;
        for (int i = 0; i < 3000; ++i)
            fonts += u"<P><FONT color=\"#FF%1\" size=\"%2\">"_s.arg(i % 4, 4, 10, QChar(u'0')).arg(2 + i % 3)
                + u"今日の授業は教科書の三十二ページから。"_s + u"</P>\r\n"_s;
        QTest::newRow("thousands of paragraphs each in an unclosed FONT")
            << pageWithNote(u"<P></P><P>x</P>"_s + fonts) << int(FieldsRefusal::None);
    }
    void pagesThatWouldHoldTheWindowAreRefused()
    {
        QFETCH(QString, page);
        QTEST(int(refusalForFields(page)), "refusal");
    }

    void fileIsReadOnceAndNeverPastTheLimit()
    {
        QTemporaryDir dir;
        const QString page = dir.filePath(u"page.html"_s);
        QVERIFY(writeBytes(page, "\xEF\xBB\xBFpage"));
        PageForFields file = readPageForFields(page);
        QVERIFY(file.read.exists && file.page.ok() && !file.tooLarge);
        QCOMPARE(file.read.bytes, QByteArray("\xEF\xBB\xBFpage"));
        QCOMPARE(file.page.text, u"page"_s);

        // A peer's page of sixty megabytes: refused by its size, nothing read.
        const QString huge = dir.filePath(u"huge.html"_s);
        QVERIFY(writeBytes(huge, "\xEF\xBB\xBFpage"));
        QVERIFY(QFile::resize(huge, qint64(60) << 20));
        file = readPageForFields(huge);
        QVERIFY(file.read.exists && file.tooLarge && !file.page.ok());
        QVERIFY(file.read.bytes.isEmpty());

        // A FIFO under a page's name: not waited on, not read, not called large.
        const QString fifo = dir.filePath(u"fifo.html"_s);
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        file = readPageForFields(fifo);
        QVERIFY(file.read.exists && !file.tooLarge && !file.page.ok());

        file = readPageForFields(dir.filePath(u"gone.html"_s));
        QVERIFY(!file.read.exists && !file.page.ok());
    }
};

QTEST_GUILESS_MAIN(FieldsReadTest)
#include "tst_fieldsread.moc"
