#pragma once

#include "core/present/marker.h"
#include "core/present/pollcontrol.h"
#include "core/present/polldecision.h"
#include "core/present/pollhost.h"

#include <QObject>
#include <QString>

#include <optional>

class QTimer;

// The update poll: every tick it shows the file another copy presents in the
// viewer, refreshes the open page when its file changed and re-reads the level
// when the number of files changed. It also presents, stops presenting and
// switches itself off and on. Drives the main window's Timer5.
class UpdatePoll : public QObject, public PollControl
{
    Q_OBJECT
public:
    static constexpr int firstInterval = 1000;
    static constexpr int interval = 6000;

    UpdatePoll(QTimer &timer, PollHost &host, QObject *parent = nullptr);

    // The viewer may come later than the poll; without one nothing is shown.
    void setViewer(PresentationViewer *viewer);

    // Timer5 on with the first interval.
    void start();

    void pausePoll() override;
    void resumePoll() override;

    // A drawing is open: the poll stays off, whatever pauses end meanwhile,
    // until the next page opening, so that no reread takes the strokes away.
    void holdUntilPageOpens();
    // A page opens: a poll held by a drawing runs again (after the pauses
    // still open end). A poll the user switched off stays off.
    void pageOpened();

    // A drawing is about to start: a viewer whose presentation ended since
    // the last tick closes now, rather than stay on top to take the strokes
    // while the drawing holds the poll. A viewer still asked for stays.
    void closeViewerNoLongerPresented();

    // SpeedButton14: present the open page or drawing to every copy.
    void present();
    // SpeedButton13: end the presentation.
    void stopPresenting();
    // SpeedButton12: the user switches the poll off or on.
    void toggle();
    // One tick of Timer5.
    void tick();

    // TForm1.GetFileStamp: the stamp of path, or fallback when it cannot be
    // read; shows the outcome on the update button.
    QString getFileStamp(const QString &path, const QString &fallback);
    // TForm1.RememberPageStamp: watch the page at url from its current stamp.
    void rememberPageStamp(const QString &url, const QString &fallback);

    QString watchedPath() const { return m_watchedPath; }
    QString watchedStamp() const { return m_watchedStamp; }

public slots:
    // The user closed the viewer: the presentation ends for every copy, unless
    // the marker meanwhile names another file.
    void viewerClosedByUser();

private:
    // What the poll is when no pause holds it.
    enum class Mode { Running, SwitchedOff, Held };

    void runTick();
    // Timer5 and the update button as the mode wants them, once no pause is open.
    void restore();
    PollLook idleLook() const;
    void showLook(const PollLook &look);
    void openViewer(const QString &target);
    // The presented file and the viewer as a tick sees them, from the marker.
    PollInputs presentedInputs(const MarkerRead &marker) const;
    void closeViewer(const MarkerRead &marker);

    QTimer &m_timer;
    PollHost &m_host;
    PresentationViewer *m_viewer = nullptr;
    QString m_watchedPath;
    QString m_watchedStamp;
    QString m_viewerStamp;
    Mode m_mode = Mode::Running;
    int m_pauses = 0;
    bool m_ticking = false;
    std::optional<PollLook> m_pendingLook;
};
