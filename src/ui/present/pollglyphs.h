#pragma once

#include "core/present/polllook.h"

#include <QIcon>

class QAbstractButton;

// The four 32x32 pictures of the update button: Image12 stopped, Image14
// started, Image15 a stamp that could not be used, Image16 running.
QIcon pollGlyphIcon(PollGlyph glyph);

// Shows a poll state on the update button: caption, and the picture right of it.
void applyPollLook(QAbstractButton *button, const PollLook &look);
