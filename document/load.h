// Loading a document: the file named in the view becomes display lines.
#pragma once

#include "layout/fonts.h"
#include "view/limits.h"
#include "view/view_context.h"

namespace yomite {

// Without a measuring context (dc null) this is the probe: it reads and
// resolves only the first kept line so that directives can fill settings.
// With one it is the full load: every line is laid out into view.lines.
void load_document(ViewContext& view, MeasureContext* dc);

// The full load in the view's main font; its fonts must have been made.
void load_full_document(ViewContext& view);

// Lines read ahead to choose the markup dialect.
constexpr int READ_AHEAD_LINES = 20;
// A header block is fenced by lines beginning with this many "-" among the
// first HEADER_BLOCK_LINES kept lines.
constexpr int SEPARATOR_DASHES = 40;
constexpr int HEADER_BLOCK_LINES = 10;

// Vertical writing: a single ASCII digit between wide characters becomes a
// full-width digit, dropping one space on either side. In place.
void convert_isolated_digits(char16_t* line);

}  // namespace yomite
