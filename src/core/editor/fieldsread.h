#pragma once

#include "core/editor/pagesave.h"
#include "core/pages/pagefile.h"

#include <QString>

// What keeps a page out of the editor's fields: reading it in would hold the
// window, whoever wrote it. Such a page opens with its own program instead, and
// is not read in again (a reload, leaving the source view).
enum class FieldsRefusal {
    None,
    TooLarge,    // more than PageSizeLimit bytes
    TooCostly,   // its tags cost more to read than a page is given
    LineTooLong, // a line longer than the window lays out at once
};

// The most characters the window is given to lay out at once: a line of the
// source view, or the fields as shown (a line is laid out whole, and the heading,
// the subheading and the box are measured whole).
inline constexpr qsizetype FieldsLayoutLimit = 30000;

// Whether pageText may be read into the fields; the check costs at most what
// the reading of its tags is allowed.
FieldsRefusal refusalForFields(const QString &pageText);

// The words that say why, to follow a page's name and "は" (and end with "ため").
QString refusalReason(FieldsRefusal refusal);

// A page file read for the fields: once (the save compares what it finds with
// these bytes), never more than PageSizeLimit bytes, never a FIFO or a device.
struct PageForFields
{
    PageSnapshot read;   // exists: something stands under the name
    PageText page;       // Unreadable when the file was not read
    bool tooLarge = false;
};
PageForFields readPageForFields(const QString &path);
