#pragma once

#include <QString>

#include "core/pages/titlesyntax.h"

// A page button shows a title split by splitTitle: ["icon"] main [# second line] [? hint].

// The button label width in characters.
constexpr int CaptionWidth = 16;

// text indented by indent blanks and filled to the label width: with blanks
// to 32 characters after a Latin letter, digit or "(", else with ideographic
// blanks to 16 (a full-width character is two columns wide).
QString PadButtonCaption(const QString &text, int indent);

// The padded caption: one line with indent 1, or two lines (indent 1 and 4)
// joined by a carriage return.
QString buttonCaption(const TitleParts &title);

// The button's hint: its position (1-based), then the hint text when there is one.
QString buttonHint(const TitleParts &title, int index);

// The distance between two page buttons in a column height pixels high: 28,
// or more so that n buttons share the height as if there were one more.
int pageButtonPitch(int height, int count);

// Which picture a button shows for its icon name.
enum class ButtonIcon { None, IconFile, ListPicture0, ListPicture1 };
ButtonIcon buttonIconFor(const TitleParts &title, bool iconFileExists);
