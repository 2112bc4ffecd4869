// Times one reorder of a small folder inside a data root: bench_rename ROOT
// Makes ROOT/zz_rename with three pages that name each other, moves the last to
// the front (the data root's pages are looked through for the moved names),
// prints the seconds it took and removes the folder again.
#include "core/app/wholefile.h"
#include "core/tools/folderrename.h"
#include "core/tools/ordernumbers.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>

#include <cstdio>

using namespace Qt::StringLiterals;

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (app.arguments().size() < 2) {
        std::fprintf(stderr, "usage: bench_rename ROOT\n");
        return 2;
    }
    const QString root = app.arguments().at(1);
    const QString folder = root + u"/zz_rename"_s;
    QDir(folder).removeRecursively();
    QDir().mkpath(folder);
    const QStringList names{u"1010_a.html"_s, u"1020_b.html"_s, u"1030_c.html"_s};
    for (const QString &name : names)
        writeWholeFile(folder + u'/' + name, "<P><A href=\"1020_b.html\">b</A><A href=\"1030_c.html\">c</A></P>");
    QElapsedTimer timer;
    timer.start();
    const FolderRenameOutcome outcome = renameUsedFiles(folder, root, planReorder(names, 2, 0).moves, ReorderCompanions);
    std::printf("%.6f\n", timer.nsecsElapsed() / 1e9);
    QDir(folder).removeRecursively();
    return outcome.pagesNotWritten.isEmpty() ? 0 : 1;
}
