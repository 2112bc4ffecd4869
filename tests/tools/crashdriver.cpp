// Runs one of the program's writers on a folder over and over, each time with new
// content, until it is killed. The crash test kills it at random moments and then
// checks what a reader of the folder would find. Every version carries its number at
// the start and at the end of its text, so a half-written file shows.
//   crashdriver <writer> <folder>
#include "core/app/wholefile.h"
#include "core/commands/scriptvariables.h"
#include "core/editor/pagenote.h"
#include "core/navigation/pagetitle.h"
#include "core/pages/pagefile.h"
#include "core/pages/templates.h"
#include "core/present/marker.h"
#include "crashwriters.h"
#include "platform/atomiccopy.h"

#include <QCoreApplication>
#include <QFile>
#include <QStringEncoder>

#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

void writeOnce(const QString &writer, const QString &dir, int version)
{
    using namespace CrashWriters;
    const QString body = versionedText(version);
    if (writer == u"page") {
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
    if (argc != 3)
        return 2;
    const QString writer = QString::fromLocal8Bit(argv[1]);
    const QString dir = QString::fromLocal8Bit(argv[2]);
    for (int version = 1;; ++version) {
        writeOnce(writer, dir, version);
        if (version == 1) {
            std::printf("ready\n");
            std::fflush(stdout);
        }
    }
}
