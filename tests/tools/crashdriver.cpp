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

// Renames the folder's pages to name(100), name(101), ... with their notes.
void renumber(const QString &dir, const QString &name)
{
    QStringList pages = QDir(dir).entryList({u"*.html"_s}, QDir::Files, QDir::Name);
    if (pages.isEmpty())
        return;
    restoreStrandedRenames(dir); // as the window does before each rename
    FolderNames names(FolderNames::list(dir), Companion::Note);
    NumberedRename rename;
    rename.name = name;
    rename.last = int(pages.size()) - 1;
    carryOutMoves(dir, planNumbered(pages, rename, names), Companion::Note);
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
