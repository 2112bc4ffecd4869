// The baseline: a bare browser view that loads one page. Prints the seconds from
// BENCH_T0 (nanoseconds since the epoch, taken by the caller before starting
// it) to the page loaded, then ends at once.
#include <QApplication>
#include <QDateTime>
#include <QUrl>
#include <QWebEngineView>

#include <cstdio>
#include <cstdlib>

int main(int argc, char *argv[])
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    QWebEngineView view;
    QObject::connect(&view, &QWebEngineView::loadFinished, [](bool) {
        const qint64 t0 = qEnvironmentVariable("BENCH_T0").toLongLong();
        const qint64 now = QDateTime::currentMSecsSinceEpoch() * 1000000;
        std::printf("%.6f\n", double(now - t0) / 1e9);
        std::fflush(stdout);
        std::_Exit(0);
    });
    view.resize(1265, 742);
    view.show();
    view.setUrl(QUrl::fromLocalFile(app.arguments().value(1)));
    return app.exec();
}
