#include "core/present/polllook.h"

#include "core/present/presentstrings.h"

namespace PollLooks {

PollLook paused()
{
    return {PresentText::paused, PollGlyph::Image12};
}

PollLook resumed()
{
    return {PresentText::resumed, PollGlyph::Image14};
}

PollLook switchedOff()
{
    return {PresentText::switchedOff, PollGlyph::Image12};
}

PollLook running()
{
    return {PresentText::running, PollGlyph::Image16};
}

PollLook forStamp(FileStamp::State state)
{
    switch (state) {
    case FileStamp::Read:
        return {PresentText::stampChecked, PollGlyph::Image16};
    case FileStamp::Missing:
        return {PresentText::fileMissing, PollGlyph::Image12};
    case FileStamp::Unusable:
        return {PresentText::stampUnusable, PollGlyph::Image15};
    case FileStamp::Failed:
        break;
    }
    return {PresentText::stampFailed, PollGlyph::Image15};
}

} // namespace PollLooks
