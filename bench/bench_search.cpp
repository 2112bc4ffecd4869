// The search window's full-text search over a large tree against grep -rlF
// over the same files, measured in the same run.
//   bench_search make <root> [pages]     writes a tree of pages
//   bench_search run <root> <word> [runs] prints "name ours baseline ratio" (medians, ms)
//   bench_search list <root>              walks the tree 20 times (for a profiler)
#include "core/search/pagetextcache.h"
#include "core/search/searchlisting.h"
#include "core/search/searchquery.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTextStream>

#include <algorithm>
#include <cstdio>

using namespace Qt::StringLiterals;

static int makeTree(const QString &root, int pages)
{
    const int perFolder = 100;
    for (int i = 0; i < pages; ++i) {
        const QString folder = u"%1/%2_unit%3"_s.arg(root).arg(1000 + 10 * (i / perFolder)).arg(i / perFolder);
        QDir().mkpath(folder);
        QString body;
        for (int p = 0; p < 12; ++p)
            body += u"<P>第%1課 段落%2: 日本の歴史と地理を学ぶ。Lesson text number %3 about rivers and mountains.</P>\r\n"_s
                        .arg(i)
                        .arg(p)
                        .arg(i * 12 + p);
        // One page in a hundred holds each search word in its text; as many
        // more hold it only inside a comment.
        if (i % 100 == 7)
            body += u"<P>光合成 photosynthesis</P>\r\n"_s;
        if (i % 100 == 42)
            body += u"<!-- 光合成 photosynthesis -->\r\n"_s;
        const QString text = u"<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">\r\n"
                             "<HTML><HEAD><META http-equiv=\"Content-Type\" content=\"text/html; charset=UTF-8\">\r\n"
                             "<TITLE>ページ%1#keyword%1/語%1?ヒント</TITLE></HEAD>\r\n<BODY>\r\n%2</BODY></HTML>\r\n"_s
                                 .arg(i)
                                 .arg(body);
        QFile file(u"%1/%2_page%3.html"_s.arg(folder).arg(1000 + 10 * (i % perFolder)).arg(i));
        if (!file.open(QIODevice::WriteOnly))
            return 1;
        file.write("\xEF\xBB\xBF" + text.toUtf8());
    }
    return 0;
}

static double median(QList<double> v)
{
    std::sort(v.begin(), v.end());
    return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

static qsizetype grepHits = -1;

static double timeGrep(const QString &root, const QString &word)
{
    QElapsedTimer t;
    t.start();
    QProcess grep;
    grep.start(u"grep"_s, {u"-rlF"_s, word, root});
    grep.waitForFinished(-1);
    const double ms = t.nsecsElapsed() / 1e6;
    grepHits = grep.readAllStandardOutput().count('\n');
    return ms;
}

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() >= 3 && args[1] == u"make"_s)
        return makeTree(args[2], args.size() > 3 ? args[3].toInt() : 10000);
    if (args.size() < 3 || (args[1] != u"list"_s && (args.size() < 4 || args[1] != u"run"_s))) {
        std::fprintf(stderr, "usage: bench_search make <root> [pages] | run <root> <word> [runs] | list <root>\n");
        return 2;
    }
    const QString root = QDir(args[2]).absolutePath() + u'/';
    if (args[1] == u"list"_s) { // for profiling the walk alone
        // One cache for every walk, as the window keeps one.
        PageTextCache texts;
        for (int r = 0; r < 20; ++r) {
            texts.reset(root);
            WalkCallbacks keep;
            texts.keepWhileWalking(keep);
            ZENBU(root, keep);
        }
        return 0;
    }
    const QString word = args[3];
    const int runs = std::max(5, args.size() > 4 ? args[4].toInt() : 7);

    QList<double> grep, listing, first, uncached, repeat;
    qsizetype hits = 0;
    for (int r = 0; r < runs; ++r) {
        // The folders watched in the last run leave a mark on each file that
        // the next reader of the file clears: an untimed pass clears them, so
        // that grep is timed as it runs alone.
        timeGrep(root, word);
        grep << timeGrep(root, word);

        // The first search of a session: the listing (walk and sort), which
        // keeps the pages it read, then the search.
        QElapsedTimer t;
        t.start();
        PageTextCache texts;
        texts.reset(root);
        WalkCallbacks keep;
        texts.keepWhileWalking(keep);
        SearchListing all = ZENBU(root, keep);
        SortResults(all, SearchOrder::ByTitle);
        listing << t.nsecsElapsed() / 1e6;
        hits = DoSearch(all, word, {root, SearchMode::FullText, {}, &texts, {}}).size();
        first << t.nsecsElapsed() / 1e6;

        // The same search once more: the kept texts, the changes noticed since.
        t.restart();
        DoSearch(all, word, {root, SearchMode::FullText, {}, &texts, {}});
        repeat << t.nsecsElapsed() / 1e6;

        // A search that reads every page itself (no kept texts).
        t.restart();
        DoSearch(all, word, {root, SearchMode::FullText, {}, nullptr, {}});
        uncached << t.nsecsElapsed() / 1e6;
    }
    const double base = median(grep);
    QTextStream out(stdout);
    out << "# " << word << ": " << hits << " hits (grep, comments included: " << grepHits << "), medians of " << runs
        << " runs, ms\n";
    const auto line = [&](const char *name, const QList<double> &ours) {
        out << name << ' ' << QString::number(median(ours), 'f', 1) << ' ' << QString::number(base, 'f', 1) << ' '
            << QString::number(median(ours) / base, 'f', 2) << '\n';
    };
    line("search_listing", listing);
    line("search_first", first);
    line("search_repeat", repeat);
    line("search_uncached", uncached);
    return 0;
}
