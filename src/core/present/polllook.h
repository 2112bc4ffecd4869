#pragma once

#include "core/present/stamp.h"

#include <QString>

// The update button shows the poll's state by its caption and one of four
// pictures of the main window.
enum class PollGlyph { Image12, Image14, Image15, Image16 };

struct PollLook
{
    QString caption;
    PollGlyph glyph;

    friend bool operator==(const PollLook &, const PollLook &) = default;
};

namespace PollLooks {
PollLook paused();      // a tick or a long operation runs
PollLook resumed();     // started again after it
PollLook switchedOff(); // the user switched the poll off
PollLook running();     // after every tick
PollLook forStamp(FileStamp::State state);
} // namespace PollLooks
