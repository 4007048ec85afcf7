// Steps of the bracket notation that the full notation runs in its own order
// (private to document/).
#pragma once

#include "document/markup_text.h"
#include "view/view_context.h"

namespace yomite {

// "base《reading》": stores each reading and codes its base (the run of kanji
// before "《", or what follows a "｜"). Returns 1 when a ruby was found.
int mark_bracket_rubies(const markup::Line& line, char16_t** entries, int& count,
                        ViewContext& view);

// Removes every "《…》" with what is inside.
void remove_bracket_readings(markup::Line& line);

// Removes the quotation block annotations, setting quote_state (QUOTE_*).
void resolve_quotation_blocks(markup::Line& line, int& quote_state);

}  // namespace yomite
