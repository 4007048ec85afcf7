// Display lines as text, one per output line: INDEX<TAB>FLAGS<TAB>TEXT.
// FLAGS holds P (paragraph end), M (mark), Q (quotation) in that order, or
// "-" for none. Tools and tests read this format; keep it stable.
#pragma once

#include <cstdio>
#include <string>

#include "view/view_context.h"

namespace yomite::render {

// P, M, Q for the flags a display line has, in that order, or "-".
std::string flag_letters(std::uint16_t flags);

std::string format_display_line(const Document& doc, int index, const DisplayLine& line);
// The same, appended to `out`.
void append_display_line(std::string& out, const Document& doc, int index,
                         const DisplayLine& line);

void dump_lines(const ViewContext& view, std::FILE* out);

}  // namespace yomite::render
