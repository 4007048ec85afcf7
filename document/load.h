// Loading a document: the file named in the view becomes display lines.
#pragma once

#include "layout/fonts.h"
#include "view/limits.h"
#include "view/view_context.h"

namespace yomite {

// Without a measuring context (measure null) this is the probe: it reads and
// resolves only the first kept line so that directives can fill settings.
// With one it is the full load: every line is laid out into view.doc.lines.
void load_document(ViewContext& view, MeasureContext* measure);

// The full load in the view's main font; its fonts must have been made.
void load_full_document(ViewContext& view);

// The full load in slices, so that a window can show its first page while
// the rest of a long text is laid out in idle time. The slices together do
// exactly what load_full_document does.
//
// Starts it (the view's fonts made). Null when there is nothing to read (a
// refused locked text, a file that cannot be opened): the view then holds
// what it will hold. Otherwise view.doc.load_job is the job until it ends.
LoadJob* begin_full_load(ViewContext& view);
// Lays out logical lines until the view has `display_lines` display lines
// (< 0: no such bound) or `logical_lines` were read (< 0: no bound);
// line_count follows. 1 while lines remain, 0 once the text is laid out.
int continue_full_load(LoadJob& job, int display_lines, int logical_lines);
// Ends the load (finished or not): the view keeps what is laid out; the
// file is closed and the job freed. Null is ignored.
void end_full_load(LoadJob* job);

// Lines read ahead to choose the markup dialect.
constexpr int READ_AHEAD_LINES = 20;
// A header block is fenced by lines beginning with this many "-" among the
// first HEADER_BLOCK_LINES kept lines.
constexpr int SEPARATOR_DASHES = 40;
constexpr int HEADER_BLOCK_LINES = 10;

// Vertical writing: a single ASCII digit between wide characters (U+0100 to
// U+FEFF, and the characters of `also_wide`) becomes a full-width digit,
// dropping one space on either side. In place.
void convert_isolated_digits(char16_t* line, const char16_t* also_wide = u"");

}  // namespace yomite
