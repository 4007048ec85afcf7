// The reader's place (an extension): places named by the text
// (view/line_origins.h) found again after a relayout or a new start, and
// where the reader is in the book (page N of M, how far), shown in a strip
// under the page and on the scroll bar.
//
// With keep_place on (settings Place/Resume, on unless the file says 0) the
// open step returns to the text the release step kept: the first words shown
// and the mark after a relayout, and at start-up the place the history keeps
// for the file. The J and R options win over it.
#pragma once

#include <string>

#include "view/view_context.h"
#include "viewer/command_line.h"

namespace yomite {

// The display line holding `anchor` in the laid-out document, laying out more
// of a document that is still loading as far as needed: the line of its
// logical line and offset when the text there begins with its excerpt, else
// the line of the occurrence of the excerpt nearest to it. When the excerpt
// is nowhere: with `approximate` the line of its logical line and offset
// (the same file laid out with other settings), else -1 (a file that changed).
int find_anchor_line(ViewContext& view, const TextAnchor& anchor, int approximate);

// Lays the text out, when it is still loading, until logical line `logical`
// is complete and a screen of columns beyond it (all of it for -1).
void lay_out_through(ViewContext& view, int logical);

// Steps of the open step: the kept places found again (see above), the top
// line's after the J or R jump, the mark's after its page was restored.
// Without keep_place nothing moves, and the next release names what is
// shown then.
void restore_top_place(ViewContext& view, const OptionRequests& requests);
void restore_mark_place(ViewContext& view);

// Where the reader is: the page of top_line (the numbers at the foot), the
// pages laid out, and how far through the text, in percent.
struct Progress {
  int page = 0;
  int pages = 0;
  int percent = 0;
  int loading = 0;  // the text is still being laid out: more pages follow
};
Progress reading_progress(const ViewContext& view);

// "123 / 1,723 (7 %)", with "…" after the pages while they are still being
// laid out; empty without a document.
std::string progress_text(const ViewContext& view);

// Thousands separated by commas: 1723 -> "1,723".
std::string grouped_number(long long n);

// The strip and the scroll bar's tooltip show the progress (after every
// move: update_scroll_bar calls it).
void show_progress(ViewContext& view);

// The first display line of the page holding `percent` of the text (0..100).
int line_at_percent(const ViewContext& view, int percent);

}  // namespace yomite
