// Pages of a laid-out view drawn without a window: one page into a PNG file,
// or every page into a PDF (one PDF page each). Each page is what the viewer
// in page mode shows with top_line at the page's first display line, painted
// by paint_view.
#pragma once

#include "view/view_context.h"

namespace yomite {

// The client size of the viewer's window in page mode, px: page_lines slots
// across the reading direction; along the text, the column length and four
// full-width cells of margin and hanging room (half_width x (column_chars + 8)).
void page_client_size(const ViewContext& view, int* width, int* height);

// Pages in the view: at least 1, so an empty document still gives a blank page.
int page_count(const ViewContext& view);

// Paints page `page` (from 1; 0: from top_line on) into a PNG file at
// `path`, `width` x `height`
// pixels (0 x 0: page_client_size). 1, or 0 when the page does not exist or
// the file cannot be written (errno then says why). top_line is left as it
// was. Files are written as platform/output.h says: an existing file is
// replaced only by a complete new one.
int render_page_png(ViewContext& view, int page, const char* path, int width = 0, int height = 0);

// Paints every page into a PDF at `path`, 1 px to the point, each page
// `width` x `height` (0 x 0: page_client_size). 1, or 0 with errno set.
int render_pages_pdf(ViewContext& view, const char* path, int width = 0, int height = 0);

}  // namespace yomite
