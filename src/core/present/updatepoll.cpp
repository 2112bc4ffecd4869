#include "core/present/updatepoll.h"

#include "core/present/presentstrings.h"
#include "core/present/stamp.h"

#include <QFile>
#include <QFileInfo>
#include <QTimer>

#include <exception>

UpdatePoll::UpdatePoll(QTimer &timer, PollHost &host, QObject *parent)
    : QObject(parent)
    , m_timer(timer)
    , m_host(host)
{
    connect(&m_timer, &QTimer::timeout, this, &UpdatePoll::tick);
}

void UpdatePoll::setViewer(PresentationViewer *viewer)
{
    m_viewer = viewer;
}

void UpdatePoll::start()
{
    m_mode = Mode::Running;
    m_timer.setInterval(firstInterval);
    m_timer.start();
}

void UpdatePoll::pausePoll()
{
    ++m_pauses;
    m_timer.stop();
    m_host.showPollLook(PollLooks::paused());
}

void UpdatePoll::resumePoll()
{
    // Only the end of the outermost pause restores; an end without a pause
    // restores as well.
    if (m_pauses > 0 && --m_pauses > 0)
        return;
    restore();
}

void UpdatePoll::holdUntilPageOpens()
{
    // The user's own switch-off outlasts the drawing.
    if (m_mode == Mode::Running)
        m_mode = Mode::Held;
    m_timer.stop();
    m_host.showPollLook(PollLooks::paused());
}

void UpdatePoll::pageOpened()
{
    if (m_mode != Mode::Held)
        return;
    m_mode = Mode::Running;
    if (m_pauses == 0 && !m_ticking)
        restore();
}

void UpdatePoll::restore()
{
    if (m_mode == Mode::Running)
        m_timer.start();
    else
        m_timer.stop();
    m_host.showPollLook(m_mode == Mode::Running ? PollLooks::resumed() : idleLook());
}

PollLook UpdatePoll::idleLook() const
{
    switch (m_mode) {
    case Mode::Running:
        return PollLooks::running();
    case Mode::SwitchedOff:
        return PollLooks::switchedOff();
    case Mode::Held:
        break;
    }
    return PollLooks::paused();
}

void UpdatePoll::present()
{
    PollPause pause(*this);
    const QString path = m_host.fileToPresent();
    // Nothing to present (a web page, a vanished file): an earlier marker stays.
    if (!path.isEmpty() && QFileInfo(path).isFile())
        writePresentationMarker(m_host.homeDir(), path);
    m_host.setStopEnabled(true);
}

void UpdatePoll::stopPresenting()
{
    PollPause pause(*this);
    const QString marker = presentationMarkerPath(m_host.homeDir());
    if (QFileInfo::exists(marker)) {
        QFile::remove(marker);
        m_host.presentationStopped();
    }
    m_host.setStopEnabled(false);
}

void UpdatePoll::toggle()
{
    if (m_mode == Mode::Running) {
        m_mode = Mode::SwitchedOff;
        m_host.showPollLook(PollLooks::switchedOff());
        m_timer.stop();
    } else {
        // Switched on by the user, also out of a drawing's hold; an open pause
        // starts it at its end.
        m_mode = Mode::Running;
        m_host.showPollLook(PollLooks::resumed());
        if (m_pauses == 0 && !m_ticking)
            m_timer.start();
    }
}

QString UpdatePoll::getFileStamp(const QString &path, const QString &fallback)
{
    const FileStamp stamp = readFileStamp(path);
    showLook(PollLooks::forStamp(stamp.state));
    return stamp.state == FileStamp::Read ? stamp.text : fallback;
}

void UpdatePoll::rememberPageStamp(const QString &url, const QString &fallback)
{
    m_watchedPath = m_host.localPath(url);
    m_watchedStamp = getFileStamp(m_watchedPath, fallback);
}

void UpdatePoll::tick()
{
    // A page opened during the tick's wait restarts the timer; its tick waits
    // for this one to end.
    if (m_ticking)
        return;
    m_ticking = true;
    m_timer.stop();
    showLook(PollLooks::paused());
    m_timer.setInterval(interval);

    // Whatever happens in the tick, the poll goes on, unless it was switched
    // off, held by a drawing or paused during the tick.
    struct TickEnd
    {
        UpdatePoll &poll;
        ~TickEnd()
        {
            poll.m_ticking = false;
            poll.m_pendingLook.reset();
            poll.m_timer.setInterval(interval);
            if (poll.m_mode == Mode::Running && poll.m_pauses == 0) {
                poll.m_timer.start();
                poll.m_host.showPollLook(PollLooks::running());
            } else {
                poll.m_timer.stop();
                poll.m_host.showPollLook(poll.m_pauses > 0 ? PollLooks::paused() : poll.idleLook());
            }
        }
    } end{*this};

    try {
        runTick();
    } catch (const std::exception &) {
        // A failed tick is retried at the next one.
    }
}

PollInputs UpdatePoll::presentedInputs(const MarkerRead &marker) const
{
    PollInputs in;
    if (marker.state == MarkerRead::Read && !marker.path.isEmpty()) {
        const QString home = m_host.homeDir();
        in.target = resolvePresentedPath(m_host.localPath(marker.path), home);
        const FileStamp stamp = readFileStamp(in.target);
        in.targetExists = stamp.state != FileStamp::Missing;
        in.targetStamp = stamp.text;
    }
    if (m_viewer) {
        in.viewerShown = m_viewer->isShown();
        in.viewerTarget = m_viewer->target();
        in.viewerStamp = m_viewerStamp;
    } else {
        in.targetExists = false;
    }
    return in;
}

void UpdatePoll::closeViewer(const MarkerRead &marker)
{
    m_viewer->closeViewer();
    // A marker this copy could not use stays for the others; the stop
    // button stays usable to end it.
    m_host.setStopEnabled(marker.state != MarkerRead::Absent);
}

void UpdatePoll::closeViewerNoLongerPresented()
{
    if (!m_viewer || !m_viewer->isShown())
        return;
    const MarkerRead marker = readPresentationMarker(m_host.homeDir());
    if (decideViewer(presentedInputs(marker)) == PollDecision::Viewer::Close)
        closeViewer(marker);
}

void UpdatePoll::runTick()
{
    const MarkerRead marker = readPresentationMarker(m_host.homeDir());
    PollInputs in = presentedInputs(marker);

    if (!in.targetExists) {
        in.pagePath = m_host.localPath(m_host.openPageAddress());
        in.watchedPath = m_watchedPath;
        in.watchedStamp = m_watchedStamp;
        in.pageStamp = getFileStamp(in.pagePath, m_watchedStamp);
        in.fileCount = m_host.listedFileCount();
        in.fileCountSeen = m_host.fileCountSeen();
        in.pageIndex = m_host.pageIndex();
        in.pageEntry = m_host.pageEntry();
    }

    const PollDecision d = decidePoll(in);

    switch (d.viewer) {
    case PollDecision::Viewer::None:
        break;
    case PollDecision::Viewer::Open:
        openViewer(in.target);
        m_viewerStamp = in.targetStamp;
        break;
    case PollDecision::Viewer::Retarget:
        m_host.setStopEnabled(true);
        m_viewer->showTarget(in.target);
        m_viewerStamp = in.targetStamp;
        break;
    case PollDecision::Viewer::Reload:
        m_viewer->reload();
        m_viewerStamp = in.targetStamp;
        break;
    case PollDecision::Viewer::Close:
        closeViewer(marker);
        break;
    }

    switch (d.page) {
    case PollDecision::Page::None:
        break;
    case PollDecision::Page::Refresh:
        m_host.refreshPage();
        break;
    case PollDecision::Page::Reopen:
        m_host.reopenPage();
        break;
    }
    m_watchedStamp = d.watchedStamp;

    if (d.level != PollDecision::Level::None) {
        m_host.setFileCountSeen(d.fileCountSeen);
        m_host.rereadLevel();
        if (d.level == PollDecision::Level::RereadAndFind)
            m_host.goToPage(d.findName);
        m_host.reopenPage();
    }
}

void UpdatePoll::openViewer(const QString &target)
{
    m_host.setStopEnabled(true);
    m_viewer->showViewer();
    m_host.hidePicturePanel();
    const QString progressPage = m_host.writeProgressPage(PresentText::viewerOpening);
    if (!progressPage.isEmpty())
        m_viewer->showPage(progressPage);
    // The window is drawn during the wait: it shows the tick's look so far.
    if (m_pendingLook)
        m_host.showPollLook(*m_pendingLook);
    m_pendingLook.reset();
    m_host.waitOneTimerTick();
    m_viewer->showTarget(target);
}

// Within a tick only its last look can be seen (nothing is drawn before it
// ends), so a tick that changes nothing leaves the button as it was.
void UpdatePoll::showLook(const PollLook &look)
{
    if (m_ticking)
        m_pendingLook = look;
    else
        m_host.showPollLook(look);
}

void UpdatePoll::viewerClosedByUser()
{
    const QString home = m_host.homeDir();
    const MarkerRead marker = readPresentationMarker(home);
    // Another page presented meanwhile goes on; the stop button can end it.
    const bool another = marker.state == MarkerRead::Read && m_viewer
                         && resolvePresentedPath(m_host.localPath(marker.path), home) != m_viewer->target();
    if (marker.state != MarkerRead::Absent && !another)
        QFile::remove(presentationMarkerPath(home));
    m_host.setStopEnabled(another);
}
