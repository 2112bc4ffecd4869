#include "core/navigation/navigator.h"
#include "core/navigation/pagelist.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

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
