// Time and peak memory of one read of a page's tags (readMarkup, as posts, keyword
// links, renames and the editor read a page) against the page's size, on pages
// that make an HTML5 tree builder work hard, and on an ordinary 1 MB page as the
// baseline. Each page is read in a child process of its own, so that its peak is
// its own and a read that runs away is stopped (BENCH_SECONDS, 60; BENCH_MEMORY_MB,
// 8192): bench_markup [page ...]
#include "core/pages/markupscan.h"

#include <QElapsedTimer>
#include <QString>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

struct Page
{
    const char *name;
    std::function<QString()> make;
};

QString page(const QString &body)
{
    return u"<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">\r\n<HTML><HEAD><TITLE>bench</TITLE></HEAD><BODY>\r\n"_s
        + body + u"\r\n</BODY></HTML>\r\n"_s;
}

// N unclosed formatting elements in a paragraph, then N blocks: each block holds a
// copy of every one of them.
QString unclosedThenBlocks(int n, int blocks)
{
    QString body = u"<P>Start real</P><p>"_s;
    for (int i = 0; i < n; ++i)
        body += u"<b id=%1>"_s.arg(i);
    body += u"</p>"_s;
    for (int i = 0; i < blocks; ++i)
        body += u"<div>x</div>"_s;
    return page(body);
}

QString fonts()
{
    QString body = u"<P>"_s;
    for (int i = 0; i < 20000; ++i)
        body += u"<FONT color=\"#%1\">a "_s.arg(i * 97, 6, 16, QChar(u'0'));
    return page(body + u"</P>"_s);
}

QString nested(const QString &open, int n, bool numbered)
{
    QString body;
    for (int i = 0; i < n; ++i)
        body += numbered ? open.arg(i) : open;
    return page(body + u"x"_s);
}

QString openThenText(int open, int textBytes)
{
    QString body = u"<P>"_s;
    for (int i = 0; i < open; ++i)
        body += u"<B id=%1>"_s.arg(i);
    return page(body + QString(textBytes, u'a') + u"</P>"_s);
}

QString manyAttributes(int n)
{
    QString tag = u"<P"_s;
    for (int i = 0; i < n; ++i)
        tag += u" a%1"_s.arg(i);
    return page(tag + u">x</P>"_s);
}

// Paragraphs of Japanese text with a link, a picture and a small table now and then.
QString ordinary()
{
    const QString words = u"日本語の文章です。先生が書いたページの本文、"_s.repeated(16);
    QString body;
    qsizetype bytes = 0;
    for (int i = 0; bytes < (1 << 20) - 2000; ++i) {
        QString block = u"<P>"_s + words + u"<A href=\"page%1.html\">次へ</A></P>\r\n"_s.arg(i);
        if (i % 10 == 0)
            block += u"<TABLE border=\"1\"><TR><TD>%1</TD><TD><IMG src=\"pic%1.jpg\"></TD></TR></TABLE>\r\n"_s.arg(i);
        bytes += block.toUtf8().size();
        body += block;
    }
    return page(body);
}

// Paragraphs each opening a FONT tag never closed, in twelve colours and sizes, as
// old editors write them: each paragraph nests in the one before.
QString openFonts(int paragraphs)
{
    static const char *const colours[] = {"#FF0000", "#0000FF", "#008000", "#800080"};
    QString body;
    for (int i = 0; i < paragraphs; ++i)
        body += u"<P><FONT color=\"%1\" size=\"%2\">"_s.arg(QLatin1StringView(colours[i % 4])).arg(2 + i % 3)
            + u"今日の授業では教科書の三十二ページから始めます。宿題は明日までに出してください。"_s + u"</P>\r\n"_s;
    return page(body);
}

// Nested DIVs, then end tags that close nothing.
QString strayEndTags(int divs, int stray)
{
    return page(u"<DIV>"_s.repeated(divs) + u"x"_s + u"</span>"_s.repeated(stray));
}

// A long attribute name, then one name repeated: each repeat is checked against it.
QString repeatedNames()
{
    return page(u"<P "_s + QString(100000, u'a') + u" b"_s.repeated(100000) + u">x</P>"_s);
}

const Page Pages[] = {
    {"ordinary", ordinary},
    {"unclosed-1000", [] { return unclosedThenBlocks(1000, 1000); }},
    {"unclosed-2000", [] { return unclosedThenBlocks(2000, 2000); }},
    {"unclosed-3000", [] { return unclosedThenBlocks(3000, 3000); }},
    {"unclosed-200x12000", [] { return unclosedThenBlocks(200, 12000); }},
    {"font-20000", fonts},
    {"div-24990", [] { return nested(u"<DIV>"_s, 24990, false); }},
    {"b-24000", [] { return nested(u"<B id=%1>"_s, 24000, true); }},
    {"b-2000-text", [] { return openThenText(2000, 1 << 20); }},
    {"b-250-text", [] { return openThenText(250, 1 << 20); }},
    {"attributes-50000", [] { return manyAttributes(50000); }},
    {"names-repeated", repeatedNames},
    {"fonts-3000", [] { return openFonts(3000); }},
    {"fonts-4000", [] { return openFonts(4000); }},
    {"stray-12x600", [] { return strayEndTags(12, 600); }},
    {"stray-4000x20000", [] { return strayEndTags(4000, 20000); }},
};

long statusKb(const char *field)
{
    FILE *status = std::fopen("/proc/self/status", "r");
    if (!status)
        return 0;
    char line[256];
    long kb = 0;
    const size_t length = std::strlen(field);
    while (std::fgets(line, sizeof line, status)) {
        if (std::strncmp(line, field, length) == 0)
            kb = std::atol(line + length + 1);
    }
    std::fclose(status);
    return kb;
}

// In the child: makes the page, reads it once, and writes "bytes seconds peakKB tags read".
[[noreturn]] void readOnce(const Page &p, int out)
{
    const QString text = p.make();
    const long before = statusKb("VmRSS");
    QElapsedTimer clock;
    clock.start();
    const Markup markup = readMarkup(text);
    const double seconds = double(clock.nsecsElapsed()) / 1e9;
    const long peak = statusKb("VmHWM") - before;
    const char *read = markup.overBudget ? "over-budget" : markup.complete ? "read" : "incomplete";
    dprintf(out, "%lld %.4f %ld %lld %s\n", qsizetype(text.toUtf8().size()), seconds, peak < 0 ? 0 : peak,
            qsizetype(markup.tags.size()), read);
    std::_Exit(0);
}

bool measure(const Page &p, long seconds, long memoryMb, char *result, size_t size)
{
    int fds[2];
    if (pipe(fds) != 0)
        return false;
    const pid_t child = fork();
    if (child == 0) {
        close(fds[0]);
        const rlimit memory{rlim_t(memoryMb) << 20, rlim_t(memoryMb) << 20};
        setrlimit(RLIMIT_AS, &memory);
        alarm(unsigned(seconds));
        readOnce(p, fds[1]);
    }
    close(fds[1]);
    const ssize_t got = read(fds[0], result, size - 1);
    close(fds[0]);
    int status = 0;
    waitpid(child, &status, 0);
    result[got > 0 ? got : 0] = 0;
    if (got > 0)
        return true;
    std::snprintf(result, size, WIFSIGNALED(status) && WTERMSIG(status) == SIGALRM ? "stopped after %ld s" : "died (memory over %ld MB?)",
                  WIFSIGNALED(status) && WTERMSIG(status) == SIGALRM ? seconds : memoryMb);
    return false;
}

} // namespace

int main(int argc, char *argv[])
{
    const long seconds = std::getenv("BENCH_SECONDS") ? std::atol(std::getenv("BENCH_SECONDS")) : 60;
    const long memoryMb = std::getenv("BENCH_MEMORY_MB") ? std::atol(std::getenv("BENCH_MEMORY_MB")) : 8192;
    std::printf("%-18s %10s %9s %11s %10s %9s %s\n", "page", "bytes", "seconds", "peak (KB)", "s/MB", "x ordinary", "read");
    double baseline = 0; // seconds per byte of the ordinary page
    for (const Page &p : Pages) {
        bool wanted = argc < 2;
        for (int i = 1; i < argc; ++i)
            wanted = wanted || std::strcmp(argv[i], p.name) == 0 || std::strcmp(p.name, "ordinary") == 0;
        if (!wanted)
            continue;
        char result[256];
        if (!measure(p, seconds, memoryMb, result, sizeof result)) {
            std::printf("%-18s %s\n", p.name, result);
            continue;
        }
        long long bytes = 0, tags = 0;
        double secs = 0;
        long peak = 0;
        char read[32] = {};
        if (std::sscanf(result, "%lld %lf %ld %lld %31s", &bytes, &secs, &peak, &tags, read) != 5 || bytes == 0)
            continue;
        const double perByte = secs / double(bytes);
        if (baseline == 0)
            baseline = perByte;
        std::printf("%-18s %10lld %9.4f %11ld %10.3f %9.1f %s (%lld tags)\n", p.name, bytes, secs, peak, perByte * 1048576,
                    baseline > 0 ? perByte / baseline : 0.0, read, tags);
        std::fflush(stdout);
    }
    return 0;
}
