#include "core/navigation/pagetitle.h"

#include <QDirIterator>
#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

#include "core/navigation/testfiles.h"

using namespace Qt::StringLiterals;

static const QByteArray bom("\xEF\xBB\xBF");

static QString write(const QTemporaryDir &dir, const QString &name, const QByteArray &bytes)
{
    const QString path = dir.filePath(name);
    writeFixture(path, bytes);
    return path;
}

static QByteArray ownPage(const QString &title)
{
    return u"<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">\r\n<HTML><HEAD>"
           "<META http-equiv=\"Content-Type\" content=\"text/html; charset=UTF-8\">\r\n<TITLE>"_s.toUtf8()
        + title.toUtf8() + "</TITLE></HEAD><BODY>x</BODY></HTML>\r\n";
}

static QByteArray utf16(const QByteArray &utf8, QStringConverter::Encoding encoding)
{
    QStringEncoder encoder(encoding, QStringConverter::Flag::WriteBom);
    return encoder(QString::fromUtf8(utf8));
}

// The title rule read on the whole file, as the program did before it read heads.
static QString wholeFileTitle(const QString &path, const QByteArray &bytes)
{
    const QString text = QString::fromUtf8(bytes);
    const qsizetype p = text.indexOf(u"<TITLE>"_s, 0, Qt::CaseInsensitive);
    const qsizetype q = text.indexOf(u"</TITLE>"_s, 0, Qt::CaseInsensitive);
    if (p >= 0 && q >= 0 && q - p > 7 && text.contains(u"<!DOCTYPE HTML PUBLIC"_s))
        return text.mid(p + 7, q - p - 7).replace(u"&lt;"_s, u"<"_s).replace(u"&gt;"_s, u">"_s);
    return fileNameTitle(path);
}

class PageTitleTest : public QObject
{
    Q_OBJECT
private slots:
    void titles_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("listing");
        QTest::addColumn<QString>("reloaded");
        QTest::newRow("own page") << u"1010_a.html"_s << ownPage(u"第一課"_s) << u"第一課"_s << u"第一課"_s;
        QTest::newRow("angles undone on listing only")
            << u"1010_a.html"_s << ownPage(u"a &lt;b&gt;"_s) << u"a <b>"_s << u"a &lt;b&gt;"_s;
        QTest::newRow("empty element") << u"1010_Lesson one.html"_s << ownPage(QString()) << u"Lesson one"_s
                                       << QString();
        QTest::newRow("foreign html") << u"2000_foreign.html"_s
                                      << QByteArray("<html><head><title>Other</title></head></html>")
                                      << u"foreign"_s << u"foreign"_s;
        QTest::newRow("lower-case tags on listing only")
            << u"1010_a.html"_s
            << QByteArray("<!DOCTYPE HTML PUBLIC \"x\"><html><title>Low</title></html>") << u"Low"_s << u"a"_s;
        QTest::newRow("line break kept") << u"x.html"_s << ownPage(u"一行目\r\n二行目"_s) << u"一行目\r\n二行目"_s
                                         << u"一行目\r\n二行目"_s;
        QTest::newRow("button syntax stored unchanged")
            << u"x.html"_s << ownPage(u"\"star.bmp\"Lesson 1#Addition?Solve"_s)
            << u"\"star.bmp\"Lesson 1#Addition?Solve"_s << u"\"star.bmp\"Lesson 1#Addition?Solve"_s;
        QTest::newRow("not a page of ours") << u"1010_Lesson one.pdf"_s << QByteArray("%PDF-1.4") << u"Lesson one"_s
                                            << u"Lesson one"_s;
        QTest::newRow("no underscore") << u"memo.txt"_s << QByteArray("<TITLE>x</TITLE>") << u"memo"_s << u"memo"_s;
        QTest::newRow("truncated page") << u"t.html"_s << QByteArray("<!DOCTYPE HTML PUBLIC <TITLE>cut")
                                        << u"t"_s << QString();
        const QByteArray pad(6000, ' ');
        QTest::newRow("title beyond the head")
            << u"1010_a.html"_s << bom + ownPage(u"遠い題"_s).replace("<TITLE>", QByteArray(pad + "<TITLE>")) << u"遠い題"_s
            << u"遠い題"_s;
        QTest::newRow("own-page mark beyond the head, no mark")
            << u"1010_a.html"_s << QByteArray("<html><title>T</title>") + pad + "<!DOCTYPE HTML PUBLIC" << u"T"_s
            << u"a"_s;
        QTest::newRow("utf-16 little-endian mark")
            << u"1010_a.html"_s << utf16(ownPage(u"題"_s), QStringConverter::Utf16LE) << u"題"_s << u"題"_s;
        QTest::newRow("utf-16 big-endian mark")
            << u"1010_a.html"_s << utf16(ownPage(u"題"_s), QStringConverter::Utf16BE) << u"題"_s << u"題"_s;
        QTest::newRow("close before open") << u"c.html"_s
                                           << QByteArray("<!DOCTYPE HTML PUBLIC </TITLE> <TITLE>")
                                           << u"c"_s << QString();
    }
    void titles()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, listing);
        QFETCH(QString, reloaded);
        QTemporaryDir dir;
        const QString path = write(dir, name, bytes);
        QCOMPARE(listingTitle(path), listing);
        QCOMPARE(reloadedTitle(path), reloaded);
    }

    // Every stored page gives the title it gave when files were read whole.
    void storedPagesKeepTheirTitles()
    {
        QTemporaryDir dir;
        int pages = 0;
        for (const QString &root : {QStringLiteral(KAVUNO_EXAMPLES), QStringLiteral(KAVUNO_TEST_DATA)}) {
            QDirIterator it(root, {u"*.htm*"_s}, QDir::Files, QDirIterator::Subdirectories);
            while (it.hasNext()) {
                const QByteArray bytes = readFixture(it.next());
                QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
                const QString decoded = utf8.decode(bytes);
                if (utf8.hasError())
                    continue; // converted pages are checked below
                const QString path = write(dir, it.fileName(), bytes);
                QCOMPARE(listingTitle(path), wholeFileTitle(path, bytes));
                ++pages;
            }
        }
        QVERIFY(pages > 10);
    }

    void titleBeyondAMegabyteIsTheFileName()
    {
        QTemporaryDir dir;
        const QString path = write(dir, u"1010_big.html.mp4"_s,
                                   bom + ownPage(u"x"_s).replace("<TITLE>", QByteArray(QByteArray(1100000, ' ') + "<TITLE>")));
        QCOMPARE(listingTitle(path), u"big.html"_s);
    }

    void missingFileGetsFileNameTitle()
    {
        QCOMPARE(listingTitle(u"/nonexistent/1010_gone.html"_s), u"gone"_s);
        QCOMPARE(reloadedTitle(u"/nonexistent/1010_gone.html"_s), u"gone"_s);
    }

    void shiftJisPageIsConvertedOnce_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("converted");
        QTest::addColumn<QString>("title");
        const QString meta = u"<META http-equiv=\"Content-Type\" content=\"text/html; charset=%1\">"_s;
        const QString page = u"<!DOCTYPE HTML PUBLIC \"x\">\r\n<HTML><HEAD>%1\r\n<TITLE>%2</TITLE></HEAD>%3</HTML>\r\n"_s;
        QTest::newRow("declaration") << page.arg(meta.arg(u"shift_jis"_s), u"日本語の題"_s, QString())
                                     << page.arg(meta.arg(u"UTF-8"_s), u"日本語の題"_s, QString()) << u"日本語の題"_s;
        // Only the META's value changes, not a title that names the code page.
        QTest::newRow("title names it first")
            << page.arg(QString(), u"Shift_JISの説明</TITLE>"_s + meta.arg(u"Shift_JIS"_s) + u"<TITLE>"_s, QString())
            << page.arg(QString(), u"Shift_JISの説明</TITLE>"_s + meta.arg(u"UTF-8"_s) + u"<TITLE>"_s, QString())
            << u"Shift_JISの説明"_s;
        const QString body = u"<BODY>"_s + QString(5000, QChar(0x3042)) + u"</BODY>"_s;
        QTest::newRow("text beyond the head") << page.arg(meta.arg(u"Shift_JIS"_s), u"長い頁"_s, body)
                                              << page.arg(meta.arg(u"UTF-8"_s), u"長い頁"_s, body) << u"長い頁"_s;
    }
    void shiftJisPageIsConvertedOnce()
    {
        QFETCH(QString, source);
        QFETCH(QString, converted);
        QFETCH(QString, title);
        QTemporaryDir dir;
        QStringEncoder cp932("CP932");
        QVERIFY(cp932.isValid());
        const QString path = write(dir, u"sj.html"_s, cp932(source));

        QCOMPARE(listingTitle(path), title);
        QCOMPARE(readFixture(path), bom + converted.toUtf8());
        PageConversion conversion;
        readPageText(path, &conversion);
        QCOMPARE(conversion, PageConversion::NotNeeded);
        QCOMPARE(listingTitle(path), title);
    }

    void shiftJisGoldenPage()
    {
        QTemporaryDir dir;
        const QString data = QStringLiteral(KAVUNO_TEST_DATA) + u"/navigation/"_s;
        const QString path = write(dir, u"1010_old.html"_s, readFixture(data + u"shiftjis-page.html"_s));
        QCOMPARE(listingTitle(path), u"旧い頁①～表示"_s);
        QCOMPARE(readFixture(path), readFixture(data + u"shiftjis-page-converted.html"_s));
    }

    void utf8PageMentioningShiftJisIsLeftAlone_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("valid utf-8") << ownPage(u"Shift_JIS の説明"_s);
        QTest::newRow("byte-order mark") << bom + ownPage(u"charset=shift_jis"_s);
        // Neither UTF-8 nor CP932: converting would lose bytes.
        QTest::newRow("undecodable") << QByteArray("<TITLE>SHIFT_JIS \x80\xFF\xFF</TITLE>");
    }
    void utf8PageMentioningShiftJisIsLeftAlone()
    {
        QFETCH(QByteArray, bytes);
        QTemporaryDir dir;
        const QString path = write(dir, u"p.html"_s, bytes);
        PageConversion conversion;
        readPageText(path, &conversion);
        QCOMPARE(conversion, PageConversion::NotNeeded);
        QCOMPARE(readFixture(path), bytes);
    }

    void readOnlyFolderStillGivesConvertedTitle()
    {
        if (geteuid() == 0)
            QSKIP("root writes into read-only folders");
        QTemporaryDir dir;
        QStringEncoder cp932("CP932");
        const QByteArray legacy = cp932(u"<!DOCTYPE HTML PUBLIC \"x\"><META charset=Shift_JIS><TITLE>題名</TITLE>"_s);
        const QString path = write(dir, u"ro.html"_s, legacy);
        QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner);
        PageConversion conversion;
        const QString text = readPageText(path, &conversion);
        QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QCOMPARE(conversion, PageConversion::WriteFailed);
        QVERIFY(text.contains(u"<TITLE>題名</TITLE>"_s));
        QCOMPARE(readFixture(path), legacy);
    }
};

QTEST_APPLESS_MAIN(PageTitleTest)
#include "tst_pagetitle.moc"
