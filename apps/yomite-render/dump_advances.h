// Display lines as they are set, one per output line, after a header:
//   # half_width=H em=E
//   INDEX<TAB>FLAGS<TAB>LENGTH<TAB>NATURAL<TAB>ADVANCES<TAB>READINGS
// FLAGS as --dump-lines gives them; LENGTH the column length the line is set
// to, px (shorter in a quotation block or by the full notation's indents);
// NATURAL the sum of its characters' own widths, px; ADVANCES the advance of
// each character as drawn, px, space-separated (a surrogate pair is one
// character); READINGS "HEAD@OFFSET+WIDTH" per ruby reading (the unit of its
// base's head, where the reading begins along the line and its width, px),
// space-separated, or "-". Tools and tests read this format; keep it stable.
#pragma once

#include <cstdio>

#include "view/view_context.h"

namespace yomite::render {

void dump_advances(ViewContext& view, std::FILE* out);

}  // namespace yomite::render
