#pragma once

#include "core/editor/pagemodel.h"

// Reads a page's text into a fresh page model: the pieces written back unchanged
// and the editor's fields. path is the page file; pictures are looked up in its
// folder. Missing markers and truncated pages are no error: what is not found stays
// empty and the text that is there is kept.
// The caller invalidates the search window's index (every load may change titles).
PageModel LoadPageToFields(const QString &pageText, const QString &path);
