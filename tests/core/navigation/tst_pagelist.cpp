#include "core/navigation/navigator.h"
#include "core/navigation/pagelist.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QScopeGuard>
#include <QTest>

#include <cstdio>
#include <unistd.h>

#include "core/navigation/testfiles.h"

using namespace Qt::StringLiterals;

class PageListTest : public QObject
{
    Q_OBJECT
private slots:
    void listsIndexPagesFirstAndLeavesOutCompanions()
    {
        QTemporaryDir dir;
        const QStringList files{u"index.html"_s, u"1020_b.html"_s, u"1010_a.html"_s, u"_XXX.html"_s,
                                u"index_old.html"_s, u"photo.JPG"_s, u"notes.html"_s, u"readme"_s,
                                u"plan.htm$"_s, u"Index.html"_s, u".hidden.html"_s, u"x.1"_s};
        for (const QString &name : files)
            QVERIFY(writeFixture(dir.filePath(name)));
        QDir(dir.path()).mkdir(u"sub.folder"_s);

        bool ok = false;
        const QStringList listed = listPageFiles(dir.path(), &ok);
        QVERIFY(ok);
        // readme, x.1 (no letter extension), the dot file and the folder are not pages.
        QCOMPARE(listed.size(), 9);
        QCOMPARE(pageListOrder(listed, u"notes"_s),
                 (QStringList{u"index.html"_s, u"1010_a.html"_s, u"1020_b.html"_s, u"Index.html"_s, u"photo.JPG"_s}));
    }

    void pageExtension_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("page");
        QTest::newRow("html") << u"a.html"_s << true;
        QTest::newRow("upper case") << u"a.PDF"_s << true;
        QTest::newRow("digit first") << u"a.7z"_s << false;
        QTest::newRow("none") << u"readme"_s << false;
        QTest::newRow("trailing dot") << u"a."_s << false;
        QTest::newRow("dollar after letter") << u"plan.htm$"_s << true;
        QTest::newRow("non-ascii letter") << u"a.日報"_s << false;
    }
    void pageExtension()
    {
        QFETCH(QString, name);
        QFETCH(bool, page);
        QCOMPARE(hasPageExtension(name), page);
    }

    void unreadableFolderGivesEmptyList()
    {
        bool ok = true;
        QVERIFY(listPageFiles(u"/nonexistent/kavuno/folder"_s, &ok).isEmpty());
        QVERIFY(!ok);
    }

    void plainFilesMatchPatternsWithoutRegardToCase()
    {
        QTemporaryDir dir;
        for (const QString &name : {u"b.JPG"_s, u"a.jpeg"_s, u"c.bmp"_s, u"d.html"_s})
            QVERIFY(writeFixture(dir.filePath(name)));
        QCOMPARE(listPlainFiles(dir.path(), {u"*.jpg"_s, u"*.jpeg"_s}), (QStringList{u"a.jpeg"_s, u"b.JPG"_s}));
    }

    void namesThatCannotBeOpenedByNameAreLeftOut_data()
    {
        QTest::addColumn<QByteArray>("raw"); // a name another system wrote
        QTest::newRow("Shift_JIS bytes") << QByteArray("1020_\x93\xfa\x95\xf1.html");
        QTest::newRow("a lone continuation byte") << QByteArray("1020_\x80.html");
        QTest::newRow("cut short") << QByteArray("1020_\xe3\x81.html");
        QTest::newRow("an encoded surrogate") << QByteArray("1020_\xed\xa0\x80.html");
    }
    void namesThatCannotBeOpenedByNameAreLeftOut()
    {
        QFETCH(QByteArray, raw);
        QTemporaryDir dir;
        QVERIFY(writeFixture(dir.filePath(u"1010_a.html"_s)));
        QVERIFY(writeFixture(dir.filePath(u"1030_\uFFFD.html"_s))); // the replacement character itself is a name
        const QByteArray path = QFile::encodeName(dir.path()) + '/' + raw;
        FILE *made = std::fopen(path.constData(), "w");
        QVERIFY(made);
        std::fclose(made);
        // The temporary folder cannot remove it by any name either.
        const auto removeOdd = qScopeGuard([&] { ::unlink(path.constData()); });

        const QStringList expected{u"1010_a.html"_s, u"1030_\uFFFD.html"_s};
        QCOMPARE(listPageFiles(dir.path()), expected);
        QCOMPARE(listPlainFiles(dir.path()), expected);
        QCOMPARE(listPlainFiles(dir.path(), {u"*.HTML"_s}), expected);
        QCOMPARE(countPageFiles(dir.path()), 2);
        for (const QString &name : expected)
            QVERIFY(QFileInfo::exists(dir.filePath(name)));
        QVERIFY2(::access(path.constData(), F_OK) == 0, "the odd page is left as it is");
    }

    void dataRootBesideProgram_data()
    {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QString>("root");
        QTest::newRow("with extension") << u"/apps/notes.exe"_s << u"/apps/notes"_s;
        QTest::newRow("without extension") << u"/srv/share/notes"_s << u"/srv/share/notes_data"_s;
    }
    void dataRootBesideProgram()
    {
        QFETCH(QString, program);
        QFETCH(QString, root);
        QCOMPARE(dataRootFor(program), root);
        Navigator navigator;
        navigator.setProgramPath(program);
        QCOMPARE(navigator.HomeDir, root);
        QCOMPARE(navigator.CurDir, root);
        QCOMPARE(navigator.ExeBaseName, u"notes"_s);
        QVERIFY(navigator.ExeDir.endsWith(u'/'));
    }
};

QTEST_APPLESS_MAIN(PageListTest)
#include "tst_pagelist.moc"
