#include "platform/cairo/render_page.h"

#include <cairo-pdf.h>

#include "layout/paint.h"
#include "platform/cairo/cairo_canvas.h"

namespace yomite {

namespace {

// Full-width cells along a column besides its length: the top margin and room
// for hanging punctuation and justification.
constexpr int EXTRA_HALF_UNITS = 8;

void paint_page(ViewContext& view, platform::Canvas& canvas, int page) {
  const int saved = view.top_line;
  view.top_line = (page - 1) * view.page_lines;
  PaintRect all{0, 0, canvas.width, canvas.height};
  paint_view(view, canvas, all, all);
  view.top_line = saved;
}

}  // namespace

void page_client_size(const ViewContext& view, int* width, int* height) {
  const int along = view.half_width * (view.column_chars + EXTRA_HALF_UNITS);
  int across = view.column_pitch * (view.page_lines > 0 ? view.page_lines : 1);
  *width = view.vertical ? across : along;
  *height = view.vertical ? along : across;
}

int page_count(const ViewContext& view) {
  if (view.page_lines <= 0 || view.line_count <= 0) return 1;
  return (view.line_count + view.page_lines - 1) / view.page_lines;
}

int render_page_png(ViewContext& view, int page, const char* path, int width, int height) {
  if (page < 1 || page > page_count(view)) return 0;
  int w = width, h = height;
  if (w <= 0 || h <= 0) page_client_size(view, &w, &h);
  platform::Canvas* canvas = platform::cairo_canvas_create_image(w, h);
  if (!canvas) return 0;
  paint_page(view, *canvas, page);
  cairo_surface_t* s = platform::cairo_canvas_surface(*canvas);
  cairo_surface_flush(s);
  int ok = cairo_surface_write_to_png(s, path) == CAIRO_STATUS_SUCCESS ? 1 : 0;
  platform::canvas_destroy(canvas);
  return ok;
}

int render_pages_pdf(ViewContext& view, const char* path) {
  int w = 0, h = 0;
  page_client_size(view, &w, &h);
  cairo_surface_t* pdf = cairo_pdf_surface_create(path, w, h);
  platform::Canvas* canvas = platform::cairo_canvas_create_for(pdf, w, h);
  cairo_surface_destroy(pdf);  // the canvas holds it
  if (!canvas) return 0;
  const int pages = page_count(view);
  for (int page = 1; page <= pages; ++page) {
    paint_page(view, *canvas, page);
    cairo_show_page(platform::cairo_canvas_context(*canvas));
  }
  cairo_surface_t* s = platform::cairo_canvas_surface(*canvas);
  cairo_surface_finish(s);
  int ok = cairo_surface_status(s) == CAIRO_STATUS_SUCCESS ? 1 : 0;
  platform::canvas_destroy(canvas);
  return ok;
}

}  // namespace yomite
