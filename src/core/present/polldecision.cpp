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

PollDecision::Viewer decideViewer(const PollInputs &in)
{
    if (!in.targetExists)
        return in.viewerShown ? PollDecision::Viewer::Close : PollDecision::Viewer::None;
    if (!in.viewerShown)
        return PollDecision::Viewer::Open;
    if (in.viewerTarget != in.target)
        return PollDecision::Viewer::Retarget;
    if (!in.targetStamp.isEmpty() && in.targetStamp != in.viewerStamp)
        return PollDecision::Viewer::Reload;
    return PollDecision::Viewer::None;
}

PollDecision decidePoll(const PollInputs &in)
{
    PollDecision out;
    out.watchedStamp = in.watchedStamp;
    out.fileCountSeen = in.fileCountSeen;
    out.viewer = decideViewer(in);

    // While a file is presented the viewer is all a tick looks after.
    if (in.targetExists)
        return out;

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
