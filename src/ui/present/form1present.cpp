// Presenting to the other copies and the update poll of the main window.
#include "ui/app/tform1.h"

#include "core/present/presentstrings.h"
#include "core/present/updatepoll.h"
#include "ui/present/form1pollhost.h"
#include "ui/present/presentbuttons.h"
#include "ui/present/tform14.h"

#include <QToolButton>

void TForm1::setupUpdatePoll()
{
    Poll = new UpdatePoll(*Timer5, *new Form1PollHost(*this), this);
    setupPresentButtons(SpeedButton12, SpeedButton13, SpeedButton14);
    connect(SpeedButton12, &QToolButton::clicked, this, &TForm1::SpeedButton12Click);
    connect(SpeedButton13, &QToolButton::clicked, this, &TForm1::SpeedButton13Click);
    connect(SpeedButton14, &QToolButton::clicked, this, &TForm1::SpeedButton14Click);
    RememberPageStamp = [this](const QString &url) { Poll->rememberPageStamp(url, PresentText::noStamp); };
}

void TForm1::setPresentationViewer(TForm14 *viewer)
{
    Poll->setViewer(viewer);
    viewer->setSizeReference(kabe);
    viewer->setHomeDir(nav.HomeDir);
    connect(viewer, &TForm14::closedByUser, Poll, &UpdatePoll::viewerClosedByUser);
    // Closing the program leaves a presentation running for the others.
    connect(this, &TForm1::closingDown, viewer, &TForm14::programClosing);
}

void TForm1::SpeedButton12Click()
{
    Poll->toggle();
}

void TForm1::SpeedButton13Click()
{
    Poll->stopPresenting();
}

void TForm1::SpeedButton14Click()
{
    Poll->present();
}
