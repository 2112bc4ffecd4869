#pragma once

#include "core/editor/notetags.h"
#include "core/editor/pagemodel.h"

// Reads a table of the note into the model's grid when the grid writes it back
// as it is, in the builder's shape: TD cells only, each row within its row of the
// grid (the caption row, eight rows of eight cells, four of three, one of one),
// no attribute but those the builder writes there with its values (a cell spans
// only where the builder's does), no caption, header cells, head or foot, nested
// table, text or comment between the cells, nor a cell where white space counts.
// Returns false and leaves the model as it was for any other table: it stays as
// written.
bool readTableGrid(PageModel &m, const NoteTags &note, const Span &table);
