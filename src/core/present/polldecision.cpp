#include "core/present/polldecision.h"

#include "core/navigation/pageopening.h"
#include "core/navigation/pathtext.h"

using namespace Qt::StringLiterals;

QString entryNameWithoutExtension(const QString &entry)
{
    return pathWithoutExtension(fileNameOf(entry));
}

static bool isWebPage(const QString &path)
{
    const QString extension = pageExtension(path);
    return extension == ".htm"_L1 || extension == ".html"_L1;
}

PollDecision decidePoll(const PollInputs &in)
{
    PollDecision out;
    out.watchedStamp = in.watchedStamp;
    out.fileCountSeen = in.fileCountSeen;

    // While a file is presented the viewer is all a tick looks after.
    if (in.targetExists) {
        if (!in.viewerShown)
            out.viewer = PollDecision::Viewer::Open;
        else if (in.viewerTarget != in.target)
            out.viewer = PollDecision::Viewer::Retarget;
        else if (!in.targetStamp.isEmpty() && in.targetStamp != in.viewerStamp)
            out.viewer = PollDecision::Viewer::Reload;
        return out;
    }
    if (in.viewerShown)
        out.viewer = PollDecision::Viewer::Close;

    if (!in.pageStamp.isEmpty() && in.pagePath == in.watchedPath && in.pageStamp != in.watchedStamp) {
        out.page = isWebPage(in.pagePath) ? PollDecision::Page::Refresh : PollDecision::Page::Reopen;
        out.watchedStamp = in.pageStamp;
    }

    if (in.fileCount != in.fileCountSeen) {
        out.fileCountSeen = in.fileCount;
        if (in.pageIndex <= 0) {
            out.level = PollDecision::Level::Reread;
        } else {
            out.level = PollDecision::Level::RereadAndFind;
            out.findName = entryNameWithoutExtension(in.pageEntry);
        }
    }
    return out;
}
