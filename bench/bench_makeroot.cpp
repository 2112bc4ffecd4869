// Makes a folder of pages for the benchmarks: bench_makeroot FOLDER COUNT own|foreign
// Own pages follow the page model (byte-order mark, CR LF, a Japanese title
// with a second line and a hint); foreign pages are plain HTML from elsewhere.
#include "core/pages/pagefile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <cstdio>

using namespace Qt::StringLiterals;

static QString ownPage(int i)
{
    return u"<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">\n<HTML>\n<HEAD>\n"
           "<META NAME=\"author\" CONTENT=\"Kavuno_TEXT_B4\">\n"
           "<META http-equiv=\"Content-Type\" content=\"text/html; charset=UTF-8\">\n"
           "<META http-equiv=\"Content-Style-Type\" content=\"text/css\">\n"
           "<TITLE>第%1課#日報と練習?%1番目の頁</TITLE><!--STYLE_IN1-->\n"
           "<STYLE type=\"text/css\">\n<!--\nBODY{background-color:#fffff0;}\nH1{color:#003366;}\n-->\n</STYLE>\n"
           "<!--STYLE_OUT-->\n</HEAD>\n<BODY><!--HEDDA_IN-->\n<!--HEDDA_OUT--><!--NOTE_IN-->"
           "<H1 align=\"center\">第%1課</H1><P></P><P>%2</P>"
           "<P><A href=\"/$BACK\">前へ</A>　<A href=\"/$NEXT\">次へ</A></P><!--NOTE_OUT--><!--FOOTER_IN-->\n"
           "<!--FOOTER_OUT--></BODY>\n</HTML>\n"_s.arg(i)
        .arg(QString(u"今日の授業の記録です。"_s).repeated(60));
}

static QByteArray foreignPage(int i)
{
    return (u"<!DOCTYPE html>\n<html lang=\"ja\">\n<head>\n<meta charset=\"utf-8\">\n"
            "<meta name=\"viewport\" content=\"width=device-width\">\n<title>資料 %1</title>\n"
            "<style>body{font-family:sans-serif;margin:2em;}</style>\n</head>\n<body>\n<h1>資料 %1</h1>\n<p>%2</p>\n"
            "</body>\n</html>\n"_s.arg(i)
                .arg(QString(u"ウェブから保存した資料の本文です。"_s).repeated(200)))
        .toUtf8();
}

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 4) {
        std::fprintf(stderr, "usage: bench_makeroot FOLDER COUNT own|foreign\n");
        return 2;
    }
    const QString folder = args.at(1);
    const int count = args.at(2).toInt();
    const bool own = args.at(3) == "own"_L1;
    QDir().mkpath(folder);
    for (int i = 0; i < count; ++i) {
        const QString name = u"%1/%2_page%3.html"_s.arg(folder).arg(100000 + 10 * i).arg(i);
        QFile file(name);
        if (!file.open(QIODevice::WriteOnly))
            return 1;
        file.write(own ? encodePage(ownPage(i)) : foreignPage(i));
    }
    return 0;
}
