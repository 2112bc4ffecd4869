// Times opening the editor on large pages: the page read into the fields
// (the core's reader) and the editor window shown on it, as the launcher does.
// Prints seconds per page, against one read of the page's tags (the reference:
// the editor reads them once). Then the time to refuse, as opening and a reload
// do, the pages the fields cannot hold. Run from the build folder with
// QT_QPA_PLATFORM=offscreen; arguments pick pages by number (1 to 4), all without.
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QPlainTextEdit>
#include <QTemporaryDir>

#include "core/editor/fieldsread.h"
#include "core/editor/pagereader.h"
#include "core/pages/markupscan.h"
#include "core/pages/pagefile.h"
#include "ui/editor/editorwidgets.h"
#include "ui/editor/tform2.h"

#include <cstdio>

namespace {

QString pageWithNote(const QString &note)
{
    return QStringLiteral("<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">\r\n<HTML>\r\n<HEAD>\r\n"
                          "<META NAME=\"author\" CONTENT=\"Kavuno_TEXT_B4\">\r\n<TITLE>bench</TITLE></HEAD>\r\n<BODY>"
                          "<!--NOTE_IN-->")
        + note + QStringLiteral("<!--NOTE_OUT--></BODY>\r\n</HTML>\r\n");
}

// A page as a teacher writes it: a heading and about 1 MB of text lines.
QString ordinaryPage()
{
    QString text;
    qsizetype bytes = 0;
    for (int line = 0; bytes < 1000000; ++line) {
        const QString row = QStringLiteral("%1行目: 今日は光の実験をします。The quick brown fox jumps over the lazy dog.<BR>").arg(line);
        bytes += row.toUtf8().size();
        text += row;
    }
    return pageWithNote(QStringLiteral("<H1>見出し</H1><P></P><P>") + text + QStringLiteral("</P>"));
}

// 20,000 FONT start tags of distinct colours, none closed (about 500 KB).
QString fontPage()
{
    QString note = QStringLiteral("<H1>h</H1><P></P><P>");
    for (int i = 0; i < 20000; ++i)
        note += QStringLiteral("<FONT color=\"#%1\">word ").arg(i, 6, 16, QLatin1Char('0'));
    return pageWithNote(note + QStringLiteral("</P>"));
}

// 24,000 nested B elements with an id each.
QString nestedPage()
{
    QString note = QStringLiteral("<H1>h</H1><P></P><P>");
    for (int i = 0; i < 24000; ++i)
        note += QStringLiteral("<B id=\"%1\">").arg(i);
    return pageWithNote(note + QStringLiteral("x</P>"));
}

// 3,000 paragraphs, each opening a FONT never closed (old editors): each nests in the one before.
QString openFontsPage()
{
    QString note = QStringLiteral("<H1>h</H1><P></P><P>x</P>");
    for (int i = 0; i < 3000; ++i)
        note += QStringLiteral("<P><FONT color=\"#%1\" size=\"%2\">今日の授業は教科書の三十二ページから始めます。</P>\r\n")
                    .arg(i % 4 * 0x3F0000, 6, 16, QLatin1Char('0'))
                    .arg(2 + i % 3);
    return pageWithNote(note);
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const std::pair<const char *, QString> pages[] = {
        {"ordinary 1 MB", ordinaryPage()}, {"20,000 FONT", fontPage()}, {"24,000 nested B", nestedPage()},
        {"3,000 open FONT", openFontsPage()}};
    std::printf("%-18s %8s %8s %8s %10s\n", "page", "KB", "tags s", "read s", "window s");
    for (int n = 1; n <= 4; ++n) {
        if (argc > 1 && !QCoreApplication::arguments().contains(QString::number(n)))
            continue;
        const auto &[name, text] = pages[n - 1];
        const QString path = dir.filePath(QStringLiteral("page.html"));
        writePageFile(path, text);
        const QString read = readPageFile(path).text;

        QElapsedTimer timer;
        timer.start();
        const qsizetype tagCount = markupTags(read).size();
        const double tagSeconds = timer.nsecsElapsed() / 1e9;
        timer.restart();
        const PageModel model = LoadPageToFields(read, path);
        const double readSeconds = timer.nsecsElapsed() / 1e9;

        TForm2 form;
        timer.restart();
        form.setCaption(path);
        form.Memo82->setPlainText(widgetTextFromField(read));
        form.show();
        QCoreApplication::processEvents();
        const double windowSeconds = timer.nsecsElapsed() / 1e9;
        form.hide();
        std::printf("%-18s %8lld %8.3f %8.3f %10.3f\n", name, qint64(encodePage(read).size() / 1024), tagSeconds,
                    readSeconds, windowSeconds);
        Q_UNUSED(model);
        Q_UNUSED(tagCount);
    }

    // A peer's page of 60 MB, and a page whose text is one line of a million characters.
    const QString huge = dir.filePath(QStringLiteral("huge.html"));
    writePageFile(huge, pageWithNote(QStringLiteral("<P></P><P>x</P>")));
    QFile::resize(huge, qint64(60) << 20);
    const QString line = dir.filePath(QStringLiteral("line.html"));
    writePageFile(line, pageWithNote(QStringLiteral("<P></P><P>") + QString(1000000, QChar(0x3042)) + QStringLiteral("</P>")));
    std::printf("\n%-18s %10s %s\n", "refused", "seconds", "why");
    for (const auto &[name, path] : {std::pair{"60 MB", huge}, std::pair{"1,000,000 in a line", line}}) {
        QElapsedTimer timer;
        timer.start();
        const PageForFields file = readPageForFields(path);
        const FieldsRefusal refusal = file.tooLarge ? FieldsRefusal::TooLarge : refusalForFields(file.page.text);
        std::printf("%-18s %10.3f %s\n", name, timer.nsecsElapsed() / 1e9, qPrintable(refusalReason(refusal)));
    }
    return 0;
}
