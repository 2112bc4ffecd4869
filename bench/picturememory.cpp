// Loads one page or picture in a browser view and prints the renderer's peak
// memory in KB, whether the renderer died, and each picture's size as the page
// sees it (0x0: not fetched). The second argument: "bounded" shows it as the
// program does (its page, the browser's decoding bound), "flag" in a bare view
// with the decoding bound only; else a bare view.
#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QTimer>
#include <QUrl>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineView>

#include "ui/app/browserflags.h"
#include "ui/commands/commandpage.h"

#include <cstdio>

namespace {

qint64 statusKb(qint64 pid, const char *field)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (pid <= 0 || !status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(field))
            return line.mid(qstrlen(field)).trimmed().split(' ').value(0).toLongLong();
    }
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    const bool bounded = argc > 2 && qstrcmp(argv[2], "bounded") == 0;
    if (bounded || (argc > 2 && qstrcmp(argv[2], "flag") == 0))
        boundBrowserPictures();
    QApplication app(argc, argv);
    const int settleMs = qEnvironmentVariableIsSet("BENCH_SETTLE_MS") ? qEnvironmentVariableIntValue("BENCH_SETTLE_MS") : 5000;
    QWebEngineView view;
    if (bounded)
        view.setPage(new CommandPage(QWebEngineProfile::defaultProfile(), {}, &view));
    QWebEnginePage *page = view.page();
    qint64 peak = 0;
    bool died = false;
    QTimer sample;
    QObject::connect(&sample, &QTimer::timeout, [&] {
        const qint64 pid = page->renderProcessPid();
        peak = std::max({peak, statusKb(pid, "VmHWM:"), statusKb(pid, "VmRSS:")});
    });
    sample.start(20);
    const auto finish = [&] {
        sample.stop();
        page->runJavaScript(QStringLiteral("Array.from(document.images).map(function (i) {"
                                           " return i.naturalWidth + 'x' + i.naturalHeight; }).join(' ')"),
                            [&](const QVariant &pictures) {
                                std::printf("%lld %d %s\n", peak, died ? 1 : 0, qPrintable(pictures.toString()));
                                std::fflush(stdout);
                                app.quit();
                            });
    };
    QObject::connect(page, &QWebEnginePage::renderProcessTerminated, [&](QWebEnginePage::RenderProcessTerminationStatus) {
        died = true;
        std::printf("%lld 1 -\n", peak);
        std::fflush(stdout);
        std::_Exit(0);
    });
    QObject::connect(&view, &QWebEngineView::loadFinished, [&](bool) { QTimer::singleShot(settleMs, finish); });
    view.resize(1265, 742);
    view.show();
    view.setUrl(QUrl::fromLocalFile(QFileInfo(app.arguments().value(1)).absoluteFilePath()));
    return app.exec();
}
