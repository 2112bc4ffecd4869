// Command lines of web pages, run against a small data root and a host that only
// records: whatever their spelling they never reach anything that writes, downloads
// or starts, and they leave the data root as it was. (Lines of local pages may write
// anywhere their author names, so they are not run here on random input.)
#include "core/commands/commandhost.h"
#include "core/commands/commandinterpreter.h"
#include "core/navigation/navigator.h"
#include "core/navigation/navigatorhost.h"
#include "fuzzinput.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>

#include <cstdlib>

namespace {

class RecordingHost : public NavigatorHost, public CommandHost
{
public:
    Navigator *nav = nullptr;

    void PageClick() override { nav->CommandCounter = 0; }
    void RecordSound(const QString &) override { forbidden(); }
    void startPaint(const QString &) override { forbidden(); }
    FetchResult download(const QString &, const QString &, const std::function<void(qint64)> &) override
    {
        forbidden();
    }
    bool copyFile(const QString &, const QString &) override { forbidden(); }
    bool runProgram(const ProgramCall &) override { forbidden(); }
    bool moveToTrash(const QString &) override { forbidden(); }

private:
    [[noreturn]] void forbidden() const { std::abort(); }
};

int fileCount(const QString &root)
{
    int count = 0;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        ++count;
    }
    return count;
}

QString dataRoot()
{
    static QTemporaryDir dir;
    static const QString root = [] {
        const QString home = dir.filePath(QStringLiteral("notes_data"));
        for (const char *name : {"1010_a.html", "index.html", "unit1/1010_u.html", "unit1/1020_v.html"}) {
            const QString path = home + u'/' + QString::fromUtf8(name);
            QDir().mkpath(QFileInfo(path).absolutePath());
            QFile file(path);
            if (file.open(QIODevice::WriteOnly))
                file.write("<HTML><HEAD><TITLE>t</TITLE></HEAD><BODY></BODY></HTML>");
        }
        return home;
    }();
    return root;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString home = dataRoot();
    static const int filesBefore = fileCount(home);
    RecordingHost host;
    Navigator nav(&host);
    host.nav = &nav;
    nav.HomeDir = home;
    nav.CurDir = home;
    nav.OpenFolderLevel(home, 0, true);
    CommandInterpreter commands(nav, host);
    const QString address = QStringLiteral("http://example.invalid/") + fuzzText(data, size);
    commands.runAddress(address, CommandOrigin::WebPage);
    if (fileCount(home) != filesBefore)
        std::abort();
    return 0;
}
