// The first-line directives of the brace notation: font and column width.
#pragma once

#include "document/markup_text.h"
#include "view/view_context.h"

namespace yomite::markup {

// Reads "｛フォント NAMES[,SIZE]｝" and "｛幅 WIDTH｝". They stay in the line
// (the brace removal takes them out when closed). With `store` on, settings
// that are still unset take their values. Returns 1 when either was present.
int read_directives(const Line& line, ViewContext& view, int store);

// A decimal number at `from` in the manner of the C library: leading spaces,
// an optional sign, digits up to the first non-digit; 0 when there are none.
// Saturates at ±DIRECTIVE_NUMBER_MAX.
int read_number(const Line& line, int from);

}  // namespace yomite::markup
