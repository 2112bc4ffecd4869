#include "ui/present/presentbuttons.h"

#include "core/present/presentstrings.h"
#include "ui/present/pollglyphs.h"

#include <QAbstractButton>

void setupPresentButtons(QAbstractButton *SpeedButton12, QAbstractButton *SpeedButton13,
                         QAbstractButton *SpeedButton14)
{
    SpeedButton12->setToolTip(PresentText::pollHint);
    applyPollLook(SpeedButton12, PollLooks::resumed());
    SpeedButton13->setToolTip(PresentText::stopHint);
    SpeedButton13->setEnabled(false);
    SpeedButton14->setToolTip(PresentText::presentHint);
}
