// The link walk, unlinked files, page copies and picture renaming on fixture folders.
#include "core/tools/fileuses.h"
#include "core/tools/linkwalk.h"
#include "core/tools/pagecopy.h"
#include "core/tools/picturerename.h"
#include "core/tools/unlinkedfiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class FolderToolsTest : public QObject
{
    Q_OBJECT
private:
    QTemporaryDir m_tmp;
    QString m_root;
    QString m_dir;

    QString path(const QString &name) const { return m_dir + u'/' + name; }
    void write(const QString &name, const QByteArray &bytes)
    {
        QDir().mkpath(QFileInfo(path(name)).path());
        QFile file(path(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    void page(const QString &name, const QString &body)
    {
        write(name, "\xEF\xBB\xBF" + (u"<HTML><BODY>"_s + body + u"</BODY></HTML>\r\n"_s).toUtf8());
    }
    QByteArray read(const QString &name) const
    {
        QFile file(path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    QStringList names(const QStringList &paths) const
    {
        QStringList result;
        for (const QString &p : paths)
            result << QDir(m_dir).relativeFilePath(p);
        return result;
    }

private slots:
    void init()
    {
        m_root = m_tmp.filePath(u"root"_s);
        QDir(m_root).removeRecursively();
        m_dir = m_root + u"/web"_s;
        QVERIFY(QDir().mkpath(m_dir));
    }

    void walkListsCompanionsPicturesAndFramedPagesOnce()
    {
        page(u"0100_a.html"_s,
             u"<TITLE>\"icon.gif\"A</TITLE><BODY background=\"bg.jpg\"><IMG SRC=\"pict.jpg\"><IFRAME src=\"sub.html\">"
             "<A href=\"/$NEXT\">n</A><A href=\"$GO%20sub/x\">g</A><A href=\"https://example.org/\">w</A>"
             "<A href=\"mailto:a@example.org\">m</A><A href=\"0200_b.html\">b</A><A href=\"../../outside.txt\">o</A>"_s);
        page(u"sub.html"_s, u"<IMG src=\"b.gif\"><FRAME src=\"0100_a.html\">"_s);
        page(u"0200_b.html"_s, u"<IMG src=\"c.png\">"_s);
        for (const QString &name : {u"0100_a.%xt"_s, u"0100_a.wav"_s, u"sub.wav"_s, u"pict.jpg"_s, u"icon.gif"_s,
                                    u"bg.jpg"_s, u"b.gif"_s, u"c.png"_s})
            write(name, "x");
        write(u"../../outside.txt"_s, "x");

        LinkResolver resolver(m_root, m_dir);
        QStringList told;
        LinkWalker walker(resolver, [&](const QString &file, const QString &name) { told << file + u" "_s + name; });
        QStringList list{u"stale"_s};
        walker.collect(path(u"0100_a.html"_s), list, true);
        QStringList listed = names(list);
        QCOMPARE(listed.first(), u"0100_a.html"_s);
        listed.sort();
        QCOMPARE(listed, (QStringList{u"0100_a.%xt"_s, u"0100_a.html"_s, u"0100_a.wav"_s, u"0200_b.html"_s, u"b.gif"_s,
                                      u"bg.jpg"_s, u"icon.gif"_s, u"pict.jpg"_s, u"sub.html"_s, u"sub.wav"_s}));
        QCOMPARE(told, (QStringList{path(u"0100_a.html"_s) + u" $NEXT"_s, path(u"0100_a.html"_s) + u" x"_s}).mid(0, 1));
    }

    void unlinkedFilesSeeEverySpellingOfALink()
    {
        // Names beginning with "_" are no pages: only a link keeps them.
        page(u"0100_p.html"_s,
             u"<IMG src=\"./_x1.jpg\"><IMG src=\"sub/../_x2.jpg\"><IMG src=\"_my%20pic.jpg\"><A href=\"_doc.pdf#p=2\">d</A>"
             "<A href=\"_q.txt?x=1\">q</A><IMG src=\"_a&amp;b.png\"><IMG src=\"/_x3.jpg\"><IMG src=\"_X4.JPG\">"_s);
        page(u"_help.html"_s, u"help"_s);
        for (const QString &name : {u"_x1.jpg"_s, u"_x2.jpg"_s, u"_my pic.jpg"_s, u"_doc.pdf"_s, u"_q.txt"_s,
                                    u"_a&b.png"_s, u"_x3.jpg"_s, u"_x4.jpg"_s, u"_orphan.jpg"_s, u"_XXX.html"_s,
                                    u"_%.html"_s, u"_Edit.txt"_s, u"$$$.$$$"_s, u"photo.jpg"_s})
            write(name, "x");
        QVERIFY(QDir().mkpath(path(u"sub"_s)));
        LinkResolver resolver(m_root, m_dir);
        LinkWalker walker(resolver);
        QCOMPARE(names(unlinkedFiles(walker, m_dir, u"kavuno"_s)),
                 (QStringList{u"_%.html"_s, u"_orphan.jpg"_s, u"_XXX.html"_s}));
        QVERIFY(walker.unreadable.isEmpty());
    }

    void unlinkedLeavesAnswersAndWhatTheHelpPageShows_data()
    {
        QTest::addColumn<QString>("help");
        QTest::newRow("help page as the menu names it") << u"_HELP.html"_s;
        QTest::newRow("help page in small letters") << u"_help.html"_s;
    }
    void unlinkedLeavesAnswersAndWhatTheHelpPageShows()
    {
        QFETCH(QString, help);
        page(u"1030_Sheet.html"_s, u"<P>[ ]</P>"_s);
        page(help, u"<IMG src=\"_howto.png\"><IFRAME src=\"_steps.html\">"_s);
        page(u"_steps.html"_s, u"<IMG src=\"_step1.png\">"_s);
        // The locks of a post or an answer in progress on another PC go with it, not to the trash.
        for (const QString &name : {u"_1030_Sheet.csv"_s, u"_howto.png"_s, u"_step1.png"_s, u"_gone.csv"_s,
                                    u"__1030_Sheet.csv.lock"_s, u"_1030_Sheet.html.lock"_s})
            write(name, "x");
        LinkResolver resolver(m_root, m_dir);
        LinkWalker walker(resolver);
        QCOMPARE(names(unlinkedFiles(walker, m_dir, u"kavuno"_s)), QStringList{u"_gone.csv"_s});
    }

    void leavingAPageKeepsWhatTheOtherPagesNeed_data()
    {
        QTest::addColumn<QByteArray>("third");
        QTest::addColumn<QStringList>("left");
        QTest::newRow("every page read") << QByteArray("<P>c</P>") << QStringList{u"_s.jpg"_s, u"0200_b.html"_s};
        QTest::newRow("a page that cannot be read")
            << QByteArray("<P>\x80\xff\xfe</P>") << QStringList{u"_p.jpg"_s, u"_s.jpg"_s, u"0200_b.html"_s};
    }
    void leavingAPageKeepsWhatTheOtherPagesNeed()
    {
        QFETCH(QByteArray, third);
        QFETCH(QStringList, left);
        page(u"0100_a.html"_s, u"<IMG src=\"_p.jpg\"><IMG src=\"_s.jpg\"><A href=\"0200_b.html\">b</A>"_s);
        // Naming the page and its sound does not keep them from going with it.
        page(u"0200_b.html"_s, u"<A href=\"0100_a.html\">a</A><EMBED src=\"0100_a.wav\"><IMG src=\"_s.jpg\">"_s);
        write(u"0300_c.html"_s, third);
        for (const QString &name : {u"0100_a.wav"_s, u"_p.jpg"_s, u"_s.jpg"_s})
            write(name, "x");
        LinkResolver resolver(m_root, m_dir);
        LinkWalker walker(resolver);
        QStringList listed;
        walker.collect(path(u"0100_a.html"_s), listed, true);
        LinkWalker others(resolver);
        const QStringList leave = filesToLeaveWith(others, path(u"0100_a.html"_s), u"kavuno"_s);
        listed.removeIf([&](const QString &file) { return !leave.contains(file); });
        QCOMPARE(names(listed), left);
    }

    void copyFindsPicturesOfAPageInAnyEncoding_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("pictures");
        // "写真.jpg" in the legacy code page, beside a word in it.
        QTest::newRow("legacy code page")
            << QByteArray("<P>\x93\xfa\x96\x7b</P><IMG src=\"\x8e\xca\x90\x5e.jpg\"><IMG src=\"pict.jpg\">")
            << QStringList{u"写真.jpg"_s, u"pict.jpg"_s};
        QTest::newRow("neither UTF-8 nor the legacy code page")
            << QByteArray("<P>\x80\xff\xfe</P><BODY background=\"bg.jpg\"><IMG src=\"pict.jpg\">")
            << QStringList{u"bg.jpg"_s, u"pict.jpg"_s};
    }
    void copyFindsPicturesOfAPageInAnyEncoding()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, pictures);
        write(u"0100_a.html"_s, bytes);
        for (const QString &name : {u"写真.jpg"_s, u"pict.jpg"_s, u"bg.jpg"_s})
            write(name, "x");
        LinkResolver resolver(m_root, m_dir);
        QStringList planned;
        for (const PageCopyItem &item : pageCopyPlan(path(u"0100_a.html"_s), path(u"../other/0100_a.html"_s), true, resolver))
            planned << QFileInfo(item.from).fileName();
        QCOMPARE(planned, QStringList{u"0100_a.html"_s} + pictures);
    }

    void copyTakesPicturesAndMovesOnlyWhatIsFree_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QStringList>("copied");
        QTest::addColumn<QStringList>("removed");
        QTest::newRow("another folder") << u"../other/0100_a.html"_s
                                        << QStringList{u"0100_a.html"_s, u"0100_a.%xt"_s, u"_bg.jpg"_s, u"_pict.jpg"_s,
                                                       u"_shared.jpg"_s, u"photo.jpg"_s,
                                                       u"0200_b.html"_s}
                                        << QStringList{u"0100_a.html"_s, u"0100_a.%xt"_s, u"_bg.jpg"_s, u"_pict.jpg"_s};
        QTest::newRow("same folder: pictures are already there")
            << u"0300_copy.html"_s << QStringList{u"0100_a.html"_s, u"0100_a.%xt"_s}
            << QStringList{u"0100_a.html"_s, u"0100_a.%xt"_s};
        QTest::newRow("onto itself") << u"0100_a.html"_s << QStringList() << QStringList();
    }
    void copyTakesPicturesAndMovesOnlyWhatIsFree()
    {
        QFETCH(QString, target);
        QFETCH(QStringList, copied);
        QFETCH(QStringList, removed);
        page(u"0100_a.html"_s, u"<BODY background=\"_bg.jpg\"><IMG src=\"_pict.jpg\"><IMG src=\"_shared.jpg\">"
                                "<IMG src=\"../up.jpg\"><IMG src=\"/etc/passwd\"><IMG SRC=\"caps.jpg\">"
                                "<IMG src=\"out/secret.jpg\"><IMG src=\"C:\\x.jpg\"><IMG src=\"\\\\srv\\share\\x.jpg\">"
                                "<IMG src=\"photo.jpg\"><IFRAME src=\"0200_b.html\">"_s);
        page(u"0200_b.html"_s, u"<IMG src=\"_shared.jpg\">"_s);
        for (const QString &name : {u"0100_a.%xt"_s, u"_bg.jpg"_s, u"_pict.jpg"_s, u"_shared.jpg"_s, u"caps.jpg"_s,
                                    u"photo.jpg"_s, u"../up.jpg"_s})
            write(name, name.toUtf8());
        QVERIFY(QDir().mkpath(path(u"../other"_s)));
        // A folder another PC linked to somewhere outside the data root.
        const QString elsewhere = m_tmp.filePath(u"elsewhere"_s);
        QVERIFY(QDir().mkpath(elsewhere));
        QFile secret(elsewhere + u"/secret.jpg"_s);
        QVERIFY(secret.open(QIODevice::WriteOnly));
        QVERIFY(QFile::link(elsewhere, path(u"out"_s)));

        LinkResolver resolver(m_root, m_dir);
        const QString source = path(u"0100_a.html"_s);
        const QString to = QDir::cleanPath(path(target));
        int asked = 0;
        const QList<PageCopyItem> plan = pageCopyPlan(source, to, true, resolver);
        for (const PageCopyItem &item : plan)
            QVERIFY2(!item.from.contains(u"secret"_s), qPrintable(item.from));
        const PageCopyResult result = copyPageFiles(
            plan, [&](const QString &) { return ++asked, true; },
            [](const QString &from, const QString &dest) { return QFile::copy(from, dest); });
        QCOMPARE(names(result.copied), copied);
        QCOMPARE(asked, 0);
        QVERIFY(!QFile::exists(path(u"../other/up.jpg"_s)));
        LinkWalker walker(resolver);
        // The framed page and the picture shown as a page are pages of the folder: they stay.
        const QStringList used = filesToLeaveWith(walker, source, u"kavuno"_s);
        QCOMPARE(names(filesToRemoveAfterCopy(result, source, used)), removed);
    }

    void copyAsksBeforeReplacingAnotherFile()
    {
        page(u"0100_a.html"_s, u"<IMG src=\"pict.jpg\">"_s);
        write(u"pict.jpg"_s, "new");
        write(u"../other/pict.jpg"_s, "other picture");
        write(u"../other/0100_a.html"_s, "other page");
        LinkResolver resolver(m_root, m_dir);
        QStringList asked;
        const PageCopyResult result = copyPageFiles(
            pageCopyPlan(path(u"0100_a.html"_s), path(u"../other/0100_a.html"_s), true, resolver),
            [&](const QString &to) { return asked << QFileInfo(to).fileName(), to.endsWith(u".html"_s); },
            [](const QString &from, const QString &dest) { return QFile::remove(dest) && QFile::copy(from, dest); });
        QCOMPARE(asked, (QStringList{u"0100_a.html"_s, u"pict.jpg"_s}));
        QCOMPARE(read(u"../other/pict.jpg"_s), QByteArray("other picture"));
        QCOMPARE(names(result.copied), QStringList{u"0100_a.html"_s});
    }

    void renamingNumbersPerExtensionAndFixesWholeNames()
    {
        for (const QString &name : {u"a.jpg"_s, u"b.png"_s, u"c.gif"_s, u"d.gif"_s, u"pic0.jpg"_s, u"data.jpg"_s, u"ba.jpg"_s})
            write(name, "x");
        page(u"0100_p.html"_s, u"<TITLE>\"a.jpg\"T</TITLE><IMG src=\"a.jpg\"><IMG src=\"./A.JPG\"><IMG src=\"data.jpg\">"
                                "<IMG src=\"ba.jpg\"><IMG SRC='b.png'><IMG src=b.png width=3> a.jpg as text"_s);
        page(u"0200_q.html"_s, u"<IMG src=\"data.jpg\">"_s);
        // A Shift_JIS page follows c.gif in its own encoding; one that
        // round-trips in no encoding keeps d.gif where it is.
        write(u"0300_sj.html"_s, QByteArray("<IMG src=\"c.gif\">\x83\x65\x83\x58\x83\x67"));
        write(u"0400_bad.html"_s, QByteArray("<IMG src=\"d.gif\">\xFF"));
        const QByteArray untouched = read(u"0200_q.html"_s);
        const QByteArray legacy = read(u"0400_bad.html"_s);

        LinkResolver resolver(m_root, m_dir);
        const PictureRenameOutcome outcome = renamePictures(
            {path(u"a.jpg"_s), path(u"0200_q.html"_s), path(u"c.gif"_s), path(u"b.png"_s), path(u"d.gif"_s)}, u"pic"_s,
            resolver);
        QCOMPARE(outcome.failed, QString());
        QCOMPARE(outcome.renamed.size(), 3);
        QCOMPARE(outcome.renamed.at(0).second, path(u"pic1.jpg"_s));
        QCOMPARE(outcome.renamed.at(1).second, path(u"pic0.gif"_s));
        QCOMPARE(outcome.renamed.at(2).second, path(u"pic0.png"_s));
        QVERIFY(QFile::exists(path(u"pic1.jpg"_s)) && !QFile::exists(path(u"a.jpg"_s)));
        QVERIFY(read(u"0100_p.html"_s).startsWith("\xEF\xBB\xBF"));
        QCOMPARE(QString::fromUtf8(read(u"0100_p.html"_s).mid(3)),
                 u"<HTML><BODY><TITLE>\"pic1.jpg\"T</TITLE><IMG src=\"pic1.jpg\"><IMG src=\"./pic1.jpg\">"
                 "<IMG src=\"data.jpg\"><IMG src=\"ba.jpg\"><IMG SRC='pic0.png'><IMG src=pic0.png width=3> a.jpg as text"
                 "</BODY></HTML>\r\n"_s);
        QCOMPARE(read(u"0200_q.html"_s), untouched);
        QCOMPARE(read(u"0300_sj.html"_s), QByteArray("<IMG src=\"pic0.gif\">\x83\x65\x83\x58\x83\x67"));
        QCOMPARE(read(u"0400_bad.html"_s), legacy);
        QVERIFY(QFile::exists(path(u"d.gif"_s)));
        QCOMPARE(outcome.kept, QStringList{path(u"d.gif"_s)});
        QCOMPARE(outcome.pagesLeftAlone, QStringList{path(u"0400_bad.html"_s)});
        const PageNamesFile kept{path(u"0400_bad.html"_s), path(u"d.gif"_s), path(u"pic1.gif"_s)};
        QCOMPARE(outcome.keptNames, QList<PageNamesFile>{kept});
    }

    // A new name never closes the value it is written into.
    void renamedNamesStayInsideTheirValues_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("after");
        QTest::newRow("single quotes") << u"<IMG src='b.jpg'>"_s << u"it's.jpg"_s << u"<IMG src='it%27s.jpg'>"_s;
        QTest::newRow("double quotes")
            << u"<IMG src=\"b.jpg\">"_s << u"it's \"x\".jpg"_s << u"<IMG src=\"it's %22x%22.jpg\">"_s;
        QTest::newRow("the title's icon")
            << u"<TITLE>\"b.jpg\"T</TITLE>"_s << u"a\"b.jpg"_s << u"<TITLE>\"a%22b.jpg\"T</TITLE>"_s;
        QTest::newRow("no quotes")
            << u"<IMG src=b.jpg width=3>"_s << u"a b>'\".jpg"_s << u"<IMG src=a%20b%3E%27%22.jpg width=3>"_s;
        QTest::newRow("a percent sign beside an escape")
            << u"<IMG src='b.jpg'>"_s << u"5%'.jpg"_s << u"<IMG src='5%25%27.jpg'>"_s;
        QTest::newRow("a hash, read as a fragment") << u"<IMG src=\"b.jpg\">"_s << u"a#.jpg"_s << u"<IMG src=\"a%23.jpg\">"_s;
        QTest::newRow("a question mark, read as a query")
            << u"<IMG src=b.jpg>"_s << u"what?.jpg"_s << u"<IMG src=what%3F.jpg>"_s;
        QTest::newRow("a percent sign, read as an escape")
            << u"<IMG src=\"b.jpg#x\">"_s << u"100%41.jpg"_s << u"<IMG src=\"100%2541.jpg#x\">"_s;
        QTest::newRow("the title's icon is read as written")
            << u"<TITLE>\"b.jpg\"T</TITLE>"_s << u"p#0.jpg"_s << u"<TITLE>\"p#0.jpg\"T</TITLE>"_s;
    }
    void renamedNamesStayInsideTheirValues()
    {
        QFETCH(QString, text);
        QFETCH(QString, name);
        QFETCH(QString, after);
        const LinkResolver resolver(m_root, m_dir);
        const QHash<QString, QString> renamed{{resolver.key(path(u"b.jpg"_s)), name}};
        QCOMPARE(renameInPageText(text, m_dir, renamed, resolver), after);
    }

    // Pictures whose names differ only in case are each renamed in the pages that name them.
    void renamingPicturesThatDifferOnlyInCase()
    {
        for (const QString &name : {u"a.jpg"_s, u"A.jpg"_s})
            write(name, name.toUtf8());
        page(u"0100_p.html"_s, u"<IMG src=\"a.jpg\"><IMG src=\"A.jpg\"><IMG src=\"A.JPG\">"_s);
        LinkResolver resolver(m_root, m_dir);
        const PictureRenameOutcome outcome = renamePictures({path(u"a.jpg"_s), path(u"A.jpg"_s)}, u"pic"_s, resolver);
        QCOMPARE(outcome.renamed.size(), 2);
        QCOMPARE(read(u"pic0.jpg"_s), QByteArray("a.jpg"));
        QCOMPARE(read(u"pic1.jpg"_s), QByteArray("A.jpg"));
        // A spelling neither has names the picture a link finds for it.
        QCOMPARE(QString::fromUtf8(read(u"0100_p.html"_s).mid(3)),
                 u"<HTML><BODY><IMG src=\"pic0.jpg\"><IMG src=\"pic1.jpg\"><IMG src=\"pic1.jpg\"></BODY></HTML>\r\n"_s);
    }

    void fileNamesAreTheValuesTheBrowserReads_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("values"); // each led by the character before it: its quote, or "=" or a blank
        QTest::newRow("a name written by a script is text")
            << u"<SCRIPT>document.write('<IMG src=\"a.jpg\">')</SCRIPT><IMG src=\"b.jpg\">"_s << QStringList{u"\"b.jpg"_s};
        QTest::newRow("a script whose comment holds a script tag")
            << u"<SCRIPT>s=\"<!--<SCRIPT></SCRIPT>\"; t='<IMG src=\"a.jpg\">'</SCRIPT><IMG src=b.jpg>"_s
            << QStringList{u"=b.jpg"_s};
        QTest::newRow("comments and <!-->") << u"<!-- <IMG src=\"a.jpg\"> --><!--><IMG SRC='b.jpg'>-->"_s
                                            << QStringList{u"'b.jpg"_s};
        QTest::newRow("a name inside another attribute's value")
            << u"<IMG alt=\"x src=a.jpg\" src=\"b.jpg\" lowsrc=c.jpg>"_s << QStringList{u"\"b.jpg"_s};
        QTest::newRow("a title icon only in a real title")
            << u"<SCRIPT>t='<TITLE>\"a.gif\"'</SCRIPT><TITLE>\"b.gif\"T</TITLE>"_s << QStringList{u"\"b.gif"_s};
        QTest::newRow("Japanese and beyond the BMP")
            << u"<TITLE>\"𠮷.gif\"題</TITLE><BODY background=背景.jpg><A href = \"😀.html\">😀</A>"_s
            << QStringList{u"\"𠮷.gif"_s, u"=背景.jpg"_s, u"\"😀.html"_s};
        QTest::newRow("after a NOSCRIPT tag") << u"<NOSCRIPT><IMG src=a.jpg></NOSCRIPT><IMG src=b.jpg>"_s
                                              << QStringList{u"=a.jpg"_s, u"=b.jpg"_s};
    }
    void fileNamesAreTheValuesTheBrowserReads()
    {
        QFETCH(QString, text);
        QStringList values;
        for (const QuotedValue &value : fileNameValues(text)) {
            QCOMPARE(text.mid(value.start, value.length), value.text);
            values << text.at(value.start - 1) + value.text;
        }
        QTEST(values, "values");
    }

    void picturePrefixAndTest_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("picture");
        QTest::newRow("jpeg") << u"/w/a.JPEG"_s << true;
        QTest::newRow("gif") << u"/w/a.gif"_s << true;
        QTest::newRow("fragment") << u"/w/a.jp"_s << true;
        QTest::newRow("none") << u"/w/a"_s << false;
        QTest::newRow("bmp") << u"/w/a.bmp"_s << false;
    }
    void picturePrefixAndTest()
    {
        QFETCH(QString, name);
        QFETCH(bool, picture);
        QCOMPARE(isPictureName(name), picture);
        QCOMPARE(picturePrefix(u"  ../x/ pic "_s), u"pic"_s);
    }
};

QTEST_GUILESS_MAIN(FolderToolsTest)
#include "tst_foldertools.moc"
