// Reads the titles of one folder level as the main window does when it opens
// the folder, and prints the seconds it took: bench_titles FOLDER
#include "core/app/rootpath.h"
#include "core/navigation/navigator.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (app.arguments().size() < 2)
        return 2;
    Navigator nav;
    nav.setProgramPath(QCoreApplication::applicationFilePath());
    // The folder is the data root, so that every title is read with its check.
    nav.HomeDir = app.arguments().at(1);
    setDataRoot(nav.HomeDir);
    nav.OpenFolderLevel(nav.HomeDir, 0, true);
    QElapsedTimer clock;
    clock.start();
    nav.LoadPageTitles();
    std::printf("%.6f\n", double(clock.nsecsElapsed()) / 1e9);
    return nav.PBanSu() > 0 ? 0 : 1;
}
