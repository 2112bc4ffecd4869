#pragma once

#include "core/editor/pagemodel.h"

// Reads the note text (between the NOTE markers) into the model: heading,
// subheading, table, picture paragraph and text paragraph, each found as a
// browser reads the tags (none inside scripts, styles or comments, none inside
// a paragraph), in the order the builder writes them. What stands between and
// around them has no field: it is kept verbatim in its place. folder is where
// pictures are looked up.
void readNote(PageModel &m, QString note, const QString &folder);
