#pragma once

class QAbstractButton;

// Hints and first state of the main window's three presentation buttons:
// SpeedButton12 the poll switch, SpeedButton13 stop (off until something is
// presented), SpeedButton14 present.
void setupPresentButtons(QAbstractButton *SpeedButton12, QAbstractButton *SpeedButton13,
                         QAbstractButton *SpeedButton14);
