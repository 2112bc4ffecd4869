#include "ui/present/form1pollhost.h"

#include "core/navigation/pathtext.h"
#include "core/pages/templates.h"
#include "core/present/drawing.h"
#include "ui/app/tform1.h"
#include "ui/bar/holdofftimer.h"
#include "ui/present/pollglyphs.h"

#include <QFileInfo>
#include <QFrame>
#include <QLabel>
#include <QTimer>
#include <QToolButton>
#include <QWebEngineView>

using namespace Qt::StringLiterals;

Form1PollHost::Form1PollHost(TForm1 &form)
    : QObject(&form)
    , f(form)
{
}

QString Form1PollHost::homeDir() const
{
    return f.nav.HomeDir;
}

QString Form1PollHost::localPath(const QString &url) const
{
    return CutNN(url, f.Caption);
}

QString Form1PollHost::openPageAddress() const
{
    return f.Caption;
}

void Form1PollHost::showPollLook(const PollLook &look)
{
    applyPollLook(f.SpeedButton12, look);
}

void Form1PollHost::setStopEnabled(bool enabled)
{
    f.SpeedButton13->setEnabled(enabled);
}

QString Form1PollHost::fileToPresent()
{
    // A picture on the picture view is presented as it is.
    if (f.Panel10->isVisible()) {
        // An open drawing is saved first, so that the others see the latest strokes.
        if (!f.DrawImagePath.isEmpty() && f.DrawImagePath == f.DrawingPath
            && !savePicture(f.Image11->pixmap().toImage(), f.DrawingPath, PictureSaveChoice::Bmp, 0))
            return QString();
        return QFileInfo(f.DrawImagePath).isFile() ? f.DrawImagePath : QString();
    }
    return CutNN(f.CurPageUrl, f.Caption);
}

void Form1PollHost::presentationStopped()
{
    f.SpeedButton8->hide();
    f.SpeedButton19->show();
}

void Form1PollHost::hidePicturePanel()
{
    f.Panel10->hide();
}

QString Form1PollHost::writeProgressPage(const QString &heading)
{
    const QString path = NEWHTMLSAVE(f.nav.HomeDir, heading);
    return QFileInfo::exists(path) ? path : QString();
}

void Form1PollHost::waitOneTimerTick()
{
    // Long enough for the viewer to show the placeholder before the presented file;
    // the page sound is held off meanwhile.
    f.Timer4->waitOneTick();
}

void Form1PollHost::refreshPage()
{
    f.WebBrowser1->triggerPageAction(QWebEnginePage::ReloadAndBypassCache);
}

void Form1PollHost::reopenPage()
{
    f.PageClick(false, true);
}

int Form1PollHost::listedFileCount() const
{
    const int count = m_folderCount.count(f.nav.CurDir);
    // A share that is out of reach is no change of its files.
    return count >= 0 ? count : f.nav.FileCountSeen;
}

int Form1PollHost::fileCountSeen() const
{
    f.nav.keepFileCountWithCurDir();
    return f.nav.FileCountSeen;
}

void Form1PollHost::setFileCountSeen(int count)
{
    f.nav.FileCountSeen = count;
}

int Form1PollHost::pageIndex() const
{
    return f.nav.PBan();
}

QString Form1PollHost::pageEntry() const
{
    return f.nav.currentEntry();
}

void Form1PollHost::rereadLevel()
{
    // Another computer changed the folder: the search lists it again.
    f.SearchIndexKey = u"xxx"_s;
    f.nav.OpenFolderLevel(f.nav.CurDir, f.nav.PBan(), false);
    f.ReMake();
}

void Form1PollHost::goToPage(const QString &name)
{
    if (f.TXTcommand)
        f.TXTcommand(u"GO "_s + name);
}
