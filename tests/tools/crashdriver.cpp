// Runs one of the program's writers on a folder over and over, each time with new
// content, until it is killed. The crash test kills it at random moments and then
// checks what a reader of the folder would find. Every version carries its number at
// the start and at the end of its text, so a half-written file shows.
//   crashdriver <writer> <folder> [times [name]]
// With times it stops after that many writes; name tells its writes from another
// driver's on the same file.
#include "core/app/wholefile.h"
#include "core/commands/scriptvariables.h"
#include "core/editor/pagenote.h"
#include "core/forms/answercsv.h"
#include "core/forms/pagepost.h"
#include "core/navigation/pagelist.h"
#include "core/navigation/pathtext.h"
#include "core/tools/folderrename.h"
#include "core/tools/ordernumbers.h"
#include "core/tools/pagecopy.h"
#include "core/navigation/pagetitle.h"
#include "core/pages/pagefile.h"
#include "core/pages/templates.h"
#include "core/present/marker.h"
#include "crashwriters.h"
#include "platform/atomiccopy.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStringEncoder>

#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

// Renames in folder as the window does: the folder's lock, what a stopped
// rename left finished, then the plan made and carried out: the folder's own
// files and pages, then the pages of the rest of the root.
void renameAsTheWindowDoes(const QString &root, const QString &folder, Companions companions,
                           const std::function<QList<PageMove>()> &plan)
{
    FolderRenameLock lock(folder);
    if (!lock.acquire(60000) || settleStoppedRename(folder, root, nullptr, lock.ticker()) != SettleState::Settled)
        std::exit(4);
    FolderRename rename(folder, root, companions);
    rename.renameFolder(plan(), false, lock.ticker());
    rename.finishRest(lock.ticker());
}

// Renames the folder's pages to name(100), name(101), ... with their notes.
void renumber(const QString &dir, const QString &name)
{
    renameAsTheWindowDoes(dir, dir, Companion::Note, [&] {
        const QStringList pages = QDir(dir).entryList({u"*.html"_s}, QDir::Files, QDir::Name);
        FolderNames names(FolderNames::list(dir), Companion::Note);
        NumberedRename rename;
        rename.name = name;
        rename.last = int(pages.size()) - 1;
        return planNumbered(pages, rename, names);
    });
}

// The folder "A" of root whose pages and pictures the reorders rotate.
void makeReorderedFolder(const QString &root)
{
    using namespace CrashWriters;
    const QString a = root + u"/A/"_s;
    QDir().mkpath(a + u"sub"_s);
    for (int k = 0; k < ReorderedPages; ++k) {
        const QString id = QString::number(k);
        const int next = (k + 1) % ReorderedPages;
        writePageFile(a + reorderedName(k),
                      u"ID:P"_s + id + u"\n<A "_s + namedLink(u"href"_s, reorderedName(next), u"P"_s + QString::number(next))
                          + u">次</A><IMG "_s + namedLink(u"src"_s, reorderedName(ReorderedPages + k), u"C"_s + id) + u">\n"_s);
        writeNoteFile(a + pathWithoutExtension(reorderedName(k)) + u".%xt"_s, u"ID:P"_s + id + u"-note"_s);
        writeWholeFile(a + reorderedName(ReorderedPages + k), "ID:C" + id.toUtf8());
    }
    writePageFile(root + u"/index.html"_s,
                  u"<A "_s + namedLink(u"href"_s, u"A/"_s + reorderedName(0), u"P0"_s) + u">A</A><IMG "_s
                      + namedLink(u"src"_s, u"A/"_s + reorderedName(ReorderedPages), u"C0"_s) + u">\n"_s);
    writePageFile(a + u"sub/s.html"_s,
                  u"<A "_s + namedLink(u"href"_s, u"../"_s + reorderedName(5), u"P5"_s) + u">A</A><IMG "_s
                      + namedLink(u"src"_s, u"../"_s + reorderedName(ReorderedPages + 5), u"C5"_s) + u">\n"_s);
}

// Turns the pages round by one (the last to the first place), or the pictures.
void reorder(const QString &root, bool pages)
{
    const QString a = root + u"/A"_s;
    renameAsTheWindowDoes(root, a, ReorderCompanions, [&] {
        const QStringList entries = pageListOrder(listPageFiles(a), u"kavuno"_s);
        const int last = pages ? CrashWriters::ReorderedPages - 1 : int(entries.size()) - 1;
        return planReorder(entries, last, pages ? 0 : CrashWriters::ReorderedPages).moves;
    });
}

void writeOnce(const QString &writer, const QString &dir, int version, const QString &id)
{
    using namespace CrashWriters;
    const QString body = versionedText(version);
    if (writer == u"answer") {
        appendAnswer(dir + u'/' + AnswerCsvName, answerFor(id, version), 60000);
    } else if (writer == u"post") {
        if (!QFile::exists(dir + u'/' + PostPageName))
            writePageFile(dir + u'/' + PostPageName, postPage());
        postToPage(dir + u'/' + PostPageName, u"12月7日"_s, id, postMessage(id, version), 60000);
    } else if (writer == u"pagecopy") {
        if (!QFile::exists(dir + u'/' + CopySourceName))
            writeWholeFile(dir + u'/' + CopySourceName, copySource());
        QDir().mkpath(dir + u"/copy"_s);
        QList<PageCopyItem> plan;
        for (const QString &name : {CopySourceName, PageName, NoteName}) {
            if (name != CopySourceName && !QFile::exists(dir + u'/' + name))
                writeWholeFile(dir + u'/' + name, versionedText(1).toUtf8());
            plan.append({dir + u'/' + name, dir + u"/copy/"_s + name});
        }
        copyPageFiles(plan, [](const QString &) { return true; },
                      [](const QString &from, const QString &to) { return copyFileAtomically(from, to, true); });
    } else if (writer == u"rename") {
        if (!QFile::exists(dir + u"/started"_s)) {
            for (int page = 1; page <= RenamedPages; ++page) {
                writePageFile(dir + QStringLiteral("/%1.html").arg(page), versionedText(page));
                writeNoteFile(dir + QStringLiteral("/%1.%xt").arg(page), versionedText(page));
            }
            writeWholeFile(dir + u"/started"_s, {});
        }
        renumber(dir, version % 2 ? u"page"_s : u"頁"_s);
    } else if (writer == u"reorder") {
        if (!QFile::exists(dir + u"/started"_s)) {
            makeReorderedFolder(dir);
            writeWholeFile(dir + u"/started"_s, {});
        }
        reorder(dir, version % 2);
    } else if (writer == u"page") {
        writePageFile(dir + u'/' + PageName, body);
    } else if (writer == u"note") {
        writeNoteFile(dir + u'/' + NoteName, body);
    } else if (writer == u"variables") {
        setScriptVariable(dir + u'/' + VariablesName, u"count=+1"_s);
        setScriptVariable(dir + u'/' + VariablesName, u"text="_s + QString(body).replace(u'\n', u' '));
    } else if (writer == u"placeholder") {
        NEWHTMLSAVE(dir, body.simplified());
    } else if (writer == u"marker") {
        writePresentationMarker(dir, dir + u"/page"_s + QString::number(version % 7) + u".html"_s);
    } else if (writer == u"present") {
        // Presenting and stopping, as a copy's two buttons do.
        writePresentationMarker(dir, presentedPage(dir, version));
        QFile::remove(presentationMarkerPath(dir));
    } else if (writer == u"sjis") {
        QStringEncoder cp932("CP932");
        writeWholeFile(dir + u'/' + SjisName, cp932.encode(sjisPage(version)));
        readPageText(dir + u'/' + SjisName);
    } else if (writer == u"copy") {
        const QString source = dir + u'/' + CopySourceName;
        if (!QFile::exists(source))
            writeWholeFile(source, copySource());
        copyFileAtomically(source, dir + u'/' + CopyTargetName, true);
    } else {
        std::fprintf(stderr, "unknown writer\n");
        std::exit(2);
    }
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc < 3)
        return 2;
    const QString writer = QString::fromLocal8Bit(argv[1]);
    const QString dir = QString::fromLocal8Bit(argv[2]);
    const int times = argc > 3 ? QString::fromLocal8Bit(argv[3]).toInt() : 0;
    const QString id = argc > 4 ? QString::fromLocal8Bit(argv[4]) : u"A"_s;
    for (int version = 1; times == 0 || version <= times; ++version) {
        writeOnce(writer, dir, version, id);
        if (version == 1) {
            std::printf("ready\n");
            std::fflush(stdout);
        }
    }
    return 0;
}
