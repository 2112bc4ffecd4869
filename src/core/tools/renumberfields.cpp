#include "core/tools/renumberfields.h"

#include "core/tools/ordernumbers.h"

static std::optional<int> numberIn(const QString &text)
{
    bool ok = false;
    const int n = text.toInt(&ok);
    return ok ? std::optional<int>(n) : std::nullopt;
}

std::optional<QString> renumberPreview(const RenumberFields &fields)
{
    const std::optional<int> start = numberIn(fields.start);
    // An empty digits field pads nothing.
    const std::optional<int> digits = fields.digits.isEmpty() ? 0 : numberIn(fields.digits);
    if (!start || !digits || *digits > MaxNumberDigits)
        return std::nullopt;
    const qint64 first = numberIn(fields.first).value_or(1);
    const qint64 last = numberIn(fields.last).value_or(1);
    const qint64 step = numberIn(fields.step).value_or(1);
    return formatNumber(*start + (last - first) * step, *digits);
}

RenumberCheck checkRenumberFields(const RenumberFields &given)
{
    RenumberCheck check{RenumberCheck::Beep, given};
    RenumberFields &f = check.fields;
    bool notNumbers = false;
    const std::initializer_list<std::pair<QString *, int>> restorable{{&f.first, f.firstTag}, {&f.last, f.lastTag}, {&f.step, f.stepTag}};
    for (auto [text, tag] : restorable) {
        if (!numberIn(*text)) {
            *text = QString::number(tag);
            notNumbers = true;
        }
    }
    if (notNumbers || !numberIn(f.start))
        return check;
    if (*numberIn(f.step) < 0) {
        f.step = QStringLiteral("0");
        return check;
    }
    if (*numberIn(f.start) < 0) {
        f.start = QStringLiteral("0");
        return check;
    }
    const std::optional<int> digits = numberIn(f.digits);
    if (!digits) {
        check.outcome = RenumberCheck::InvalidNumber;
        return check;
    }
    if (*digits < 1 || *digits > MaxNumberDigits) {
        f.digits = QString::number(*digits < 1 ? 1 : MaxNumberDigits);
        return check;
    }
    if (*numberIn(f.first) > *numberIn(f.last)) {
        f.last = f.first;
        return check;
    }
    if (*numberIn(f.last) > f.lastTag) {
        f.last = QString::number(f.lastTag);
        return check;
    }
    check.outcome = RenumberCheck::Passed;
    return check;
}
