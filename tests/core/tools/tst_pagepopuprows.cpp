// The rows of the page menu for each kind of current page and folder.
#include "core/tools/pagepopuprows.h"

#include <QTest>

using namespace Qt::StringLiterals;

// The rows as one line: captions with their picture index, "-" for separators.
static QString rowsText(const PagePopupContent &content)
{
    QStringList parts;
    for (const PopupRow &row : content.rows) {
        if (row.action == PopupAction::Separator)
            parts << u"-"_s;
        else if (row.action == PopupAction::Shortcut)
            parts << row.caption + u"#"_s + QString::number(row.tag);
        else
            parts << row.caption + u":"_s + QString::number(row.image);
    }
    return parts.join(u'|');
}

class PagePopupRowsTest : public QObject
{
    Q_OBJECT
private slots:
    void rowsFollowTheCurrentPage_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QStringList>("folder");
        QTest::addColumn<bool>("help");
        QTest::addColumn<QString>("rows");

        const QString own = u"ページの編集:0|ページのコピー:13|ページに投稿:8|-|ボタン順変更:7|"
                            "ファイル名をPage(数)に変更:1|ページ削除:3|LINK切れ削除:2|-|LOOK自動リンク:9|"
                            "LOOKの削除:12|-|名前欄をつけて(　)印刷:4|名前欄をつけて(赤解)印刷:5|"
                            "サムネイルRESUMEを印刷:6|ページの印刷:11"_s;
        QTest::newRow("own page, help last") << u"0120_unit.html"_s << QStringList() << true
                                            << own + u"|ヘルプ:-1"_s;
        QTest::newRow("index page") << u"index.html"_s << QStringList() << false
                                    << QString(own).remove(u"ボタン順変更:7|ファイル名をPage(数)に変更:1|"_s);
        QTest::newRow("Index.htm is a document")
            << u"Index.htm"_s << QStringList() << false
            << u"登録アプリ でページの編集:0|ページのコピー:13|-|ページ削除:3|LINK切れ削除:2|-|"
               "サムネイルRESUMEを印刷:6|登録アプリ でページを印刷:11"_s;
        QTest::newRow("pdf in a pushed level")
            << u"sub\\1010_a.pdf"_s << QStringList() << false
            << u"登録アプリ でページの編集:0|ページのコピー:13|-|ボタン順変更:7|ファイル名をPage(数)に変更:1|"
               "ページ削除:3|LINK切れ削除:2|-|サムネイルRESUMEを印刷:6|登録アプリ でページを印刷:11"_s;
        QTest::newRow("web entry: shortcuts and help only")
            << u"https://example.org/a.html"_s << QStringList{u"a.html"_s, u"メモ帳.lnk"_s} << true
            << u"-|メモ帳.lnk#0|ヘルプ:-1"_s;
        QTest::newRow("hidden entry, nothing else: empty") << u"_XXX.html"_s << QStringList() << false << QString();
        QTest::newRow("shortcuts of either case and desktop entries")
            << u"a.html"_s << QStringList{u"a.html"_s, u"B.LNK"_s, u"c.lnk"_s, u"d.desktop"_s, u"e.lnk.txt"_s}
            << false << own + u"|-|B.LNK#0|c.lnk#1|d.desktop#2"_s;
        QTest::newRow("empty level") << QString() << QStringList{u"x.lnk"_s} << true << QString();
    }
    void rowsFollowTheCurrentPage()
    {
        QFETCH(QString, entry);
        QFETCH(QStringList, folder);
        QFETCH(bool, help);
        QFETCH(QString, rows);
        QCOMPARE(rowsText(pagePopupRows(entry, folder, help)), rows);
    }

    void applicationNamesByExtension_data()
    {
        QTest::addColumn<QString>("extension");
        QTest::addColumn<QString>("name");
        QTest::newRow("xls") << u".xls"_s << u"エクセル"_s;
        QTest::newRow("xlsx") << u".xlsx"_s << u"エクセル"_s;
        QTest::newRow("mht") << u".mht"_s << u"エクセル"_s;
        QTest::newRow("doc") << u".doc"_s << u"ワード"_s;
        QTest::newRow("docx") << u".docx"_s << u"ワード"_s;
        QTest::newRow("jtd") << u".jtd"_s << u"一太郎"_s;
        QTest::newRow("pdf") << u".pdf"_s << u"登録アプリ"_s;
        QTest::newRow("txt") << u".txt"_s << u"登録アプリ"_s;
    }
    void applicationNamesByExtension()
    {
        QFETCH(QString, extension);
        QFETCH(QString, name);
        QCOMPARE(applicationNameFor(extension), name);
    }
};

QTEST_GUILESS_MAIN(PagePopupRowsTest)
#include "tst_pagepopuprows.moc"
