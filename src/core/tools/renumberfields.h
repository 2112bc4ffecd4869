#pragma once

#include <QString>

#include <optional>

// The fields of the renumber dialog as texts, and the numbers it stored when
// it was shown (the page count, the current page and the step).
struct RenumberFields
{
    QString start; // Edit2
    QString step;  // Edit3
    QString digits; // Edit4
    QString first; // Edit5, 1-based
    QString last;  // Edit6, 1-based
    int firstTag = 1;
    int lastTag = 1;
    int stepTag = 1;
};

// More digits than a file name can sensibly hold are not asked for.
inline constexpr int MaxNumberDigits = 32;

// What pressing OK finds: the first failed check corrects one field (the
// fields come back corrected) and either beeps or tells that a field holds no
// number; the dialog stays open. Passed when nothing failed.
struct RenumberCheck
{
    enum Outcome { Passed, Beep, InvalidNumber } outcome = Passed;
    RenumberFields fields;
};
RenumberCheck checkRenumberFields(const RenumberFields &fields);

// The number the last page of the range gets, formatted; none when the start
// or the digits are no number.
std::optional<QString> renumberPreview(const RenumberFields &fields);
